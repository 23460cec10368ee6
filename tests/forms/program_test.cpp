#include <cstdlib>

#include "forms/automation/program.h"
#include "platform/win/metrics.h"
#include "ui_fixture.h"

namespace forms {
namespace {

using automation::Program;

TEST(Program, HelpVersionAndBadArgumentsEndAtOnce) {
    std::vector<std::string> help_args{"velmor-manager", "--help"};
    std::vector<char*> argv;
    for (auto& s : help_args)
        argv.push_back(s.data());
    testing::internal::CaptureStdout();
    Program help(2, argv.data(), "velmor-manager");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(help.Done());
    EXPECT_EQ(help.ExitCode(), 0);
    EXPECT_NE(out.find("--screenshot FILE"), std::string::npos);

    std::vector<std::string> bad_args{"velmor-manager", "--screen", "wide"};
    argv.clear();
    for (auto& s : bad_args)
        argv.push_back(s.data());
    testing::internal::CaptureStderr();
    Program bad(3, argv.data(), "velmor-manager");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(bad.Done());
    EXPECT_EQ(bad.ExitCode(), 2);
    EXPECT_NE(err.find("--screen"), std::string::npos);
}

TEST(Program, WithoutADisplayItSaysSoInOneLine) {
    const char* saved = std::getenv("DISPLAY");
    std::string keep = saved ? saved : "";
    unsetenv("DISPLAY");
    std::vector<std::string> args{"velmor-manager"};
    std::vector<char*> argv{args[0].data()};
    testing::internal::CaptureStderr();
    {
        Program p(1, argv.data(), "velmor-manager");
        EXPECT_TRUE(p.Done());
        EXPECT_EQ(p.ExitCode(), 1);
    }
    std::string err = testing::internal::GetCapturedStderr();
    if (saved)
        setenv("DISPLAY", keep.c_str(), 1);
    EXPECT_NE(err.find("--headless --screenshot FILE"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST(Program, HeadlessSetsTheScreenSizeAndReportsStartupFailuresOnStderr) {
    std::vector<std::string> args{"velmor-manager", "--headless", "--screen", "1024x768"};
    std::vector<char*> argv;
    for (auto& s : args)
        argv.push_back(s.data());
    Program p(4, argv.data(), "velmor-manager");
    EXPECT_FALSE(p.Done());
    EXPECT_EQ(win::GetSystemMetrics(win::SM_CXSCREEN), 1024);
    EXPECT_EQ(win::GetSystemMetrics(win::SM_CYSCREEN), 768);
    testing::internal::CaptureStderr();
    EXPECT_EQ(p.StartupFailed(std::runtime_error("settings broken")), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("settings broken"), std::string::npos);
}

}  // namespace
}  // namespace forms
