#include "forms/automation/array_element_name.h"
#include "forms/automation/command_line.h"
#include "forms/automation/script.h"
#include "ui_fixture.h"

namespace forms {
namespace {

using automation::ParseCommandLine;
using automation::ParseScript;

TEST(ScriptParser, CommentsQuotesAndBlankLines) {
    auto s = ParseScript(
        "# header\n\nclick Bn_app   # press it\r\n"
        "type Ed_ip_address \"192.168.1.111\"\n"
        "expect-box \"please input a valid ID, range: 1-255\"\n"
        "expect Label1 \"say \\\"hi\\\" # not a comment\"\n");
    ASSERT_FALSE(s.error) << s.error->message;
    ASSERT_EQ(s.commands.size(), 4u);
    EXPECT_EQ(s.commands[0].line, 3);
    EXPECT_EQ(s.commands[0].name, "click");
    EXPECT_EQ(s.commands[0].args, std::vector<std::string>{"Bn_app"});
    EXPECT_EQ(s.commands[2].args[0], "please input a valid ID, range: 1-255");
    EXPECT_EQ(s.commands[3].args[1], "say \"hi\" # not a comment");
}

TEST(ScriptParser, MalformedLinesAreErrorsWithTheirLineNumber) {
    struct Case {
        const char* text;
        int line;
        const char* message_part;
    } cases[] = {
        {"click A\nclik B\n", 2, "unknown command"},
        {"click\n", 1, "takes 1 argument"},
        {"expect A\n", 1, "takes 2 arguments"},
        {"wait soon\n", 1, "wants a number"},
        {"wait -5\n", 1, "wants a number"},
        {"key Return\n", 1, "unknown key"},
        {"answer Yes\n", 1, "OK or Cancel"},
        {"expect A.colour #FF0000\n", 1, "unknown property"},
        {"type A \"open\n", 1, "not closed"},
        {"click \"A\"B\n", 1, "followed by a blank"},
    };
    for (const Case& c : cases) {
        auto s = ParseScript(c.text);
        ASSERT_TRUE(s.error) << c.text;
        EXPECT_EQ(s.error->line, c.line) << c.text;
        EXPECT_NE(s.error->message.find(c.message_part), std::string::npos)
            << c.text << " -> " << s.error->message;
    }
}

TEST(ScriptParser, ArrayNamesKeepTheirBracketsAndDots) {
    auto s = ParseScript("expect ChannelButton[1][3] on\nexpect ChannelLed[0][16].color #FF0000\n");
    ASSERT_FALSE(s.error);
    EXPECT_EQ(s.commands[0].args[0], "ChannelButton[1][3]");
    EXPECT_EQ(s.commands[1].args[0], "ChannelLed[0][16].color");
}

TEST(CommandLine, OptionsAndTheirErrors) {
    auto cl = ParseCommandLine(
        {"--headless", "--screen", "1024x768", "--screenshot", "a.png", "--script", "s.txt"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_TRUE(cl.headless);
    EXPECT_EQ(cl.screen_width, 1024);
    EXPECT_EQ(cl.screen_height, 768);
    EXPECT_EQ(cl.screenshot, "a.png");
    EXPECT_EQ(cl.script, "s.txt");
    auto defaults = ParseCommandLine(std::vector<std::string>{});
    EXPECT_EQ(defaults.screen_width, 1280);
    EXPECT_EQ(defaults.screen_height, 1024);
    EXPECT_FALSE(ParseCommandLine({"--screen", "1024"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--screen", "0x0"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--screen", "99999999999x5"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--script"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--frobnicate"}).error.empty());
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
    EXPECT_TRUE(ParseCommandLine({"--exit-after-first-frame"}).exit_after_first_frame);
    EXPECT_FALSE(defaults.exit_after_first_frame);
}

TEST_F(UiTest, PassingScriptExitsZero) {
    auto* e = Add<TEdit>("Ed_conn_id", 10, 10, 60, 24);
    e->SetMaxLength(3);
    auto* led = new TShape(form);
    led->SetName("ChannelLed[0][3]");
    led->SetParent(form);
    led->SetShape(TShapeType::stCircle);
    led->SetBounds(100, 10, 22, 22);
    led->SetBrushColor(clRed);
    auto* status = new TStatusBar(form);
    status->SetName("StatusBar1");
    status->SetParent(form);
    status->AddPanel(200, "Port:");
    status->AddPanel(150);
    auto r =
        Run("type Ed_conn_id 3\nexpect Ed_conn_id 3\nexpect Ed_conn_id.enabled true\n"
            "expect ChannelLed[0][3].color #ff0000\nexpect-status 0 Port:\n"
            "expect-status 1 \"\"\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(r.report.empty());
}

TEST_F(UiTest, FailedExpectationExitsOneAndNamesTheLine) {
    auto* e = Add<TEdit>("E", 10, 10, 60, 24);
    e->SetText("abc");
    auto r = Run("expect E abc\n# second\nexpect E xyz\nexpect E never-run\n");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.report.find("script:3: expect E xyz"), std::string::npos) << r.report;
    EXPECT_NE(r.report.find("\"xyz\""), std::string::npos);
    EXPECT_NE(r.report.find("\"abc\""), std::string::npos);
    EXPECT_EQ(r.report.find("never-run"), std::string::npos);
}

TEST_F(UiTest, ImpossibleActionsFailWithOne) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    b->SetVisible(false);
    EXPECT_EQ(Run("click B\n").exit_code, 1);
    EXPECT_EQ(Run("answer OK\n").exit_code, 1);
    EXPECT_EQ(Run("expect-box anything\n").exit_code, 1);
}

TEST_F(UiTest, ScriptErrorsExitTwoWithoutACrash) {
    Add<TEdit>("E", 10, 10, 60, 24);
    Add<TButton>("B", 10, 40, 80, 25);
    const char* scripts[] = {
        "click Nobody\n",           // unknown control
        "expect Nobody.text x\n",   // unknown control in an expectation
        "expect B.checked true\n",  // a button has no checked state
        "expect E.index 0\n",       // an edit has no index
        "select E 0\n",             // not a combo box
        "key Sideways\n",           // unknown key
        "page 0\n",                 // no page control
        "expect-status 0 x\n",      // no status bar
        "bogus\n",                  // unknown command
        "screenshot /nonexistent-dir/x.png\n",
    };
    for (const char* s : scripts) {
        auto r = Run(s);
        EXPECT_EQ(r.exit_code, 2) << s << r.report;
        EXPECT_NE(r.report.find("error:"), std::string::npos) << s << r.report;
    }
}

TEST_F(UiTest, ScreenshotWritesThePng) {
    Add<TButton>("B", 10, 10, 80, 25)->SetCaption("OK");
    const std::string path = ::testing::TempDir() + "forms_screenshot.png";
    std::remove(path.c_str());
    auto r = Run("screenshot " + path + "\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    gdi::Bitmap b = gdi::read_png_file(path);
    EXPECT_EQ(b.width(), form->Width());
    EXPECT_EQ(b.height(), form->Height());
    std::remove(path.c_str());
}

}  // namespace
}  // namespace forms

namespace forms {
namespace {

TEST(ArrayElementName, IndicesBecomeTheStartUpArrayName) {
    using automation::ArrayElementName;
    EXPECT_EQ(ArrayElementName("ChannelButton[1][3]"), "ChannelButton1_3");
    EXPECT_EQ(ArrayElementName("PanelIdEdit[0]"), "PanelIdEdit0");
    EXPECT_EQ(ArrayElementName("DelayEdit[0][16]"), "DelayEdit0_16");
    for (const char* bad :
         {"PanelIdEdit", "[1]", "Edit[]", "Edit[1", "Edit[-1]", "Edit[ 1]", "Edit[1]x",
          "Edit[1][2][3]", "Ed it[1]", "9Edit[1]", "Edit[12345]", "Edit[1]]", "Edit[[1]]"})
        EXPECT_FALSE(ArrayElementName(bad)) << bad;
}

TEST_F(UiTest, ScriptsNameArrayElementsByTheirIndices) {
    auto* button = Add<TButton>("ChannelButton1_3", 10, 10, 40, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Add<TEdit>("PanelIdEdit0", 10, 50, 60, 24);
    auto r =
        Run("click ChannelButton[1][3]\ntype PanelIdEdit[0] 12\nexpect PanelIdEdit[0] 12\n"
            "expect ChannelButton[1][3].enabled true\nexpect PanelIdEdit0 12\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 1);
    r = Run("click ChannelButton[1][4]\n");
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.report.find("ChannelButton[1][4]"), std::string::npos) << r.report;
}

}  // namespace
}  // namespace forms
