// Image records: construction, views, release, fill and pixel copies.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "pixcore.h"

namespace {

int pixel_bytes(uint16_t type) { return type & 0xF; }

bool known_kind(uint16_t type) {
  switch (type & PixTypeMask) {
    case PixType8:
    case PixType16:
    case PixType32:
    case PixTypeFloat:
    case PixTypeRGB:
    case PixTypeComplex:
      return true;
    default:
      return false;
  }
}

// Bytes of one row: device-bitmap rows are padded to 4 bytes.
bool row_bytes(int32_t x, int bytes, bool bitmap, uint64_t* out) {
  uint64_t row = static_cast<uint64_t>(x) * static_cast<uint64_t>(bytes);
  if (bitmap) row = (row + 3) & ~uint64_t(3);
  *out = row;
  return row <= PixMaxImageBytes;
}

bool block_bytes(int32_t x, int32_t y, int bytes, bool bitmap, uint64_t* row, uint64_t* total) {
  if (x < 0 || y < 0) return false;
  if (!row_bytes(x, bytes, bitmap, row)) return false;
  // row <= 2^32 and y < 2^31: the product fits in 64 bits.
  *total = *row * static_cast<uint64_t>(y);
  return *total <= PixMaxImageBytes;
}

// Points data and steps into a block of `rows` bytes: bottom-up for bitmaps.
void lay_out(ImageStruct* image, uint8_t* base, int32_t x, int32_t y, uint16_t type,
             uint64_t row, bool bitmap) {
  image->xsize = x;
  image->ysize = y;
  image->type = type;
  image->pixel_step = pixel_bytes(type);
  if (x == 0 || y == 0 || base == nullptr) {
    image->data = base;
    image->line_step = bitmap ? -static_cast<std::ptrdiff_t>(row) : static_cast<std::ptrdiff_t>(row);
    return;
  }
  if (bitmap) {
    image->line_step = -static_cast<std::ptrdiff_t>(row);
    image->data = base + static_cast<std::ptrdiff_t>(row) * (y - 1);
  } else {
    image->line_step = static_cast<std::ptrdiff_t>(row);
    image->data = base;
  }
}

ImageStruct* new_owned(int32_t x, int32_t y, uint16_t type, bool bitmap) {
  uint64_t row = 0;
  uint64_t total = 0;
  if (!block_bytes(x, y, pixel_bytes(type), bitmap, &row, &total)) return nullptr;
  try {
    auto* image = new ImageStruct;
    image->ownership = ImageOwnership::Owned;
    image->storage.assign(static_cast<std::size_t>(total), 0);
    lay_out(image, total ? image->storage.data() : nullptr, x, y, type, row, bitmap);
    return image;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ImageStruct* new_paired(int32_t x, int32_t y, int32_t header, uint16_t type,
                        ImageAllocateFn allocate, ImageReleaseFn release) {
  if (allocate == nullptr || release == nullptr || header < 0) return nullptr;
  uint64_t row = 0;
  uint64_t total = 0;
  if (!block_bytes(x, y, pixel_bytes(type), true, &row, &total)) return nullptr;
  // Keep the rows 16-byte aligned behind the header.
  uint64_t lead = (static_cast<uint64_t>(header) + 15) & ~uint64_t(15);
  ImageStruct* image = nullptr;
  try {
    image = new ImageStruct;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  void* block = allocate(image, static_cast<std::size_t>(lead + total));
  if (block == nullptr) {
    delete image;
    return nullptr;
  }
  image->ownership = ImageOwnership::Pair;
  image->block = block;
  image->release = release;
  lay_out(image, static_cast<uint8_t*>(block) + lead, x, y, type, row, true);
  if (total == 0) image->data = nullptr;
  return image;
}

// Calls fn(dst_row, src_row, columns) for each row of the shared area.
template <class Fn>
void for_shared_rows(ImageStruct* dst, const ImageStruct* src, Fn fn) {
  int32_t w = std::min(dst->xsize, src->xsize);
  int32_t h = std::min(dst->ysize, src->ysize);
  if (w <= 0 || h <= 0 || dst->data == nullptr || src->data == nullptr) return;
  for (int32_t j = 0; j < h; ++j) fn(ImagePixel(dst, 0, j), ImagePixel(src, 0, j), w);
}

template <class T>
T saturate(double v) {
  if (std::isnan(v)) return T(0);
  double lo = static_cast<double>(std::numeric_limits<T>::lowest());
  double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v <= lo) return std::numeric_limits<T>::lowest();
  if (v >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(v);
}

}  // namespace

ImageStruct* NewImage8(int32_t x, int32_t y) { return new_owned(x, y, PixTypeBitmap8, true); }
ImageStruct* NewImage16(int32_t x, int32_t y) { return new_owned(x, y, PixType16, false); }
ImageStruct* NewImage32(int32_t x, int32_t y) { return new_owned(x, y, PixType32, false); }
ImageStruct* NewImageFloat(int32_t x, int32_t y) { return new_owned(x, y, PixTypeFloat, false); }
ImageStruct* NewImageRGB(int32_t x, int32_t y) { return new_owned(x, y, PixTypeBitmapRGB, true); }
ImageStruct* NewImageComplex(int32_t x, int32_t y) {
  return new_owned(x, y, PixTypeComplex, false);
}

ImageStruct* NewImage8Alloc(int32_t x, int32_t y, int32_t header, ImageAllocateFn allocate,
                            ImageReleaseFn release) {
  return new_paired(x, y, header, PixTypeBitmap8, allocate, release);
}

ImageStruct* NewImageRGBAlloc(int32_t x, int32_t y, int32_t header, ImageAllocateFn allocate,
                              ImageReleaseFn release) {
  return new_paired(x, y, header, PixTypeBitmapRGB, allocate, release);
}

ImageStruct* NewImageReferenceExternal(int32_t x, int32_t y, std::ptrdiff_t pixel_step,
                                       std::ptrdiff_t line_step, uint16_t type, void* data, int,
                                       int, int, int) {
  if (x < 0 || y < 0 || !known_kind(type)) return nullptr;
  bool empty = x == 0 || y == 0;
  if (data == nullptr && !empty) return nullptr;
  try {
    auto* image = new ImageStruct;
    image->ownership = ImageOwnership::External;
    image->data = static_cast<uint8_t*>(data);
    image->xsize = x;
    image->ysize = y;
    image->pixel_step = pixel_step;
    image->line_step = line_step;
    image->type = type;
    return image;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

int DeleteImage(ImageStruct* image) {
  if (image == nullptr || image->ownership == ImageOwnership::View) return -1;
  if (image->ownership == ImageOwnership::Pair && image->release != nullptr)
    image->release(image, image->block);
  delete image;
  return 1;
}

int ImageFill(ImageStruct* image, double value) {
  if (image == nullptr || !known_kind(image->type)) return -1;
  if (image->data == nullptr || image->xsize <= 0 || image->ysize <= 0) return 1;
  uint8_t pattern[8] = {};
  switch (image->type & PixTypeMask) {
    case PixType8: pattern[0] = saturate<uint8_t>(value); break;
    case PixType16: {
      uint16_t v = saturate<uint16_t>(value);
      std::memcpy(pattern, &v, sizeof v);
      break;
    }
    case PixType32: {
      int32_t v = saturate<int32_t>(value);
      std::memcpy(pattern, &v, sizeof v);
      break;
    }
    case PixTypeFloat: {
      float v = static_cast<float>(value);
      std::memcpy(pattern, &v, sizeof v);
      break;
    }
    case PixTypeRGB: {
      uint8_t g = saturate<uint8_t>(value);
      pattern[0] = pattern[1] = pattern[2] = g;
      break;
    }
    case PixTypeComplex: {
      float v[2] = {static_cast<float>(value), 0.0f};
      std::memcpy(pattern, v, sizeof v);
      break;
    }
  }
  int bytes = pixel_bytes(image->type);
  for (int32_t j = 0; j < image->ysize; ++j) {
    uint8_t* p = ImagePixel(image, 0, j);
    for (int32_t i = 0; i < image->xsize; ++i, p += image->pixel_step)
      std::memcpy(p, pattern, static_cast<std::size_t>(bytes));
  }
  return 1;
}

int SetTempReference(ImageStruct* record, const ImageStruct* image, int32_t x, int32_t y,
                     int32_t w, int32_t h) {
  if (record == nullptr || image == nullptr || record == image) return -1;
  if (record->ownership == ImageOwnership::Owned && !record->storage.empty()) return -1;
  if (record->ownership == ImageOwnership::Pair) return -1;
  if (x < 0 || y < 0 || w < 0 || h < 0) return -1;
  if (static_cast<int64_t>(x) + w > image->xsize || static_cast<int64_t>(y) + h > image->ysize)
    return -1;
  record->storage.clear();
  record->ownership = ImageOwnership::View;
  record->block = nullptr;
  record->release = nullptr;
  record->type = image->type;
  record->pixel_step = image->pixel_step;
  record->line_step = image->line_step;
  record->xsize = w;
  record->ysize = h;
  record->data = (w > 0 && h > 0 && image->data) ? ImagePixel(image, x, y) : nullptr;
  return 1;
}

int ImageTransfer(ImageStruct* dst, const ImageStruct* src) {
  if (dst == nullptr || src == nullptr) return -1;
  if ((dst->type & PixTypeMask) != (src->type & PixTypeMask) || !known_kind(src->type)) return -1;
  auto bytes = static_cast<std::size_t>(pixel_bytes(src->type));
  bool rows_whole = dst->pixel_step == static_cast<std::ptrdiff_t>(bytes) &&
                    src->pixel_step == static_cast<std::ptrdiff_t>(bytes);
  for_shared_rows(dst, src, [&](uint8_t* d, const uint8_t* s, int32_t w) {
    if (rows_whole) {
      std::memmove(d, s, bytes * static_cast<std::size_t>(w));
      return;
    }
    for (int32_t i = 0; i < w; ++i, d += dst->pixel_step, s += src->pixel_step)
      std::memmove(d, s, bytes);
  });
  return 1;
}

int ImageInfoTransfer(ImageStruct* dst, const ImageStruct* src) {
  if (dst == nullptr || src == nullptr) return -1;
  if (dst == src) return 1;
  try {
    dst->info = src->info;
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 1;
}
