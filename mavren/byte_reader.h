// Little-endian reads from a compiled script held in memory, that never pass either end of it.
//
// The reader has one read offset, which Seek sets (to any value, even one outside the file) and
// every read advances. A read that does not lie wholly inside the file throws platform::Error
// naming the file, the offset and the field: "main.scm: offset 1234: unable to read 16-bit opcode
// word past the end of the file".
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/number_text.h"

namespace mavren {

class ByteReader {
 public:
  // |file_name| names the file in messages; both must outlive the reader.
  ByteReader(std::span<const uint8_t> image, std::string_view file_name)
      : image_(image), file_name_(file_name) {}

  int64_t offset() const { return offset_; }
  int64_t size() const { return static_cast<int64_t>(image_.size()); }
  void Seek(int64_t offset) { offset_ = offset; }

  // |what| names the field ("opcode word", "mission count").
  uint8_t ReadUInt8(std::string_view what) { return *Take(1, kNumber, what); }
  uint16_t ReadUInt16(std::string_view what) {
    const uint8_t* p = Take(2, kNumber, what);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }
  int16_t ReadInt16(std::string_view what) { return static_cast<int16_t>(ReadUInt16(what)); }
  int32_t ReadInt32(std::string_view what) {
    const uint8_t* p = Take(4, kNumber, what);
    uint32_t value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(value);
  }
  // |size| bytes as 8-bit characters, up to (not including) the first zero byte among them.
  std::string_view ReadText(int size, std::string_view what) {
    const char* p = reinterpret_cast<const char*>(Take(size, kBytes, what));
    const void* zero = std::memchr(p, 0, size);
    return std::string_view(p, zero ? static_cast<const char*>(zero) - p : size);
  }

  // An Error for the field at |at|: "FILE: offset AT: MESSAGE".
  platform::Error ErrorAt(int64_t at, std::string_view message) const {
    std::string text(file_name_);
    text += ": offset ";
    text += platform::DecimalText(at);
    text += ": ";
    text += message;
    return platform::Error(text);
  }

 private:
  // How a field's size is named in messages: "32-bit" for a number, "8-byte" for text.
  enum Unit { kNumber, kBytes };

  const uint8_t* Take(int64_t count, Unit unit, std::string_view what) {
    if (offset_ < 0 || offset_ > size() - count) throw ReadError(count, unit, what);
    const uint8_t* p = image_.data() + offset_;
    offset_ += count;
    return p;
  }

  [[gnu::cold, gnu::noinline]] platform::Error ReadError(int64_t count, Unit unit,
                                                         std::string_view what) const {
    std::string message = "unable to read ";
    message += unit == kNumber ? platform::DecimalText(count * 8) + "-bit "
                               : platform::DecimalText(count) + "-byte ";
    message += what;
    message += offset_ < 0 ? " before the start of the file" : " past the end of the file";
    return ErrorAt(offset_, message);
  }

  std::span<const uint8_t> image_;
  std::string_view file_name_;
  int64_t offset_ = 0;
};

}  // namespace mavren
