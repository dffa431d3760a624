// The compile phase: reads every script part, writes the header segments, lays the parts out one
// behind the other after the header, turning every label into a byte offset, and writes every
// instruction. The compiled file is built in memory; a project with an output file gets it
// replaced only when the whole build has succeeded.
#pragma once

#include "platform/console.h"
#include "vornak/core/build_state.h"
#include "vornak/core/encoder.h"
#include "vornak/core/statement_reader.h"

namespace vornak {

// Compiles the project whose PartList holds the main part into state->compiled and, when
// state->output is set, commits it to the output file. Returns true on success. Throws
// platform::Error: the reader's failures after its console lines; sizing failures silently;
// failures while writing an instruction after two console lines (the part's path, the message);
// a failure to write the output file silently.
bool CompileProject(BuildState* state, const SourceOpener& sources, platform::Console& console);

// The context for sizing and writing the records of |state|.
EncodeContext ContextFor(const BuildState& state);

// Lays the read parts out from state->code_start: sets each part's Start and Size, turns its
// label_offsets from instruction positions into byte offsets and counts the instructions. Throws
// what EncodedSize throws, and platform::Error when the code passes the largest file offset.
void LayOutParts(BuildState* state);

}  // namespace vornak
