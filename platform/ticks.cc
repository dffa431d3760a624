// The tick counter reads the monotonic clock, so a change of the wall-clock time does not disturb a
// measurement.
#include "platform/ticks.h"

#include <chrono>
#include <cstdint>

namespace platform {

uint32_t TickCount() {
  auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

}  // namespace platform
