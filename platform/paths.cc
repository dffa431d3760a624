// Stored path texts and how the file system finds them. A stored path may use "\" and any letter
// case; NativePath turns it into the path the file system knows by walking it one component at a
// time and, where a component does not exist as spelled, taking the case-insensitive match in its
// folder.
#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {
namespace {

bool EntryExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The entry of |folder| ("" for the current directory) whose name equals |name| without regard to
// ASCII case, the first in byte order when there are several.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir)) {
    std::string_view candidate(entry->d_name);
    if (!EqualsIgnoringAsciiCase(candidate, name)) continue;
    if (!best || candidate < *best) best = std::string(candidate);
  }
  closedir(dir);
  return best;
}

std::optional<struct stat> StatOf(std::string_view stored) {
  if (stored.empty()) return std::nullopt;
  struct stat info;
  if (stat(NativePath(stored).c_str(), &info) != 0) return std::nullopt;
  return info;
}

}  // namespace

std::string ProgramPath() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(static_cast<size_t>(length));
      return path;
    }
    path.resize(path.size() * 2);  // the link may have been cut; read it again with more room
  }
}

std::string ProgramFolder() { return std::string(FolderPart(ProgramPath())); }

std::string_view FileNamePart(std::string_view path) {
  size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view FolderPart(std::string_view path) {
  size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

std::string ChangeExtension(std::string_view path, std::string_view extension) {
  std::string_view name = FileNamePart(path);
  size_t dot = name.rfind('.');
  std::string result(path.substr(0, path.size() - name.size()));
  result.append(dot == std::string_view::npos ? name : name.substr(0, dot));
  result.append(extension);
  return result;
}

std::string NativePath(std::string_view stored) {
  // A path that exists as spelled is its own match, component by component; one look settles it.
  std::string exact(stored);
  for (char& c : exact) {
    if (c == '\\') c = '/';
  }
  if (!exact.empty() && EntryExists(exact)) return exact;

  std::string result;
  result.reserve(stored.size());
  // Once a component matches nothing, the rest of the path cannot exist either and stays as
  // written, so a file about to be created keeps its spelling.
  bool searching = true;
  size_t start = 0;
  while (start <= stored.size()) {
    size_t end = stored.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = stored.size();
    std::string_view component = stored.substr(start, end - start);
    if (searching && !component.empty() && component != "." && component != "..") {
      std::string folder = result;
      result.append(component);
      if (!EntryExists(result)) {
        std::optional<std::string> match = FindIgnoringCase(folder, component);
        if (match) {
          result.resize(folder.size());
          result.append(*match);
        } else {
          searching = false;
        }
      }
    } else {
      result.append(component);
    }
    if (end == stored.size()) break;
    result.push_back('/');
    start = end + 1;
  }
  return result;
}

bool FileExists(std::string_view stored) {
  std::optional<struct stat> info = StatOf(stored);
  return info && S_ISREG(info->st_mode);
}

bool FolderExists(std::string_view stored) {
  std::optional<struct stat> info = StatOf(stored);
  return info && S_ISDIR(info->st_mode);
}

std::optional<FileIdentity> IdentityOf(std::string_view stored) {
  std::optional<struct stat> info = StatOf(stored);
  if (!info) return std::nullopt;
  return FileIdentity{info->st_dev, info->st_ino};
}

}  // namespace platform
