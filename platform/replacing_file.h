// A file written under a temporary name beside its final path and renamed onto that path by
// Commit(), so the final path holds either its earlier content (or nothing) or the complete new
// content. A file that is never committed leaves no trace.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class ReplacingFile {
 public:
  // Creates the temporary file in the folder of |path| (a stored path text). No value when |path|
  // is empty, names a folder (or anything else that is not a regular file), or the temporary file
  // cannot be created. When |path| is a symbolic link, its target is the file replaced.
  static std::optional<ReplacingFile> Create(std::string_view path);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&& other) noexcept;
  ~ReplacingFile();  // removes the temporary file unless committed

  // Appends bytes; false when the system refuses them. Small writes are gathered into large
  // blocks (large ones go to the file at once), so a refusal may show only at a later Write or at
  // Commit, which then fails too.
  bool Write(std::string_view bytes);
  // Flushes, closes and renames the temporary file onto the final path; false on any failure
  // (the temporary file is then removed and the final path untouched).
  bool Commit();
  // Closes and removes the temporary file.
  void Discard();

  // The path the file system renames onto: the stored path as found on disk, links resolved.
  const std::string& final_path() const { return final_path_; }

 private:
  ReplacingFile(int fd, std::string temp_path, std::string final_path);
  bool Flush();

  int fd_ = -1;
  bool failed_ = false;  // a write was refused; the file can no longer be committed
  std::string pending_;  // bytes not yet handed to the system
  std::string temp_path_;
  std::string final_path_;
};

}  // namespace platform
