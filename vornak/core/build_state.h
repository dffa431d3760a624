// Everything one build holds, from initialisation to release: the tables read at start-up, the
// project's paths and output, the script parts and symbols the reader fills, and what the
// pipeline computes. It is passed explicitly to every stage; nothing of a build is global.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/arena.h"
#include "platform/replacing_file.h"
#include "vornak/core/instruction.h"
#include "vornak/core/opcode_table.h"
#include "vornak/core/record_store.h"
#include "vornak/core/script_part.h"
#include "vornak/model_catalogue.h"

namespace vornak {

struct BuildState {
  // Memory of the symbol and label tables, which live as long as the build. Held by pointer, so
  // that the tables' hold on it survives a move of the state; it comes first, because the
  // symbols take it when they are made.
  std::unique_ptr<platform::Arena> tables = std::make_unique<platform::Arena>();

  OpcodeTable opcodes;
  ModelCatalogue models;
  std::string mission_folder;  // as the project gives it, ending in "\"
  // PartList: entry 0 the main source file as the project names it, then one entry per MISSION
  // directive met: the mission folder, the name and ".gsr".
  std::vector<std::string> part_list;
  std::string output_path;                        // trimmed
  std::optional<platform::ReplacingFile> output;  // committed by a successful build only

  Symbols symbols = Symbols(tables.get());
  std::vector<ScriptPart> parts;  // one per PartList entry
  // The parts' records; held by pointer, so that the parts' views of them survive a move of the
  // state.
  std::unique_ptr<RecordStore> records = std::make_unique<RecordStore>();

  std::vector<int32_t> mission_numbers;  // by mission name id; -1 when the name is no mission
  int32_t code_start = 0;                // offset of the main part's first instruction
  int64_t instruction_total = 0;         // instructions in all parts
  // The header while the build writes it; after a build without an output file (tests), the
  // whole compiled file.
  std::string compiled;
};

}  // namespace vornak
