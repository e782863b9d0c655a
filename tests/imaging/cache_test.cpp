// The purgeable cache: budget, least-recently-used discarding, locks and
// tombstones. Every test starts from an empty cache with a budget of its own.
#include <vector>

#include <gtest/gtest.h>

#include "pixcore.h"

namespace {

class Cache : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CacheImageCount(), 0u) << "an earlier test left images in the cache";
    saved_ = CacheBudget();
  }
  void TearDown() override { CacheSetBudget(saved_); }

  // A locked 8-bit display image of 100 x 100 (10,000 bytes of rows).
  static ImageStruct* make() {
    return NewImage8Alloc(100, 100, 768, CacheAllocLock, CacheUnlockFree);
  }
  std::size_t saved_ = 0;
};

TEST_F(Cache, DiscardsUnlockedImagesLeastRecentlyUsedFirst) {
  CacheSetBudget(35000);  // room for three
  ImageStruct* a = make();
  ImageStruct* b = make();
  ImageStruct* c = make();
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->type, PixTypeBitmap8);
  ImageFill(a, 1);  // the pixels are usable while locked
  CacheUnlock(a);
  CacheUnlock(b);
  CacheUnlock(c);
  ASSERT_EQ(CacheLock(a), a);  // a is now more recent than b
  EXPECT_EQ(*ImagePixel(a, 99, 99), 1);
  CacheUnlock(a);

  ImageStruct* d = make();  // needs room: b goes
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(CacheImageCount(), 3u);
  EXPECT_EQ(b->data, nullptr);  // a tombstone stays readable
  EXPECT_EQ(b->xsize, 100);
  EXPECT_EQ(CacheLock(b), nullptr);  // the owner forgets it now
  ASSERT_EQ(CacheLock(c), c);
  ASSERT_EQ(CacheLock(a), a);

  for (ImageStruct* image : {a, c, d}) EXPECT_EQ(DeleteImage(image), 1);
  EXPECT_EQ(CacheImageCount(), 0u);
  EXPECT_EQ(CacheUsedBytes(), 0u);
}

TEST_F(Cache, LockedImagesSurviveAndGoOverBudgetUntilUnlocked) {
  CacheSetBudget(15000);  // room for one
  ImageStruct* a = make();
  ImageStruct* b = make();  // a is locked: over budget rather than failing
  ASSERT_TRUE(a && b);
  EXPECT_GT(CacheUsedBytes(), CacheBudget());
  ASSERT_EQ(CacheLock(a), a);  // nested lock
  EXPECT_EQ(CacheUnlock(a), 1);
  EXPECT_NE(a->data, nullptr);  // still locked once
  EXPECT_EQ(CacheUnlock(a), 1);  // now it goes at once: the cache is over budget
  EXPECT_EQ(a->data, nullptr);
  EXPECT_EQ(CacheUnlock(a), -1);
  EXPECT_EQ(CacheLock(a), nullptr);
  EXPECT_LE(CacheUsedBytes(), CacheBudget());
  EXPECT_EQ(DeleteImage(b), 1);
}

// The image control's cycle: build, unlock; paint: lock or rebuild.
TEST_F(Cache, RebuildingAfterDiscardUnderASmallBudget) {
  CacheSetBudget(12000);
  ImageStruct* display = nullptr;
  int builds = 0;
  for (int paint = 0; paint < 6; ++paint) {
    if (display && !CacheLock(display)) display = nullptr;
    if (!display) {
      display = make();
      ASSERT_NE(display, nullptr);
      ImageFill(display, paint);
      ++builds;
    }
    EXPECT_NE(display->data, nullptr);
    CacheUnlock(display);
    // Something else needs the room between paints every other time.
    if (paint % 2 == 1) {
      ImageStruct* other = make();
      ASSERT_NE(other, nullptr);
      DeleteImage(other);
    }
  }
  EXPECT_EQ(builds, 3);
  if (CacheLock(display)) DeleteImage(display);
  EXPECT_EQ(CacheImageCount(), 0u);
}

TEST_F(Cache, ShrinkingTheBudgetDiscardsAndForeignImagesAreNotLocked) {
  CacheSetBudget(1 << 20);
  ImageStruct* a = NewImageRGBAlloc(10, 10, 768, CacheAllocLock, CacheUnlockFree);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->type, PixTypeBitmapRGB);
  CacheUnlock(a);
  CacheSetBudget(0);
  EXPECT_EQ(CacheImageCount(), 0u);
  EXPECT_EQ(DeleteImage(a), 1);  // a tombstone can be deleted as well

  ImageStruct* plain = NewImage8(4, 4);
  EXPECT_EQ(CacheLock(plain), nullptr);
  EXPECT_EQ(CacheUnlock(plain), -1);
  DeleteImage(plain);
  EXPECT_EQ(CacheLock(nullptr), nullptr);
}

}  // namespace
