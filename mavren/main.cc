// mavren: takes a compiled script apart into one source file per script part. It takes no
// arguments; "mavren.ini" beside the executable says what to read and where to write. Exit status
// 0 after a complete run, 1 after a stop, whose reason goes to standard error.
#include <cstdio>
#include <new>

#include "mavren/startup.h"
#include "platform/error.h"

int main() {
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
