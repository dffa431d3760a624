// POSIX file access for the disassembler. Every path goes through platform::NativePath, so "\"
// separates like "/" and letter case is matched the way the paths of the system expect.
#include "mavren/files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "platform/error.h"
#include "platform/paths.h"

namespace mavren {
namespace {

constexpr size_t kReadBlock = 1 << 20;

platform::Error ReadFailure(const std::string& path, std::string_view what, int error) {
  return platform::Error(path + ": unable to read the " + std::string(what) + ": " +
                         std::strerror(error));
}

}  // namespace

FileBytes::FileBytes(FileBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

FileBytes::~FileBytes() {
  if (data_) munmap(data_, capacity_);
}

void FileBytes::Reserve(size_t capacity) {
  void* memory = data_ ? mremap(data_, capacity_, capacity, MREMAP_MAYMOVE)
                       : mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  data_ = static_cast<char*>(memory);
  capacity_ = capacity;
}

FileBytes ReadWholeFile(const std::string& path, std::string_view what) {
  const int fd = open(platform::NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ReadFailure(path, what, errno);
  struct stat status;
  const int error = fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  if (error != 0) {
    close(fd);
    throw ReadFailure(path, what, error);
  }
  FileBytes file;
  // One byte more than the file's size, so that the read that finds the end needs no growth.
  file.Reserve(S_ISREG(status.st_mode) ? status.st_size + 1 : kReadBlock);
  for (;;) {
    if (file.size_ == file.capacity_) file.Reserve(file.capacity_ * 2);
    const ssize_t count = read(fd, file.data_ + file.size_, file.capacity_ - file.size_);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      const int error = errno;
      close(fd);
      throw ReadFailure(path, what, error);
    }
    if (count == 0) break;
    file.size_ += count;
  }
  close(fd);
  return file;
}

PartFiles::~PartFiles() { Abandon(); }

void PartFiles::Start(int64_t input_length) {
  input_length_ = input_length;
  if (progress_) progress_->SetMaximum(input_length);
}

void PartFiles::BeginPart(const std::string& path) {
  Abandon();
  path_ = path;
  native_path_ = platform::NativePath(path);
  // An earlier plain file is removed rather than truncated: a file system may flush a truncated
  // file's new content when it is closed, which costs more than writing all the parts. A link is
  // written through, and a file that cannot be removed is truncated.
  struct stat status;
  if (lstat(native_path_.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
      status.st_nlink == 1) {
    unlink(native_path_.c_str());
  }
  fd_ = open(native_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) throw Failure("create");
}

void PartFiles::Write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = write(fd_, text.data(), text.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      if (count == 0) errno = ENOSPC;
      const platform::Error error = Failure("write");
      Abandon();
      throw error;
    }
    text.remove_prefix(count);
  }
}

void PartFiles::EndPart(int64_t read_offset) {
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) {
    const platform::Error error = Failure("write");
    unlink(native_path_.c_str());
    throw error;
  }
  if (progress_) progress_->SetValue(std::clamp<int64_t>(read_offset, 0, input_length_));
}

void PartFiles::Abandon() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(native_path_.c_str());
}

platform::Error PartFiles::Failure(std::string_view action) const {
  return platform::Error(path_ + ": unable to " + std::string(action) +
                         " the file: " + std::strerror(errno));
}

}  // namespace mavren
