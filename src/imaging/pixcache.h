// The purgeable image cache: display images that can be rebuilt at any time
// live here, within a memory budget. An unlocked image may be discarded,
// least recently used first, whenever the cache needs room (a new allocation,
// an unlock, a smaller budget); a locked one never is.
//
// Use:
//   ImageStruct* d = NewImage8Alloc(w, h, 768, CacheAllocLock, CacheUnlockFree);  // locked
//   ... fill d ...; CacheUnlock(d);
//   later: if (CacheLock(d)) { draw d; CacheUnlock(d); } else { d = nullptr; rebuild; }
//   done:  if (CacheLock(d)) DeleteImage(d);
//
// Handles. The image record is the handle and it is never freed behind its
// owner's back: discarding frees only the pixels (data becomes null) and keeps
// the record as a tombstone. The next CacheLock on it frees the tombstone and
// returns null, which is the owner's cue to forget the pointer; DeleteImage
// frees it too. So a pointer the owner still holds always names either its own
// live image or its own tombstone, never memory that was reused for another
// image, and even reading a discarded record's sizes is safe. After CacheLock
// has returned null, the pointer is dead and must not be passed again.
//
// Not for concurrent use from several threads (a mutex keeps the bookkeeping
// whole, but a discard between another thread's lock and use is the caller's
// problem); the application uses it from the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

struct ImageStruct;

// The allocate/release pair for NewImage8Alloc and NewImageRGBAlloc. The block
// is locked when made. The budget never refuses an allocation: when only
// locked images remain, the cache goes over budget until they are unlocked.
void* CacheAllocLock(ImageStruct* image, std::size_t bytes);
void CacheUnlockFree(ImageStruct* image, void* block);

// The image, locked (locks nest), or null when the cache has discarded it or
// does not hold it (an image not made through the pair, a forgotten one).
ImageStruct* CacheLock(ImageStruct* image);
// One lock less; once none is left the image may be discarded, at once if the
// cache is over budget. -1 for an image the cache does not hold alive or that
// is not locked.
int CacheUnlock(ImageStruct* image);

// Budget in bytes (default 256 MiB). Setting it discards unlocked images until
// the cache fits.
void CacheSetBudget(std::size_t bytes);
std::size_t CacheBudget();
// Bytes of the live blocks, locked or not.
std::size_t CacheUsedBytes();
// Number of live (not discarded) images in the cache.
std::size_t CacheImageCount();
