#include "platform/progress_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

// Collects what a ProgressLine writes.
class CapturedOutput {
 public:
  CapturedOutput() : file_(open_memstream(&buffer_, &size_)) {}
  ~CapturedOutput() {
    std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* file() { return file_; }
  std::string Text() {
    std::fflush(file_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

TEST(ProgressLineTest, OffATerminalOnlyStatusTextsAreWritten) {
  CapturedOutput out;
  ProgressLine progress(out.file(), false);
  progress.SetValue(0);
  progress.SetStatus("Initializing...");
  progress.SetStatus("Loading settings...");
  progress.SetMaximum(0);
  progress.SetMaximum(5000);
  progress.SetValue(2500);
  progress.SetStatus("Disassembling...");
  progress.Close();
  EXPECT_EQ(out.Text(), "Initializing...\nLoading settings...\nDisassembling...\n");
}

TEST(ProgressLineTest, OnATerminalTheLineIsRedrawnInPlace) {
  CapturedOutput out;
  ProgressLine progress(out.file(), true);
  progress.Close();
  EXPECT_EQ(out.Text(), "");  // nothing drawn, nothing to end

  progress.SetStatus("Loading INI...");
  std::string empty_bar = "[------------------------------]   0%  ";
  EXPECT_EQ(out.Text(), "\r" + empty_bar + "Loading INI...");

  progress.SetStatus("Go");
  // The shorter status clears what is left of the longer one.
  std::string expected =
      "\r" + empty_bar + "Loading INI...\r" + empty_bar + "Go" + std::string(12, ' ');
  EXPECT_EQ(out.Text(), expected);

  progress.SetMaximum(0);  // nothing visible changes
  progress.SetMaximum(3);
  progress.SetValue(0);
  EXPECT_EQ(out.Text(), expected);

  progress.SetValue(1);
  expected += "\r[#########---------------------]  33%  Go";
  progress.SetValue(3);
  expected += "\r[##############################] 100%  Go";
  progress.SetValue(7);  // beyond the maximum shows as full
  progress.Close();
  expected += "\n";
  EXPECT_EQ(out.Text(), expected);
}

TEST(ProgressLineTest, LargeValuesDoNotOverflow) {
  CapturedOutput out;
  ProgressLine progress(out.file(), true);
  progress.SetMaximum(INT64_MAX);
  progress.SetValue(INT64_MAX / 2);
  EXPECT_EQ(out.Text(),
            "\r[------------------------------]   0%  \r[###############---------------]  50%  ");
}

}  // namespace
}  // namespace platform
