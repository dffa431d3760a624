// A mapping of 64 KB or more is sized in whole huge pages: the system then aligns it to them, and
// from 64 KB on one huge page costs less to fault in than the small pages it replaces. Where the
// system has no huge pages to give, the advice changes nothing.
#include "platform/mapped_buffer.h"

#include <sys/mman.h>

#include <new>
#include <utility>

namespace platform {
namespace {

constexpr size_t kPageSize = 4096;
constexpr size_t kHugePageSize = size_t{2} << 20;
constexpr size_t kHugePagesFrom = size_t{64} << 10;

size_t RoundUp(size_t size, size_t unit) { return (size + unit - 1) / unit * unit; }

}  // namespace

MappedBuffer::MappedBuffer(MappedBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

MappedBuffer& MappedBuffer::operator=(MappedBuffer&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

MappedBuffer::~MappedBuffer() { Release(); }

void MappedBuffer::Reserve(size_t capacity, bool populate) {
  if (capacity <= capacity_) return;
  const bool huge = capacity >= kHugePagesFrom;
  const size_t size = RoundUp(capacity, huge ? kHugePageSize : kPageSize);
  void* memory;
  if (data_ != nullptr) {
    memory = mremap(data_, capacity_, size, MREMAP_MAYMOVE);
  } else {
    const int flags = MAP_PRIVATE | MAP_ANONYMOUS | (populate && !huge ? MAP_POPULATE : 0);
    memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, flags, -1, 0);
  }
  if (memory == MAP_FAILED) throw std::bad_alloc();
  if (huge) madvise(memory, size, MADV_HUGEPAGE);
  data_ = static_cast<char*>(memory);
  capacity_ = size;
}

void MappedBuffer::Release() {
  if (data_ != nullptr) munmap(data_, capacity_);
  data_ = nullptr;
  capacity_ = 0;
}

}  // namespace platform
