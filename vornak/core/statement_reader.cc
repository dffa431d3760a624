// Besides the language's own faults the reader refuses what would make a build run away or
// write a wrong file: a "#" line that is no MISSION directive, an opcode number outside the
// table, a mission that names a file on the chain of directives that led to it (reading would
// never end), and more script parts than a project may hold.
#include "vornak/core/statement_reader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"
#include "vornak/core/scm_format.h"

namespace vornak {
namespace {

struct IdentityHash {
  size_t operator()(const platform::FileIdentity& identity) const {
    return std::hash<uint64_t>{}(static_cast<uint64_t>(identity.device) * 0x9E3779B97F4A7C15u ^
                                 static_cast<uint64_t>(identity.inode));
  }
};

// Where the first word of a line ends: at its first tab or space, or at the line's end.
size_t WordEnd(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
  return end;
}

// The eight-byte scans below take the first byte of a run as the lowest of a loaded number.
static_assert(std::endian::native == std::endian::little);

constexpr uint64_t kEveryByte = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each byte of |word| that is zero; bytes above the lowest such one may be marked
// too (by a borrow), so only the lowest mark is exact.
uint64_t ZeroBytes(uint64_t word) { return (word - kEveryByte) & ~word & kHighBits; }

// |word| with the ASCII letters "a" to "z" among its bytes upper-cased; other bytes, those from
// 0x80 on too, stay.
uint64_t UpperAsciiBytes(uint64_t word) {
  const uint64_t low_seven = word & ~kHighBits;
  const uint64_t from_a = low_seven + (0x80 - 'a') * kEveryByte;      // high bit: byte >= "a"
  const uint64_t above_z = low_seven + (0x80 - 'z' - 1) * kEveryByte;  // high bit: byte > "z"
  const uint64_t lower = (from_a ^ above_z) & ~word & kHighBits;
  return word ^ (lower >> 2);  // 0x80 >> 2 is the bit that tells lower case from upper
}

// Copies the first word of |line| upper-cased to |upper|, which has room for the whole line, and
// returns where the word ends: at the first tab or space, or at the line's end. Eight bytes are
// taken at a time while the line has them.
size_t ScanWordUpper(std::string_view line, char* upper) {
  const char* const text = line.data();
  size_t at = 0;
  for (; at + 8 <= line.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, text + at, 8);
    const uint64_t blanks =
        ZeroBytes(word ^ (' ' * kEveryByte)) | ZeroBytes(word ^ ('\t' * kEveryByte));
    const uint64_t upper_word = UpperAsciiBytes(word);
    std::memcpy(upper + at, &upper_word, 8);
    if (blanks != 0) return at + static_cast<size_t>(std::countr_zero(blanks)) / 8;
  }
  for (; at < line.size(); ++at) {
    const char c = text[at];
    if (c == ' ' || c == '\t') break;
    upper[at] = platform::UpperAsciiChar(c);
  }
  return at;
}

// The identifier scan of the line syntax: from |pos| over identifier characters, stopping on the
// first other character or on the line's last character. Its text runs through the character it
// stopped on, trimmed, so a name directly followed by punctuation keeps it ("@LOOP:" is LOOP:).
std::string_view ScanIdentifier(std::string_view line, size_t pos) {
  if (pos >= line.size()) return {};
  size_t stop = pos;
  while (stop + 1 < line.size() && platform::IsIdentifierChar(line[stop])) ++stop;
  return platform::Trim(line.substr(pos, stop - pos + 1));
}

// The files on the path from the main part to the part being read. Moving to another part costs
// its distance from the previous one in the tree of directives, so reading in PartList order
// stays cheap, and asking whether a file is on the path is one look-up.
class MissionChain {
 public:
  void MoveTo(size_t part, const std::vector<ScriptPart>& parts) {
    climbed_.clear();
    int64_t at = static_cast<int64_t>(part);
    while (at >= 0 && !(parts[at].depth < path_.size() && path_[parts[at].depth] == at)) {
      climbed_.push_back(at);
      at = parts[at].parent;
    }
    const size_t kept = at < 0 ? 0 : parts[at].depth + 1;
    while (path_.size() > kept) {
      Forget(parts[path_.back()]);
      path_.pop_back();
    }
    for (auto step = climbed_.rbegin(); step != climbed_.rend(); ++step) {
      path_.push_back(*step);
      if (const auto& identity = parts[*step].identity) ++files_[*identity];
    }
  }

  bool Contains(const platform::FileIdentity& identity) const { return files_.count(identity) > 0; }

 private:
  void Forget(const ScriptPart& part) {
    if (!part.identity) return;
    auto found = files_.find(*part.identity);
    if (--found->second == 0) files_.erase(found);
  }

  std::vector<int64_t> path_;  // path_[d] is the part at depth d
  std::vector<int64_t> climbed_;
  std::unordered_map<platform::FileIdentity, uint32_t, IdentityHash> files_;
};

class Reader {
 public:
  Reader(BuildState* state, const SourceOpener& sources, platform::Console& console)
      : state_(*state),
        sources_(sources),
        console_(console),
        builder_(state->opcodes, state->models, &state->symbols) {}

  void ReadPart(size_t part) {
    part_ = part;
    line_number_ = 0;
    records_begin_ = state_.records->size();
    label_names_.Clear();
    label_positions_.clear();
    const std::string path = state_.part_list[part];
    state_.parts[part].identity = sources_.identify(path);
    platform::LineReader lines = sources_.open(path);
    std::string_view line;
    while (lines.Next(&line)) {
      ++line_number_;
      ReadLine(platform::Trim(line));
    }
    // The part's label tables are gathered in the reader's own, which keep their memory from part
    // to part, and then kept in the build's arena in as little room as they need.
    ScriptPart& script_part = state_.parts[part];
    platform::Arena* const tables = state_.tables.get();
    script_part.label_names = label_names_.CompactCopy(tables);
    script_part.label_offsets = LabelOffsets(label_positions_.begin(), label_positions_.end(),
                                             platform::ArenaAllocator<int32_t>(tables));
  }

 private:
  void ReadLine(std::string_view line) {
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '#') return ReadDirective(line);
    if (line[0] == '@') return ReadLabel(line);
    ReadInstruction(line);
  }

  void ReadDirective(std::string_view line) {
    const std::string_view word = ScanIdentifier(line, 1);
    if (!platform::EqualsIgnoringAsciiCase(word, "MISSION")) {
      Fail(platform::UpperAscii(line.substr(0, WordEnd(line))) +
           " is not a valid directive; the only directive is #MISSION");
    }
    // One character, normally a blank, separates the word from the name.
    const std::string_view name = ScanIdentifier(line, 1 + word.size() + 1);
    std::string path = state_.mission_folder;
    path.append(name).append(".gsr");

    if (state_.part_list.size() >= kMaxParts) {
      Fail("Too many script parts: a project holds at most " + std::to_string(kMaxParts));
    }
    if (const std::optional<platform::FileIdentity> identity = sources_.identify(path)) {
      chain_.MoveTo(part_, state_.parts);
      if (chain_.Contains(*identity)) {
        Fail("Missions name each other in a cycle: " + ChainText(path));
      }
    }
    ScriptPart mission;
    mission.parent = static_cast<int32_t>(part_);
    mission.depth = state_.parts[part_].depth + 1;
    state_.part_list.push_back(std::move(path));
    state_.parts.push_back(std::move(mission));
  }

  void ReadLabel(std::string_view line) {
    if (line.size() < 2 || !platform::IsIdentifierChar(line[1])) FailLabel(2);
    label_.assign(ScanIdentifier(line, 1).substr(0, kMaxLabelNameSize));
    platform::UpperAsciiInPlace(&label_);
    // Only a name's first definition counts; a later one of the same name changes nothing.
    if (label_names_.Intern(label_) == label_positions_.size()) {
      label_positions_.push_back(static_cast<int32_t>(state_.parts[part_].instruction_count));
    }
  }

  void ReadInstruction(std::string_view line) {
    if (word_.size() < line.size()) word_.resize(2 * line.size());
    const size_t word_end = ScanWordUpper(line, word_.data());
    std::string_view word(word_.data(), word_end);
    bool negated = false;
    if (word[0] == '!') {
      negated = true;
      word.remove_prefix(1);
    }

    std::optional<uint16_t> opcode = state_.opcodes.Find(word);
    if (!opcode) {
      std::optional<uint32_t> number = ParseHexDigits(word);
      if (!number) Fail(std::string(word) + " is not a valid instruction or label");
      if (*number & kNegatedBit) {
        negated = true;
        *number &= ~uint32_t{kNegatedBit};
      }
      if (*number < kMinOpcode || *number > kMaxOpcode) {
        Fail(std::string(word) +
             " is not a valid opcode number (0001 to 0452, or 8001 to 8452 negated)");
      }
      opcode = static_cast<uint16_t>(*number);
    }

    std::string_view record;
    try {
      record = builder_.Construct(*opcode, line.substr(word_end), negated);
    } catch (const platform::Error& error) {
      FailConstruction(error.what());
    }
    RecordStore& records = *state_.records;
    records.Append(record);
    ScriptPart& part = state_.parts[part_];
    part.records = PartRecords(&records, records_begin_, records.size());
    ++part.instruction_count;
  }

  // The file names from the main part down to the part being read, then |path|'s.
  std::string ChainText(std::string_view path) const {
    std::vector<std::string_view> names{platform::FileNamePart(path)};
    for (int64_t at = static_cast<int64_t>(part_); at >= 0; at = state_.parts[at].parent) {
      names.push_back(platform::FileNamePart(state_.part_list[at]));
    }
    std::string text;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
      if (!text.empty()) text += " -> ";
      text.append(*name);
    }
    return text;
  }

  std::string LineText() const { return " (line: " + std::to_string(line_number_) + ")"; }
  std::string FileName() const {
    return std::string(platform::FileNamePart(state_.part_list[part_]));
  }

  // The reader's own form: the file's name, then the message and the line.
  [[noreturn]] void Fail(const std::string& message) {
    console_.Line("  Error in file " + FileName());
    console_.Line("  " + message + LineText());
    throw platform::Error("  Error in file " + FileName() + ".  " + message + LineText());
  }

  [[noreturn]] void FailLabel(size_t column) {
    const std::string where =
        "  Label name expected at " + std::to_string(line_number_) + ":" + std::to_string(column);
    console_.Line("  Error in file " + FileName());
    console_.Line(where);
    throw platform::Error("Error in file " + FileName() + where);
  }

  // The construction form: the part's path as stored, then the message and the line.
  [[noreturn]] void FailConstruction(const std::string& message) {
    const std::string& path = state_.part_list[part_];
    console_.Line("  " + path);
    console_.Line("  " + message + LineText());
    throw platform::Error(path + ":  " + message + LineText());
  }

  BuildState& state_;
  const SourceOpener& sources_;
  platform::Console& console_;
  InstructionBuilder builder_;
  MissionChain chain_;
  size_t part_ = 0;
  size_t records_begin_ = 0;  // where the records of the part being read start in the store
  int64_t line_number_ = 0;
  std::string word_;   // the instruction word, upper case, at the start
  std::string label_;  // the label name, upper case
  // The labels of the part being read, on the heap.
  NameTable label_names_;
  std::vector<int32_t> label_positions_;  // by name id, see ScriptPart::label_offsets
};

}  // namespace

SourceOpener FileSources() {
  return {[](const std::string& path) { return platform::LineReader::Open(path); },
          [](const std::string& path) { return platform::IdentityOf(path); }};
}

SourceOpener MemorySources(const std::map<std::string, std::string>* files) {
  return {[files](const std::string& path) {
            auto found = files->find(path);
            if (found == files->end()) throw platform::Error("File not found");
            return platform::LineReader::FromMemory(found->second);
          },
          [files](const std::string& path) -> std::optional<platform::FileIdentity> {
            auto found = files->find(path);
            if (found == files->end()) return std::nullopt;
            return platform::FileIdentity{0, reinterpret_cast<uintptr_t>(&found->second)};
          }};
}

void ReadAllParts(BuildState* state, const SourceOpener& sources, platform::Console& console) {
  state->parts.resize(state->part_list.size());
  Reader reader(state, sources, console);
  for (size_t part = 0; part < state->part_list.size(); ++part) reader.ReadPart(part);
}

}  // namespace vornak
