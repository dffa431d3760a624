// Start-up of a build. The tool configuration beside the program ([paths] op, ide) names the
// opcode definition file and the game's IDE file; the project file named on the command line
// ([script] main_thread, output, mission_dir) names the main source file, the compiled file to
// write and the folder of the mission files. Relative paths are taken from the current directory.
// Every path is checked before anything is compiled, and each failed check ends the start-up with
// its own message.
#pragma once

#include <string>
#include <vector>

#include "vornak/core/build_state.h"

namespace vornak {

inline constexpr size_t kMaxPathLength = 255;  // a longer configured path is cut to this length

// Checks the tool configuration at |tool_config_path| and the two files it names, then loads the
// IDE file into state->models and the opcode file into state->opcodes. Throws platform::Error.
void InitialiseAssembler(const std::string& tool_config_path, BuildState* state);

// Reads the project file named by the first of |arguments| (the command-line arguments after the
// program), checks its paths, creates the temporary file that will replace the output file, and
// makes the main source file PartList entry 0. Throws platform::Error.
void OpenProject(const std::vector<std::string>& arguments, BuildState* state);

}  // namespace vornak
