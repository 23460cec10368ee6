// The Device Setup page in the three languages: every caption of its tables, the delay grid's
// unit boxes relabelled with their checks kept, and a screenshot of each look.

#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/label.h"
#include "platform/gdi/png.h"
#include "platform/win/painting.h"
#include "tests/pages/device_setup/device_setup_fixture.h"

namespace {

using device_setup_test::DeviceSetupTest;

struct Captions {
    const char* name;
    const char* zh_cn;
    const char* en;
    const char* zh_tw;
};

const Captions kPageCaptions[] = {
    {"Bn_read_id", "读出", "read", "讀出"},
    {"Bn_write_id", "写入", "write", "寫入"},
    {"Label14", "原ID：", "old ID:", "原ID："},
    {"Label4", "新ID：", "new ID:", "新ID："},
    {"Label1", "(读或写ID时，只与一台设备相连接)",
     "(while reading or writing ID, only connect one)", "(讀或寫ID時，只與壹臺設備相連接)"},
    {"GroupBox1", "设置", "setup", "設置"},
    {"Bn_connect", "读取信息", "read device", "讀取信息"},
    {"GroupBox_dly_setup", "延时设置", "delay setup", "延時設置"},
    {"Bn_default", "默认值", "default", "默認值"},
    {"Bn_app", "应用", "apply", "應用"},
    {"CheckBox17", "级联", "cascade", "級聯"},
    {"Label3", "启始位", "start bit", "啟始位"},
    {"Label2", "启始位设置只用于顺序开", "the bit only for sequential turn on",
     "啟始位設置只用於順序開"},
    {"Button3", "开关", "start", "開關"},
    {"Button1", "开机", "turn on", "開機"},
    {"Button2", "关机", "turn off", "關機"},
    {"CB_Opentime", "定时开机", "on by alarm", "定時開機"},
    {"CB_Closetime", "定时关机", "off by alarm", "定時關機"},
    // Never translated.
    {"Label6", "ID：", "ID：", "ID："},
    {"CB_lock", "Lock", "Lock", "Lock"},
};

class DeviceSetupLanguageTest : public DeviceSetupTest {
  protected:
    static void Switch(int language) {
        PickItem(Form1->CB_language, language);
        Form1->PageControl1->SetActivePage(Form1->TabSheet2);
        win::PumpPending();
    }
    static std::string CaptionOf(const char* name) {
        return dynamic_cast<forms::TControl*>(Form1->FindComponent(name))->Caption();
    }
    // Saved where VELMOR_SCREENSHOT_DIR points, for looking at the page; else not kept.
    void Screenshot(const std::string& name) {
        const char* dir = std::getenv("VELMOR_SCREENSHOT_DIR");
        const std::string path = (dir ? std::string(dir) : dir_.string()) + "/" + name;
        win::UpdateAllWindows();
        const gdi::Bitmap* bitmap = win::GetWindowBitmap(Form1->Handle());
        ASSERT_NE(bitmap, nullptr);
        EXPECT_TRUE(gdi::write_png_file(path, *bitmap)) << path;
    }
};

TEST_F(DeviceSetupLanguageTest, EveryCaptionFollowsTheLanguage) {
    StartPage();  // a new settings file starts in English
    for (const Captions& c : kPageCaptions)
        EXPECT_EQ(CaptionOf(c.name), c.en) << c.name;
    EXPECT_EQ(Form1->DelayGroup[0]->Caption(), "turn on delay");
    EXPECT_EQ(Form1->DelayGroup[1]->Caption(), "turn off delay");
    EXPECT_EQ(Form1->DelayMinutes[1][16]->Caption(), "M");
    Form1->DelayEdit[0][3]->SetText("2.5");
    Form1->DelayMinutes[0][3]->SetChecked(true);
    Form1->DelayMinutes[1][12]->SetChecked(true);
    Screenshot("device_setup_en.png");

    Switch(2);
    for (const Captions& c : kPageCaptions)
        EXPECT_EQ(CaptionOf(c.name), c.zh_tw) << c.name;
    EXPECT_EQ(Form1->DelayGroup[0]->Caption(), "開機延時");
    EXPECT_EQ(Form1->DelayGroup[1]->Caption(), "關機延時");
    Screenshot("device_setup_zh_tw.png");

    Switch(0);
    for (const Captions& c : kPageCaptions)
        EXPECT_EQ(CaptionOf(c.name), c.zh_cn) << c.name;
    EXPECT_EQ(Form1->DelayGroup[0]->Caption(), "开机延时");
    EXPECT_EQ(Form1->DelayGroup[1]->Caption(), "关机延时");
    Screenshot("device_setup_zh_cn.png");

    // Relabelled, never unchecked; the channel labels and the start channel items stay.
    for (int k = 0; k < 2; ++k) {
        for (int b = 0; b < 17; ++b) {
            EXPECT_EQ(Form1->DelayMinutes[k][b]->Caption(), "分");
            EXPECT_EQ(Form1->DelayMinutes[k][b]->Checked(),
                      (k == 0 && b == 3) || (k == 1 && b == 12));
        }
    }
    EXPECT_EQ(Form1->DelayEdit[0][3]->Text(), "2.5");
    EXPECT_EQ(Form1->DelayLabel[0][0]->Caption(), "LCD:");
    EXPECT_EQ(Form1->Cb_ch->Items()[0], "LCD");

    // The page starts in the stored language.
    RestartWindow();
    EXPECT_EQ(Form1->Bn_connect->Caption(), "读取信息");
    EXPECT_EQ(Form1->DelayMinutes[0][0]->Caption(), "分");
}

}  // namespace
