// Memory for large runs of bytes, mapped from the system instead of taken from the heap.
//
// Touching a fresh page costs far more than filling it (a fault per 4 KB page), so a mapping of
// some size asks for huge pages, which fault in once per 2 MB, and a mapping grows by remapping,
// which moves no bytes and faults nothing in again. A small mapping that is filled whole can have
// its pages populated in one go instead.
#pragma once

#include <cstddef>

namespace platform {

class MappedBuffer {
 public:
  MappedBuffer() = default;
  MappedBuffer(MappedBuffer&& other) noexcept;
  MappedBuffer& operator=(MappedBuffer&& other) noexcept;
  ~MappedBuffer();

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t capacity() const { return capacity_; }

  // Room for at least |capacity| bytes; the bytes held stay. |populate| faults the pages of a
  // mapping too small for huge pages in at once, for memory about to be filled whole. Throws
  // std::bad_alloc.
  void Reserve(size_t capacity, bool populate = false);
  // Gives the memory back.
  void Release();

 private:
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace platform
