// A growable run of bytes written through a pointer: room is made once for a piece of known
// greatest size, and the bytes are then stored without a check for each one, as a byte string's
// push_back would make.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace vornak {

class ByteBuffer {
 public:
  // Where the next |count| bytes go. Hand the end of what was written to Advance.
  char* Room(size_t count) {
    if (capacity_ - size_ < count) Grow(count);
    return data_.get() + size_;
  }
  // Takes the bytes up to |end| (a pointer into the last Room) as written.
  void Advance(const char* end) { size_ = static_cast<size_t>(end - data_.get()); }

  void Append(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  // Drops every byte from |size| on.
  void Truncate(size_t size) { size_ = size; }

  size_t size() const { return size_; }
  char* data() { return data_.get(); }
  std::string_view view() const { return {data_.get(), size_}; }

 private:
  void Grow(size_t count) {
    const size_t capacity = std::max({size_ + count, 2 * capacity_, size_t{256}});
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace vornak
