// Drawing of images, vectors and graphics lists with a QPainter.
#include "pixpaint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPaintDevice>
#include <QPen>
#include <QRect>
#include <QTransform>

namespace {

QColor windows_color(uint32_t c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Truncation toward zero, saturated to the 32-bit range; NaN gives 0.
int64_t trunc_device(double v) {
  if (std::isnan(v)) return 0;
  if (v <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (v >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int64_t>(v);
}

// The painter's device area in its own coordinates, narrowed by its clip.
QRectF visible_area(QPainter* p) {
  QPaintDevice* device = p->device();
  QRectF area(0, 0, device ? device->width() : 0, device ? device->height() : 0);
  bool invertible = false;
  QTransform inverse = p->combinedTransform().inverted(&invertible);
  if (invertible) area = inverse.mapRect(area);
  if (p->hasClipping()) area = area.intersected(p->clipBoundingRect());
  return area;
}

// Integer rectangle from corner (x0, y0) to corner (x1, y1), both pixels
// included, narrowed to `bounds` so that huge items cost nothing.
void fill_span(QPainter* p, int64_t x0, int64_t y0, int64_t x1, int64_t y1, const QRect& bounds,
               const QColor& color) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  x0 = std::max<int64_t>(x0, bounds.left());
  y0 = std::max<int64_t>(y0, bounds.top());
  x1 = std::min<int64_t>(x1, bounds.right());
  y1 = std::min<int64_t>(y1, bounds.bottom());
  if (x1 < x0 || y1 < y0) return;
  p->fillRect(QRect(int(x0), int(y0), int(x1 - x0 + 1), int(y1 - y0 + 1)), color);
}

QRect integer_bounds(QPainter* p) {
  QRectF area = visible_area(p);
  return QRect(int(std::floor(area.left())) - 2, int(std::floor(area.top())) - 2,
               int(std::ceil(area.width())) + 4, int(std::ceil(area.height())) + 4);
}

uint8_t tint(uint8_t value, uint32_t factor) {
  return static_cast<uint8_t>((value * factor + 127) / 255);
}

// Copies columns [i0, i1) and rows [j0, j1) of an 8-bit or RGB image into an
// RGB32 picture, tinted by `color`.
QImage extract(const ImageStruct* image, int32_t i0, int32_t i1, int32_t j0, int32_t j1,
               uint32_t color) {
  QImage out(i1 - i0, j1 - j0, QImage::Format_RGB32);
  if (out.isNull()) return out;
  bool grey = (image->type & PixTypeMask) == PixType8;
  bool plain = (color & 0xFFFFFF) == 0xFFFFFF;
  const uint32_t factor[3] = {(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
  for (int32_t j = j0; j < j1; ++j) {
    auto* row = reinterpret_cast<uint32_t*>(out.scanLine(j - j0));
    const uint8_t* s = ImagePixel(image, i0, j);
    for (int32_t i = i0; i < i1; ++i, s += image->pixel_step) {
      uint8_t b = s[0];
      uint8_t g = grey ? s[0] : s[1];
      uint8_t r = grey ? s[0] : s[2];
      if (!plain) {
        b = tint(b, factor[0]);
        g = tint(g, factor[1]);
        r = tint(r, factor[2]);
      }
      *row++ = 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    }
  }
  return out;
}

bool finite_all(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Range of source indices [lo, hi) that fall inside device span [a, b] under
// device = offset + index * scale, with one index of margin for smoothing.
void visible_indices(double a, double b, double offset, double scale, int32_t size, int32_t* lo,
                     int32_t* hi) {
  double u = (a - offset) / scale;
  double v = (b - offset) / scale;
  double first = std::floor(std::min(u, v)) - 1;
  double last = std::ceil(std::max(u, v)) + 1;
  *lo = static_cast<int32_t>(std::clamp(first, 0.0, double(size)));
  *hi = static_cast<int32_t>(std::clamp(last, 0.0, double(size)));
}

bool smoothing_wanted(uint32_t flags, float xscale, float yscale) {
  float ax = std::fabs(xscale);
  float ay = std::fabs(yscale);
  if (ax == 1.0f && ay == 1.0f) return false;
  if (flags & DrawImageNoSmoothing) return false;
  if ((flags & DrawImageNoSmoothingWhenEnlarging) && (ax > 1.0f || ay > 1.0f)) return false;
  if ((flags & DrawImageNoSmoothingWhenVerticallyCompressing) && ay < 1.0f) return false;
  return true;
}

// One axis of a vector graph: which device pixel a position along it lands on.
struct Axis {
  bool along_x;    // positions run along device x, else along device y
  double origin;   // x0 or y0
  double sense;    // +1 or -1
  double height;   // device row of the box's bottom edge (for y)

  int64_t device(int64_t k) const {
    double pos = origin + sense * (double(k) + 0.5);
    return static_cast<int64_t>(std::floor(along_x ? pos : height - pos));
  }
};

int draw_vector(QPainter* p, const VectorStruct* vector, Axis index_axis, int64_t index_pixels,
                Axis value_axis, int64_t value_pixels, float min, float max, uint32_t color) {
  int64_t n = vector->length();
  if (n == 0 || index_pixels <= 0 || value_pixels <= 0) return 1;
  bool window_ok = std::isfinite(min) && std::isfinite(max);
  double range = double(max) - double(min);
  auto level = [&](float v) -> int64_t {
    double f = 0;
    if (!window_ok) f = 0;
    else if (range == 0) f = v > min ? 1 : 0;
    else f = std::clamp((double(v) - min) / range, 0.0, 1.0);
    return static_cast<int64_t>(std::floor(f * double(value_pixels - 1) + 0.5));
  };

  QColor c = windows_color(color);
  QRect bounds = integer_bounds(p);
  const float* values = vector->values.data();
  bool joined = false;
  int64_t previous = 0;
  for (int64_t col = 0; col < index_pixels; ++col) {
    int64_t lo = col * n / index_pixels;
    int64_t hi = ((col + 1) * n + index_pixels - 1) / index_pixels - 1;
    hi = std::clamp(hi, lo, n - 1);
    // Extremes of the raw values first: the level is monotonic in the value.
    bool any = false;
    float vmin = 0, vmax = 0, vlast = 0;
    for (int64_t i = lo; i <= hi; ++i) {
      float v = values[i];
      if (std::isnan(v)) continue;
      if (!any) vmin = vmax = v;
      vmin = std::min(vmin, v);
      vmax = std::max(vmax, v);
      vlast = v;
      any = true;
    }
    if (!any) {
      joined = false;
      continue;
    }
    int64_t low = level(vmin), high = level(vmax), last = level(vlast);
    if (high < low) std::swap(low, high);  // max < min: an upside-down window
    if (joined) {
      low = std::min(low, previous);
      high = std::max(high, previous);
    }
    int64_t at = index_axis.device(col);
    int64_t from = value_axis.device(low);
    int64_t to = value_axis.device(high);
    if (index_axis.along_x) fill_span(p, at, from, at, to, bounds, c);
    else fill_span(p, from, at, to, at, bounds, c);
    previous = last;
    joined = true;
  }
  return 1;
}

struct DevicePoint {
  double x;
  double y;
};

double segment_distance(DevicePoint p, DevicePoint a, DevicePoint b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

// Device points along an arc, with y growing downward (angles counter-clockwise
// on screen).
std::vector<DevicePoint> arc_points(double cx, double cy, double rx, double ry, double start,
                                    double span) {
  double extent = std::max(rx, ry) * std::fabs(span) * M_PI / 180.0;
  int segments = static_cast<int>(std::clamp(std::ceil(extent / 2.0), 8.0, 4096.0));
  std::vector<DevicePoint> points;
  points.reserve(std::size_t(segments) + 1);
  for (int k = 0; k <= segments; ++k) {
    double a = (start + span * k / segments) * M_PI / 180.0;
    points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
  }
  return points;
}

double arc_span(float start, float end) {
  return std::clamp(double(end) - double(start), -360.0, 360.0);
}

}  // namespace

int DrawImage(void* dc, const ImageStruct* image, float xoffset, float yoffset, float xscale,
              float yscale, uint32_t color, uint32_t flags, uint32_t border_color) {
  auto* p = static_cast<QPainter*>(dc);
  if (p == nullptr || image == nullptr) return -1;
  uint16_t kind = ImageKind(image);
  if (kind != PixType8 && kind != PixTypeRGB) return -1;
  if (!finite_all({xoffset, yoffset, xscale, yscale})) return -1;

  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  QRectF area = visible_area(p);
  double x_end = double(xoffset) + double(image->xsize) * xscale;
  double y_end = double(yoffset) + double(image->ysize) * yscale;
  QRectF placed = QRectF(QPointF(xoffset, yoffset), QPointF(x_end, y_end)).normalized();

  if (!(flags & DrawImageNothingOutside)) {
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(area);
    outside.addRect(placed.intersected(area));
    p->fillPath(outside, windows_color(border_color));
  }

  bool drawable = xscale != 0 && yscale != 0 && image->xsize > 0 && image->ysize > 0 &&
                  image->data != nullptr;
  if (drawable) {
    int32_t i0, i1, j0, j1;
    visible_indices(area.left(), area.right(), xoffset, xscale, image->xsize, &i0, &i1);
    visible_indices(area.top(), area.bottom(), yoffset, yscale, image->ysize, &j0, &j1);
    if (i0 < i1 && j0 < j1) {
      QImage picture = extract(image, i0, i1, j0, j1, color);
      if (!picture.isNull()) {
        p->setRenderHint(QPainter::SmoothPixmapTransform,
                         smoothing_wanted(flags, xscale, yscale));
        p->translate(double(xoffset) + double(i0) * xscale, double(yoffset) + double(j0) * yscale);
        p->scale(xscale, yscale);
        p->drawImage(QPointF(0, 0), picture);
      }
    }
  }
  p->restore();
  return 1;
}

int ImageExtent(void*, const ImageStruct* image, float xoffset, float yoffset, float* left,
                float* top, float* right, float* bottom, float xscale, float yscale) {
  if (image == nullptr || left == nullptr || top == nullptr || right == nullptr ||
      bottom == nullptr)
    return -1;
  auto span = [](double offset, double size, double scale, float* first, float* last) {
    double a = offset, b = offset + size * scale;
    double lo = std::floor(std::min(a, b));
    double hi = std::ceil(std::max(a, b)) - 1;
    if (!(size * scale != 0) || !std::isfinite(lo) || !std::isfinite(hi)) {
      *last = *first - 1;
      return;
    }
    *first = static_cast<float>(std::max<double>(*first, lo));
    *last = static_cast<float>(std::min<double>(*last, hi));
  };
  span(xoffset, image->xsize, xscale, left, right);
  span(yoffset, image->ysize, yscale, top, bottom);
  return 1;
}

namespace {

// Both orientations share one drawing: only which device axis carries the
// index differs.
int draw_vector_oriented(void* dc, const VectorStruct* vector, bool horizontal, float x0, float y0,
                         float xsense, float ysense, float width, float height, float min,
                         float max, uint32_t color) {
  auto* p = static_cast<QPainter*>(dc);
  if (p == nullptr || vector == nullptr) return -1;
  if (!finite_all({x0, y0, width, height})) return -1;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  Axis x_axis{true, x0, xsense < 0 ? -1.0 : 1.0, height};
  Axis y_axis{false, y0, ysense < 0 ? -1.0 : 1.0, height};
  const int64_t x_extent = trunc_device(std::fabs(width));
  const int64_t y_extent = trunc_device(std::fabs(height));
  int r = horizontal ? draw_vector(p, vector, x_axis, x_extent, y_axis, y_extent, min, max, color)
                     : draw_vector(p, vector, y_axis, y_extent, x_axis, x_extent, min, max, color);
  p->restore();
  return r;
}

}  // namespace

int DrawVectorHorizontal(void* dc, const VectorStruct* vector, float x0, float y0, float xsense,
                         float ysense, float width, float height, float min, float max,
                         uint32_t color) {
  return draw_vector_oriented(dc, vector, true, x0, y0, xsense, ysense, width, height, min, max,
                              color);
}

int DrawVectorVertical(void* dc, const VectorStruct* vector, float x0, float y0, float xsense,
                       float ysense, float width, float height, float min, float max,
                       uint32_t color) {
  return draw_vector_oriented(dc, vector, false, x0, y0, xsense, ysense, width, height, min, max,
                              color);
}

int DrawList(void* dc, const GraphicsListStruct* list, float xoffset, float yoffset, float xscale,
             float yscale, int32_t start, int32_t count) {
  auto* p = static_cast<QPainter*>(dc);
  if (p == nullptr || list == nullptr) return -1;
  int32_t first = std::max(start, 0);
  int32_t end = list->count();
  if (count > 0) end = static_cast<int32_t>(std::min<int64_t>(end, int64_t(first) + count));
  if (first >= end) return 1;

  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setBrush(Qt::NoBrush);
  QRect bounds = integer_bounds(p);
  auto dx = [&](float v) { return trunc_device(double(xoffset) + double(v) * xscale); };
  auto dy = [&](float v) { return trunc_device(double(yoffset) + double(v) * yscale); };
  for (int32_t k = first; k < end; ++k) {
    const GraphicsItemStruct& item = list->items[static_cast<std::size_t>(k)];
    QColor c = windows_color(item.color);
    switch (item.type) {
      case GraphicsPoint: {
        int64_t x = dx(item.p2), y = dy(item.p3);
        fill_span(p, x - 1, y - 1, x + 1, y + 1, bounds, c);
        break;
      }
      case GraphicsLine: {
        int64_t x0 = dx(item.p1), y0 = dy(item.p2), x1 = dx(item.p3), y1 = dy(item.p4);
        if (x0 == x1 || y0 == y1) {
          fill_span(p, x0, y0, x1, y1, bounds, c);  // exact, and cheap for huge ones
        } else {
          p->setPen(QPen(c, 0));
          p->drawLine(QLineF(double(x0), double(y0), double(x1), double(y1)));
        }
        break;
      }
      case GraphicsRectangle: {
        int64_t l = dx(item.p1), t = dy(item.p2), r = dx(item.p3), b = dy(item.p4);
        fill_span(p, l, t, r, t, bounds, c);
        fill_span(p, l, b, r, b, bounds, c);
        fill_span(p, l, t, l, b, bounds, c);
        fill_span(p, r, t, r, b, bounds, c);
        break;
      }
      case GraphicsArc: {
        double cx = double(xoffset) + double(item.p1) * xscale;
        double cy = double(yoffset) + double(item.p2) * yscale;
        double rx = std::fabs(double(item.p3) * xscale), ry = std::fabs(double(item.p3) * yscale);
        if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry))
          break;
        std::vector<DevicePoint> points = arc_points(cx, cy, rx, ry, item.p4, arc_span(item.p4, item.p5));
        QPolygonF polygon;
        polygon.reserve(qsizetype(points.size()));
        for (const DevicePoint& q : points) polygon << QPointF(q.x, q.y);
        p->setPen(QPen(c, 0));
        p->drawPolyline(polygon);
        break;
      }
      default:
        break;  // gaps and unknown kinds draw nothing
    }
  }
  p->restore();
  return 1;
}

bool ItemHit(void*, const GraphicsItemStruct* item, float xoffset, float yoffset, float x, float y,
             float xscale, float yscale) {
  if (item == nullptr) return false;
  auto dx = [&](float v) { return double(trunc_device(double(xoffset) + double(v) * xscale)); };
  auto dy = [&](float v) { return double(trunc_device(double(yoffset) + double(v) * yscale)); };
  DevicePoint at{x, y};
  const double tolerance = ItemHitTolerance;
  switch (item->type) {
    case GraphicsPoint:
      return std::fabs(x - dx(item->p2)) <= tolerance + 1 &&
             std::fabs(y - dy(item->p3)) <= tolerance + 1;
    case GraphicsLine:
      return segment_distance(at, {dx(item->p1), dy(item->p2)}, {dx(item->p3), dy(item->p4)}) <=
             tolerance;
    case GraphicsRectangle: {
      DevicePoint a{dx(item->p1), dy(item->p2)}, b{dx(item->p3), dy(item->p2)};
      DevicePoint c{dx(item->p3), dy(item->p4)}, d{dx(item->p1), dy(item->p4)};
      return segment_distance(at, a, b) <= tolerance || segment_distance(at, b, c) <= tolerance ||
             segment_distance(at, c, d) <= tolerance || segment_distance(at, d, a) <= tolerance;
    }
    case GraphicsArc: {
      double cx = double(xoffset) + double(item->p1) * xscale;
      double cy = double(yoffset) + double(item->p2) * yscale;
      double rx = std::fabs(double(item->p3) * xscale), ry = std::fabs(double(item->p3) * yscale);
      if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry))
        return false;
      std::vector<DevicePoint> points = arc_points(cx, cy, rx, ry, item->p4, arc_span(item->p4, item->p5));
      for (std::size_t k = 1; k < points.size(); ++k)
        if (segment_distance(at, points[k - 1], points[k]) <= tolerance) return true;
      return false;
    }
    default:
      return false;
  }
}
