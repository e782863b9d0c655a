// Image files: header information, new images from files, loading into
// existing images, and files that are missing or broken.
#include <fstream>
#include <memory>

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include "pixload.h"
#include "temp_dir.h"

namespace {

struct Deleter {
  void operator()(ImageStruct* image) const { DeleteImage(image); }
};
using Image = std::unique_ptr<ImageStruct, Deleter>;

class Files : public testing::Test {
 protected:
  void SetUp() override {
    QImage grey(3, 2, QImage::Format_Grayscale8);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) grey.setPixel(x, y, qRgb(50 * y + 10 * x, 50 * y + 10 * x, 50 * y + 10 * x));
    ASSERT_TRUE(grey.save(q(grey_png_ = dir_.path("grey.png"))));
    QImage colour(2, 2, QImage::Format_RGB32);
    colour.setPixel(0, 0, qRgb(255, 0, 0));
    colour.setPixel(1, 0, qRgb(0, 255, 0));
    colour.setPixel(0, 1, qRgb(0, 0, 255));
    colour.setPixel(1, 1, qRgb(1, 2, 3));
    ASSERT_TRUE(colour.save(q(colour_png_ = dir_.path("colour.png"))));
  }
  static QString q(const std::string& s) { return QString::fromStdString(s); }

  TempDir dir_;
  std::string grey_png_, colour_png_;
};

TEST_F(Files, InfoTellsSizeAndColour) {
  ImageFileInfoStruct info;
  ASSERT_NE(GetImageFileInfo(q(grey_png_), 0, &info), 0);
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.color, 0);
  ASSERT_NE(GetImageFileInfo(q(colour_png_), 0, &info), 0);
  EXPECT_EQ(info.width, 2);
  EXPECT_NE(info.color, 0);
}

TEST_F(Files, CreateGivesGreyOrRgbImagesOfTheFile) {
  Image grey(CreateImageFile(q(grey_png_), 0, 0, 0));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->type, PixTypeBitmap8);
  EXPECT_EQ(*ImagePixel(grey.get(), 2, 1), 70);
  EXPECT_EQ(grey->info.title, grey_png_);

  Image colour(CreateImageFile(q(colour_png_), 0, 0, 0));
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour->type, PixTypeBitmapRGB);
  const uint8_t* red = ImagePixel(colour.get(), 0, 0);
  EXPECT_EQ((std::vector<int>(red, red + 4)), (std::vector<int>{0, 0, 255, 0}));  // b, g, r
  const uint8_t* last = ImagePixel(colour.get(), 1, 1);
  EXPECT_EQ((std::vector<int>(last, last + 3)), (std::vector<int>{3, 2, 1}));
}

TEST_F(Files, LoadIntoExistingImagesClipsAndKeepsTheRest) {
  Image big(NewImage8(5, 4));
  ImageFill(big.get(), 9);
  ASSERT_EQ(LoadImageFile(q(grey_png_), 0, big.get(), 0, 0), 1);
  EXPECT_EQ(*ImagePixel(big.get(), 1, 1), 60);
  EXPECT_EQ(*ImagePixel(big.get(), 3, 0), 9);  // beyond the picture
  EXPECT_EQ(*ImagePixel(big.get(), 0, 2), 9);

  Image small(NewImageRGB(1, 1));
  ASSERT_EQ(LoadImageFile(q(colour_png_), 0, small.get(), 0, 0), 1);
  EXPECT_EQ(ImagePixel(small.get(), 0, 0)[2], 255);

  Image shifted(NewImage8(3, 3));
  ASSERT_EQ(LoadImageFile(q(colour_png_), 0, shifted.get(), 2, 1), 1);  // grey of the colours
  EXPECT_EQ(*ImagePixel(shifted.get(), 2, 1), 76);  // red's luminance
  EXPECT_EQ(*ImagePixel(shifted.get(), 2, 2), 29);  // blue's
  EXPECT_EQ(*ImagePixel(shifted.get(), 1, 1), 0);

  Image wide(NewImage16(3, 3));
  EXPECT_EQ(LoadImageFile(q(grey_png_), 0, wide.get(), 0, 0), -1);
}

TEST_F(Files, MissingAndBrokenFilesFailWithoutChanges) {
  std::string garbage = dir_.write("garbage.png", "this is not a picture");
  std::string truncated = dir_.path("truncated.png");
  {
    std::ifstream in(colour_png_, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  }
  for (const std::string& name : {dir_.path("missing.png"), garbage, truncated}) {
    SCOPED_TRACE(name);
    Image image(NewImageRGB(2, 2));
    ImageFill(image.get(), 7);
    EXPECT_EQ(LoadImageFile(q(name), 0, image.get(), 0, 0), -1);
    EXPECT_EQ(ImagePixel(image.get(), 0, 0)[0], 7);
    EXPECT_EQ(image->info.title, "");
    EXPECT_EQ(CreateImageFile(q(name), 0, 0, 0), nullptr);
  }
  ImageFileInfoStruct info;
  EXPECT_EQ(GetImageFileInfo(q(dir_.path("missing.png")), 0, &info), 0);
  EXPECT_EQ(GetImageFileInfo(q(garbage), 0, &info), 0);
}

}  // namespace
