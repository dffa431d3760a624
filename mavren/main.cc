// mavren: takes a compiled script apart into one source file per script part. "mavren.ini" beside
// the executable says what to read and where to write; apart from --help and --version the
// arguments are ignored. Exit status 0 after a complete run, 1 after a stop, whose reason goes to
// standard error.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>

#include "mavren/startup.h"
#include "platform/error.h"
#include "platform/paths.h"

namespace {

void PrintUsage() {
  const std::string folder = platform::ProgramFolder();
  std::printf(
      "Usage: mavren [--help | --version]\n"
      "\n"
      "Takes a compiled mission script apart into one source file (.gsr) per script part,\n"
      "in the language vornak reads back.\n"
      "\n"
      "Everything mavren reads lies in its own folder (%s):\n"
      "  mavren.ini    section [settings]: inputfile (the compiled file; \"*\" stands for\n"
      "                this folder), outputdir (prefix of every output file, e.g. *out/),\n"
      "                nameopcodes, namevariables, namelabels, defaultindent,\n"
      "                ifblockindent, pardistance, padvariables\n"
      "  scm_asm.ini   the opcode definitions, with optional [variables] and [labels]\n"
      "\n"
      "Progress goes to standard error; standard output stays empty.\n"
      "Exit status: 0 when every part was written, 1 after an error, which is reported on\n"
      "standard error as \"mavren: error: ...\".\n",
      folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view option = argc > 1 ? argv[1] : "";
  if (option == "--help") {
    PrintUsage();
    return 0;
  }
  if (option == "--version") {
    std::puts("mavren 1.0");
    return 0;
  }
  try {
    mavren::RunMavren();
    return 0;
  } catch (const platform::Error& error) {
    std::fprintf(stderr, "mavren: error: %s\n", error.what());
  } catch (const std::bad_alloc&) {
    std::fputs("mavren: error: out of memory\n", stderr);
  }
  return 1;
}
