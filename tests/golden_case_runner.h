// Runs a golden case: a fresh temporary folder, the real executables copied into it (they find
// their configuration beside themselves), the case's files written, its commands run in order and
// their results compared with the case's expectations.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/golden_case.h"

namespace golden {

// Tool name ("vornak", "mavren") to the executable to copy.
using ToolPaths = std::map<std::string, std::filesystem::path>;

// Runs |file| and returns the mismatches found (empty when the case passes). With |rebase| the
// expectations of |file| are replaced by what happened instead of being compared.
std::vector<std::string> RunCase(CaseFile* file, const ToolPaths& tools, bool rebase);

}  // namespace golden
