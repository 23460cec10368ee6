#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "skin/skin_elements.h"

namespace skin {

class TSkinDataCore;

// Fills skin as reading the built-in skin's description gives it (TSkinDataCore::
// ReadDescription): SkinName, IniName, the colours, every element and title-bar button, with
// the images of the built-in package read in place. The table behind it is made when the
// program is built, by running that reading over the built-in package
// (tools/skin_description_table), so start-up does not read the description text. False, with
// nothing changed, when the program carries no such table (the tool that makes it).
bool read_built_in_description(TSkinDataCore& skin);

// What the made table is written in.

// One image of an element: an image of the built-in package (its lower-cased name and its place
// among embedded_skin_images()), or pixels of its own in the table (an image the reading made,
// such as a mirrored copy).
struct BuiltInImage {
    const char* name;  // package images only, else nullptr
    int index;         // package images only
    int width;
    int height;
    const uint32_t* pixels;  // images of the table's own only
    bool transparent;
    uint32_t key;
};

// The fields every element has.
struct BuiltInElement {
    const char* IDName;
    int32_t left, top, right, bottom;
    int32_t trans, Tile, frame, style;
    int32_t Normalcolor, Overcolor, Downcolor;
    uint32_t Normalcolor2, Overcolor2, Downcolor2;
    int map;  // index into the table's images, -1 for none
};

// The table's images as bitmaps over their pixels, looked up once.
class BuiltInImages {
  public:
    explicit BuiltInImages(std::span<const BuiltInImage> images);
    // Whether every package image the table names is one the program carries, as the table
    // knew it (name and size).
    bool complete() const { return complete_; }
    // Image index (a copy reading the same pixels); empty for -1.
    gdi::Bitmap operator()(int index) const;

  private:
    std::vector<gdi::Bitmap> maps_;
    bool complete_ = true;
};

// An element of class T with the fields of e.
template <class T>
std::unique_ptr<T> built_in_element(const BuiltInElement& e, const BuiltInImages& images) {
    auto o = std::make_unique<T>();
    o->IDName = e.IDName;
    o->r = gdi::Rect{e.left, e.top, e.right, e.bottom};
    o->trans = e.trans;
    o->Tile = e.Tile;
    o->frame = e.frame;
    o->style = e.style;
    o->Normalcolor = e.Normalcolor;
    o->Overcolor = e.Overcolor;
    o->Downcolor = e.Downcolor;
    o->Normalcolor2 = e.Normalcolor2;
    o->Overcolor2 = e.Overcolor2;
    o->Downcolor2 = e.Downcolor2;
    o->Map = images(e.map);
    return o;
}

}  // namespace skin
