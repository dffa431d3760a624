// The progress line. On a terminal the whole line is drawn again after a carriage return, padded
// with blanks where the previous line was longer, and skipped when nothing visible changed. Off a
// terminal (a log, a pipe) only the status texts are worth a line each.
#include "platform/progress_line.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace platform {
namespace {

constexpr int kBarCells = 30;

void WriteText(std::FILE* out, std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

ProgressLine::ProgressLine(std::FILE* out) : ProgressLine(out, isatty(fileno(out)) != 0) {}

ProgressLine::ProgressLine(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

void ProgressLine::SetStatus(std::string_view text) {
  if (terminal_) {
    status_ = text;
    Redraw();
    return;
  }
  WriteText(out_, text);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void ProgressLine::SetMaximum(int64_t maximum) {
  maximum_ = maximum;
  if (terminal_) Redraw();
}

void ProgressLine::SetValue(int64_t value) {
  value_ = value;
  if (terminal_) Redraw();
}

void ProgressLine::Close() {
  if (!terminal_ || !drawn_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
  shown_.clear();
}

void ProgressLine::Redraw() {
  int percent = 0;
  if (maximum_ > 0 && value_ > 0) {
    // In floating point, so that no product of large values can overflow.
    double share = value_ >= maximum_ ? 1.0 : static_cast<double>(value_) / maximum_;
    percent = static_cast<int>(share * 100);
  }
  int filled = percent * kBarCells / 100;
  std::string line = "[";
  line.append(filled, '#').append(kBarCells - filled, '-').append("] ");
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", percent);
  line.append(number).append("  ").append(status_);
  if (drawn_ && line == shown_) return;

  std::string output = "\r" + line;
  if (shown_.size() > line.size()) output.append(shown_.size() - line.size(), ' ');
  WriteText(out_, output);
  std::fflush(out_);
  shown_ = std::move(line);
  drawn_ = true;
}

}  // namespace platform
