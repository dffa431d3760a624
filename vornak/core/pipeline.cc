// The order is fixed by the file's header: the variable and object segments depend only on the
// symbol lists, complete once everything is read; the mission segment holds the part starts, so
// its room is reserved, the parts are laid out behind it, and then it is filled. The instructions
// are written last, when every label's offset is known.
#include "vornak/core/pipeline.h"

#include "platform/error.h"
#include "vornak/core/scm_format.h"
#include "vornak/core/scm_writer.h"

namespace vornak {
namespace {

void EmitParts(BuildState* state, platform::Console& console) {
  EncodeContext context = ContextFor(*state);
  for (size_t part = 0; part < state->parts.size(); ++part) {
    context.current_part = part;
    const ScriptPart& script_part = state->parts[part];
    const size_t start = state->compiled.size();
    try {
      for (const TOpCode& record : script_part.Instructions) {
        WriteTo(record, context, &state->compiled);
      }
    } catch (const platform::Error& error) {
      console.Line("  " + state->part_list[part]);
      console.Line("  " + std::string(error.what()));
      throw;
    }
    // Every part start and label offset rests on the sizes; a difference is a fault of ours.
    if (state->compiled.size() - start != static_cast<size_t>(script_part.Size)) {
      throw platform::Error("Internal error: " + state->part_list[part] +
                            " was written with another size than it was laid out with");
    }
  }
}

void CommitOutput(BuildState* state) {
  if (!state->output) return;
  if (!state->output->Write(state->compiled) || !state->output->Commit()) {
    throw platform::Error("Cannot write file " + state->output_path);
  }
}

void ReleaseRecords(BuildState* state) {
  for (ScriptPart& part : state->parts) {
    part.Instructions = {};
    part.param_bytes = {};
    part.labels = {};
    part.label_offsets = {};
  }
}

}  // namespace

EncodeContext ContextFor(const BuildState& state) {
  EncodeContext context;
  context.opcodes = &state.opcodes;
  context.models = &state.models;
  context.symbols = &state.symbols;
  context.parts = &state.parts;
  context.mission_numbers = &state.mission_numbers;
  context.code_start = state.code_start;
  return context;
}

void LayOutParts(BuildState* state) {
  EncodeContext context = ContextFor(*state);
  int64_t part_start = state->code_start;
  for (size_t index = 0; index < state->parts.size(); ++index) {
    ScriptPart& part = state->parts[index];
    context.current_part = index;
    state->instruction_total += static_cast<int64_t>(part.Instructions.size());

    int64_t offset = 0;
    size_t label = 0;
    for (size_t record = 0; record < part.Instructions.size(); ++record) {
      while (label < part.labels.size() &&
             static_cast<size_t>(part.labels[label].Position) == record) {
        part.labels[label++].Position = static_cast<int32_t>(offset);
      }
      offset += EncodedSize(part.Instructions[record], context);
      if (part_start + offset > kMaxFileSize) {
        throw platform::Error(
            "The compiled file would be larger than its 32-bit offsets can address");
      }
    }
    for (; label < part.labels.size(); ++label) {
      part.labels[label].Position = static_cast<int32_t>(offset);
    }
    for (const LabelEntry& entry : part.labels) {
      part.label_offsets.try_emplace(entry.Name, entry.Position);
    }
    part.Start = static_cast<int32_t>(part_start);
    part.Size = static_cast<int32_t>(offset);
    part_start += offset;
  }
}

bool CompileProject(BuildState* state, const SourceOpener& sources, platform::Console& console) {
  state->instruction_total = 0;
  state->parts.clear();
  state->parts.resize(state->part_list.size());
  ReadAllParts(state, sources, console);
  state->mission_numbers =
      MissionNumbers(state->symbols.mission_names, state->part_list, state->mission_folder);

  std::string& image = state->compiled;
  image.clear();
  WriteVariableSegment(state->symbols.variables.size(), &image);
  const auto mission_segment = WriteObjectSegment(state->symbols.local_objects, &image);
  state->code_start = ReserveMissionSegment(state->parts.size() - 1, &image);
  LayOutParts(state);
  WriteMissionSegment(mission_segment, state->code_start, state->parts, &image);

  const ScriptPart& last = state->parts.back();
  image.reserve(static_cast<size_t>(last.Start) + last.Size);
  EmitParts(state, console);
  CommitOutput(state);
  ReleaseRecords(state);
  return true;
}

}  // namespace vornak
