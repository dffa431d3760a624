// The assembler's run from start to end: the banner, the start-up and project phase, the compile
// phase, the summary, the result file "Vornak.log" beside the program and the exit status. It is
// the one place where failures are caught for good: every stage reports a failure by throwing
// platform::Error with a finished message, and the driver decides what reaches the console and
// the result file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "vornak/core/build_state.h"

namespace vornak {

struct DriverOptions {
  std::string program_path;            // the executable; its configuration and log lie beside it
  std::vector<std::string> arguments;  // the command-line arguments after the program name
  std::FILE* out = stdout;             // the console
  std::FILE* err = stderr;             // where a result file that cannot be written is reported
};

// Runs one build. Returns the exit status: 0 after a successful build, 1 after any failure
// (including a result file that cannot be written).
int RunAssembler(const DriverOptions& options);

// Releases everything a build created; the temporary output file is removed unless a
// successful build has renamed it onto the output path.
void ReleaseBuildState(BuildState* state);

}  // namespace vornak
