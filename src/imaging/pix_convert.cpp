// Conversions for display (any type into 8-bit or RGB through a value
// window) and from 8-bit into the other types.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "pixcore.h"

namespace {

// Maps a value onto 0 ... 255 as the header describes.
class Window {
 public:
  Window(float min, float max, bool log)
      : min_(min), range_(static_cast<double>(max) - static_cast<double>(min)) {
    dead_ = !std::isfinite(min) || !std::isfinite(max);
    log_ = log && range_ > 0;
    if (log_) log_range_ = std::log1p(range_);
    else if (range_ != 0) scale_ = 255.0 / range_;
  }

  uint8_t operator()(double v) const {
    if (dead_ || std::isnan(v)) return 0;
    if (log_) {
      double d = v - min_;
      if (!(d > 0)) return 0;
      if (d >= range_) return 255;
      return clamp_round(255.0 * std::log1p(d) / log_range_);
    }
    if (range_ == 0) return v < min_ ? 0 : 255;
    return clamp_round((v - min_) * scale_);
  }

 private:
  static uint8_t clamp_round(double t) {
    if (!(t > 0)) return 0;
    if (t >= 255) return 255;
    return static_cast<uint8_t>(std::floor(t + 0.5));
  }

  double min_;
  double range_;
  double scale_ = 0;
  double log_range_ = 1;
  bool dead_ = false;
  bool log_ = false;
};

template <class T>
T load(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void store(uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

uint16_t kind(const ImageStruct* image) { return static_cast<uint16_t>(image->type & PixTypeMask); }

// Runs fn(dst_pixel, src_pixel) over the area both images share, after checking
// their kinds.
template <class Fn>
int each_pixel(ImageStruct* dst, uint16_t dst_kind, const ImageStruct* src, uint16_t src_kind,
               Fn fn) {
  if (dst == nullptr || src == nullptr) return -1;
  if (kind(dst) != dst_kind || kind(src) != src_kind) return -1;
  int32_t w = std::min(dst->xsize, src->xsize);
  int32_t h = std::min(dst->ysize, src->ysize);
  if (w <= 0 || h <= 0 || dst->data == nullptr || src->data == nullptr) return 1;
  for (int32_t j = 0; j < h; ++j) {
    uint8_t* d = ImagePixel(dst, 0, j);
    const uint8_t* s = ImagePixel(src, 0, j);
    for (int32_t i = 0; i < w; ++i, d += dst->pixel_step, s += src->pixel_step) fn(d, s);
  }
  return 1;
}

template <class Read>
int to8(ImageStruct* dst, const ImageStruct* src, uint16_t src_kind, float min, float max,
        bool log, Read read) {
  Window window(min, max, log);
  return each_pixel(dst, PixType8, src, src_kind,
                    [&](uint8_t* d, const uint8_t* s) { *d = window(read(s)); });
}

double complex_re(const uint8_t* s) { return load<float>(s); }
double complex_im(const uint8_t* s) { return load<float>(s + 4); }
double complex_power(const uint8_t* s) {
  double re = load<float>(s);
  double im = load<float>(s + 4);
  return re * re + im * im;
}

uint8_t tint(uint8_t value, uint32_t factor) {
  return static_cast<uint8_t>((value * factor + 127) / 255);
}

}  // namespace

int Image8ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixType8, min, max, false, [](const uint8_t* s) { return double(*s); });
}

int Image16ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixType16, min, max, false,
             [](const uint8_t* s) { return double(load<uint16_t>(s)); });
}

int Image32ToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixType32, min, max, false,
             [](const uint8_t* s) { return double(load<int32_t>(s)); });
}

int ImageFloatToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeFloat, min, max, false,
             [](const uint8_t* s) { return double(load<float>(s)); });
}

int ImageFloatLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeFloat, min, max, true,
             [](const uint8_t* s) { return double(load<float>(s)); });
}

int ImageComplexReToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeComplex, min, max, false, complex_re);
}

int ImageComplexReLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeComplex, min, max, true, complex_re);
}

int ImageComplexImToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeComplex, min, max, false, complex_im);
}

int ImageComplexImLogToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeComplex, min, max, true, complex_im);
}

int ImageComplexPowerToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeComplex, min, max, false, complex_power);
}

int ImageComplexPowerLogToImage8(ImageStruct* dst, const ImageStruct* src, float min,
                                 float max) {
  return to8(dst, src, PixTypeComplex, min, max, true, complex_power);
}

int ImageRGBToImageRGB(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return ImageRGBToImageRGBColor(dst, src, 0xFFFFFFu, min, max);
}

int ImageRGBToImageRGBColor(ImageStruct* dst, const ImageStruct* src, uint32_t color, float min,
                            float max) {
  Window window(min, max, false);
  // Pixel bytes are blue, green, red; the colour value is 0x00BBGGRR.
  const uint32_t factor[3] = {(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
  return each_pixel(dst, PixTypeRGB, src, PixTypeRGB, [&](uint8_t* d, const uint8_t* s) {
    for (int c = 0; c < 3; ++c) d[c] = tint(window(s[c]), factor[c]);
    d[3] = 0;
  });
}

int ImageRGBToImage8(ImageStruct* dst, const ImageStruct* src, float min, float max) {
  return to8(dst, src, PixTypeRGB, min, max, false, [](const uint8_t* s) {
    return (299.0 * s[2] + 587.0 * s[1] + 114.0 * s[0]) / 1000.0;
  });
}

int Image8ToImage16(ImageStruct* dst, const ImageStruct* src) {
  return each_pixel(dst, PixType16, src, PixType8,
                    [](uint8_t* d, const uint8_t* s) { store<uint16_t>(d, *s); });
}

int Image8ToImage32(ImageStruct* dst, const ImageStruct* src) {
  return each_pixel(dst, PixType32, src, PixType8,
                    [](uint8_t* d, const uint8_t* s) { store<int32_t>(d, *s); });
}

int Image8ToImageFloat(ImageStruct* dst, const ImageStruct* src) {
  return each_pixel(dst, PixTypeFloat, src, PixType8,
                    [](uint8_t* d, const uint8_t* s) { store<float>(d, *s); });
}

int Image8ToImageComplex(ImageStruct* dst, const ImageStruct* src) {
  return each_pixel(dst, PixTypeComplex, src, PixType8, [](uint8_t* d, const uint8_t* s) {
    store<float>(d, *s);
    store<float>(d + 4, 0.0f);
  });
}

int Image8ToImageRGB(ImageStruct* dst, const ImageStruct* src) {
  return each_pixel(dst, PixTypeRGB, src, PixType8, [](uint8_t* d, const uint8_t* s) {
    d[0] = d[1] = d[2] = *s;
    d[3] = 0;
  });
}
