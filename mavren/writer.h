// The writing half of the disassembler: one source file per script part in the language the
// assembler reads, with a label line where a jump lands, names from the opcode file, if-blocks
// indented and mission references by name. Disassemble runs the whole job on a file in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "mavren/names.h"
#include "mavren/startup.h"

namespace mavren {

// Where the part texts go: files in the program, memory in tests.
class PartSink {
 public:
  virtual ~PartSink() = default;
  // Called once before the first part with the input's length in bytes.
  virtual void Start(int64_t input_length) = 0;
  // Starts the text of a part at |path| (output folder, part name, ".gsr"), replacing any
  // earlier text there.
  virtual void BeginPart(const std::string& path) = 0;
  // Appends a block of the current part's text.
  virtual void Write(std::string_view text) = 0;
  // Completes the current part; |read_offset| is where its walk stopped in the input.
  virtual void EndPart(int64_t read_offset) = 0;
};

// HexWord: |value| as exactly 4 lower-case hexadecimal digits of its 16-bit pattern (-1: ffff).
std::string HexWord(int value);

// Disassembles |image|, the bytes of the file named |input_name| in messages, into |sink|, one
// part after the other. Throws platform::Error on a stop; parts already ended stay ended.
void Disassemble(std::span<const uint8_t> image, std::string_view input_name,
                 const DisSettings& settings, const NameTables& names, PartSink& sink);

}  // namespace mavren
