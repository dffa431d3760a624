// Line reading over one buffer. A regular file is read whole: its size from fstat gives the buffer,
// so a file is one read into mapped memory (see mapped_buffer.h), never zero-filled by hand. Other
// files, and readers given a block size, read block by block: when a line runs past the bytes read
// so far, its start is moved to the front of the buffer (which doubles when the line alone fills
// it) and the next block is read behind it. Lines are handed out as views into the buffer; text in
// memory is the buffer itself. Only a line holding a lone CR is copied, to drop that CR.
//
// The buffer of a finished reader is kept for the next one on the same thread: the assembler reads
// a project's files one after another, and then allocates memory for the largest of them once.
#include "platform/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/mapped_buffer.h"
#include "platform/paths.h"

namespace platform {
namespace {

// The block of a file whose size is not known beforehand (a pipe, a device).
constexpr size_t kBlockSize = size_t{1} << 16;
constexpr char kEndOfFileMark = '\x1A';
// The buffer is read into right after it is made, so its pages are populated when mapped.
constexpr bool kFillsWhole = true;

// The first LF or CR from |from| on, or |end|. Lines are short and many, so the search looks at
// 16 bytes at a time where the processor offers it, and ends in one pass what two calls of
// memchr would do.
const char* FindLineBreak(const char* from, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
    if (found != 0) return from + __builtin_ctz(static_cast<unsigned>(found));
  }
#endif
  while (from != end && *from != '\n' && *from != '\r') ++from;
  return from;
}

Error ReadError(const std::string& path, int error_number) {
  return Error("Unable to read " + path + ": " + std::strerror(error_number));
}

// The buffer of the last reader that finished on this thread.
thread_local MappedBuffer spare_buffer;

}  // namespace

struct LineReader::State {
  // The state of a reader of the file at |path|, open, before any block is read.
  static std::unique_ptr<State> OpenFile(const std::string& path);

  ~State() {
    if (fd >= 0) close(fd);
    if (buffer.capacity() > spare_buffer.capacity()) spare_buffer = std::move(buffer);
  }

  const char* base() const { return memory.data() != nullptr ? memory.data() : buffer.data(); }

  // Room for the first block, in the spare buffer when it is large enough.
  void TakeBuffer() {
    if (spare_buffer.capacity() >= block_size) buffer = std::move(spare_buffer);
    buffer.Reserve(block_size, kFillsWhole);
  }

  // Makes room behind the bytes not yet handed out and reads the next block; sets at_end when the
  // file has no more bytes.
  void ReadBlock();

  int fd = -1;
  std::string path;
  std::optional<size_t> file_size;  // of a regular file
  size_t block_size = kBlockSize;   // the most one read asks for
  MappedBuffer buffer;
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
  if (filled == buffer.capacity()) {
    buffer.Reserve(std::max(buffer.capacity() * 2, block_size), kFillsWhole);
  }
  for (;;) {
    const size_t room = std::min(buffer.capacity() - filled, block_size);
    ssize_t count = read(fd, buffer.data() + filled, room);
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

std::unique_ptr<LineReader::State> LineReader::State::OpenFile(const std::string& path) {
  auto state = std::make_unique<State>();
  state->path = path;
  state->fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (state->fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw Error("File not found");
    throw ReadError(path, errno);
  }
  struct stat info;
  if (fstat(state->fd, &info) != 0) throw ReadError(path, errno);
  if (S_ISDIR(info.st_mode)) throw ReadError(path, EISDIR);
  if (S_ISREG(info.st_mode)) state->file_size = static_cast<size_t>(info.st_size);
  return state;
}

LineReader LineReader::Open(const std::string& path) {
  std::unique_ptr<State> state = State::OpenFile(path);
  // One byte more than a regular file, so that the read which meets its end needs no room of its
  // own.
  state->block_size = state->file_size ? *state->file_size + 1 : kBlockSize;
  state->TakeBuffer();
  return LineReader(std::move(state));
}

LineReader LineReader::Open(const std::string& path, size_t block_size) {
  std::unique_ptr<State> state = State::OpenFile(path);
  state->block_size = std::max<size_t>(block_size, 1);
  state->TakeBuffer();
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
  bool lone_cr = false;  // the line holds a CR that is no line end, to be dropped
  for (;;) {
    const char* base = s.base();
    const char* const end = base + s.filled;
    const char* const brk = FindLineBreak(base + s.scanned, end);
    if (brk != end) {
      const bool cr_lf = *brk == '\r' && brk + 1 != end && brk[1] == '\n';
      if (*brk == '\n' || cr_lf) {
        raw = std::string_view(base + s.begin, static_cast<size_t>(brk - (base + s.begin)));
        s.begin = s.scanned = static_cast<size_t>(brk - base) + (cr_lf ? 2 : 1);
        break;
      }
      if (brk + 1 != end) {  // a CR followed by anything but LF
        lone_cr = true;
        s.scanned = static_cast<size_t>(brk - base) + 1;
        continue;
      }
    }
    // Nothing decides the line yet; a CR at the very end waits for the byte after it.
    s.scanned = static_cast<size_t>(brk - base);
    if (s.at_end) {
      if (s.begin == s.filled) {
        s.finished = true;  // a line end at the very end opens no further line
        return false;
      }
      raw = std::string_view(base + s.begin, s.filled - s.begin);
      lone_cr = lone_cr || brk != end;
      s.begin = s.filled;
      break;
    }
    s.ReadBlock();
  }
  if (!raw.empty() && raw.front() == kEndOfFileMark) {
    s.finished = true;
    return false;
  }
  if (!lone_cr) {
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
