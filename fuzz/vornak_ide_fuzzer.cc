// The assembler's reading of the game's object definition file on arbitrary text: every line is
// either skipped or gives an entry, and every entry's name finds a model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/error.h"
#include "platform/line_reader.h"
#include "vornak/model_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::LineReader lines =
      platform::LineReader::FromMemory({reinterpret_cast<const char*>(data), size});
  vornak::ModelCatalogue catalogue;
  try {
    catalogue.Load(lines);
  } catch (const platform::Error&) {
    return 0;
  }
  for (const vornak::ModelCatalogue::Model& model : catalogue.models()) {
    if (!catalogue.Find(model.name)) std::abort();
  }
  return 0;
}
