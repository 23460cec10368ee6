#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"

namespace skin {

// One skinned element: its image of `frame` state images and how the image is sliced.
// `r` holds the slice margins: left width, top height, right width, bottom height.
class TDataSkinObject {
  public:
    virtual ~TDataSkinObject() = default;

    gdi::Rect r;
    gdi::Bitmap Map;
    int32_t trans = 0;  // 1: magenta pixels are transparent
    int32_t Tile = 0;   // 0: the centre slice is stretched; 1: tiled
    std::string IDName;
    int32_t frame = 0;  // number of state images in Map
    int32_t style = 0;
    int32_t Normalcolor = -1;
    int32_t Overcolor = -1;
    int32_t Downcolor = -1;
    gdi::Color Normalcolor2 = 0;
    gdi::Color Overcolor2 = 0;
    gdi::Color Downcolor2 = 0;
};

// Window borders and the elements that carry a second image.
class TDataSkinBorder : public TDataSkinObject {
  public:
    gdi::Bitmap MaskMap;
};

// The colour value meaning "no colour given".
inline constexpr gdi::Color kNoColor = 0x1FFFFFFF;

class TDataSkinTitle : public TDataSkinObject {
  public:
    int32_t Aligment = 0;
    int32_t BackGround = 0;
    int32_t FontHeight = 14;
    int32_t backleft = 0;
    int32_t backright = 0;
    gdi::Color activetext = kNoColor;
    gdi::Color inactivetext = kNoColor;
};

class TDataSkinButton : public TDataSkinObject {
  public:
    gdi::Bitmap CheckMap;
    gdi::Bitmap RadioMap;
    int32_t radioframe = 0;
    int32_t checkframe = 0;
    bool newnormal = false;
    bool newover = false;
    bool newdown = false;
};

// A title-bar button.
class TDataSkinSysButton : public TDataSkinObject {
  public:
    int32_t Action = 0;
    int32_t Align = 0;
    int32_t XCoord = 0;
    int32_t YCoord = 0;
    int32_t CombineOp = -1;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
  public:
    int32_t LeftShift = 0;
    int32_t RightShift = 0;
    int32_t Alignment = 0;
};

}  // namespace skin
