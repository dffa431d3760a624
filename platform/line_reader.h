// Text lines as the assembler reads its sources, opcode file and IDE file: a line ends at LF or at
// CR LF; a CR not followed by LF is dropped and does not end the line; the byte 0x1A at the start
// of a line ends the file; a last line without a line end is read like any other; lines have no
// length limit. A regular file is read whole, in one go.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class LineReader {
 public:
  // Opens |path| (a stored path text, see paths.h). Throws Error("File not found") when no file
  // is there, and an Error naming the path and the system's reason when it cannot be read.
  static LineReader Open(const std::string& path);
  // The same, reading |block_size| bytes at a time (tests use small blocks to cut lines apart).
  static LineReader Open(const std::string& path, size_t block_size);
  // Reads lines from |text|, which must outlive the reader.
  static LineReader FromMemory(std::string_view text);

  LineReader(LineReader&&) noexcept;
  LineReader& operator=(LineReader&&) noexcept;
  ~LineReader();

  // Stores the next line, without its line end, in |line| and returns true; false at the end.
  // The view stays valid until the next call. Throws Error when the file cannot be read.
  bool Next(std::string_view* line);

 private:
  struct State;
  explicit LineReader(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace platform
