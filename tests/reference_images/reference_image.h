#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/bitmap.h"

// Whole-window pictures compared with reference images kept in the source tree: exact pixels
// (the colour channels; alpha is ignored), the reference stored as a PNG that can be looked at.
//
// After an intended change of the look, renew the references with
// `bash scripts/renew_reference_images.sh [BUILD_DIR]`, which runs these tests with
// VELMOR_RENEW_REFERENCE_IMAGES=1: each test then writes its pictures instead of comparing.
// Look at the new PNGs before committing them.
namespace reftest {

// True when the references are being renewed rather than checked.
bool Renewing();

// Compares `actual` with `dir`/`name`.png. When renewing, writes it there instead (and
// succeeds). On a difference the picture taken is written next to the test as
// `name`.actual.png, and the failure says how many pixels differ and where the first one is.
::testing::AssertionResult MatchesReference(const gdi::Bitmap& actual, const std::string& dir,
                                            const std::string& name);

}  // namespace reftest
