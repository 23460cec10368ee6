#include "skin/data/quick_ini.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace skin {
namespace {

TQuickIni ini_of(std::string_view text) {
    TMemoryStream s(std::vector<uint8_t>(text.begin(), text.end()));
    TQuickIni ini;
    ini.LoadFromStream(&s);
    return ini;
}

TEST(QuickIni, LookupTrimsIgnoresCaseAndTakesTheFirstKey) {
    const TQuickIni ini = ini_of(
        "; comment line\r\n"
        "  [BuTTons]  \r\n"
        "   LeftWidth   =   8   \n"
        "Empty=\r"
        ";TopHeight=5\r\n"
        "leftwidth=99\r\n"
        "\r\n"
        "[Other]\n"
        "LeftWidth=3");
    EXPECT_EQ(ini.ReadString("buttons", "LEFTWIDTH", "d"), "8");
    EXPECT_EQ(ini.ReadString("BUTTONS", "empty", "d"), "d");      // an empty value is missing
    EXPECT_EQ(ini.ReadString("Buttons", "TopHeight", "d"), "d");  // commented out
    EXPECT_EQ(ini.ReadString("Other", "LeftWidth", "d"), "3");
    EXPECT_EQ(ini.ReadString("Missing", "LeftWidth", "d"), "d");
    EXPECT_EQ(ini.Lines().size(), 6u);  // comments and blank lines are not kept
}

TEST(QuickIni, TextEndsAtNulAndLinesBreakAtCrLfOrEither) {
    const std::string text = std::string("[a]\rk=1\n[b]\r\nk=2") + '\0' + "\r\n[c]\r\nk=3";
    const TQuickIni ini = ini_of(text);
    EXPECT_EQ(ini.ReadInteger("a", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("b", "k", 0), 2);
    EXPECT_EQ(ini.ReadInteger("c", "k", 0), 0);
}

TEST(QuickIni, ReadIntegerForms) {
    const TQuickIni ini = ini_of(
        "[n]\nhex=0x1F\nHEX=0XfF\nbare=0x\nneg=-5\nmixed=12ab\ndollar=$10\nbig=99999999999\n"
        "colour=0xFFFFFFFF\nspace=1 2\n");
    EXPECT_EQ(ini.ReadInteger("n", "hex", 7), 31);
    EXPECT_EQ(ini.ReadInteger("n", "bare", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "neg", 7), -5);
    EXPECT_EQ(ini.ReadInteger("n", "mixed", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "dollar", 7), 16);
    EXPECT_EQ(ini.ReadInteger("n", "big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "colour", 7), -1);
    EXPECT_EQ(ini.ReadInteger("n", "space", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "none", 7), 7);
    EXPECT_TRUE(ini.ReadBool("n", "hex", false));
    EXPECT_FALSE(ini.ReadBool("n", "nothing", false));
    EXPECT_TRUE(ini.ReadBool("n", "nothing", true));
}

TEST(QuickIni, SectionListings) {
    const TQuickIni ini = ini_of("[ First ]\nA = 1\nnovalue\n=x\nB=2\n[Second]\n");
    std::vector<std::string> out;
    ini.ReadSections(&out);
    EXPECT_EQ(out, (std::vector<std::string>{"First", "Second"}));
    ini.ReadSection("Second", &out);
    EXPECT_TRUE(out.empty());
    ini.ReadSectionValues(" First ", &out);
    EXPECT_EQ(out, (std::vector<std::string>{"A = 1", "novalue", "=x", "B=2"}));
    ini.ReadSection(" first ", &out);
    EXPECT_EQ(out, (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(ini.ReadSections(nullptr), std::logic_error);
    EXPECT_THROW(ini.ReadSection("x", nullptr), std::logic_error);
}

// The last section runs to the end of the file; a section without lines ends at the next
// header; erasing takes the header and its lines and nothing of its neighbours.
TEST(QuickIni, SectionsEndAtTheNextHeaderOrTheEndOfTheFile) {
    TQuickIni ini = ini_of("[A]\na=1\n[Empty]\n[Last]\nx=1\ny\n");
    std::vector<std::string> out;
    ini.ReadSectionValues("Last", &out);
    EXPECT_EQ(out, (std::vector<std::string>{"x=1", "y"}));
    ini.ReadSection("Empty", &out);
    EXPECT_TRUE(out.empty());
    ini.EraseSection("Last");
    ini.EraseSection("Empty");
    ini.EraseSection("Missing");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string_view>{"[A]", "a=1"}));
    ini.ReadSections(&out);
    EXPECT_EQ(out, (std::vector<std::string>{"A"}));
}

TEST(QuickIni, WrittenValuesReadBackAfterSaving) {
    TQuickIni ini = ini_of("[Buttons]\nLeftWidth=8\n[Colours]\nButtonFace=1 2 3\n");
    ini.WriteInteger("buttons", "LeftWidth", 10);         // replaced in place
    ini.WriteString("Buttons", "Bitmap", "buttons.bmp");  // added to its section
    ini.WriteBool("New", "Flag", true);                   // a new section
    ini.WriteString("Colours", "Menu", "a\r\nb");
    ini.DeleteKey("Colours", "ButtonFace");
    TMemoryStream saved;
    ini.SaveToStream(&saved);
    saved.SetPosition(0);
    TQuickIni back;
    back.LoadFromStream(&saved);
    EXPECT_EQ(back.ReadInteger("Buttons", "LeftWidth", 0), 10);
    EXPECT_EQ(back.ReadString("Buttons", "Bitmap", ""), "buttons.bmp");
    EXPECT_TRUE(back.ReadBool("new", "flag", false));
    EXPECT_EQ(back.ReadString("Colours", "Menu", ""), "a  b");
    EXPECT_EQ(back.ReadString("Colours", "ButtonFace", "gone"), "gone");
    back.EraseSection("Buttons");
    EXPECT_EQ(back.ReadString("Buttons", "Bitmap", "gone"), "gone");
    EXPECT_EQ(back.ReadString("Colours", "Menu", ""), "a  b");
    back.Clear();
    EXPECT_TRUE(back.Lines().empty());
}

TEST(QuickIni, CompressedFilesRoundTrip) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string zip = (dir / "velmor_quick_ini_test.skz").string();
    const std::string plain = (dir / "velmor_quick_ini_test.ini").string();
    TQuickIni ini = ini_of("[Personality]\nTextShift=5\n");
    ASSERT_TRUE(ini.SavetoZip(zip));
    ASSERT_TRUE(ini.SaveToFile(plain));
    TQuickIni z;
    ASSERT_TRUE(z.LoadFromZip(zip));
    EXPECT_EQ(z.ReadInteger("Personality", "TextShift", 0), 5);
    TQuickIni p;
    ASSERT_TRUE(p.LoadFromFile(plain));
    EXPECT_EQ(p.Lines(), ini.Lines());
    EXPECT_FALSE(p.LoadFromZip(plain + ".missing"));
    std::filesystem::remove(zip);
    std::filesystem::remove(plain);
}

TEST(QuickIni, NullStreamChangesNothing) {
    TQuickIni ini = ini_of("[a]\nk=1\n");
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadInteger("a", "k", 0), 1);
}

TEST(QuickIni, KeysOfOneSectionReadThroughItsIndex) {
    TQuickIni ini;
    ini.LoadFromText("[A]\rFrameCount=3\n Frame = 5 \r\nframe=6\r\n[B]\nX=0x10\nEmpty=\n");
    const int a = ini.FindSection("a");
    ASSERT_GE(a, 0);
    // The first key of that name, not the longer one before it.
    EXPECT_EQ(ini.Value(a, "FRAME"), "5");
    EXPECT_EQ(ini.ReadInteger(a, "FrameCount", 0), 3);
    EXPECT_EQ(ini.Value(a, "X"), "");  // a key of the next section
    const int b = ini.FindSection("B");
    EXPECT_EQ(ini.ReadInteger(b, "x", 0), 16);
    EXPECT_EQ(ini.ReadString(b, "Empty", "none"), "none");
    EXPECT_EQ(ini.FindSection("C"), -1);
    EXPECT_EQ(ini.Value(-1, "X"), "");
    EXPECT_EQ(ini.ReadInteger(-1, "X", 4), 4);
}

// The lines are views into storage the object keeps: copies and moved objects keep their own,
// also for texts short enough to sit inside a string.
TEST(QuickIni, CopiesAndMovesKeepTheirLines) {
    auto made = [] {
        TQuickIni ini;
        ini.LoadFromText("[a]\nk=1");
        ini.WriteString("a", "w", "2");
        return ini;
    };
    TQuickIni moved = made();
    TQuickIni copy;
    {
        TQuickIni source = made();
        copy = source;
        source.WriteString("a", "k", "changed");
    }
    for (const TQuickIni* ini : {&moved, &copy}) {
        EXPECT_EQ(ini->ReadInteger("a", "k", 0), 1);
        EXPECT_EQ(ini->ReadInteger("a", "w", 0), 2);
    }
    copy.WriteString("A", "K", "3");
    copy.WriteString("b", "x", "4");
    EXPECT_EQ(copy.ReadInteger("a", "k", 0), 3);
    EXPECT_EQ(copy.ReadInteger("b", "x", 0), 4);
    EXPECT_EQ(moved.ReadInteger("a", "k", 0), 1);
}

}  // namespace
}  // namespace skin
