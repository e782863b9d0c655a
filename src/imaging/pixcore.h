// Pixcore: images of six pixel types, their conversions into displayable 8-bit
// and RGB images, float vectors and graphics lists. Plain C++, no Qt.
//
// Procedural like the rest of the engine: records with public fields, free
// functions taking the record first and returning 1 for success, -1 for
// failure (or a record / null). A null record is a failure, never a crash, and
// nothing throws out of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pixcache.h"

// ---------------------------------------------------------------------------
// Pixel types
//
// A type code is tested masked with PixTypeMask. Its low nibble is the number
// of bytes a pixel takes; one bit above names the kind. The bits the mask drops
// are flags: 0x20 on an 8-bit and 0x2000 on an RGB image say that its rows are
// laid out as a device bitmap (bottom row first in memory, so the line step is
// negative, each row padded to a multiple of 4 bytes). NewImage8 and
// NewImageRGB (and their Alloc forms) set the flag; the drawing side still
// checks the line step itself, since a referenced image may carry the flag
// with any layout.
//
//   8-bit    0x11    uint8_t, 0 ... 255
//   16-bit   0x42    uint16_t, unsigned
//   32-bit   0x104   int32_t, signed
//   float    0x404   float
//   RGB      0x1004  4 bytes: blue, green, red, unused (as a 32-bit bitmap)
//   complex  0x4008  two floats: real part, imaginary part
enum : uint16_t {
  PixTypeMask = 0x555F,
  PixType8 = 0x11,
  PixType16 = 0x42,
  PixType32 = 0x104,
  PixTypeFloat = 0x404,
  PixTypeRGB = 0x1004,
  PixTypeComplex = 0x4008,
  PixTypeBitmap8 = 0x31,      // what NewImage8 gives
  PixTypeBitmapRGB = 0x3004,  // what NewImageRGB gives
};

// The largest pixel block any constructor makes (4 GiB); bigger requests fail.
inline constexpr uint64_t PixMaxImageBytes = uint64_t(1) << 32;

struct ImageStruct;

// The allocate/release pair of NewImage8Alloc and NewImageRGBAlloc: allocate
// gives the block for `image`'s pixels (null: failure), release gives a block
// back (block may be null when the owner has already lost it, see pixcache.h).
// CacheAllocLock and CacheUnlockFree are such a pair.
using ImageAllocateFn = void* (*)(ImageStruct* image, std::size_t bytes);
using ImageReleaseFn = void (*)(ImageStruct* image, void* block);

// How the record holds its pixels; set by the constructors, read by DeleteImage.
enum class ImageOwnership : uint8_t {
  Owned,     // `storage` below
  Pair,      // `block`, given back through `release`
  External,  // caller memory, left alone by DeleteImage
  View,      // SetTempReference: caller storage viewing another image
};

// Descriptive data: copied by ImageInfoTransfer, never by pixel operations.
struct ImageInfoStruct {
  double x_origin = 0;  // position of pixel (0, 0) in the picture's own units
  double y_origin = 0;
  double x_pitch = 1;   // size of a pixel in those units
  double y_pitch = 1;
  std::string title;    // e.g. the file the picture came from
};

struct ImageStruct {
  uint8_t* data = nullptr;       // top-left pixel (null for an empty image)
  int32_t xsize = 0;             // width in pixels
  int32_t ysize = 0;             // height in pixels
  std::ptrdiff_t pixel_step = 0; // bytes from a pixel to its right neighbour
  std::ptrdiff_t line_step = 0;  // bytes from a row to the one below; negative: rows run upwards
  uint16_t type = 0;             // type code, see above
  ImageInfoStruct info;

  // Ownership, set by the constructors; callers leave these alone.
  ImageOwnership ownership = ImageOwnership::External;
  std::vector<uint8_t> storage;
  void* block = nullptr;
  ImageReleaseFn release = nullptr;

  ImageStruct() = default;
  // A copy would point into (and could outlive) the original's pixels.
  ImageStruct(const ImageStruct&) = delete;
  ImageStruct& operator=(const ImageStruct&) = delete;
};

// Address of pixel (x, y); no range check.
inline uint8_t* ImagePixel(const ImageStruct* image, int32_t x, int32_t y) {
  return image->data + static_cast<std::ptrdiff_t>(y) * image->line_step +
         static_cast<std::ptrdiff_t>(x) * image->pixel_step;
}
inline uint16_t ImageKind(const ImageStruct* image) {
  return image ? static_cast<uint16_t>(image->type & PixTypeMask) : uint16_t(0);
}

// New images of x by y pixels, or null (negative size, more than
// PixMaxImageBytes, no memory). Zero sizes give an empty image. Contents are
// zero. 8-bit and RGB images are laid out as device bitmaps (see above), the
// others top-down with pixel step = pixel size.
ImageStruct* NewImage8(int32_t x, int32_t y);
ImageStruct* NewImage16(int32_t x, int32_t y);
ImageStruct* NewImage32(int32_t x, int32_t y);
ImageStruct* NewImageFloat(int32_t x, int32_t y);
ImageStruct* NewImageRGB(int32_t x, int32_t y);
ImageStruct* NewImageComplex(int32_t x, int32_t y);

// The same 8-bit and RGB images with their pixels in a block from `allocate`,
// `header` bytes in front of the rows (callers pass 768: room for a 256-entry
// colour table); contents are undefined. Null when allocate fails.
ImageStruct* NewImage8Alloc(int32_t x, int32_t y, int32_t header, ImageAllocateFn allocate,
                            ImageReleaseFn release);
ImageStruct* NewImageRGBAlloc(int32_t x, int32_t y, int32_t header, ImageAllocateFn allocate,
                              ImageReleaseFn release);

// An image over caller memory: `data` is the top-left pixel, the steps are in
// bytes (either may be negative). Null for a negative size, a type whose
// masked code is none of the six, or null data with a non-empty size. The four
// trailing arguments are reserved (pass 0). DeleteImage frees only the record.
ImageStruct* NewImageReferenceExternal(int32_t x, int32_t y, std::ptrdiff_t pixel_step,
                                       std::ptrdiff_t line_step, uint16_t type, void* data,
                                       int r0 = 0, int r1 = 0, int r2 = 0, int r3 = 0);

// Frees the record and whatever pixels it owns. A view made by
// SetTempReference is caller storage: refused (-1).
int DeleteImage(ImageStruct* image);

// Every pixel becomes `value`: integer types saturate (NaN gives 0), float
// takes it, complex gets (value, 0), RGB gets the grey level value (0 ... 255)
// in all three colours and 0 in the unused byte.
int ImageFill(ImageStruct* image, double value);

// `record` (caller storage, e.g. a local ImageStruct) becomes a view of the
// w x h area of `image` at (x, y): same type and steps, no pixels of its own.
// The area must lie inside the image (w, h may be 0); -1 otherwise, and for a
// record that owns pixels. Never DeleteImage a view; it needs no release.
int SetTempReference(ImageStruct* record, const ImageStruct* image, int32_t x, int32_t y,
                     int32_t w, int32_t h);

// Copies the pixels of the area both images share (top-left aligned); both
// must have the same masked type. Descriptive data are not copied.
int ImageTransfer(ImageStruct* dst, const ImageStruct* src);
// Copies the descriptive data (info) only.
int ImageInfoTransfer(ImageStruct* dst, const ImageStruct* src);

// ---------------------------------------------------------------------------
// Conversions for display. Each converts the area the two images share
// (top-left aligned, so views of quadrants work) and fails (-1) when a type
// does not match. Computed in double.
//
// Value window (min, max): min is shown as 0, max as 255. A value v gives
// round((v - min) * 255 / (max - min)), clamped to 0 ... 255; max < min gives
// a negative picture. min == max is a threshold: below min 0, else 255. NaN
// values, and every value under a NaN or infinite window, give 0; infinite
// values clamp.
//
// Log variants: d = v - min and r = max - min > 0 give
// round(255 * ln(1 + d) / ln(1 + r)) for 0 < d < r, 0 for d <= 0 and 255 for
// d >= r; so the window's ends stay 0 and 255 while small values are spread
// out. With r <= 0 they behave as the linear ones.
//
// Complex parts: Re the real part, Im the imaginary part, Power re^2 + im^2.
int Image8ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int Image16ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int Image32ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageFloatToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageFloatLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexReToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexReLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexImToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexImLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexPowerToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);
int ImageComplexPowerLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);

// RGB into RGB: each of blue, green and red through the window; unused byte 0.
int ImageRGBToImageRGB(ImageStruct* dst, const ImageStruct* src, float min, float max);
// The same, then tinted by `color`, a Windows RGB value 0x00BBGGRR: each
// channel is scaled by the colour's channel / 255 (white: no change).
int ImageRGBToImageRGBColor(ImageStruct* dst, const ImageStruct* src, uint32_t color, float min,
                            float max);
// RGB into 8-bit grey: luminance (299 R + 587 G + 114 B) / 1000, then the window.
int ImageRGBToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max);

// 8-bit source into the other types: the value itself (complex: (v, 0); RGB:
// grey (v, v, v, 0)).
int Image8ToImage16(ImageStruct* dst, const ImageStruct* src);
int Image8ToImage32(ImageStruct* dst, const ImageStruct* src);
int Image8ToImageFloat(ImageStruct* dst, const ImageStruct* src);
int Image8ToImageComplex(ImageStruct* dst, const ImageStruct* src);
int Image8ToImageRGB(ImageStruct* dst, const ImageStruct* src);

// ---------------------------------------------------------------------------
// Vectors: a run of float values, the caller's record. The values in use are
// `values` (their count is its size, so the two cannot disagree); the room is
// its capacity.
struct VectorStruct {
  std::vector<float> values;

  int32_t length() const { return static_cast<int32_t>(values.size()); }
};

inline constexpr int32_t PixMaxVectorLength = int32_t(1) << 28;

// Room for n values, none in use. -1 for n < 0 or n > PixMaxVectorLength.
int InitVectorSize(VectorStruct* vector, int32_t n);
// n values in use: kept ones stay, new ones are 0; grows the room if needed.
int SetVectorLength(VectorStruct* vector, int32_t n);
// Frees the room; the record stays the caller's.
int DestroyVector(VectorStruct* vector);
// Extremes, mean and standard deviation of the values in use, NaN skipped.
// Any output pointer may be null. -1 (outputs 0) when no value counts.
int VectorStatistics(float* min, float* max, float* mean, float* deviation,
                     const VectorStruct* vector);

// ---------------------------------------------------------------------------
// Graphics lists: points, lines, rectangles and arcs in list coordinates.
enum : int32_t {
  GraphicsEmpty = -1,  // a gap left by SetLineToList: neither drawn nor hit
  GraphicsPoint = 0,
  GraphicsLine = 1,
  GraphicsRectangle = 2,
  GraphicsArc = 3,
};

// Geometry by type:
//   point      x, y = p2, p3
//   line       x0, y0, x1, y1 = p1 ... p4
//   rectangle  left, top, right, bottom = p1 ... p4
//   arc        centre x, y, radius, start and end angle in degrees = p1 ... p5,
//              counter-clockwise on screen from start to end (y grows downward,
//              so angle a lies at (x + r cos a, y - r sin a))
struct GraphicsItemStruct {
  int32_t type = GraphicsEmpty;
  uint32_t color = 0;  // Windows RGB value 0x00BBGGRR
  float p1 = 0;
  float p2 = 0;
  float p3 = 0;
  float p4 = 0;
  float p5 = 0;
  int32_t spare = 0;   // free for the application
};

struct GraphicsLineStruct {
  uint32_t color = 0;
  float x0 = 0;
  float y0 = 0;
  float x1 = 0;
  float y1 = 0;
};

struct GraphicsRectangleStruct {
  uint32_t color = 0;
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
};

// The items in use are `items` (count = its size); the room is its capacity.
// Adding never fails for lack of room: the list grows.
struct GraphicsListStruct {
  std::vector<GraphicsItemStruct> items;

  int32_t count() const { return static_cast<int32_t>(items.size()); }
};

// Largest index SetLineToList accepts; protects against absurd indices.
inline constexpr int32_t PixMaxListIndex = (int32_t(1) << 22) - 1;

// Room for n items (reserved up to 4096 at once; more grow as added), count 0.
int InitListSize(GraphicsListStruct* list, int32_t n);
// Frees the room; the record stays the caller's.
int DestroyList(GraphicsListStruct* list);
// Count 0; the room stays.
int ClearList(GraphicsListStruct* list);
// Appends; return the new item's index, -1 on failure.
int AddRectangleToList(GraphicsListStruct* list, const GraphicsRectangleStruct* rectangle);
int AddLineToList(GraphicsListStruct* list, const GraphicsLineStruct* line);
int AddPointToList(GraphicsListStruct* list, uint32_t color, float x, float y);
int AddArcToList(GraphicsListStruct* list, uint32_t color, float cx, float cy, float radius,
                 float start, float end);
int AddItemToList(GraphicsListStruct* list, const GraphicsItemStruct* item);
// Item `index` becomes the line; the count grows to index + 1 if needed, the
// items in between being GraphicsEmpty. -1 for index < 0 or > PixMaxListIndex.
int SetLineToList(GraphicsListStruct* list, const GraphicsLineStruct* line, int32_t index);
// The item at index if it is a line, else null. Its colour and p1 ... p4 are
// the line's data and may be written in place. Valid until the list changes size.
GraphicsItemStruct* GetLineFromList(GraphicsListStruct* list, int32_t index);
// The item at index, or null outside 0 ... count - 1. Valid until the list changes size.
GraphicsItemStruct* GetFromList(GraphicsListStruct* list, int32_t index);
const GraphicsItemStruct* GetFromList(const GraphicsListStruct* list, int32_t index);
// Removes the item; the later ones move down by one.
int RemoveFromList(GraphicsListStruct* list, int32_t index);
