// The control gallery in the plain look, each of its pages, compared pixel for pixel with the
// reference images in tests/tools/gallery/reference (renew them with
// scripts/renew_reference_images.sh after an intended change of the look).
#include <gtest/gtest.h>

#include <string>

#include "forms/forms.h"
#include "platform/clock/clock.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/window.h"
#include "tests/reference_images/reference_image.h"
#include "tools/gallery/gallery_form.h"

namespace {

TEST(GalleryReference, EveryPageInThePlainLook) {
    clk::ManualClock clock({2026, 3, 2, 9, 30, 0, 0, 1});
    clk::ScopedClock scoped(clock);
    win::SetScreenSize(1024, 768);
    auto* gallery = new TGalleryForm(forms::Application);
    gallery->Show();
    win::PumpPending();
    forms::TPageControl* pages = gallery->PageControl1;
    for (int page = 0; page < pages->PageCount(); ++page) {
        pages->SetActivePageIndex(page);
        win::PumpPending();
        win::UpdateAllWindows();
        const gdi::Bitmap shot = win::ComposeScreen().copy(win::GetWindowRect(gallery->Handle()));
        EXPECT_TRUE(reftest::MatchesReference(shot, VELMOR_REFERENCE_DIR,
                                              "gallery_page" + std::to_string(page + 1)));
    }
    delete gallery;
    win::PumpPending();
}

}  // namespace
