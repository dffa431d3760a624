// Paths as the tools store and show them, and as the file system finds them.
//
// A stored path keeps the text it was built from, with "\" or "/" as separators (the mission folder
// ends in "\"); messages show it as stored. Whenever a file or folder is opened, tested or created,
// every "\" counts as "/", and a component that does not exist with its exact letter case is
// matched without regard to ASCII case in its folder (the exact name preferred; among several
// matches the first in byte order). That holds for files being replaced too.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Full path of the running executable, from the executable itself (not argv[0] or the current
// directory).
std::string ProgramPath();
// Folder of the running executable, ending in "/".
std::string ProgramFolder();

// The part after the last "/" or "\" (the whole text when there is none).
std::string_view FileNamePart(std::string_view path);
// The part up to and including the last "/" or "\" (empty when there is none).
std::string_view FolderPart(std::string_view path);
// |path| with the extension of its file name (from its last ".") replaced by |extension|
// (".ini"), or with |extension| appended when the file name has none.
std::string ChangeExtension(std::string_view path, std::string_view extension);

// The path the file system knows for a stored path: separators turned to "/" and every component
// matched as described above. A component that matches nothing is kept as written, and so is all
// that follows it; "." and ".." pass through, and a relative path stays relative.
std::string NativePath(std::string_view stored);

// A regular file (a symbolic link to one counts); a folder is not a file.
bool FileExists(std::string_view stored);
bool FolderExists(std::string_view stored);

// Identity of a file on disk, the same for every spelling and link that reaches it.
struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(std::string_view stored);

}  // namespace platform
