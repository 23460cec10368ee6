// The context menu and shortcut keys of text fields, the clipboard, and the script commands
// that reach menus (rclick, key with modifiers, menu, expect-menu).

#include "forms/automation/script.h"
#include "platform/win/clipboard.h"
#include "platform/win/menu.h"
#include "ui_fixture.h"

namespace forms {
namespace {

class ContextMenu : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        win::EmptyClipboard();
        a = Add<TEdit>("EdA", 10, 10, 200, 24);
        b = Add<TEdit>("EdB", 10, 50, 200, 24);
        a->SetText("hello world");
        a->OnChange = [this](TObject*) { ++changes_a; };
        b->OnChange = [this](TObject*) { ++changes_b; };
    }
    void TearDown() override {
        win::EmptyClipboard();
        UiTest::TearDown();
    }
    TEdit* a = nullptr;
    TEdit* b = nullptr;
    int changes_a = 0, changes_b = 0;
};

TEST_F(ContextMenu, RightButtonMenuCutsAndPastesAndKeysUndo) {
    const auto r = Run(R"(
focus EdA
key Ctrl+A
rclick EdA
expect-menu Undo - Cut Copy Paste Delete - "Select All"
menu Cut
expect EdA ""
rclick EdB
expect-menu Undo - Cut Copy Paste Delete - "Select All"
menu Paste
expect EdB "hello world"
key Ctrl+Z
expect EdB ""
key Ctrl+Z
expect EdB "hello world"
)");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(win::GetClipboardText(), "hello world");
    EXPECT_EQ(changes_a, 1);
    EXPECT_EQ(changes_b, 3);
    EXPECT_TRUE(b->Focused()) << "the right button focuses the field it opens the menu for";
}

TEST_F(ContextMenu, ItemsAreGrayedAsTheFieldAllows) {
    // Nothing selected, nothing to undo, the clipboard empty: only Select All.
    auto r = Run("focus EdA\nkey End\nrclick EdA\nmenu Copy\n");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.report.find("\"Copy\" is grayed"), std::string::npos) << r.report;

    a->SetReadOnly(true);
    win::SetClipboardText("x");
    r = Run("focus EdA\nkey Ctrl+A\nrclick EdA\nmenu Paste\n");
    EXPECT_EQ(r.exit_code, 1) << "a read-only field takes no paste";
    r = Run("rclick EdA\nmenu Copy\nkey Ctrl+V\nkey Ctrl+X\nexpect EdA \"hello world\"\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(win::GetClipboardText(), "hello world");
    EXPECT_EQ(changes_a, 0);
}

TEST_F(ContextMenu, KeyboardOpensNavigatesAndChoosesByLetter) {
    win::SetClipboardText("one\ntwo");
    const auto r = Run(R"(
focus EdB
key Shift+F10
key Down
key Down
key Down
key Down
key Enter
expect EdB "one"
key Apps
key a
key Delete
key Shift+F10
key Escape
expect EdB ""
)");
    // Down from nothing: Undo, Cut, Copy (grayed, visited), Paste: the first line is pasted.
    // Apps then 'a' selects all, Delete clears; Escape leaves it.
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(win::OpenMenuWindows().empty());
}

TEST_F(ContextMenu, EditableComboBoxHasTheSameMenuAndKeys) {
    auto* combo = Add<TComboBox>("Cb", 10, 90, 150, 24);
    combo->SetStyle(TComboBoxStyle::csDropDown);
    combo->Items().Add("COM1");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    const auto r = Run(R"(
focus EdA
key Ctrl+A
key Ctrl+C
focus Cb
key Ctrl+V
expect Cb "hello world"
rclick Cb
menu "Select All"
rclick Cb
menu Delete
expect Cb ""
key Ctrl+Z
expect Cb "hello world"
)");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(changes, 3);
}

TEST_F(ContextMenu, AFieldFreedWhileItsMenuIsOpenIsLeftAlone) {
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->SetEnabled(false);
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        delete b;
        b = nullptr;
    };
    // A script that ends with the menu open closes it.
    const auto r = Run("rclick EdB\nexpect-menu Undo - Cut Copy Paste Delete - \"Select All\"\n");
    ASSERT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(win::OpenMenuWindows().empty());
    // The timer frees the field while its menu is open: the menu ends, nothing is chosen.
    timer->SetEnabled(true);
    const auto r2 = Run("rclick EdB\nwait 100\nexpect EdA \"hello world\"\n");
    EXPECT_EQ(r2.exit_code, 0) << r2.report;
    EXPECT_EQ(b, nullptr);
    EXPECT_TRUE(win::OpenMenuWindows().empty());
}

TEST(ScriptKeys, ChordsAreParsedWithTheirModifiers) {
    automation::KeyChord k;
    ASSERT_TRUE(automation::ParseKeyChord("Ctrl+Shift+Left", &k));
    EXPECT_EQ(k.modifiers, (std::vector<int>{win::VK_CONTROL, win::VK_SHIFT}));
    EXPECT_EQ(k.vk, win::VK_LEFT);
    ASSERT_TRUE(automation::ParseKeyChord("+", &k));
    EXPECT_EQ(k.vk, -1) << "'+' types without a key of its own";
    EXPECT_FALSE(automation::ParseKeyChord("Ctrl++", nullptr)) << "so it has none to hold Ctrl for";
    EXPECT_FALSE(automation::ParseKeyChord("Ctrl+", nullptr));
    ASSERT_TRUE(automation::ParseKeyChord("Alt+Space", &k));
    EXPECT_EQ(k.vk, win::VK_SPACE);
    EXPECT_FALSE(automation::ParseKeyChord("Hyper+A", nullptr));
    EXPECT_FALSE(automation::ParseKeyChord("Ctrl+Nope", nullptr));
    const auto parsed = automation::ParseScript("key Ctrl+Bogus\n");
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(automation::ParseScript("expect-menu\n").error.has_value(), true);
}

}  // namespace
}  // namespace forms
