// Line reading over one buffer. A file is read in large blocks into the buffer and lines are handed
// out as views into it; when a line runs past the bytes read so far, its start is moved to the
// front of the buffer (which doubles when the line alone fills it) and the next block is read
// behind it. Text in memory is the buffer itself. Only a line holding a lone CR is copied, to drop
// that CR.
#include "platform/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;
constexpr char kEndOfFileMark = '\x1A';

Error ReadError(const std::string& path, int error_number) {
  return Error("Unable to read " + path + ": " + std::strerror(error_number));
}

}  // namespace

struct LineReader::State {
  ~State() {
    if (fd >= 0) close(fd);
  }

  const char* base() const { return memory.data() != nullptr ? memory.data() : buffer.data(); }

  // Makes room behind the bytes not yet handed out and reads the next block; sets at_end when the
  // file has no more bytes.
  void ReadBlock();

  int fd = -1;
  std::string path;
  size_t block_size = kBlockSize;
  std::string buffer;
  std::string_view memory;  // the text of FromMemory; the buffer is unused then
  size_t begin = 0;         // start of the next line
  size_t scanned = 0;       // bytes from |begin| up to here hold no LF
  size_t filled = 0;        // bytes of the text available
  bool at_end = false;      // no bytes follow |filled|
  bool finished = false;    // the end (or the end-of-file mark) has been reached
  std::string without_cr;   // the current line when lone CRs had to be dropped
};

void LineReader::State::ReadBlock() {
  if (begin > 0) {
    std::memmove(buffer.data(), buffer.data() + begin, filled - begin);
    filled -= begin;
    scanned -= begin;
    begin = 0;
  }
  if (filled == buffer.size()) buffer.resize(std::max(buffer.size() * 2, block_size));
  for (;;) {
    ssize_t count = read(fd, buffer.data() + filled, buffer.size() - filled);
    if (count > 0) {
      filled += static_cast<size_t>(count);
      return;
    }
    if (count == 0) {
      at_end = true;
      return;
    }
    if (errno != EINTR) throw ReadError(path, errno);
  }
}

LineReader LineReader::Open(const std::string& path) { return Open(path, kBlockSize); }

LineReader LineReader::Open(const std::string& path, size_t block_size) {
  auto state = std::make_unique<State>();
  state->path = path;
  state->block_size = std::max<size_t>(block_size, 1);
  state->fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (state->fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw Error("File not found");
    throw ReadError(path, errno);
  }
  struct stat info;
  if (fstat(state->fd, &info) != 0) throw ReadError(path, errno);
  if (S_ISDIR(info.st_mode)) throw ReadError(path, EISDIR);
  return LineReader(std::move(state));
}

LineReader LineReader::FromMemory(std::string_view text) {
  auto state = std::make_unique<State>();
  // A view with a null pointer would select the buffer; an empty text reads no lines either way.
  state->memory = text.data() != nullptr ? text : std::string_view("", 0);
  state->filled = text.size();
  state->at_end = true;
  return LineReader(std::move(state));
}

LineReader::LineReader(std::unique_ptr<State> state) : state_(std::move(state)) {}
LineReader::LineReader(LineReader&&) noexcept = default;
LineReader& LineReader::operator=(LineReader&&) noexcept = default;
LineReader::~LineReader() = default;

bool LineReader::Next(std::string_view* line) {
  State& s = *state_;
  if (s.finished) return false;
  std::string_view raw;
  for (;;) {
    const char* base = s.base();
    const void* lf = std::memchr(base + s.scanned, '\n', s.filled - s.scanned);
    if (lf != nullptr) {
      size_t end = static_cast<size_t>(static_cast<const char*>(lf) - base);
      raw = std::string_view(base + s.begin, end - s.begin);
      // The CR of CR LF goes here, so that the common line needs no copy below.
      if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
      s.begin = s.scanned = end + 1;
      break;
    }
    s.scanned = s.filled;
    if (s.at_end) {
      if (s.begin == s.filled) {
        s.finished = true;  // a line end at the very end opens no further line
        return false;
      }
      raw = std::string_view(base + s.begin, s.filled - s.begin);
      s.begin = s.filled;
      break;
    }
    s.ReadBlock();
  }
  if (!raw.empty() && raw.front() == kEndOfFileMark) {
    s.finished = true;
    return false;
  }
  if (raw.find('\r') == std::string_view::npos) {
    *line = raw;
    return true;
  }
  s.without_cr.clear();
  for (char c : raw) {
    if (c != '\r') s.without_cr.push_back(c);
  }
  *line = s.without_cr;
  return true;
}

}  // namespace platform
