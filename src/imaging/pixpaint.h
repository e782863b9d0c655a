// Pixpaint: draws the records of pixcore.h with a QPainter.
//
// `dc` is a QPainter* passed untyped (callers keep the library's calling form);
// a null dc draws nothing and fails. Device position = offset + scale x record
// coordinate, in floats, truncated toward zero where a whole pixel is needed.
// Drawing is aliased (crisp one-pixel lines) whatever the painter's hints were;
// the painter's state is restored on return.
#pragma once

#include <cstdint>

#include "pixcore.h"

// Flag bits of DrawImage: bit i is element i of the image control's drawing
// methods. Only those that change the picture are named here; the others are
// accepted and ignored.
enum : uint32_t {
  // Paint nothing outside the image. Set for transparent controls; the first
  // drawing method (the driver mirrors bottom-up rows) sets the same bit,
  // which is harmless since the control fills its border itself.
  DrawImageNothingOutside = 1u << 0,
  DrawImageNoSmoothing = 1u << 2,
  DrawImageNoSmoothingWhenEnlarging = 1u << 3,
  DrawImageNoSmoothingWhenVerticallyCompressing = 1u << 4,
};

// Paints an 8-bit grey or RGB image (any steps, either row order), pixel (i, j)
// covering device [xoffset + i * xscale, xoffset + (i + 1) * xscale) and likewise
// in y; negative scales mirror, zero scales draw nothing. Scaled pictures are
// smoothed (bilinear) unless a flag says otherwise for this scale. `color` (a
// Windows RGB value 0x00BBGGRR) tints the picture channel by channel; 0xFFFFFF
// shows it plain. Without DrawImageNothingOutside the rest of the painter's
// device is filled with `border_color`. Only the visible part of the image is
// read. -1 (nothing painted) for another pixel type, no dc, or a non-finite
// offset or scale.
int DrawImage(void* dc, const ImageStruct* image, float xoffset, float yoffset, float xscale,
              float yscale, uint32_t color, uint32_t flags, uint32_t border_color);

// The first and last device column (left, right) and row (top, bottom) that
// DrawImage covers, clipped to what the caller preset (0, 0, width, height of
// the control). The outputs are whole numbers as floats. With nothing covered,
// right < left or bottom < top. dc is not used (may be null).
int ImageExtent(void* dc, const ImageStruct* image, float xoffset, float yoffset, float* left,
                float* top, float* right, float* bottom, float xscale, float yscale);

// A graph of the vector's values inside the box from device (0, 0) to (width,
// height). The box's own axes: x grows to the right, y grows upward from the
// bottom edge (device row height). The index axis runs along x (horizontal) or
// y (vertical), the value axis along the other; (x0, y0) is the corner where
// both start and xsense, ysense (+1 or -1) their directions, so (0, 0, +1, +1)
// puts index 0 at the left (bottom) and min at the bottom (left).
//
// Value i owns the slot [i * L / n, (i + 1) * L / n) of the index axis (L its
// length in pixels, n the values in use), the mapping the error graphs' cursor
// and mouse use. Each pixel column (row) of the index axis is one segment from
// the lowest to the highest value whose slot falls in it, joined to the
// previous one: a step curve while there are fewer values than pixels, the
// value envelope beyond; at most L segments, so 100,000 values cost no more
// to draw than a few hundred. Values are clamped to min ... max (drawn at the
// edge, so they stay visible); min == max: above min at the high end, else the
// low end; a NaN or infinite window puts every value at the low end; NaN
// values leave their slots out. -1 for no dc or vector, or a non-finite box.
int DrawVectorHorizontal(void* dc, const VectorStruct* vector, float x0, float y0, float xsense,
                         float ysense, float width, float height, float min, float max,
                         uint32_t color);
int DrawVectorVertical(void* dc, const VectorStruct* vector, float x0, float y0, float xsense,
                       float ysense, float width, float height, float min, float max,
                       uint32_t color);

// Draws items start ... start + count - 1 (count <= 0: to the end; start < 0
// counts as 0), each in its colour, one pixel wide: a point as a 3 x 3 square
// around its position, a line, a rectangle outline (both corners' pixels
// included), an arc (an elliptical one when the scales differ).
int DrawList(void* dc, const GraphicsListStruct* list, float xoffset, float yoffset, float xscale,
             float yscale, int32_t start, int32_t count);

// Hit tolerance of ItemHit in device pixels.
inline constexpr float ItemHitTolerance = 3.0f;

// Whether device point (x, y) lies within ItemHitTolerance pixels of the item
// as DrawList draws it: a point's position, a line segment, a rectangle's
// outline (not its inside: clicks inside a box belong to what lies beneath),
// an arc's curve. Empty and unknown items never hit. dc is not used (may be null).
bool ItemHit(void* dc, const GraphicsItemStruct* item, float xoffset, float yoffset, float x,
             float y, float xscale, float yscale);
