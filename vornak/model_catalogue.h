// The models of the game's object definition (IDE) file: every line that begins with a model
// number and a name ("1200, CRATE_A, crates, 80, 0") gives the entry "%CRATE_A=1200". Source
// text names an object as "%" and a name; a name found here is encoded as the model's number,
// any other becomes a local object of the script.
//
// Entries are compared as the assembler's sorted lists compare (collation ignoring case); an
// entry equal to one already present is dropped. When one name has several numbers, the entry
// whose whole text sorts first is the one found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/line_reader.h"

namespace vornak {

class ModelCatalogue {
 public:
  struct Model {
    std::string name;              // "%" and the model name, upper case
    std::string number;            // the number as the file spells it, upper case
    std::optional<int32_t> value;  // the number converted, when it is an integer
  };

  // Reads the IDE file at |path| (a stored path); throws platform::Error when it cannot be read.
  void Load(const std::string& path);
  void Load(platform::LineReader& lines);
  // Adds the entry of one IDE line, when the line is a data line.
  void AddLine(std::string_view line);

  // The model whose name ("%" and the name) equals |name| under the collation.
  std::optional<uint32_t> Find(std::string_view name) const;
  const Model& model(uint32_t index) const { return models_[index]; }
  // Every distinct entry, in order of addition.
  const std::vector<Model>& models() const { return models_; }

 private:
  std::vector<Model> models_;
  std::unordered_set<std::string> entry_keys_;               // sort keys of whole entries
  std::unordered_map<std::string, uint32_t> first_by_name_;  // sort key of a name: first entry
};

}  // namespace vornak
