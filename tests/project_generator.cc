// Builds a project in two steps: a plan (parts, which part names which mission, the labels of
// every part) and then the text of each part, so that a jump can name any label it may reach:
// a label of its own part (in a mission not one before the first instruction, which would be
// stored as offset 0) or a label of the main part.
#include "tests/project_generator.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string_view>

namespace generator {
namespace {

struct OpcodeEntry {
  int number;
  int count;              // -1: open list
  std::string_view name;  // empty: written as a hexadecimal number
};

constexpr OpcodeEntry kOpcodes[] = {
    {0x0001, 1, "wait_ticks"},
    {0x0002, 1, "HOP"},
    {0x0003, 2, "SET_VALUE"},
    {0x0004, 2, "Set_Real"},
    {0x0005, 3, "ADD_THREE"},
    {0x0006, 0, "NOTHING"},
    {0x0007, 4, "MOVE_BY"},
    {0x0008, 1, "SHOW_TEXT"},
    {0x0009, -1, "LIST_ALL"},
    {0x000A, -1, "pack_values"},
    {0x000B, 2, ""},
    {0x000C, 5, ""},
    {0x004D, 1, "HOP_UNLESS"},
    {0x004F, 1, "VISIT"},
    {0x0050, 1, "VISIT_UNLESS"},
    {0x00D6, 1, "CHECK_ALL"},
    {0x00D7, 1, "LEAP"},
    {0x0107, 1, "PING_OBJECT"},
    {0x0213, 3, "PLACE_OBJECT"},
    {0x0247, 2, "TINT_OBJECT"},
    {0x0248, 2, "SPIN_OBJECT"},
    {0x0249, 2, "LIFT_OBJECT"},
    {0x0298, 1, "HIDE_OBJECT"},
    {0x029B, 4, "PUSH_OBJECT"},
    {0x02CD, 2, "LEAP_AT"},
    {0x032B, 2, "TAG_OBJECT"},
    {0x0363, 6, "ORBIT_OBJECT"},
    {0x03A4, 1, "PART_NAME"},
    {0x03B6, 7, "LINK_OBJECTS"},
    {0x0417, 1, "LAUNCH_PART"},
    {0x0452, 2, "LAST_ONE"},
};

// Opcode numbers with a special meaning to the disassembler.
constexpr int kHop = 0x0002, kHopUnless = 0x004D, kCheckAll = 0x00D6, kLeapAt = 0x02CD;
// The reader names local objects -1 to -256 only; a lower number at an object position stops it.
constexpr int kMaxLocalObjects = 256;
constexpr int kPartName = 0x03A4, kLaunchPart = 0x0417, kListAll = 0x0009;
constexpr int kJumps[] = {0x0002, 0x004D, 0x004F, 0x0050, 0x00D7};
constexpr int kPlain[] = {0x0001, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x000B, 0x000C, 0x0452};
// Opcodes whose parameter at the given positions (1-based) is written as an object name.
struct ObjectOpcode {
  int number;
  int first_position;
  int last_position;
};
constexpr ObjectOpcode kObjectOpcodes[] = {
    {0x0107, 1, 1}, {0x0213, 1, 1}, {0x0247, 1, 1}, {0x0248, 1, 1}, {0x0249, 1, 1},
    {0x0298, 1, 1}, {0x029B, 1, 1}, {0x032B, 1, 1}, {0x0363, 5, 5}, {0x03B6, 5, 6}};

constexpr std::string_view kStringChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 _-.#&()*+/:<=>?[]^{}~";
constexpr int kEdgeIntegers[] = {
    0,      1,      -1,    127,    128,    -128,       -129,           255, 32767, 32768,
    -32768, -32769, 65535, 100000, -99999, 2147483647, -2147483647 - 1};

const OpcodeEntry& Entry(int number) {
  for (const OpcodeEntry& entry : kOpcodes) {
    if (entry.number == number) return entry;
  }
  return kOpcodes[0];
}

struct Label {
  std::string name;
  int before;  // index of the instruction that follows; == count for a trailing label
};

struct Part {
  std::string file_name;  // mission file name without ".gsr"; empty for the main part
  std::string part_name;  // text of PART_NAME; empty for a part without one
  std::vector<int> children;
  int instructions = 0;
  std::vector<Label> labels;
};

class Builder {
 public:
  explicit Builder(const Options& options) : options_(options), rng_(options.seed) {}

  Project Build() {
    PlanSymbols();
    PlanParts();
    Project project;
    project.opcode_file = "opcodes.ini";
    project.ide_file = "models.ide";
    project.main_file = "main.gsr";
    project.mission_folder = "missions";
    project.main_part_name = parts_[0].part_name;
    project.files.push_back({project.opcode_file, OpcodeFileText()});
    project.files.push_back({project.ide_file, IdeFileText()});
    for (size_t p = 0; p < parts_.size(); ++p) {
      std::string path =
          p == 0 ? project.main_file : project.mission_folder + "/" + parts_[p].file_name + ".gsr";
      std::string text = PartText(static_cast<int>(p));
      project.source_bytes += text.size();
      project.files.push_back({path, std::move(text)});
    }
    return project;
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Uniform(0, static_cast<int>(items.size()) - 1)];
  }

  // Letters in a random one of three cases: the assembler ignores case in every name it looks up.
  std::string RandomCase(std::string_view text) {
    std::string out(text);
    int style = Uniform(0, 2);
    for (char& c : out) {
      bool lower = style == 0 || (style == 2 && Chance(0.5));
      if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (!lower && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
  }

  void PlanSymbols() {
    static const char* kWords[] = {"timer", "score", "flag",  "count", "co-op",
                                   "coop",  "co_op", "car's", "level", "z"};
    for (int k = 0; k < options_.variables; ++k) {
      variables_.push_back(std::string(kWords[k % 10]) + std::to_string(k));
    }
    for (int k = 0; k < options_.models; ++k) {
      // Numbers on both sides of the 8-bit form.
      int number = k % 2 == 0 ? Uniform(0, 127) : Uniform(128, 30000);
      models_.push_back({"MODEL_" + std::to_string(k), number});
    }
    for (int k = 0; k < options_.local_objects; ++k) {
      local_objects_.push_back(k % 3 == 2 ? "old crate " + std::to_string(k)
                                          : "obj_" + std::to_string(k));
    }
  }

  void PlanParts() {
    static const char* kPlaces[] = {"dock", "mill", "tower", "bridge", "yard", "canal"};
    parts_.resize(options_.missions + 1);
    parts_[0].part_name = RandomCase("main");
    // Parts are read in the order the directives are met, so every part names its missions in
    // one consecutive run: the parent of each mission is at or after that of the one before.
    int parent = 0;
    for (int i = 1; i <= options_.missions; ++i) {
      parent = Uniform(parent, std::min(i - 1, parent + 2));
      if (i == 1) parent = 0;
      parts_[parent].children.push_back(i);
      Part& part = parts_[i];
      part.file_name = RandomCase(std::string(kPlaces[i % 6]) + "_" + std::to_string(i));
      if (Chance(0.06)) {
        part.part_name.clear();  // a part with no name of its own
      } else if (i > 1 && Chance(0.06)) {
        part.part_name = RandomCase(parts_[Uniform(1, i - 1)].part_name);  // a clash of names
      } else {
        part.part_name = RandomCase("p" + std::to_string(i));
      }
    }
    // The main part first sets every variable and names every local object once.
    const int coverage = 1 + options_.variables + options_.local_objects;
    for (size_t p = 0; p < parts_.size(); ++p) {
      Part& part = parts_[p];
      int spread = std::max(1, options_.instructions_per_part / 2);
      part.instructions = std::max(2, options_.instructions_per_part + Uniform(-spread, spread));
      if (p == 0) part.instructions += coverage;
      int serial = 0;
      for (int i = 0; i < part.instructions; ++i) {
        while (Chance(i == 0 ? 0.3 : 0.12)) {
          std::string name = "l";
          name += std::to_string(p) + "_" + std::to_string(serial++);
          part.labels.push_back({RandomCase(name), i});
        }
      }
      if (Chance(0.4)) part.labels.push_back({"trailing_" + std::to_string(p), part.instructions});
    }
  }

  // Labels a jump in part |p| may name: those of the main part, and in a mission its own but
  // one before its first instruction.
  std::vector<std::string> Reachable(int p) {
    std::vector<std::string> names;
    for (const Label& label : parts_[0].labels) names.push_back(label.name);
    if (p != 0) {
      for (const Label& label : parts_[p].labels) {
        if (label.before > 0) names.push_back(label.name);
      }
    }
    return names;
  }

  std::string OpcodeFileText() {
    std::string text = "; Opcode definitions of a generated project\r\n[opcodes]\r\n";
    for (const OpcodeEntry& entry : kOpcodes) {
      char line[64];
      std::snprintf(line, sizeof line, "%04X=%d,", entry.number, entry.count);
      text += line;
      text += entry.name;
      text += "\r\n";
    }
    return text;
  }

  std::string IdeFileText() {
    std::string text = "# models of a generated project\r\nobjs\r\n";
    for (const auto& [name, number] : models_) {
      text += std::to_string(number) + ", " + name + ", tex_" + name + ", 100, 0\r\n";
    }
    return text + "end\r\n";
  }

  std::string Integer() {
    if (Chance(0.5)) return std::to_string(kEdgeIntegers[Uniform(0, 16)]);
    int value = Uniform(-40000, 40000);
    if (value >= 0 && Chance(0.2)) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%X", value);
      return hex;
    }
    return std::to_string(value);
  }

  // A decimal whose value times 16 truncates to a chosen 16-bit pattern, written exactly or
  // rounded to 7 significant digits away from zero, as the disassembler writes it.
  std::string Decimal() {
    int sixteenths = Chance(0.2) ? Uniform(-32768, 32767) : Uniform(-400, 400);
    if (Chance(0.1)) sixteenths = 19745;  // 1234.0625: eight significant digits
    long scaled = std::labs(static_cast<long>(sixteenths)) * 625;  // ten-thousandths
    std::string text = sixteenths < 0 ? "-" : "";
    long whole = scaled / 10000;
    long fraction = scaled % 10000;
    bool rounded = whole >= 1000 && fraction % 10 != 0 && Chance(0.5);
    if (rounded) fraction = fraction / 10 + 1;
    if (whole != 0 || Chance(0.5)) text += std::to_string(whole);
    char digits[8];
    std::snprintf(digits, sizeof digits, rounded ? "%03ld" : "%04ld", fraction);
    std::string fraction_text = digits;
    while (fraction_text.size() > 1 && fraction_text.back() == '0') fraction_text.pop_back();
    return text + "." + fraction_text;
  }

  std::string String() {
    std::string text = "\"";
    int length = Uniform(1, 8);
    for (int i = 0; i < length; ++i) {
      char c = kStringChars[Uniform(0, static_cast<int>(kStringChars.size()) - 1)];
      if (i == 0 && c == ' ') c = 'S';
      text += c;
    }
    return text + "\"";
  }

  std::string LocalVariable() {
    char hex[16];
    std::snprintf(hex, sizeof hex, Chance(0.5) ? "%x" : "%04X", Uniform(0, 0xFFFF));
    return "!" + std::string(hex);
  }

  std::string Model() { return "%" + RandomCase(Pick(models_).first); }
  std::string LocalObject() { return "%" + RandomCase(Pick(local_objects_)); }

  std::string Value() {
    int kind = Uniform(0, 99);
    if (kind < 30) return Integer();
    if (kind < 50) return Decimal();
    if (kind < 70 && !variables_.empty()) return "$" + RandomCase(Pick(variables_));
    if (kind < 80) return LocalVariable();
    if (kind < 88) return String();
    if (kind < 94 && !models_.empty()) return Model();
    if (!local_objects_.empty()) return LocalObject();
    return Integer();
  }

  std::string Separator() {
    static const char* kSeparators[] = {", ", ",", " , ", ",\t"};
    return kSeparators[Uniform(0, 3)];
  }

  // One instruction line: indentation, negation, the word by name or number, the parameters.
  std::string Line(int opcode, const std::vector<std::string>& params, bool may_negate = true) {
    const OpcodeEntry& entry = Entry(opcode);
    static const char* kIndents[] = {"", "    ", "\t", "  "};
    std::string line = kIndents[Uniform(0, 3)];
    bool negated = may_negate && Chance(0.15);
    if (!entry.name.empty() && Chance(0.75)) {
      line += (negated ? "!" : "") + RandomCase(entry.name);
    } else {
      char hex[16];
      bool by_bit = negated && Chance(0.5);
      std::snprintf(hex, sizeof hex, Chance(0.5) ? "%04x" : "%X", opcode | (by_bit ? 0x8000 : 0));
      line += (negated && !by_bit ? "!" : "") + std::string(hex);
    }
    for (size_t i = 0; i < params.size(); ++i) {
      line += i == 0 ? (Chance(0.8) ? " " : "\t") : Separator();
      line += params[i];
    }
    if (entry.count > 0 && Chance(0.05)) line += ",";
    if (Chance(0.08)) line += "   ; a note";
    return line;
  }

  std::vector<std::string> Values(int count) {
    std::vector<std::string> params;
    for (int i = 0; i < count; ++i) params.push_back(Value());
    return params;
  }

  // Appends one statement (one or more instruction lines) to |lines|; |targets| are the labels
  // its jumps may name.
  void Statement(const std::vector<std::string>& targets, std::vector<std::string>* lines) {
    int kind = Uniform(0, 99);
    if (kind < 15 && !targets.empty()) {
      int opcode = Chance(0.2) ? kLeapAt : kJumps[Uniform(0, 4)];
      std::vector<std::string> params = {"@" + RandomCase(Pick(targets))};
      if (opcode == kLeapAt) params.push_back(std::to_string(Uniform(-32768, 32767)));
      lines->push_back(Line(opcode, params));
    } else if (kind < 23 && !targets.empty()) {
      lines->push_back(Line(kCheckAll, {std::to_string(Uniform(0, 3))}));
      for (int i = Uniform(1, 3); i > 0; --i) lines->push_back(Line(kPlain[0], Values(1)));
      lines->push_back(Line(kHopUnless, {"@" + Pick(targets)}, false));
    } else if (kind < 33) {
      const ObjectOpcode& object = kObjectOpcodes[Uniform(0, 9)];
      std::vector<std::string> params = Values(Entry(object.number).count);
      for (int position = object.first_position; position <= object.last_position; ++position) {
        bool local = !local_objects_.empty() && (models_.empty() || Chance(0.7));
        params[position - 1] = local ? LocalObject() : (models_.empty() ? "0" : Model());
        if (static_cast<int>(local_objects_.size()) < kMaxLocalObjects && Chance(0.05)) {
          // A negative number that names no local object, within the reader's object numbers.
          const int beyond = static_cast<int>(local_objects_.size()) + Uniform(1, 9);
          params[position - 1] = std::to_string(-std::min(beyond, kMaxLocalObjects));
        }
      }
      lines->push_back(Line(object.number, params));
    } else if (kind < 40) {
      lines->push_back(Line(kListAll, Values(Uniform(0, 8))));
    } else if (kind < 45 && parts_.size() > 1) {
      const Part& mission = parts_[Uniform(1, static_cast<int>(parts_.size()) - 1)];
      lines->push_back(Line(kLaunchPart, {"&" + RandomCase(mission.file_name)}));
    } else if (kind < 50) {
      lines->push_back(Line(0x0008, {String()}));
    } else {
      int opcode = kPlain[Uniform(0, 8)];
      lines->push_back(Line(opcode, Values(Entry(opcode).count)));
    }
  }

  std::string PartText(int p) {
    const Part& part = parts_[p];
    std::vector<std::string> instructions;
    if (!part.part_name.empty())
      instructions.push_back(Line(kPartName, {"\"" + part.part_name + "\""}));
    if (p == 0) {
      // Every symbol must reach the compiled file for the disassembler to recover it.
      for (const std::string& variable : variables_) {
        instructions.push_back(Line(0x0003, {"$" + variable, Integer()}));
      }
      for (const std::string& object : local_objects_) {
        instructions.push_back(Line(0x0107, {"%" + object}));
      }
    }
    const std::vector<std::string> targets = Reachable(p);
    while (static_cast<int>(instructions.size()) < part.instructions)
      Statement(targets, &instructions);
    instructions.resize(part.instructions);

    std::string text =
        p == 0 ? "; main part of a generated project\r\n" : "; mission " + part.file_name + "\r\n";
    size_t next_label = 0;
    size_t next_child = 0;
    for (int i = 0; i <= part.instructions; ++i) {
      while (next_child < part.children.size() && (Chance(0.3) || i == part.instructions)) {
        static const char* kDirectives[] = {"#mission ", "#MISSION ", "  #Mission "};
        text += kDirectives[Uniform(0, 2)] + parts_[part.children[next_child++]].file_name;
        text += Chance(0.2) ? " ; next one\r\n" : "\r\n";
      }
      while (next_label < part.labels.size() && part.labels[next_label].before == i) {
        text += "@" + part.labels[next_label++].name + (Chance(0.1) ? "  ; target\r\n" : "\r\n");
      }
      if (i == part.instructions) break;
      if (Chance(0.05)) text += Chance(0.5) ? "\r\n" : "  ; a comment line\r\n";
      text += instructions[i] + "\r\n";
    }
    return text;
  }

  Options options_;
  std::mt19937_64 rng_;
  std::vector<std::string> variables_;
  std::vector<std::pair<std::string, int>> models_;
  std::vector<std::string> local_objects_;
  std::vector<Part> parts_;
};

}  // namespace

Project Generate(const Options& options) { return Builder(options).Build(); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace generator
