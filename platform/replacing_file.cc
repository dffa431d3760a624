// Replacing a file atomically: the new content goes into a hidden temporary file in the folder of
// the file it replaces (a rename is atomic only within one file system) and is renamed onto it
// once complete. When the path is a symbolic link the link is followed to the file it names, so
// the link stays and its target is what gets replaced.
#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/paths.h"

namespace platform {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;
// Bytes of this size or more go to the file as they come: gathering them would only copy them.
constexpr size_t kDirectWriteSize = size_t{64} << 10;
constexpr int kMaxLinkHops = 40;            // the system's own limit on links in a chain
constexpr int kMaxTempNameAttempts = 100;   // names already taken, e.g. by another run
constexpr size_t kMaxNameInTempName = 100;  // keeps the temporary name within the name limit

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t count = write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

std::optional<std::string> LinkText(const std::string& path, off_t size_hint) {
  std::string text(static_cast<size_t>(size_hint > 0 ? size_hint : 255) + 1, '\0');
  for (;;) {
    ssize_t length = readlink(path.c_str(), text.data(), text.size());
    if (length < 0) return std::nullopt;
    if (static_cast<size_t>(length) < text.size()) {
      text.resize(static_cast<size_t>(length));
      return text;
    }
    text.resize(text.size() * 2);
  }
}

// The file a path finally names, following symbolic links; no value for a chain that loops.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hops = 0;; ++hops) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    if (hops == kMaxLinkHops) return std::nullopt;
    std::optional<std::string> target = LinkText(path, info.st_size);
    if (!target) return std::nullopt;
    if (!target->empty() && target->front() == '/') {
      path = std::move(*target);
    } else {
      path = std::string(FolderPart(path)) + *target;  // relative to the link's own folder
    }
  }
}

}  // namespace

std::optional<ReplacingFile> ReplacingFile::Create(std::string_view path) {
  if (path.empty()) return std::nullopt;
  std::optional<std::string> final_path = FollowLinks(NativePath(path));
  if (!final_path) return std::nullopt;
  std::string_view name = FileNamePart(*final_path);
  if (name.empty()) return std::nullopt;  // "out/" names a folder
  // Renaming onto anything but a regular file would replace a folder, a device or a pipe.
  struct stat existing;
  bool exists = stat(final_path->c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) return std::nullopt;

  static unsigned attempt_counter = 0;
  std::string prefix = std::string(FolderPart(*final_path)) + "." +
                       std::string(name.substr(0, kMaxNameInTempName)) + "." +
                       std::to_string(getpid()) + ".";
  for (int attempt = 0; attempt < kMaxTempNameAttempts; ++attempt) {
    std::string temp_path = prefix + std::to_string(attempt_counter++) + ".tmp";
    // Mode 0666 is narrowed by the umask, as for any newly created file.
    int fd = open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    // The replacement keeps the permissions of the file it replaces.
    if (exists) fchmod(fd, existing.st_mode & 07777);
    return ReplacingFile(fd, std::move(temp_path), std::move(*final_path));
  }
  return std::nullopt;
}

ReplacingFile::ReplacingFile(int fd, std::string temp_path, std::string final_path)
    : fd_(fd), temp_path_(std::move(temp_path)), final_path_(std::move(final_path)) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      failed_(other.failed_),
      pending_(std::move(other.pending_)),
      temp_path_(std::exchange(other.temp_path_, {})),
      final_path_(std::move(other.final_path_)) {}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    fd_ = std::exchange(other.fd_, -1);
    failed_ = other.failed_;
    pending_ = std::move(other.pending_);
    temp_path_ = std::exchange(other.temp_path_, {});
    final_path_ = std::move(other.final_path_);
  }
  return *this;
}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Flush() {
  if (failed_ || fd_ < 0) return false;
  if (!WriteAll(fd_, pending_)) failed_ = true;
  pending_.clear();
  return !failed_;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (failed_ || fd_ < 0) return false;
  if (bytes.size() < kDirectWriteSize && pending_.size() + bytes.size() < kBlockSize) {
    pending_.append(bytes);
    return true;
  }
  if (!Flush()) return false;
  if (bytes.size() < kDirectWriteSize) {
    pending_.append(bytes);
    return true;
  }
  if (!WriteAll(fd_, bytes)) failed_ = true;
  return !failed_;
}

bool ReplacingFile::Commit() {
  if (fd_ < 0) return false;
  bool written = Flush();
  // A failed close can be the first report of a failed write (a full disk on a network share).
  if (close(fd_) != 0) written = false;
  fd_ = -1;
  if (written && rename(temp_path_.c_str(), final_path_.c_str()) == 0) {
    temp_path_.clear();
    return true;
  }
  Discard();
  return false;
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  temp_path_.clear();
  pending_.clear();
}

}  // namespace platform
