// Memory for many tables that live and die together (the symbol and label tables of one build):
// handed out from large mapped blocks (mapped_buffer.h) and never given back piece by piece. The
// tables then cost a few huge pages instead of a page fault for every few hundred entries, and a
// table's memory lies together. A table that grows leaves its old memory behind; all of it goes
// with the arena.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/mapped_buffer.h"

namespace platform {

class Arena {
 public:
  // |size| bytes, aligned for any table element, valid while the arena lives.
  void* Allocate(size_t size) {
    size = (size + kAlignment - 1) / kAlignment * kAlignment;
    if (blocks_.empty() || blocks_.back().capacity() - used_ < size) {
      blocks_.emplace_back().Reserve(std::max(size, kBlockSize));
      used_ = 0;
    }
    void* memory = blocks_.back().data() + used_;
    used_ += size;
    return memory;
  }

 private:
  static constexpr size_t kAlignment = alignof(std::max_align_t);
  static constexpr size_t kBlockSize = size_t{2} << 20;

  std::vector<platform::MappedBuffer> blocks_;
  size_t used_ = 0;  // of the last block
};

// A standard allocator over an arena, or over the heap when it has none. Memory of an arena is
// given back with the arena, never by the containers that use it, so they may outlive it as long
// as they are not used; their elements must be plain values, whose destruction reads nothing.
template <typename T>
struct ArenaAllocator {
  using value_type = T;
  using propagate_on_container_move_assignment = std::true_type;

  ArenaAllocator() = default;
  explicit ArenaAllocator(Arena* memory) : arena(memory) {}
  template <typename U>
  ArenaAllocator(const ArenaAllocator<U>& other) : arena(other.arena) {}  // NOLINT: rebinding

  T* allocate(size_t count) {
    if (arena == nullptr) return std::allocator<T>().allocate(count);
    return static_cast<T*>(arena->Allocate(count * sizeof(T)));
  }
  void deallocate(T* memory, size_t count) {
    if (arena == nullptr) std::allocator<T>().deallocate(memory, count);
  }
  template <typename U>
  bool operator==(const ArenaAllocator<U>& other) const {
    return arena == other.arena;
  }

  Arena* arena = nullptr;
};

}  // namespace platform
