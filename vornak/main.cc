// vornak PROJECT: assembles the mission sources of a project into one compiled script file.
// vornak --help and vornak --version answer without building.
#include "platform/paths.h"
#include "vornak/driver.h"

int main(int argc, char** argv) {
  vornak::DriverOptions options;
  options.program_path = platform::ProgramPath();
  options.arguments.assign(argv + 1, argv + argc);
  return vornak::RunAssembler(options);
}
