// A one-line progress display on standard error, standing in for a progress window: on a terminal
// the line (bar, percentage, status text) is redrawn in place; otherwise each status text is
// written once as a plain line as it is set, and nothing else.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

class ProgressLine {
 public:
  // |terminal| selects the redrawn form; by default it is whether |out| is a terminal.
  explicit ProgressLine(std::FILE* out = stderr);
  ProgressLine(std::FILE* out, bool terminal);

  void SetStatus(std::string_view text);
  // A maximum of 0 is accepted (the bar then shows 0%).
  void SetMaximum(int64_t maximum);
  void SetValue(int64_t value);
  // Ends the redrawn line on a terminal (when anything was drawn); nothing otherwise.
  void Close();

 private:
  void Redraw();

  std::FILE* out_;
  bool terminal_;
  bool drawn_ = false;
  int64_t maximum_ = 100;
  int64_t value_ = 0;
  std::string status_;
  std::string shown_;  // the line as last drawn, to skip redrawing it unchanged and to clear it
};

}  // namespace platform
