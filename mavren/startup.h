// The disassembler's run from start to end: the program folder, the settings of "mavren.ini", the
// progress display on standard error, the opcode file, and the disassembly of the input file.
//
// The program takes no arguments: "mavren.ini" and "scm_asm.ini" lie in its own folder. A setting
// that contains "*" is a path inside the program folder: everything before the first "*" is
// dropped and the "*" becomes the program folder ("*main.scm", "*" alone the folder itself).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mavren {

// DisSettings: section [settings] of "mavren.ini". The numbers are read as 16-bit integers.
struct DisSettings {
  std::string program_folder;   // ends in "/"
  std::string opcode_file;      // always the program folder and "scm_asm.ini"
  std::string input_file;       // the compiled script to read
  std::string output_dir;       // prefix of every output path; ends in a separator to name a folder
  int16_t name_opcodes = 1;     // non-zero: opcode names from the opcode file
  int16_t name_variables = 0;   // non-zero: global variable names from the opcode file
  int16_t name_labels = 0;      // non-zero: label names from the opcode file
  int16_t default_indent = 4;   // spaces before every instruction and "#mission" line
  int16_t if_block_indent = 2;  // further spaces before an instruction inside an if-block
  int16_t par_distance = 25;    // sets the opcode column's width
  int16_t pad_variables = 0;    // non-zero: unnamed global variables as "$var" and 5 digits
};

// The settings in |ini_text|, the text of a "mavren.ini" (empty for a missing file), for a program
// in |program_folder|. |settings_path| names the file in messages. Throws platform::Error for a
// number that does not fit 16 bits.
DisSettings ReadSettings(std::string_view ini_text, const std::string& program_folder,
                         std::string_view settings_path);

// Runs the program: settings, opcode file, disassembly. Throws platform::Error on any stop; the
// part files finished before it stay, the one being written is removed.
void RunMavren();

}  // namespace mavren
