// A seeded generator of valid projects: an opcode file, an IDE file, a main part and nested
// missions using every parameter kind, labels, jumps within missions and into the main part,
// if-blocks, negation, mission references and decimals at the 7-digit edge. Every project stays
// within what the disassembler can recover (see the round-trip conditions in README.md), so it
// assembles, disassembles and assembles again to the same bytes. The round-trip tests and the
// benchmark use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace generator {

struct Options {
  uint64_t seed = 1;
  int missions = 4;                 // mission parts besides the main part
  int instructions_per_part = 60;   // on average
  int variables = 24;               // distinct global variables
  int local_objects = 6;
  int models = 6;
};

struct TextFile {
  std::string path;  // relative to the project folder
  std::string text;  // lines ended by CR LF
};

struct Project {
  std::vector<TextFile> files;
  std::string opcode_file;     // path of the opcode definitions (also a valid "scm_asm.ini")
  std::string ide_file;
  std::string main_file;
  std::string mission_folder;  // without a trailing separator
  // The name the disassembler gives the main part (the text of its first PART_NAME).
  std::string main_part_name;
  size_t source_bytes = 0;     // size of the main part and mission files
};

Project Generate(const Options& options);

// Splits CR LF text into lines.
std::vector<std::string> Lines(const std::string& text);

}  // namespace generator
