// The one failure type of both tools: a finished message, worded where the fault was found.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace platform
