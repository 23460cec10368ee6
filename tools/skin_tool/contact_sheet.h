#pragma once

#include "platform/gdi/bitmap.h"
#include "skin/skin_data_core.h"

namespace skin_tool {

// Every element of a loaded skin in each of its states at a few sizes, the check and radio
// images, and the colour slots, on one picture over the skin's button face.
gdi::Bitmap draw_contact_sheet(const skin::TSkinDataCore& skin);

}  // namespace skin_tool
