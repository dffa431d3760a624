// Parsing and formatting of golden case files, and the text helpers the runner compares with.
#include "tests/golden_case.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace golden {
namespace {

constexpr std::string_view kDirectivePrefix = ";;; ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Replaces every run of digits (with at most one ".") that follows |marker| by |mask|.
std::string MaskAfter(std::string text, std::string_view marker, std::string_view mask) {
  size_t at = 0;
  while ((at = text.find(marker, at)) != std::string::npos) {
    size_t start = at + marker.size();
    size_t end = start;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '.')) ++end;
    if (end > start) text.replace(start, end - start, mask);
    at = start;
  }
  return text;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view line_end) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += line_end;
  }
  return text;
}

CaseFile ParseCase(std::string_view text) {
  CaseFile file;
  for (std::string& line : SplitLines(text)) {
    if (line.rfind(kDirectivePrefix, 0) == 0) {
      std::string rest = line.substr(kDirectivePrefix.size());
      Directive directive;
      size_t colon = rest.find(':');
      directive.name = rest.substr(0, colon);
      if (colon != std::string::npos) {
        size_t arg = rest.find_first_not_of(' ', colon + 1);
        if (arg != std::string::npos) directive.argument = rest.substr(arg);
      }
      file.directives.push_back(std::move(directive));
    } else if (file.directives.empty()) {
      file.description.push_back(std::move(line));
    } else {
      file.directives.back().body.push_back(std::move(line));
    }
  }
  return file;
}

std::string FormatCase(const CaseFile& file) {
  std::string text = JoinLines(file.description, "\n");
  for (const Directive& directive : file.directives) {
    text += kDirectivePrefix;
    text += directive.name + ":";
    if (!directive.argument.empty()) text += " " + directive.argument;
    text += "\n";
    text += JoinLines(directive.body, "\n");
  }
  return text;
}

bool ParseHex(const std::vector<std::string>& lines, std::string* bytes) {
  bytes->clear();
  for (const std::string& line : lines) {
    std::string_view data = std::string_view(line).substr(0, line.find(';'));
    size_t i = 0;
    while (i < data.size()) {
      if (std::isspace(static_cast<unsigned char>(data[i]))) {
        ++i;
        continue;
      }
      if (i + 1 >= data.size() || HexValue(data[i]) < 0 || HexValue(data[i + 1]) < 0) return false;
      if (i + 2 < data.size() && !std::isspace(static_cast<unsigned char>(data[i + 2]))) {
        return false;
      }
      bytes->push_back(static_cast<char>(HexValue(data[i]) * 16 + HexValue(data[i + 1])));
      i += 2;
    }
  }
  return true;
}

std::vector<std::string> FormatHex(std::string_view bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size(); start += 16) {
    std::string line;
    size_t end = std::min(bytes.size(), start + 16);
    for (size_t i = start; i < end; ++i) {
      char pair[4];
      std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(bytes[i]));
      if (i > start) line += ' ';
      line += pair;
    }
    line.append((16 - (end - start)) * 3, ' ');
    char comment[24];
    std::snprintf(comment, sizeof comment, " ; %zu", start);
    line += comment;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string MaskCompileTime(std::string text) {
  text = MaskAfter(std::move(text), "Compile time: ", "#.##");
  return MaskAfter(std::move(text), "compiletime=", "#");
}

std::string MaskCaseFolder(std::string text, std::string_view path) {
  constexpr std::string_view kToken = "<case>";
  if (path.empty()) return text;
  for (size_t at = 0; (at = text.find(path, at)) != std::string::npos; at += kToken.size()) {
    text.replace(at, path.size(), kToken);
  }
  return text;
}

std::string LineDiff(const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual) {
  // Longest common subsequence on lines; the cases are small, so the quadratic table is fine.
  const size_t n = expected.size();
  const size_t m = actual.size();
  std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::string diff;
  size_t i = 0;
  size_t j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && expected[i] == actual[j]) {
      diff += "  " + expected[i] + "\n";
      ++i;
      ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      diff += "- " + expected[i++] + "\n";
    } else {
      diff += "+ " + actual[j++] + "\n";
    }
  }
  return diff;
}

}  // namespace golden
