// The round trip: a generated project is assembled, the compiled file disassembled with the same
// opcode definitions, and the disassembled sources assembled again; the two compiled files must
// be identical byte for byte. Each seed gives a different project and different writer settings.
// ROUNDTRIP_SEEDS=N runs N further seeds in the test ManySeeds (see HACKING.md).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/golden_case_runner.h"
#include "tests/project_generator.h"

namespace {

using golden::CaseFile;
using golden::Directive;

void AddFile(CaseFile* file, const std::string& path, std::vector<std::string> lines) {
  file->directives.push_back({"FILE", path, std::move(lines)});
}

// The case that runs the round trip for the project of |options|, disassembled with the writer
// settings |layout| in addition to the ones the round trip needs.
CaseFile RoundTripCase(const generator::Options& options, const std::vector<std::string>& layout) {
  generator::Project project = generator::Generate(options);

  CaseFile file;
  for (const generator::TextFile& source : project.files) {
    AddFile(&file, source.path, generator::Lines(source.text));
  }
  const std::string opcodes = project.files[0].text;
  AddFile(&file, "scm_asm.ini", generator::Lines(opcodes));
  AddFile(&file, "vornak.ini", {"[paths]", "op=" + project.opcode_file, "ide=" + project.ide_file});
  AddFile(&file, "project.ini",
          {"[script]", "main_thread=" + project.main_file, "output=out.scm",
           "mission_dir=" + project.mission_folder});
  std::vector<std::string> settings = {"[settings]", "inputfile=*out.scm", "outputdir=*dis/",
                                        "padvariables=1"};
  settings.insert(settings.end(), layout.begin(), layout.end());
  AddFile(&file, "mavren.ini", settings);
  AddFile(&file, "again.ini",
          {"[script]", "main_thread=dis/" + project.main_part_name + ".gsr", "output=again.scm",
           "mission_dir=dis"});
  file.directives.push_back({"FOLDER", project.mission_folder, {}});
  file.directives.push_back({"FOLDER", "dis", {}});
  file.directives.push_back({"RUN", "vornak project.ini", {}});
  file.directives.push_back({"RUN", "mavren", {}});
  file.directives.push_back({"RUN", "vornak again.ini", {}});
  file.directives.push_back({"SAME", "out.scm again.scm", {}});
  return file;
}

void ExpectRoundTrip(CaseFile file, uint64_t seed) {
  std::vector<std::string> failures =
      golden::RunCase(&file, {{"vornak", VORNAK_PATH}, {"mavren", MAVREN_PATH}}, false);
  std::string report;
  for (const std::string& failure : failures) report += failure + "\n";
  EXPECT_TRUE(failures.empty()) << "seed " << seed << "\n" << report;
}

// A project of its own for |seed|, with writer settings of its own.
void ExpectRoundTrip(uint64_t seed) {
  std::mt19937_64 rng(seed * 7919);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  generator::Options options;
  options.seed = seed;
  options.missions = pick(0, 12);
  options.instructions_per_part = pick(2, 80);
  options.variables = pick(0, 40);
  options.local_objects = pick(0, 12);
  options.models = pick(0, 8);
  ExpectRoundTrip(RoundTripCase(options, {"nameopcodes=" + std::to_string(pick(0, 1)),
                                          "defaultindent=" + std::to_string(pick(0, 8)),
                                          "ifblockindent=" + std::to_string(pick(0, 4)),
                                          "pardistance=" + std::to_string(pick(0, 40))}),
                  seed);
}

class RoundTrip : public testing::TestWithParam<uint64_t> {};

TEST_P(RoundTrip, ReassemblesToTheSameBytes) { ExpectRoundTrip(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, testing::Range<uint64_t>(1, 61));

// As many missions, global variables and local objects as the reader takes, so that the highest
// variable offsets and the lowest object numbers are read back too.
TEST(RoundTripLimits, ReassemblesAFileAtTheReadersLimits) {
  generator::Options options;
  options.seed = 4999;
  options.missions = 99;
  options.instructions_per_part = 40;
  options.variables = 4999;
  options.local_objects = 256;
  options.models = 20;
  ExpectRoundTrip(RoundTripCase(options, {}), options.seed);
}

TEST(RoundTripLong, ManySeeds) {
  const char* count = std::getenv("ROUNDTRIP_SEEDS");
  if (!count) GTEST_SKIP() << "set ROUNDTRIP_SEEDS to run more seeds";
  const uint64_t first = 1000;
  for (uint64_t seed = first; seed < first + std::strtoull(count, nullptr, 10); ++seed) {
    ExpectRoundTrip(seed);
    if (HasFailure()) break;
  }
}

}  // namespace
