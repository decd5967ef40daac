#include "support/FakePlatform.h"

namespace pricora {
namespace {

struct RefusingEditor final : Editor {
  bool commitEditing() override { return false; }
};

class SaveAndQuitTest : public test::LaunchedApp {
 protected:
  void change() { delegate.pairList().insertPair("Kraken", "XBT/USD"); }
  void chooseQuit() {
    MenuItem item("Quit Pricora", MenuAction::terminate);
    delegate.sendAction(MenuAction::terminate, item);
  }
};

TEST_F(SaveAndQuitTest, AFailedSaveIsShownAndOnQuitTheUserDecides) {
  chooseQuit();
  EXPECT_EQ(platform.host.quits, 1);
  EXPECT_EQ(platform.store->saves, 0);  // nothing to save, nothing written

  change();
  platform.store->failSaves = true;
  delegate.saveAction();
  EXPECT_EQ(platform.host.presentedErrors.size(), 1u);
  platform.host.errorsResolved = true;  // the error's own recovery handled it: no quit
  chooseQuit();
  EXPECT_EQ(platform.host.presentedErrors.size(), 2u);
  EXPECT_TRUE(platform.host.alerts.empty());

  platform.host.errorsResolved = false;
  platform.host.alertAnswer = 1;  // "Cancel"
  chooseQuit();
  EXPECT_EQ(platform.host.quits, 1);
  ASSERT_EQ(platform.host.alerts.size(), 1u);
  const Alert& alert = platform.host.alerts[0];
  EXPECT_EQ(alert.messageText, "Could not save changes while quitting. Quit anyway?");
  EXPECT_EQ(alert.informativeText, "Quitting now will lose any changes you have made since the last successful save");
  EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Quit anyway", "Cancel"}));
  EXPECT_EQ(platform.host.localizedKeys.size(), 4u);

  platform.store->failSaves = false;  // the change was kept for the next save
  chooseQuit();
  EXPECT_EQ(platform.host.quits, 2);
  EXPECT_EQ(platform.store->rows().size(), 1u);
  EXPECT_TRUE(platform.host.logLines.empty());
}

TEST_F(SaveAndQuitTest, EditsThatCannotBeCommittedStopTheQuitButNotTheSave) {
  RefusingEditor editor;
  platform.context->registerEditor(&editor);
  change();
  chooseQuit();
  EXPECT_EQ(platform.host.quits, 0);
  EXPECT_EQ(platform.host.logLines,
            (std::vector<std::string>{"Pricora.AppDelegate unable to commit editing to terminate"}));

  delegate.saveAction();
  EXPECT_EQ(platform.host.logLines.back(), "Pricora.AppDelegate unable to commit editing before saving");
  EXPECT_FALSE(platform.context->hasChanges());
  platform.context->unregisterEditor(&editor);
}

TEST_F(SaveAndQuitTest, AQuitThatCannotAskSavesLogsAFailureAndWaitsForAQuitInProgress) {
  change();
  platform.store->failSaves = true;
  platform.host.alertAnswer = 1;                                                  // the user cancels the first quit...
  platform.host.whileAlertShows = [this] { delegate.terminateWithoutAsking(); };  // ...while a signal comes in
  chooseQuit();
  EXPECT_EQ(platform.host.alerts.size(), 1u);
  EXPECT_EQ(platform.host.quits, 1);
  ASSERT_EQ(platform.host.logLines.size(), 1u);
  EXPECT_TRUE(platform.host.logLines[0].starts_with("Pricora.AppDelegate could not save changes while quitting: "));

  delegate.terminateWithoutAsking();
  chooseQuit();
  EXPECT_EQ(platform.host.quits, 1);
}

}  // namespace
}  // namespace pricora
