// The benchmark of both tools as a user runs them: generated projects are written to a work
// folder, the real executables run on them several times, and the driver prints the median wall
// time, the throughput, the peak resident memory and how time grows with the input, then checks
// each figure against its target.
//
//   bench_driver --tools BUILD_DIR [--work DIR] [--quick] [--keep]
//
// --quick runs each tool fewer times; --keep leaves the generated projects in the work folder,
// ready for a profiler.
//
// Sizes: the full-size script is as large as the disassembler's limits allow (99 missions, 4999
// global variables, 256 local objects, about 650 000 bytes compiled); the stress project holds at
// least 50 MB of source for the assembler alone, run at 1x, 2x and 4x.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/project_generator.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {

struct Measure {
  double median_ms = 0;
  double peak_mb = 0;
  bool ok = true;
};

// Runs |program| in |cwd| |runs| times; the median wall time and the largest peak memory. The
// program is started with posix_spawn, which shares the driver's memory until the exec instead of
// copying its page tables: a fork of the driver, which holds the generated projects, would take
// longer than a small run of the tool it starts.
Measure RunTimed(const fs::path& program, const std::vector<std::string>& args, const fs::path& cwd,
                 int runs) {
  std::vector<std::string> text = args;
  text.insert(text.begin(), program.string());
  std::vector<char*> argv;
  for (std::string& a : text) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

  Measure measure;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      measure.ok = false;
      continue;
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    measure.peak_mb = std::max(measure.peak_mb, usage.ru_maxrss / 1024.0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) measure.ok = false;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (times.empty()) return measure;
  std::sort(times.begin(), times.end());
  measure.median_ms = times[times.size() / 2];
  return measure;
}

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

size_t FolderBytes(const fs::path& folder) {
  size_t total = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return total;
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "bench_driver: %s\n", message.c_str());
  std::exit(1);
}

// A tool folder with both executables, their configuration and one generated project.
struct Bench {
  fs::path folder;
  size_t source_bytes = 0;  // of the project's source files
};

void WriteProject(const generator::Project& p, const fs::path& folder) {
  for (const generator::TextFile& file : p.files) WriteText(folder / file.path, file.text);
  WriteText(folder / "scm_asm.ini", p.files[0].text);
  WriteText(folder / "vornak.ini",
            "[paths]\r\nop=" + p.opcode_file + "\r\nide=" + p.ide_file + "\r\n");
  WriteText(folder / "project.ini",
            "[script]\r\nmain_thread=" + p.main_file +
                "\r\noutput=out.scm\r\nmission_dir=" + p.mission_folder + "\r\n");
  WriteText(folder / "mavren.ini",
            "[settings]\r\ninputfile=*out.scm\r\noutputdir=*dis/\r\npadvariables=1\r\n");
}

// The project is generated and written by a child process of its own. A tool started by the
// driver is counted, until its start, in the driver's memory, and the peak memory the system
// reports for it includes that: the driver must not hold the project.
Bench Prepare(const fs::path& work, const std::string& name, const generator::Options& options,
              const fs::path& build) {
  Bench bench{work / name};
  fs::remove_all(bench.folder);
  fs::create_directories(bench.folder / "dis");
  for (const char* tool : {"vornak", "mavren"}) {
    fs::copy_file(build / tool / tool, bench.folder / tool, fs::copy_options::overwrite_existing);
  }
  int channel[2];
  if (pipe(channel) != 0) Fail("cannot generate " + name);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(channel[0]);
    const generator::Project project = generator::Generate(options);
    WriteProject(project, bench.folder);
    const bool sent = write(channel[1], &project.source_bytes, sizeof project.source_bytes) ==
                      static_cast<ssize_t>(sizeof project.source_bytes);
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  if (pid > 0 && read(channel[0], &bench.source_bytes, sizeof bench.source_bytes) !=
                     static_cast<ssize_t>(sizeof bench.source_bytes)) {
    bench.source_bytes = 0;
  }
  close(channel[0]);
  if (pid > 0) waitpid(pid, nullptr, 0);
  if (bench.source_bytes == 0) Fail("cannot generate " + name);
  // The files go to disk now, not while the tools are timed.
  sync();
  return bench;
}

struct Row {
  std::string tool;
  std::string input;
  double mb = 0;  // source read (vornak) or text written (mavren)
  Measure measure;
};

void PrintRow(const Row& row, const Row* previous) {
  std::printf("%-7s %-22s %9.2f MB %9.2f ms %8.1f MB/s %8.1f MB peak", row.tool.c_str(),
              row.input.c_str(), row.mb, row.measure.median_ms,
              row.mb / (row.measure.median_ms / 1000.0), row.measure.peak_mb);
  if (previous) {
    std::printf("   time x%.2f for input x%.2f",
                row.measure.median_ms / previous->measure.median_ms, row.mb / previous->mb);
  }
  std::printf("%s\n", row.measure.ok ? "" : "   (FAILED RUN)");
}

int failures = 0;

void Check(bool ok, const char* what, double value, const char* unit, double limit) {
  std::printf("  %-4s %-52s %10.2f %-5s (target %.2f)\n", ok ? "ok" : "MISS", what, value, unit,
              limit);
  if (!ok) ++failures;
}

generator::Options FullSize(int missions, int variables, int objects) {
  generator::Options options;
  options.seed = 20261211;
  options.missions = missions;
  options.instructions_per_part = 645;
  options.variables = variables;
  options.local_objects = objects;
  options.models = 60;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path build = "build";
  fs::path work = fs::temp_directory_path() / "scm-bench";
  bool quick = false;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--tools" && i + 1 < argc)
      build = argv[++i];
    else if (arg == "--work" && i + 1 < argc)
      work = argv[++i];
    else if (arg == "--quick")
      quick = true;
    else if (arg == "--keep")
      keep = true;
  }
  build = fs::absolute(build);
  const int small_runs = quick ? 3 : 15;
  const int large_runs = quick ? 1 : 5;

  std::printf("mavren and vornak on the full-size script and its quarter and half\n");
  std::vector<Row> mavren_rows;
  Row full_vornak;
  const int scales[][3] = {{24, 1250, 64}, {49, 2500, 128}, {99, 4999, 256}};
  const char* names[] = {"quarter script", "half script", "full-size script"};
  for (int s = 0; s < 3; ++s) {
    Bench bench =
        Prepare(work, names[s], FullSize(scales[s][0], scales[s][1], scales[s][2]), build);
    Row vornak{"vornak", names[s], bench.source_bytes / 1e6,
               RunTimed(bench.folder / "vornak", {"project.ini"}, bench.folder, small_runs)};
    size_t compiled = fs::file_size(bench.folder / "out.scm");
    Row mavren{"mavren", names[s], 0,
               RunTimed(bench.folder / "mavren", {}, bench.folder, small_runs)};
    mavren.mb = FolderBytes(bench.folder / "dis") / 1e6;
    std::printf("%s: %zu bytes compiled\n", names[s], compiled);
    PrintRow(vornak, nullptr);
    PrintRow(mavren, mavren_rows.empty() ? nullptr : &mavren_rows.back());
    mavren_rows.push_back(mavren);
    if (s == 2) {
      full_vornak = vornak;
      if (compiled > 700000) {
        std::printf("  MISS the full-size script is above 700000 bytes\n");
        ++failures;
      }
    }
  }

  std::printf("\nvornak on the stress project at 1x, 2x and 4x\n");
  std::vector<Row> vornak_rows;
  for (int factor : {1, 2, 4}) {
    generator::Options options;
    options.seed = 7;
    options.missions = 99 * factor;
    options.instructions_per_part = 17500;
    options.variables = 12000;
    options.local_objects = 600;
    options.models = 200;
    std::string name = "stress x" + std::to_string(factor);
    Bench bench = Prepare(work, name, options, build);
    Row row{"vornak", name, bench.source_bytes / 1e6,
            RunTimed(bench.folder / "vornak", {"project.ini"}, bench.folder, large_runs)};
    PrintRow(row, vornak_rows.empty() ? nullptr : &vornak_rows.back());
    vornak_rows.push_back(row);
    if (!keep) fs::remove_all(bench.folder);
  }

  std::printf("\ntargets\n");
  const Row& stress = vornak_rows[0];
  Check(stress.mb >= 50, "stress project source", stress.mb, "MB", 50);
  Check(stress.mb / (stress.measure.median_ms / 1000) >= 150,
        "vornak throughput on the stress project", stress.mb / (stress.measure.median_ms / 1000),
        "MB/s", 150);
  const Row& full = mavren_rows[2];
  Check(full.mb / (full.measure.median_ms / 1000) >= 150,
        "mavren text written on the full-size script", full.mb / (full.measure.median_ms / 1000),
        "MB/s", 150);
  Check(full_vornak.measure.median_ms < 25, "vornak on the full-size script",
        full_vornak.measure.median_ms, "ms", 25);
  Check(full.measure.median_ms < 30, "mavren on the full-size script", full.measure.median_ms, "ms",
        30);
  for (size_t i = 1; i < vornak_rows.size(); ++i) {
    double ratio = vornak_rows[i].measure.median_ms / vornak_rows[i - 1].measure.median_ms;
    Check(ratio <= 2.2, "vornak time for twice the input", ratio, "x", 2.2);
  }
  for (size_t i = 1; i < mavren_rows.size(); ++i) {
    double ratio = mavren_rows[i].measure.median_ms / mavren_rows[i - 1].measure.median_ms;
    Check(ratio <= 2.2, "mavren time for twice the input", ratio, "x", 2.2);
  }
  for (const Row& row : vornak_rows) {
    double limit = 6 * row.mb + 16;
    Check(row.measure.peak_mb <= limit, ("vornak peak memory, " + row.input).c_str(),
          row.measure.peak_mb, "MB", limit);
  }
  Check(full.measure.peak_mb <= 48, "mavren peak memory, full-size script", full.measure.peak_mb,
        "MB", 48);
  if (!keep) fs::remove_all(work);
  std::printf("\n%s\n", failures == 0 ? "all targets met" : "some targets missed");
  return failures == 0 ? 0 : 1;
}
