// Pixload: image files through Qt's image readers (every format the installed
// image plug-ins read: PNG, JPEG, BMP, PGM/PPM, ...). Missing, unreadable or
// corrupt files fail; nothing is changed then.
#pragma once

#include <cstdint>

#include <QString>

#include "pixcore.h"

struct ImageFileInfoStruct {
  int32_t width = 0;
  int32_t height = 0;
  int32_t color = 0;  // non-zero: a colour picture; 0: grey (or black and white)
};

// Fills info from the file's header (the picture is only decoded when the
// header does not tell grey from colour). Non-zero on success. `flags` is
// reserved (pass 0).
int GetImageFileInfo(const QString& name, int flags, ImageFileInfoStruct* info);

// Reads the picture into an existing 8-bit (as grey, see ImageRGBToImage8) or
// RGB image, its top-left pixel at image pixel (x, y), clipped to the image;
// pixels beyond the picture keep their values. The title of the image's info
// becomes the file name. 1 on success, -1 (image unchanged) on failure.
int LoadImageFile(const QString& name, int flags, ImageStruct* image, int32_t x = 0,
                  int32_t y = 0);

// A new image of the file's size holding its picture: 8-bit for a grey file,
// RGB for a colour one; null on failure. The three ints are reserved (pass 0).
ImageStruct* CreateImageFile(const QString& name, int flags, int r0 = 0, int r1 = 0);
