// Micro-benchmarks of the inner pieces of both tools, on one generated project held in memory:
// line reading, parameter scanning (instruction construction), collation, encoding (sizing and
// writing records) and decoding (one instruction at a time, and whole parts walked or written).
//
//   micro_bench [--benchmark_filter=REGEX]
//
// Figures are per byte of source (reading, scanning), per name (collation), per record (encoding)
// or per byte of the compiled file (decoding).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mavren/byte_reader.h"
#include "mavren/names.h"
#include "mavren/reader.h"
#include "mavren/startup.h"
#include "mavren/writer.h"
#include "platform/collation.h"
#include "platform/console.h"
#include "platform/line_reader.h"
#include "platform/text.h"
#include "tests/project_generator.h"
#include "vornak/core/build_state.h"
#include "vornak/core/encoder.h"
#include "vornak/core/instruction.h"
#include "vornak/core/pipeline.h"
#include "vornak/core/scm_writer.h"
#include "vornak/core/statement_reader.h"

namespace {

// An instruction line taken apart as the statement reader does it.
struct InstructionLine {
  uint16_t opcode;
  bool negated;
  std::string params;
};

// The project, and what each benchmark starts from.
struct Fixture {
  generator::Project project;
  std::map<std::string, std::string> sources;  // by the path the statement reader asks for
  size_t source_bytes = 0;
  std::vector<InstructionLine> instructions;
  std::vector<std::string> names;  // the variable names of the sources, as spelled there
  std::string compiled;
};

// Nothing is printed unless a build fails, which a generated project does not.
platform::Console& QuietConsole() {
  static platform::Console console(std::fopen("/dev/null", "w"));
  return console;
}

vornak::BuildState LoadedState(const Fixture& fixture) {
  const generator::Project& project = fixture.project;
  vornak::BuildState state;
  auto text_of = [&project](const std::string& path) {
    for (const generator::TextFile& file : project.files) {
      if (file.path == path) return std::string_view(file.text);
    }
    return std::string_view();
  };
  platform::LineReader ide = platform::LineReader::FromMemory(text_of(project.ide_file));
  state.models.Load(ide);
  platform::LineReader opcodes = platform::LineReader::FromMemory(text_of(project.opcode_file));
  state.opcodes.Load(opcodes, project.opcode_file);
  state.mission_folder = project.mission_folder + "\\";
  state.part_list = {project.main_file};
  return state;
}

// Splits every instruction line of the sources into opcode, negation and parameter text.
void TakeInstructions(const vornak::BuildState& state, Fixture* fixture) {
  for (const auto& [path, text] : fixture->sources) {
    for (const std::string& raw : generator::Lines(text)) {
      const std::string_view line = platform::Trim(raw);
      if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '@') continue;
      const size_t word_end = std::min(line.find(' '), line.find('\t'));
      std::string word = platform::UpperAscii(line.substr(0, word_end));
      const bool negated = word[0] == '!';
      if (negated) word.erase(0, 1);
      std::optional<uint16_t> opcode = state.opcodes.Find(word);
      if (!opcode) opcode = static_cast<uint16_t>(*vornak::ParseHexDigits(word) & 0x7FFF);
      const std::string_view params = word_end == line.npos ? "" : line.substr(word_end);
      fixture->instructions.push_back({*opcode, negated, std::string(params)});
      for (size_t at = params.find('$'); at != params.npos; at = params.find('$', at + 1)) {
        const size_t end = params.find_first_of(",;!$%@", at + 1);
        fixture->names.emplace_back(platform::Trim(params.substr(at, end - at)));
      }
    }
  }
}

const Fixture& GetFixture() {
  static const Fixture* fixture = [] {
    auto* made = new Fixture;
    generator::Options options;
    options.seed = 20261211;
    options.missions = 40;
    options.instructions_per_part = 600;
    options.variables = 2000;
    options.local_objects = 200;
    options.models = 60;
    made->project = generator::Generate(options);
    for (const generator::TextFile& file : made->project.files) {
      if (!file.path.ends_with(".gsr")) continue;
      std::string path = file.path;
      std::replace(path.begin(), path.end(), '/', '\\');
      made->sources[path] = file.text;
      made->source_bytes += file.text.size();
    }
    vornak::BuildState state = LoadedState(*made);
    TakeInstructions(state, made);
    vornak::CompileProject(&state, vornak::MemorySources(&made->sources), QuietConsole());
    made->compiled = state.compiled;
    return made;
  }();
  return *fixture;
}

void BM_LineReading(benchmark::State& bench) {
  const Fixture& fixture = GetFixture();
  for (auto _ : bench) {
    size_t lines = 0;
    for (const auto& [path, text] : fixture.sources) {
      platform::LineReader reader = platform::LineReader::FromMemory(text);
      for (std::string_view line; reader.Next(&line);) ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  bench.SetBytesProcessed(bench.iterations() * fixture.source_bytes);
}
BENCHMARK(BM_LineReading);

void BM_ParameterScanning(benchmark::State& bench) {
  const Fixture& fixture = GetFixture();
  vornak::BuildState state = LoadedState(fixture);
  vornak::InstructionBuilder builder(state.opcodes, state.models, &state.symbols);
  size_t bytes = 0;
  for (const InstructionLine& line : fixture.instructions) bytes += line.params.size();
  for (auto _ : bench) {
    for (const InstructionLine& line : fixture.instructions) {
      benchmark::DoNotOptimize(builder.Construct(line.opcode, line.params, line.negated));
    }
  }
  bench.SetBytesProcessed(bench.iterations() * bytes);
  bench.SetItemsProcessed(bench.iterations() * fixture.instructions.size());
}
BENCHMARK(BM_ParameterScanning);

void BM_CompareNames(benchmark::State& bench) {
  const std::vector<std::string>& names = GetFixture().names;
  for (auto _ : bench) {
    int order = 0;
    for (size_t i = 1; i < names.size(); ++i)
      order += platform::CompareNames(names[i - 1], names[i]);
    benchmark::DoNotOptimize(order);
  }
  bench.SetItemsProcessed(bench.iterations() * (names.size() - 1));
}
BENCHMARK(BM_CompareNames);

void BM_SortKey(benchmark::State& bench) {
  const std::vector<std::string>& names = GetFixture().names;
  std::string key;
  for (auto _ : bench) {
    for (const std::string& name : names) {
      key.clear();
      platform::AppendSortKey(name, &key);
      benchmark::DoNotOptimize(key.data());
    }
  }
  bench.SetItemsProcessed(bench.iterations() * names.size());
}
BENCHMARK(BM_SortKey);

// A project read and laid out, ready to be sized and written record by record.
struct LaidOut {
  explicit LaidOut(const Fixture& fixture) : state(LoadedState(fixture)) {
    vornak::ReadAllParts(&state, vornak::MemorySources(&fixture.sources), QuietConsole());
    state.mission_numbers =
        vornak::MissionNumbers(state.symbols.mission_names, state.part_list, state.mission_folder);
    vornak::WriteVariableSegment(state.symbols.variables.size(), &state.compiled);
    vornak::WriteObjectSegment(state.symbols.local_objects, &state.compiled);
    state.code_start = vornak::ReserveMissionSegment(state.parts.size() - 1, &state.compiled);
    vornak::LayOutParts(&state);
  }

  // Calls |visit|(record, context) for every record of every part.
  template <typename Visit>
  void ForEachRecord(Visit&& visit) {
    vornak::EncodeContext context = vornak::ContextFor(state);
    for (size_t part = 0; part < state.parts.size(); ++part) {
      context.current_part = part;
      vornak::RecordReader records(state.parts[part].records);
      for (vornak::TOpCode record; records.Next(&record);) visit(record, context);
    }
  }

  vornak::BuildState state;
};

void BM_Sizing(benchmark::State& bench) {
  LaidOut laid_out(GetFixture());
  for (auto _ : bench) {
    int64_t size = 0;
    laid_out.ForEachRecord(
        [&size](const vornak::TOpCode& record, const vornak::EncodeContext& context) {
          size += vornak::EncodedSize(record, context);
        });
    benchmark::DoNotOptimize(size);
  }
  bench.SetItemsProcessed(bench.iterations() * laid_out.state.instruction_total);
}
BENCHMARK(BM_Sizing);

void BM_Writing(benchmark::State& bench) {
  LaidOut laid_out(GetFixture());
  std::string room(GetFixture().compiled.size(), '\0');
  vornak::EncodeContext context = vornak::ContextFor(laid_out.state);
  for (auto _ : bench) {
    char* at = room.data();
    for (size_t part = 0; part < laid_out.state.parts.size(); ++part) {
      context.current_part = part;
      at = vornak::WriteRecords(context, at, room.data() + room.size());
    }
    benchmark::DoNotOptimize(at);
  }
  bench.SetItemsProcessed(bench.iterations() * laid_out.state.instruction_total);
}
BENCHMARK(BM_Writing);

mavren::NameTables DisassemblerNames() {
  const generator::Project& project = GetFixture().project;
  return mavren::LoadNameTables(project.files[0].text, project.opcode_file);
}

std::span<const uint8_t> CompiledBytes() {
  const std::string& compiled = GetFixture().compiled;
  return {reinterpret_cast<const uint8_t*>(compiled.data()), compiled.size()};
}

void BM_DecodeInstruction(benchmark::State& bench) {
  const mavren::NameTables names = DisassemblerNames();
  mavren::ByteReader reader(CompiledBytes(), "bench.scm");
  const mavren::ScriptLayout layout = mavren::WalkHeader(reader);
  auto instruction = std::make_unique<mavren::DecodedInstruction>();
  int64_t decoded = 0;
  for (auto _ : bench) {
    for (int part = 0; part <= layout.mission_count(); ++part) {
      mavren::WalkPart(reader, layout, part, [&] {
        mavren::DecodeInstruction(reader, names.opcodes, layout, part, instruction.get());
        ++decoded;
      });
    }
  }
  bench.SetItemsProcessed(decoded);
  bench.SetBytesProcessed(bench.iterations() * CompiledBytes().size());
}
BENCHMARK(BM_DecodeInstruction);

// Keeps nothing but the amount of text.
class CountingSink : public mavren::PartSink {
 public:
  void Start(int64_t) override {}
  void BeginPart(const std::string&) override {}
  void Write(std::string_view text) override { bytes_ += text.size(); }
  void EndPart(int64_t) override {}
  int64_t bytes() const { return bytes_; }

 private:
  int64_t bytes_ = 0;
};

void BM_Disassemble(benchmark::State& bench) {
  const mavren::NameTables names = DisassemblerNames();
  mavren::DisSettings settings;
  settings.pad_variables = 1;
  CountingSink sink;
  for (auto _ : bench) mavren::Disassemble(CompiledBytes(), "bench.scm", settings, names, sink);
  bench.SetBytesProcessed(sink.bytes());
}
BENCHMARK(BM_Disassemble);

}  // namespace

BENCHMARK_MAIN();
