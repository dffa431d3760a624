// Where the instruction records of a build are kept: the records of every part one after another
// in one mapping (see platform/mapped_buffer.h), so that the records of a large project cost a
// few huge pages and no copies as they grow. Parts are read one at a time, so each part's records
// are one run of bytes, appended while the part is read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "platform/mapped_buffer.h"

namespace vornak {

class RecordStore {
 public:
  // The smallest mapping: one huge page, which holds the records of a modest project whole.
  static constexpr size_t kFirstCapacity = size_t{2} << 20;

  void Append(std::string_view record) {
    if (buffer_.capacity() - size_ < record.size()) {
      buffer_.Reserve(std::max({kFirstCapacity, 2 * buffer_.capacity(), size_ + record.size()}));
    }
    std::memcpy(buffer_.data() + size_, record.data(), record.size());
    size_ += record.size();
  }

  size_t size() const { return size_; }
  std::string_view View(size_t begin, size_t end) const {
    return {buffer_.data() + begin, end - begin};
  }

 private:
  platform::MappedBuffer buffer_;
  size_t size_ = 0;
};

// A part's run of records in its build's store, read as a byte string. It stays valid while the
// store grows (the store may move), as long as the store itself lives.
class PartRecords {
 public:
  PartRecords() = default;
  PartRecords(const RecordStore* store, size_t begin, size_t end)
      : store_(store), begin_(begin), end_(end) {}

  operator std::string_view() const {
    return store_ != nullptr ? store_->View(begin_, end_) : std::string_view();
  }

 private:
  const RecordStore* store_ = nullptr;
  size_t begin_ = 0;
  size_t end_ = 0;
};

}  // namespace vornak
