#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "tests/app/main_window_fixture.h"

namespace {

using settings::SettingsFile;
using velmor_test::MainWindowTest;

TEST_F(MainWindowTest, FirstStartCreatesTheFileAndComesUpInEnglish) {
    StartWindow();
    const auto bytes = FileBytes();
    ASSERT_EQ(bytes.size(), SettingsFile::kSize);
    EXPECT_EQ(Int32At(bytes, SettingsFile::PortNumber), 1);
    EXPECT_EQ(Int32At(bytes, SettingsFile::SavedLanguage), 1);
    EXPECT_EQ(std::string(bytes.begin() + 68, bytes.begin() + 81), "192.168.0.255");
    EXPECT_EQ(bytes[81], 0);
    EXPECT_EQ(bytes[82], 0);
    EXPECT_EQ(Int32At(bytes, SettingsFile::DayFlag(0)), settings::FLAG_OFF);

    EXPECT_EQ(Form1->LanguageIndex, 1);
    EXPECT_EQ(Form1->CB_language->ItemIndex(), 1);
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 0);
    EXPECT_EQ(Form1->Ed_ip_address->Text(), "192.168.0.255");
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "connect");
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "connect");
    EXPECT_EQ(Form1->Button7->Caption(), "EXIT");
    EXPECT_EQ(Form1->Label5->Caption(), "Language:");
    EXPECT_EQ(Form1->Label13->Caption(), "Serial Port: ");
    EXPECT_EQ(Form1->Label7->Caption(), "IP address: ");
    EXPECT_EQ(Form1->TabSheet1->Caption(), "Port Setup");
    EXPECT_EQ(Form1->TabSheet3->Caption(), "Real-time Control");
    // The designed idle prompt is translated; the version label appears.
    EXPECT_EQ(Panel(2), "Status:");
    EXPECT_EQ(Panel(4), "Version: Talo_V0.4.2");
    // Loading wrote nothing back.
    EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(MainWindowTest, StoredChineseKeepsTheDesignedStatusAndSetsEveryCaption) {
    WriteFileWith(SettingsFile::SavedLanguage, 0);
    const auto before = FileBytes();
    StartWindow();
    EXPECT_EQ(Form1->CB_language->ItemIndex(), 0);
    EXPECT_EQ(Panel(2), "状态:");
    EXPECT_EQ(Panel(4), "版本：Talo_V0.4.2");
    // Designed as "IP 地址：", set from the table even though the language did not change.
    EXPECT_EQ(Form1->Label7->Caption(), "IP地址：");
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "连接");
    EXPECT_EQ(Form1->TabSheet4->Caption(), "定时任务");
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(MainWindowTest, StoredTraditionalChineseTranslatesTheIdlePrompt) {
    WriteFileWith(SettingsFile::SavedLanguage, 2);
    StartWindow();
    EXPECT_EQ(Panel(2), "狀態:");
    EXPECT_EQ(Panel(4), "版本：Talo_V0.4.2");
    EXPECT_EQ(Form1->Label5->Caption(), "   語言：");
}

TEST_F(MainWindowTest, OutOfRangeLanguageStartsInEnglishWithNoSelection) {
    WriteFileWith(SettingsFile::SavedLanguage, 7);
    StartWindow();
    EXPECT_EQ(Form1->LanguageIndex, 7);
    EXPECT_EQ(Form1->CB_language->ItemIndex(), -1);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "connect");
    EXPECT_EQ(Panel(2), "Status:");
    EXPECT_EQ(Panel(4), "Version: Talo_V0.4.2");
}

TEST_F(MainWindowTest, StoredPortIsSelectedAndOutOfRangeSelectsNothing) {
    WriteFileWith(SettingsFile::PortNumber, 8);
    StartWindow();
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 7);
    CloseWindow();
    for (int32_t port : {0, 9, -1}) {
        WriteFileWith(SettingsFile::PortNumber, port);
        StartWindow();
        EXPECT_EQ(Form1->CB_com->ItemIndex(), -1) << port;
        CloseWindow();
    }
}

TEST_F(MainWindowTest, PortChoiceSurvivesARestart) {
    StartWindow();
    const auto before = FileBytes();
    PickItem(Form1->CB_com, 2);
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 2);
    auto after = FileBytes();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(Int32At(after, SettingsFile::PortNumber), 3);
    // Only the four bytes of the port number changed.
    std::copy(before.begin(), before.begin() + 4, after.begin());
    EXPECT_EQ(after, before);
    RestartWindow();
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 2);
}

TEST_F(MainWindowTest, StoredAddressesOfFifteenAndMoreCharacters) {
    auto image = settings::DefaultSettingsImage(0.0);
    std::vector<uint8_t> bytes(image.begin(), image.end());
    const std::string full = "192.168.100.200";
    std::copy(full.begin(), full.end(), bytes.begin() + 68);
    WriteFileBytes(bytes);
    StartWindow();
    EXPECT_EQ(Form1->Ed_ip_address->Text(), full);
}

TEST_F(MainWindowTest, ShortFileAppliesTheFieldsItHas) {
    // Port and language present; the address and everything after it are missing.
    auto image = settings::DefaultSettingsImage(0.0);
    std::vector<uint8_t> bytes(image.begin(), image.begin() + 70);
    settings::PutInt32(std::span<uint8_t>(bytes).subspan(SettingsFile::PortNumber, 4), 5);
    settings::PutInt32(std::span<uint8_t>(bytes).subspan(SettingsFile::SavedLanguage, 4), 2);
    WriteFileBytes(bytes);
    StartWindow();
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 4);
    EXPECT_EQ(Form1->LanguageIndex, 2);
    EXPECT_EQ(Form1->Ed_ip_address->Text(), "192.168.1.111");
    EXPECT_EQ(FileBytes(), bytes);

    // A file too short for even the port keeps the designed selection.
    WriteFileBytes({3, 0});
    RestartWindow();
    EXPECT_EQ(Form1->CB_com->ItemIndex(), 0);
    EXPECT_EQ(Form1->LanguageIndex, 0);
    EXPECT_EQ(FileBytes(), (std::vector<uint8_t>{3, 0}));
}

TEST_F(MainWindowTest, ReadOnlyFileIsNotReadAndNothingIsWritten) {
    WriteFileWith(SettingsFile::SavedLanguage, 2);
    const auto before = FileBytes();
    std::filesystem::permissions(SettingsFile(), std::filesystem::perms::owner_read);
    StartWindow();
    // The defaults are shown, not the stored Chinese (Traditional).
    EXPECT_EQ(Form1->LanguageIndex, 1);
    EXPECT_EQ(Form1->Ed_ip_address->Text(), "192.168.0.255");
    PickItem(Form1->CB_com, 3);
    PickItem(Form1->CB_language, 0);
    EXPECT_EQ(Form1->LanguageIndex, 0);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(MainWindowTest, LockedFileIsSkippedSilently) {
    WriteFileWith(SettingsFile::SavedLanguage, 2);
    const auto before = FileBytes();
    const int fd = ::open(SettingsFile().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    StartWindow();
    EXPECT_EQ(Form1->LanguageIndex, 1);
    EXPECT_TRUE(forms::OpenMessageBoxes().empty());
    PickItem(Form1->CB_com, 5);
    EXPECT_EQ(FileBytes(), before);
    ::close(fd);
}

}  // namespace
