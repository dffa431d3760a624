// The disassembler's files: an input read whole in one go, and the part files the disassembly
// writes, each created when its part begins and removed again if the run stops before it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "mavren/writer.h"
#include "platform/error.h"
#include "platform/progress_line.h"

namespace mavren {

// A file's bytes, in memory that the system maps in one piece when it is taken, so that a large
// input is not faulted in page by page.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  ~FileBytes();

  std::span<const uint8_t> bytes() const {
    return {reinterpret_cast<const uint8_t*>(data_), size_};
  }
  std::string_view text() const { return {data_, size_}; }

 private:
  friend FileBytes ReadWholeFile(const std::string& path, std::string_view what);
  // Room for |capacity| bytes, the bytes held kept. Throws std::bad_alloc.
  void Reserve(size_t capacity);

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// The bytes of the file at |path| (a stored path), read in one go. Throws platform::Error
// "PATH: unable to read the WHAT: REASON" when it is missing, is a folder or cannot be read.
FileBytes ReadWholeFile(const std::string& path, std::string_view what);

// The program's PartSink: every part to its own file; the progress bar's maximum is the input's
// length and its value, after each part, the offset the part's walk stopped at.
class PartFiles : public PartSink {
 public:
  // |progress| may be null.
  explicit PartFiles(platform::ProgressLine* progress) : progress_(progress) {}
  PartFiles(const PartFiles&) = delete;
  PartFiles& operator=(const PartFiles&) = delete;
  // Removes the file of a part that was begun and not ended.
  ~PartFiles() override;

  void Start(int64_t input_length) override;
  // Creates or truncates the file. Throws platform::Error when it cannot be created.
  void BeginPart(const std::string& path) override;
  // Throws platform::Error, after removing the file, when a write fails.
  void Write(std::string_view text) override;
  void EndPart(int64_t read_offset) override;

 private:
  // Closes and removes the file being written.
  void Abandon();
  platform::Error Failure(std::string_view action) const;

  platform::ProgressLine* progress_;
  int64_t input_length_ = 0;
  int fd_ = -1;
  std::string path_;         // as stored, for messages
  std::string native_path_;  // as created
};

}  // namespace mavren
