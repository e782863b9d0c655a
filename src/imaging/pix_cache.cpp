// The purgeable image cache (see pixcache.h for the handle rules).
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "pixcore.h"

namespace {

struct Entry {
  void* block = nullptr;  // null once discarded: the record is a tombstone
  std::size_t bytes = 0;
  int locks = 0;
  uint64_t used = 0;      // tick of the last lock, for least recently used
};

class Cache {
 public:
  void* allocate(ImageStruct* image, std::size_t bytes) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (image == nullptr || entries_.count(image)) return nullptr;
    make_room(bytes);
    void* block = std::malloc(bytes ? bytes : 1);
    if (block == nullptr) return nullptr;
    try {
      entries_[image] = Entry{block, bytes, 1, ++tick_};
    } catch (...) {
      std::free(block);
      return nullptr;
    }
    used_bytes_ += bytes;
    return block;
  }

  // The owner deletes the image: forget it, live or tombstone.
  void release(ImageStruct* image) {
    std::lock_guard<std::mutex> hold(mutex_);
    auto it = entries_.find(image);
    // Unknown: released twice, or forgotten after a discard. Never free twice.
    if (it == entries_.end()) return;
    if (it->second.block) {
      used_bytes_ -= it->second.bytes;
      std::free(it->second.block);
    }
    entries_.erase(it);
  }

  ImageStruct* lock(ImageStruct* image) {
    std::lock_guard<std::mutex> hold(mutex_);
    auto it = entries_.find(image);
    if (it == entries_.end()) return nullptr;
    if (it->second.block == nullptr) {
      // Reported once: the owner forgets the pointer, so the record can go.
      entries_.erase(it);
      delete image;
      return nullptr;
    }
    ++it->second.locks;
    it->second.used = ++tick_;
    return image;
  }

  int unlock(ImageStruct* image) {
    std::lock_guard<std::mutex> hold(mutex_);
    auto it = entries_.find(image);
    if (it == entries_.end() || it->second.block == nullptr || it->second.locks <= 0) return -1;
    --it->second.locks;
    make_room(0);
    return 1;
  }

  void set_budget(std::size_t bytes) {
    std::lock_guard<std::mutex> hold(mutex_);
    budget_ = bytes;
    make_room(0);
  }

  std::size_t budget() {
    std::lock_guard<std::mutex> hold(mutex_);
    return budget_;
  }

  std::size_t used_bytes() {
    std::lock_guard<std::mutex> hold(mutex_);
    return used_bytes_;
  }

  std::size_t live_count() {
    std::lock_guard<std::mutex> hold(mutex_);
    std::size_t n = 0;
    for (const auto& e : entries_) n += e.second.block != nullptr;
    return n;
  }

 private:
  // Discards unlocked images, least recently used first, until `incoming`
  // more bytes fit or only locked ones are left.
  void make_room(std::size_t incoming) {
    while (used_bytes_ + incoming > budget_) {
      ImageStruct* oldest = nullptr;
      Entry* victim = nullptr;
      for (auto& [image, entry] : entries_) {
        if (entry.block == nullptr || entry.locks > 0) continue;
        if (victim == nullptr || entry.used < victim->used) {
          victim = &entry;
          oldest = image;
        }
      }
      if (victim == nullptr) return;
      std::free(victim->block);
      used_bytes_ -= victim->bytes;
      victim->block = nullptr;
      // The record stays alive but no longer points at freed memory.
      oldest->data = nullptr;
      oldest->block = nullptr;
    }
  }

  std::mutex mutex_;
  std::unordered_map<ImageStruct*, Entry> entries_;
  std::size_t budget_ = std::size_t(256) << 20;
  std::size_t used_bytes_ = 0;
  uint64_t tick_ = 0;
};

// Never destroyed: images may be released from other static destructors.
Cache& cache() {
  static Cache* instance = new Cache;
  return *instance;
}

}  // namespace

void* CacheAllocLock(ImageStruct* image, std::size_t bytes) {
  return cache().allocate(image, bytes);
}

void CacheUnlockFree(ImageStruct* image, void*) { cache().release(image); }

ImageStruct* CacheLock(ImageStruct* image) {
  if (image == nullptr) return nullptr;
  return cache().lock(image);
}

int CacheUnlock(ImageStruct* image) {
  if (image == nullptr) return -1;
  return cache().unlock(image);
}

void CacheSetBudget(std::size_t bytes) { cache().set_budget(bytes); }
std::size_t CacheBudget() { return cache().budget(); }
std::size_t CacheUsedBytes() { return cache().used_bytes(); }
std::size_t CacheImageCount() { return cache().live_count(); }
