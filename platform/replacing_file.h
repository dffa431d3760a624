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
  // is empty, names a folder, or the temporary file cannot be created. When |path| is a symbolic
  // link, its target is the file replaced.
  static std::optional<ReplacingFile> Create(std::string_view path);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&& other) noexcept;
  ~ReplacingFile();  // removes the temporary file unless committed

  // Appends bytes; false when the system refuses them.
  bool Write(std::string_view bytes);
  // Flushes, closes and renames the temporary file onto the final path; false on any failure
  // (the temporary file is then removed and the final path untouched).
  bool Commit();
  // Closes and removes the temporary file.
  void Discard();

  const std::string& final_path() const { return final_path_; }

 private:
  ReplacingFile(int fd, std::string temp_path, std::string final_path);

  int fd_ = -1;
  std::string temp_path_;
  std::string final_path_;
};

}  // namespace platform
