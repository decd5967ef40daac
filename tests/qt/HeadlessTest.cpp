#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/json/Json.h"
#include "support/AppEnvironment.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::AppEnvironment;
using test::Subprocess;

std::string readFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(Headless, DumpsTheTrayAndEndsWithTheTimeOutStatus) {
  AppEnvironment home;
  const std::string dumpPath = home.dir().file("dump.json");
  Subprocess app({PRICORA_BINARY, "--headless", "--timeout", "1", "--dump", dumpPath}, home.variables());
  ASSERT_EQ(app.wait(30s), 2) << app.errors();

  const std::optional<Json> dump = Json::parse(readFile(dumpPath));
  ASSERT_TRUE(dump);
  const Json& statusItem = (*dump)["statusBar"][0];
  EXPECT_EQ(statusItem["image"].stringValue(), "iconSmall");
  EXPECT_EQ(statusItem["toolTip"].stringValue(), std::string("Pricora ") + PRICORA_VERSION);
  EXPECT_EQ(statusItem["menu"].stringValue(), "statusMenu");
  const Json& menu = (*dump)["statusMenu"];
  ASSERT_EQ(menu.arrayObject()->size(), 15u);
  EXPECT_EQ(menu[0]["action"].stringValue(), "terminate:");
  EXPECT_EQ(menu[1]["enabled"].stringValue(), "true");
  EXPECT_EQ(menu[4]["separator"].stringValue(), "true");
  EXPECT_EQ(menu[12]["title"].stringValue(), "GDAX");
  EXPECT_EQ(menu[12]["image"].stringValue(), "swatch #BE2813");
  // Every exchange is unreachable here, which still completes a refresh.
  EXPECT_EQ(menu[14]["title"].stringValue(), "Updated: Just now");
  EXPECT_EQ(menu[14]["action"].stringValue(), "refreshPairs");
  EXPECT_EQ(menu[6]["submenu"][0]["title"].stringValue(), "Connection error. I will try again shortly.");
}

TEST(Headless, EndsWithSuccessAfterTheWantedRefreshes) {
  AppEnvironment home;
  Subprocess app({PRICORA_BINARY, "--headless", "--refreshes", "1", "--timeout", "20", "--dump", "-"},
                 home.variables());
  ASSERT_EQ(app.wait(30s), 0) << app.errors();
  const std::optional<Json> dump = Json::parse(app.output());
  ASSERT_TRUE(dump) << app.output();
  EXPECT_EQ((*dump)["statusMenu"][14]["title"].stringValue(), "Updated: Just now");
}

TEST(Headless, WithoutADisplayTheDesktopModeSaysSoAndFails) {
  AppEnvironment home;
  Subprocess app({PRICORA_BINARY}, home.variables());
  ASSERT_EQ(app.wait(30s), 1);
  EXPECT_NE(app.errors().find("--headless"), std::string::npos) << app.errors();
  EXPECT_EQ(app.errors().find("Aborted"), std::string::npos);
}

TEST(Headless, RejectsBadOptionsWithUsage) {
  AppEnvironment home;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--refreshes", "1"}, {"--headless", "--timeout", "0"},
        {"--headless", "--refreshes", "-1"}, {"--headless", "--dump"}, {"--frobnicate"}, {"--bar", "xmobar"},
        {"--bar"}, {"--headless", "--bar", "waybar"}}) {
    std::vector<std::string> argv = {PRICORA_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Subprocess app(argv, home.variables());
    EXPECT_EQ(app.wait(30s), 1);
    EXPECT_NE(app.errors().find("usage: pricora"), std::string::npos) << app.errors();
  }
}

}  // namespace
}  // namespace pricora
