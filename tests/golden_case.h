// A golden case file: a description, then directives (lines starting with ";;; ") each with the
// body lines that follow it up to the next directive. HACKING.md lists the directives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace golden {

struct Directive {
  std::string name;  // "FILE", "RUN", "EXPECT-HEX", ...
  std::string argument;
  std::vector<std::string> body;
};

struct CaseFile {
  std::vector<std::string> description;  // lines before the first directive
  std::vector<Directive> directives;
};

CaseFile ParseCase(std::string_view text);
std::string FormatCase(const CaseFile& file);

// Bytes written as hex pairs; ";" starts a comment. Returns false on a malformed token.
bool ParseHex(const std::vector<std::string>& lines, std::string* bytes);
// Hex lines of 16 bytes, each with a "; offset" comment.
std::vector<std::string> FormatHex(std::string_view bytes);

// Splits at LF; a final LF ends the last line rather than starting an empty one.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, ending each with |line_end|.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view line_end);

// The compile time varies from run to run; these hide it before comparing.
std::string MaskCompileTime(std::string text);

// Replaces every occurrence of |path| (the case's temporary folder) by "<case>".
std::string MaskCaseFolder(std::string text, std::string_view path);

// A line diff of two texts, in unified style without hunk headers.
std::string LineDiff(const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual);

}  // namespace golden
