// Reading a line takes a number and a name from wherever the pattern "NUMBER, NAME" fits; nothing
// of the file's sections is understood and no line is ever rejected. A line that fits badly gives
// an entry with an empty number or name, which only matters if a source uses it.
#include "vornak/model_catalogue.h"

#include "platform/collation.h"
#include "platform/number_text.h"
#include "platform/text.h"

namespace vornak {
namespace {

bool IsIdeBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

// The longest run of identifier characters at |*pos|; |*pos| moves past it.
std::string_view ReadIdentifier(std::string_view line, size_t* pos) {
  const size_t start = *pos;
  while (*pos < line.size() && platform::IsIdentifierChar(line[*pos])) ++*pos;
  return line.substr(start, *pos - start);
}

void SkipBlanks(std::string_view line, size_t* pos) {
  while (*pos < line.size() && IsIdeBlank(line[*pos])) ++*pos;
}

}  // namespace

void ModelCatalogue::Load(const std::string& path) {
  platform::LineReader lines = platform::LineReader::Open(path);
  Load(lines);
}

void ModelCatalogue::Load(platform::LineReader& lines) {
  std::string_view line;
  while (lines.Next(&line)) AddLine(line);
}

void ModelCatalogue::AddLine(std::string_view line) {
  if (line.empty() || line[0] == '#' || line.find(',') == line.npos) return;
  size_t pos = 0;
  SkipBlanks(line, &pos);
  // A name may not start on the last character: a line must hold more than a number.
  if (pos + 1 >= line.size()) return;
  const std::string_view number = ReadIdentifier(line, &pos);
  while (pos < line.size() && line[pos] == ',') ++pos;
  if (pos + 1 >= line.size()) return;
  SkipBlanks(line, &pos);
  const std::string_view name = ReadIdentifier(line, &pos);

  Model model{platform::UpperAscii("%" + std::string(name)), platform::UpperAscii(number), {}};
  const std::string entry = model.name + "=" + model.number;
  if (!entry_keys_.insert(platform::SortKey(entry)).second) return;
  model.value = platform::ParseInteger(model.number);

  const auto index = static_cast<uint32_t>(models_.size());
  auto [first, is_new] = first_by_name_.try_emplace(platform::SortKey(model.name), index);
  if (!is_new) {
    const Model& held = models_[first->second];
    if (platform::CompareNames(entry, held.name + "=" + held.number) < 0) first->second = index;
  }
  models_.push_back(std::move(model));
}

std::optional<uint32_t> ModelCatalogue::Find(std::string_view name) const {
  if (auto found = first_by_name_.find(platform::SortKey(name)); found != first_by_name_.end()) {
    return found->second;
  }
  return std::nullopt;
}

}  // namespace vornak
