// The desktop run lives in a module beside the program; a program without it must say so.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/AppEnvironment.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;

TEST(DesktopPart, AProgramWithoutItsTrayModuleSaysSoAndEndsWithStatusOne) {
  test::AppEnvironment home;
  const std::filesystem::path program = home.dir().path() / "bin" / "pricora";
  std::filesystem::create_directories(program.parent_path());
  std::filesystem::copy_file(PRICORA_BINARY, program);
  test::Subprocess::Environment environment = home.variables();
  environment["QT_QPA_PLATFORM"] = "offscreen";
  test::Subprocess app({program.string()}, environment);
  EXPECT_EQ(app.wait(30s), 1) << app.errors();
  EXPECT_NE(app.errors().find("pricora: the tray application cannot be loaded ("), std::string::npos) << app.errors();
  EXPECT_NE(app.errors().find("pricora-desktop.so"), std::string::npos) << app.errors();
}

}  // namespace
}  // namespace pricora
