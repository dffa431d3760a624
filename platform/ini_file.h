// Profile (INI) files: sections in square brackets, lines of key "=" value, ";" comment lines.
//
// Reading: section and key names match without regard to case and the first match wins (a section
// name that occurs twice is looked up, and edited, in its first occurrence only); blanks around the
// value and one pair of enclosing quotation marks (single or double) are removed; a missing file,
// section or key gives the caller's default.
//
// Writing: an existing key's line is replaced in place and every other byte of the file is kept;
// a new key goes right after the last entry of its section; a missing section is appended at the
// end; a missing file is created. New lines end with CR LF. The file is replaced atomically, so a
// crash never leaves it half written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr size_t kNoLengthLimit = static_cast<size_t>(-1);

// |path| is a stored path text (see paths.h). A value longer than |max_length| is cut to it.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view default_value,
                              size_t max_length = kNoLengthLimit);

// Same rules, on the text of a file already in memory.
std::string ReadProfileStringFromText(std::string_view file_text, std::string_view section,
                                      std::string_view key, std::string_view default_value,
                                      size_t max_length = kNoLengthLimit);

// Sets |key| = |value| in |section|. Throws Error("Unable to write to " + path) on failure.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

struct ProfileEntry {
  std::string key;
  std::string value;
};

// Sets each of |entries| in |section|, in their order, as that many WriteProfileString calls
// would, but in one replacement of the file: it holds either all of them or none.
void WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<ProfileEntry>& entries);

// The edit that WriteProfileString makes, on a file's text in memory; returns the new text.
std::string SetProfileStringInText(std::string_view file_text, std::string_view section,
                                   std::string_view key, std::string_view value);

}  // namespace platform
