// Image files through Qt's image readers.
#include "pixload.h"

#include <algorithm>
#include <new>

#include <QImage>
#include <QImageReader>

namespace {

bool grey_format(QImage::Format format) {
  return format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16 ||
         format == QImage::Format_Mono || format == QImage::Format_MonoLSB;
}

// Decodes the whole picture; a null image on any failure.
QImage read_picture(const QString& name) {
  QImageReader reader(name);
  reader.setAutoTransform(false);
  QImage picture;
  if (!reader.read(&picture)) return QImage();
  return picture;
}

bool is_grey(const QImage& picture) {
  return grey_format(picture.format()) ||
         (picture.format() == QImage::Format_Indexed8 && picture.isGrayscale());
}

// Puts the picture into an 8-bit or RGB image at (x, y), clipped.
int put_picture(const QImage& picture, const QString& name, ImageStruct* image, int32_t x,
                int32_t y) {
  uint16_t kind = ImageKind(image);
  if (kind != PixType8 && kind != PixTypeRGB) return -1;
  QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  if (rgb.isNull()) return -1;
  int64_t i0 = std::max<int64_t>(0, -int64_t(x));
  int64_t j0 = std::max<int64_t>(0, -int64_t(y));
  int64_t i1 = std::min<int64_t>(rgb.width(), int64_t(image->xsize) - x);
  int64_t j1 = std::min<int64_t>(rgb.height(), int64_t(image->ysize) - y);
  if (image->data != nullptr) {
    for (int64_t j = j0; j < j1; ++j) {
      const auto* src = reinterpret_cast<const uint32_t*>(rgb.constScanLine(int(j)));
      uint8_t* d = ImagePixel(image, int32_t(x + i0), int32_t(y + j));
      for (int64_t i = i0; i < i1; ++i, d += image->pixel_step) {
        uint32_t v = src[i];
        uint8_t r = uint8_t(v >> 16), g = uint8_t(v >> 8), b = uint8_t(v);
        if (kind == PixType8) {
          *d = uint8_t((299u * r + 587u * g + 114u * b + 500u) / 1000u);
        } else {
          d[0] = b;
          d[1] = g;
          d[2] = r;
          d[3] = 0;
        }
      }
    }
  }
  try {
    image->info.title = name.toStdString();
  } catch (const std::bad_alloc&) {
    image->info.title.clear();  // the pixels are in; only the title is lost
  }
  return 1;
}

}  // namespace

int GetImageFileInfo(const QString& name, int, ImageFileInfoStruct* info) {
  if (info == nullptr) return 0;
  QImageReader reader(name);
  reader.setAutoTransform(false);
  if (!reader.canRead()) return 0;
  QSize size = reader.size();
  QImage::Format format = reader.imageFormat();
  bool decided = size.isValid() && format != QImage::Format_Invalid &&
                 format != QImage::Format_Indexed8;
  bool grey = grey_format(format);
  if (!decided) {
    QImage picture = read_picture(name);
    if (picture.isNull()) return 0;
    size = picture.size();
    grey = is_grey(picture);
  }
  info->width = size.width();
  info->height = size.height();
  info->color = grey ? 0 : 1;
  return 1;
}

int LoadImageFile(const QString& name, int, ImageStruct* image, int32_t x, int32_t y) {
  uint16_t kind = ImageKind(image);
  if (kind != PixType8 && kind != PixTypeRGB) return -1;
  QImage picture = read_picture(name);
  if (picture.isNull()) return -1;
  return put_picture(picture, name, image, x, y);
}

ImageStruct* CreateImageFile(const QString& name, int, int, int) {
  QImage picture = read_picture(name);
  if (picture.isNull()) return nullptr;
  ImageStruct* image = is_grey(picture) ? NewImage8(picture.width(), picture.height())
                                        : NewImageRGB(picture.width(), picture.height());
  if (image == nullptr) return nullptr;
  if (put_picture(picture, name, image, 0, 0) != 1) {
    DeleteImage(image);
    return nullptr;
  }
  return image;
}
