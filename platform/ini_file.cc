// Profile files read and edited as whole texts. One walk over the lines finds, for a section and a
// key, both the key's line (to read or replace it) and the place a new key would go, so reading
// and writing agree on which line is meant: the first section of the name, the first key of the
// name within it. Every byte the edit does not touch is copied through unchanged.
#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr std::string_view kNewLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

enum class LineKind { kOther, kSectionHead, kKey };

// Sorts one line (without its line end) and gives the section name or the key and its raw value.
LineKind Classify(std::string_view line, std::string_view* name, std::string_view* value) {
  std::string_view text = TrimBlanks(line);
  if (text.empty() || text.front() == ';') return LineKind::kOther;
  if (text.front() == '[') {
    text.remove_prefix(1);
    *name = TrimBlanks(text.substr(0, text.find(']')));
    return LineKind::kSectionHead;
  }
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) return LineKind::kOther;
  *name = TrimBlanks(text.substr(0, equals));
  *value = text.substr(equals + 1);
  return LineKind::kKey;
}

// Where a key stands in a profile text, or where it would be added.
struct KeyPlace {
  bool section_found = false;
  bool key_found = false;
  // The key's line without its line end, when found.
  size_t key_line_start = 0;
  size_t key_line_end = 0;
  std::string_view raw_value;
  // A new key goes here: after the section's last key line, or after its head.
  size_t insert_at = 0;
  bool insert_after_line_end = true;  // false when that line is the last and has no line end
};

KeyPlace FindKey(std::string_view text, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool in_section = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
    size_t content_end = lf == std::string_view::npos ? text.size() : lf;
    if (content_end > start && text[content_end - 1] == '\r') --content_end;
    std::string_view name;
    std::string_view value;
    LineKind kind = Classify(text.substr(start, content_end - start), &name, &value);
    if (kind == LineKind::kSectionHead) {
      if (in_section) break;  // only the first section of the name counts
      if (EqualsIgnoringAsciiCase(name, section)) {
        in_section = place.section_found = true;
        place.insert_at = next;
        place.insert_after_line_end = lf != std::string_view::npos;
      }
    } else if (kind == LineKind::kKey && in_section) {
      if (EqualsIgnoringAsciiCase(name, key)) {
        place.key_found = true;
        place.key_line_start = start;
        place.key_line_end = content_end;
        place.raw_value = value;
        return place;
      }
      place.insert_at = next;
      place.insert_after_line_end = lf != std::string_view::npos;
    }
    start = next;
  }
  return place;
}

// The value as the file means it: blanks around it and one pair of enclosing quotes removed.
std::string_view CleanValue(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// The whole content of a file; no value when it cannot be read, with the reason in |error|.
std::optional<std::string> ReadWholeFile(const std::string& native_path, int* error) {
  int fd = open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return std::nullopt;
  }
  std::string content;
  struct stat info;
  if (fstat(fd, &info) == 0 && info.st_size > 0) content.reserve(static_cast<size_t>(info.st_size));
  char block[65536];
  for (;;) {
    ssize_t count = read(fd, block, sizeof block);
    if (count > 0) {
      content.append(block, static_cast<size_t>(count));
    } else if (count == 0) {
      break;
    } else if (errno != EINTR) {
      *error = errno;
      close(fd);
      return std::nullopt;
    }
  }
  close(fd);
  return content;
}

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view default_value,
                              size_t max_length) {
  int error = 0;
  std::optional<std::string> text = ReadWholeFile(NativePath(path), &error);
  // A file that cannot be read is a missing file to the reader: every key has its default.
  if (!text) return std::string(default_value.substr(0, max_length));
  return ReadProfileStringFromText(*text, section, key, default_value, max_length);
}

std::string ReadProfileStringFromText(std::string_view file_text, std::string_view section,
                                      std::string_view key, std::string_view default_value,
                                      size_t max_length) {
  KeyPlace place = FindKey(file_text, section, key);
  std::string_view value = place.key_found ? CleanValue(place.raw_value) : default_value;
  return std::string(value.substr(0, max_length));
}

std::string SetProfileStringInText(std::string_view file_text, std::string_view section,
                                   std::string_view key, std::string_view value) {
  std::string key_line;
  key_line.reserve(key.size() + 1 + value.size());
  key_line.append(key).append("=").append(value);

  KeyPlace place = FindKey(file_text, section, key);
  std::string result;
  result.reserve(file_text.size() + section.size() + key_line.size() + 8);
  if (place.key_found) {
    result.append(file_text.substr(0, place.key_line_start));
    result.append(key_line);
    result.append(file_text.substr(place.key_line_end));  // the line's own line end and the rest
  } else if (place.section_found) {
    result.append(file_text.substr(0, place.insert_at));
    if (!place.insert_after_line_end) result.append(kNewLineEnd);
    result.append(key_line).append(kNewLineEnd);
    result.append(file_text.substr(place.insert_at));
  } else {
    result.append(file_text);
    if (!result.empty() && result.back() != '\n') result.append(kNewLineEnd);
    result.append("[").append(section).append("]").append(kNewLineEnd);
    result.append(key_line).append(kNewLineEnd);
  }
  return result;
}

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  WriteProfileStrings(path, section, {{std::string(key), std::string(value)}});
}

void WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<ProfileEntry>& entries) {
  const Error failure("Unable to write to " + path);
  int error = 0;
  std::optional<std::string> text = ReadWholeFile(NativePath(path), &error);
  // Only a file that is not there starts empty; one that cannot be read must not be overwritten.
  if (!text && error != ENOENT) throw failure;
  std::string edited = text ? std::move(*text) : std::string();
  for (const ProfileEntry& entry : entries) {
    edited = SetProfileStringInText(edited, section, entry.key, entry.value);
  }
  std::optional<ReplacingFile> file = ReplacingFile::Create(path);
  if (!file || !file->Write(edited) || !file->Commit()) throw failure;
}

}  // namespace platform
