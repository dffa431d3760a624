// A millisecond tick counter that wraps at 32 bits, for timing a phase of a run.
#pragma once

#include <cstdint>

namespace platform {

uint32_t TickCount();

// Milliseconds from |start| to |end| as an unsigned 32-bit difference, so one wrap is harmless.
inline uint32_t TicksBetween(uint32_t start, uint32_t end) { return end - start; }

}  // namespace platform
