// The statement reader: turns every source file of a project into a script part.
//
// A source line, trimmed of blanks and control characters at both ends, is one of:
//   empty, or ";" and any text      nothing
//   "#MISSION NAME" (any case)       a further part: mission folder + NAME + ".gsr"
//   "@NAME"                          a label at the part's next instruction
//   "[!]WORD PARAMETERS"             an instruction: WORD is an opcode name or a hexadecimal
//                                    opcode number; "!" or bit 15 of the number negates it
// Parts are read in PartList order until every entry has been read, those that directives add
// while reading included; a part's file is opened only when its turn comes.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/console.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "vornak/core/build_state.h"

namespace vornak {

inline constexpr size_t kMaxParts = 65535;       // the main part and the missions, all told
inline constexpr size_t kMaxLabelNameSize = 64;  // a longer label name is cut to this length

// Where the reader gets its source files: the file system, or memory in tests and fuzzing.
struct SourceOpener {
  // Opens a stored path; throws platform::Error as platform::LineReader::Open does.
  std::function<platform::LineReader(const std::string& path)> open;
  // The identity of the file at a stored path, the same for every spelling that reaches it; none
  // when there is no file.
  std::function<std::optional<platform::FileIdentity>(const std::string& path)> identify;
};

SourceOpener FileSources();
// Sources held in |files| (path to text), which must outlive the opener; paths match exactly,
// and a missing path fails with "File not found".
SourceOpener MemorySources(const std::map<std::string, std::string>* files);

// Reads every PartList entry of |state| into its ScriptPart (sized to the PartList by the
// caller), appending the missions that directives name. On a fault in a source line, prints the
// reader's two console lines and throws platform::Error with the reader's message; a file that
// cannot be read throws the platform's error and prints nothing.
void ReadAllParts(BuildState* state, const SourceOpener& sources, platform::Console& console);

}  // namespace vornak
