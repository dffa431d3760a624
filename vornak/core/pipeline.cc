// The order is fixed by the file's header: the variable and object segments depend only on the
// symbol lists, complete once everything is read; the mission segment holds the part starts, so
// its room is reserved, the parts are laid out behind it, and then it is filled. The instructions
// are written last, when every label's offset is known.
#include "vornak/core/pipeline.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "platform/mapped_buffer.h"
#include "vornak/core/scm_format.h"
#include "vornak/core/scm_writer.h"

namespace vornak {
namespace {

// The compiled file goes out through one block of mapped memory (see platform/mapped_buffer.h),
// large enough for the header and for any one part: parts are written into it one after another,
// and it is handed to the output file, or for a build without one appended to state->compiled,
// whenever the next part would not fit. Reusing the block keeps the memory a large file needs
// small, and fresh memory is what costs: every new page must be cleared before it is used.
class ImageSink {
 public:
  static constexpr size_t kBlockSize = size_t{2} << 20;

  ImageSink(BuildState* state, size_t largest_piece) : state_(*state) {
    block_.Reserve(std::max(kBlockSize, largest_piece));
  }

  // Room for |size| bytes, behind those asked for before.
  char* Room(size_t size) {
    if (block_.capacity() - used_ < size) Flush();
    char* const at = block_.data() + used_;
    used_ += size;
    return at;
  }

  void Flush() {
    const std::string_view bytes(block_.data(), used_);
    used_ = 0;
    if (!state_.output) {
      state_.compiled.append(bytes);
    } else if (!state_.output->Write(bytes)) {
      throw platform::Error("Cannot write file " + state_.output_path);
    }
  }

 private:
  BuildState& state_;
  platform::MappedBuffer block_;
  size_t used_ = 0;
};

// Writes the compiled file: the header built so far in state->compiled, then every part, which
// fills exactly the room that layout gave it.
void EmitParts(BuildState* state, platform::Console& console) {
  size_t largest_piece = state->compiled.size();
  for (const ScriptPart& part : state->parts) {
    largest_piece = std::max(largest_piece, static_cast<size_t>(part.Size));
  }
  ImageSink sink(state, largest_piece);
  std::memcpy(sink.Room(state->compiled.size()), state->compiled.data(), state->compiled.size());
  state->compiled.clear();
  EncodeContext context = ContextFor(*state);
  for (size_t part = 0; part < state->parts.size(); ++part) {
    context.current_part = part;
    const ScriptPart& script_part = state->parts[part];
    char* at = sink.Room(static_cast<size_t>(script_part.Size));
    const char* end = at + script_part.Size;
    try {
      at = WriteRecords(context, at, end);
    } catch (const platform::Error& error) {
      console.Line("  " + state->part_list[part]);
      console.Line("  " + std::string(error.what()));
      throw;
    }
    // Every part start and label offset rests on the sizes; a difference is a fault of ours.
    if (at != end) {
      throw platform::Error("Internal error: " + state->part_list[part] +
                            " was written shorter than it was laid out");
    }
  }
  sink.Flush();
  if (state->output && !state->output->Commit()) {
    throw platform::Error("Cannot write file " + state->output_path);
  }
}

void ReleaseRecords(BuildState* state) {
  for (ScriptPart& part : state->parts) {
    part.records = {};
    part.label_names = {};
    part.label_offsets = {};
  }
  *state->records = RecordStore();
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
    state->instruction_total += part.instruction_count;

    // The label positions never decrease, so one walk turns them all into offsets.
    LabelOffsets& labels = part.label_offsets;
    int64_t offset = 0;
    size_t label = 0;
    RecordReader records(part.records);
    TOpCode record;
    for (int32_t position = 0; records.Next(&record); ++position) {
      while (label < labels.size() && labels[label] == position) {
        labels[label++] = static_cast<int32_t>(offset);
      }
      offset += record.known_size != 0 ? record.known_size : EncodedSize(record, context);
      if (part_start + offset > kMaxFileSize) {
        throw platform::Error(
            "The compiled file would be larger than its 32-bit offsets can address");
      }
    }
    for (; label < labels.size(); ++label) labels[label] = static_cast<int32_t>(offset);
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

  EmitParts(state, console);
  ReleaseRecords(state);
  return true;
}

}  // namespace vornak
