// The writing pass. Each part's text is built in a buffer and handed to the sink in large blocks.
//
// A line is: the if-block indent when inside an if-block, the default indent, "!" for a negated
// instruction, the opcode column, and the parameters separated by ", ". The opcode column is sized
// so that the parameters of every line start in one column whether the line is negated or inside
// an if-block; a name too long for it pushes its parameters right.
#include "mavren/writer.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "mavren/byte_reader.h"
#include "mavren/reader.h"
#include "platform/error.h"
#include "platform/number_text.h"

namespace mavren {
namespace {

// Text is handed to the sink in blocks of this size: large enough to write efficiently, small
// enough to stay in the cache.
constexpr size_t kBlockSize = 64 * 1024;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHexDigits = "0123456789abcdef";

// Writes the 4 hexadecimal digits of |value|'s 16-bit pattern to |digits|.
void HexDigits(int value, char* digits) {
  const unsigned bits = static_cast<unsigned>(value) & 0xFFFF;
  for (int i = 0; i < 4; ++i) digits[i] = kHexDigits[bits >> (12 - 4 * i) & 0xF];
}

// The text of the part being written, gathered in a fixed block that goes to the sink whenever it
// is full: an append is a bounds check and a copy.
class TextBlock {
 public:
  explicit TextBlock(PartSink& sink)
      : sink_(sink), block_(new char[kBlockSize]), end_(block_.get()) {}

  void Append(std::string_view text) {
    if (text.size() > Room()) {
      Flush();
      if (text.size() > kBlockSize) {
        sink_.Write(text);
        return;
      }
    }
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
  }
  void Append(char c) {
    if (Room() == 0) Flush();
    *end_++ = c;
  }
  void Spaces(size_t count) {
    // The common short run: one fixed-size copy, of which |count| bytes are kept.
    static constexpr char kSpaces[] = "                                ";
    constexpr size_t kRun = sizeof kSpaces - 1;
    if (count <= kRun && Room() >= kRun) {
      std::memcpy(end_, kSpaces, kRun);
      end_ += count;
      return;
    }
    while (count > 0) {
      if (Room() == 0) Flush();
      const size_t run = std::min(count, Room());
      std::memset(end_, ' ', run);
      end_ += run;
      count -= run;
    }
  }
  void Decimal(int64_t value) {
    constexpr size_t kMaxDigits = 20;  // "-9223372036854775808"
    if (Room() < kMaxDigits) Flush();
    end_ = std::to_chars(end_, end_ + kMaxDigits, value).ptr;
  }
  // |sixteenths| / 16 as platform::RealText writes it (at most 7 significant digits, a last
  // digit 5 dropped away from zero), with ".0" after a whole number. A sixteenth has at most
  // four decimals, ending in 0 or 5, so the text comes from the integer alone.
  void Sixteenths(int sixteenths) {
    constexpr size_t kMaxText = 9;  // "-2047.938"
    if (Room() < kMaxText) Flush();
    if (sixteenths < 0) *end_++ = '-';
    const int magnitude = std::abs(sixteenths);
    const int whole = magnitude / 16;
    int fraction = magnitude % 16 * 625;  // in ten-thousandths
    int decimals = 4;
    if (whole >= 1000) {  // four digits before the point leave three after it
      fraction = fraction / 10 + (fraction % 10 == 5 ? 1 : 0);
      decimals = 3;
    }
    if (whole > 0 || fraction == 0) end_ = std::to_chars(end_, end_ + 4, whole).ptr;
    if (fraction == 0) {
      std::memcpy(end_, ".0", 2);
      end_ += 2;
      return;
    }
    *end_++ = '.';
    while (fraction % 10 == 0) {
      fraction /= 10;
      --decimals;
    }
    for (int digit = decimals - 1; digit >= 0; --digit) {
      end_[digit] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    end_ += decimals;
  }
  void HexWord(int value) {
    if (Room() < 4) Flush();
    HexDigits(value, end_);
    end_ += 4;
  }
  // Hands what has gathered to the sink.
  void Flush() {
    if (end_ == block_.get()) return;
    sink_.Write(std::string_view(block_.get(), end_ - block_.get()));
    end_ = block_.get();
  }

 private:
  size_t Room() const { return block_.get() + kBlockSize - end_; }

  PartSink& sink_;
  std::unique_ptr<char[]> block_;
  char* end_;
};

class SourceWriter {
 public:
  SourceWriter(const DisSettings& settings, const NameTables& names, const ScriptLayout& layout,
               const ScanResult& scan, ByteReader& reader, DecodedInstruction* instruction,
               PartSink& sink)
      : settings_(settings),
        names_(names),
        layout_(layout),
        scan_(scan),
        reader_(reader),
        instruction_(*instruction),
        sink_(sink),
        text_(sink) {}

  void WritePart(int part);

 private:
  void HeaderBlock();
  void Instruction(int part);
  void OpcodeColumn();
  void Param(int position, int64_t instruction_start);
  void MissionReference(const ParamSlot& slot, int position, int64_t instruction_start);
  void Variable(int64_t offset, int64_t instruction_start);
  void LabelReference(int64_t offset);
  // |count| spaces of the setting |key|; a negative count stops the run.
  void Indent(int16_t count, std::string_view key);

  const DisSettings& settings_;
  const NameTables& names_;
  const ScriptLayout& layout_;
  const ScanResult& scan_;
  ByteReader& reader_;
  DecodedInstruction& instruction_;
  PartSink& sink_;
  TextBlock text_;
  // Carried from part to part: a part may end inside an if-block.
  bool if_block_ = false;
};

void SourceWriter::WritePart(int part) {
  sink_.BeginPart(settings_.output_dir + scan_.part_names[part] + ".gsr");
  if (part == 0) HeaderBlock();
  WalkPart(reader_, layout_, part, [&] { Instruction(part); });
  if (scan_.label_at_end[part]) {
    LabelReference(layout_.part_offsets[part + 1]);
    text_.Append(kLineEnd);
  }
  text_.Flush();
  sink_.EndPart(reader_.offset());
}

void SourceWriter::HeaderBlock() {
  text_.Append("; disassembled by zelkar scm disassembler v1.0");
  text_.Append(kLineEnd);
  text_.Append(kLineEnd);
  text_.Append("; mission references");
  text_.Append(kLineEnd);
  for (int i = 1; i <= layout_.mission_count(); ++i) {
    Indent(settings_.default_indent, "defaultindent");
    text_.Append("#mission ");
    text_.Append(scan_.part_names[i]);
    text_.Append(kLineEnd);
  }
  text_.Append("; main code");
  text_.Append(kLineEnd);
}

void SourceWriter::Instruction(int part) {
  const int64_t start = reader_.offset();
  if (start > kMaxLabelOffset) {
    throw reader_.ErrorAt(start, "an instruction begins past offset " +
                                     platform::DecimalText(kMaxLabelOffset) +
                                     ", the last a label can mark");
  }
  if (scan_.jump_targets.IsMarked(start)) {
    LabelReference(start);
    text_.Append(kLineEnd);
  }
  // The instruction decoded last is still the previous one here.
  if (instruction_.opcode == kIfBlockOpcode) if_block_ = true;
  DecodeInstruction(reader_, names_.opcodes, layout_, part, &instruction_);
  if (instruction_.opcode == kIfBlockEndOpcode && !instruction_.negated) if_block_ = false;

  if (if_block_) Indent(settings_.if_block_indent, "ifblockindent");
  Indent(settings_.default_indent, "defaultindent");
  if (instruction_.negated) text_.Append('!');
  OpcodeColumn();
  for (int j = 1; j <= instruction_.param_count; ++j) {
    if (j > 1) text_.Append(", ");
    Param(j, start);
  }
  text_.Append(kLineEnd);
}

void SourceWriter::OpcodeColumn() {
  int width = settings_.par_distance - 5;
  if (!instruction_.negated) width += 1;
  if (!if_block_) width += 2;
  const std::string& name = names_.opcodes[instruction_.opcode].name;
  if (settings_.name_opcodes != 0 && !name.empty()) {
    text_.Append(name);
    if (static_cast<int64_t>(name.size()) < width) text_.Spaces(width - name.size());
    text_.Append(' ');
  } else {
    width = std::max(width, 4);
    text_.HexWord(instruction_.opcode);
    text_.Spaces(width - 3);
  }
}

void SourceWriter::Param(int position, int64_t instruction_start) {
  const ParamSlot& slot = instruction_.slots[position];
  const int opcode = instruction_.opcode;
  if (opcode == kMissionRefOpcode) {
    MissionReference(slot, position, instruction_start);
    return;
  }
  const int64_t value = slot.integer;
  if ((slot.type == static_cast<uint8_t>(DataType::kInt8) ||
       slot.type == static_cast<uint8_t>(DataType::kInt16)) &&
      value < 0 && IsObjectParam(opcode, position)) {
    if (value < -kMaxObjectNames) {
      throw reader_.ErrorAt(instruction_start, "local object number " +
                                                   platform::DecimalText(value) + " is below -" +
                                                   platform::DecimalText(kMaxObjectNames));
    }
    // A number that names no object of the file stays a number: "%" alone would make the
    // assembler add an object.
    if (layout_.HasObject(value)) {
      text_.Append('%');
      text_.Append(layout_.ObjectName(value));
      return;
    }
  }
  switch (static_cast<DataType>(slot.type)) {
    case DataType::kEndOfList:  // never stored in a slot
      break;
    case DataType::kInt32:
      if (!IsJumpOpcode(opcode)) {
        text_.Decimal(value);
      } else if (value < 0 || value > kMaxLabelOffset) {
        throw reader_.ErrorAt(instruction_start, "jump target " + platform::DecimalText(value) +
                                                     " is outside 0 to " +
                                                     platform::DecimalText(kMaxLabelOffset));
      } else {
        LabelReference(value);
      }
      break;
    case DataType::kGlobalVar:
      Variable(value, instruction_start);
      break;
    case DataType::kLocalVar:
      text_.Append('!');
      text_.HexWord(static_cast<int>(value));
      break;
    case DataType::kInt8:
    case DataType::kInt16:
      text_.Decimal(value);
      break;
    case DataType::kFixed16:
      text_.Sixteenths(static_cast<int>(slot.real * 16));
      break;
    default:
      text_.Append('"');
      text_.Append(slot.text);
      text_.Append('"');
      break;
  }
}

// Every parameter of a mission reference, whatever its type, is a mission number: the mission
// part it names is that number plus one (-1 names the main part).
void SourceWriter::MissionReference(const ParamSlot& slot, int position,
                                    int64_t instruction_start) {
  int64_t part;
  if (slot.type >= kFirstTextByte) {
    throw reader_.ErrorAt(instruction_start, "parameter " + platform::DecimalText(position) +
                                                 " of opcode " +
                                                 platform::DecimalText(kMissionRefOpcode) +
                                                 " is a text where a mission number belongs");
  } else if (slot.type == static_cast<uint8_t>(DataType::kFixed16)) {
    part = *platform::RoundToInt32(slot.real + 1.0);
  } else {
    part = slot.integer + 1;
  }
  if (part < 0 || part > kLastPartIndex) {
    throw reader_.ErrorAt(instruction_start, "mission number " + platform::DecimalText(part - 1) +
                                                 " is outside -1 to " +
                                                 platform::DecimalText(kLastPartIndex - 1));
  }
  text_.Append('&');
  if (part < static_cast<int64_t>(scan_.part_names.size())) text_.Append(scan_.part_names[part]);
}

void SourceWriter::Variable(int64_t offset, int64_t instruction_start) {
  if (offset < 0 || offset > kMaxVariableOffset) {
    throw reader_.ErrorAt(instruction_start,
                          "global variable offset " + platform::DecimalText(offset) +
                              " is outside 0 to " + platform::DecimalText(kMaxVariableOffset));
  }
  text_.Append('$');
  const std::string& name = names_.variables[offset];
  if (settings_.name_variables != 0 && !name.empty()) {
    text_.Append(name);
    return;
  }
  text_.Append("var");
  // Five digits keep the offset order when such names are sorted.
  if (settings_.pad_variables != 0) {
    for (int64_t scale = 10000; scale > offset && scale > 1; scale /= 10) text_.Append('0');
  }
  text_.Decimal(offset);
}

// A label reference and the label line at the same offset are written alike.
void SourceWriter::LabelReference(int64_t offset) {
  const int32_t number = names_.label_map[offset];
  text_.Append('@');
  if (settings_.name_labels != 0 && number != 0) {
    text_.Append(names_.labels[number]);
  } else {
    text_.Append("label");
    text_.Decimal(offset);
  }
}

void SourceWriter::Indent(int16_t count, std::string_view key) {
  if (count < 0) {
    throw platform::Error(settings_.program_folder + "mavren.ini: the setting " + std::string(key) +
                          "=" + platform::DecimalText(count) + " is a negative indent");
  }
  text_.Spaces(count);
}

}  // namespace

std::string HexWord(int value) {
  char digits[4];
  HexDigits(value, digits);
  return std::string(digits, 4);
}

void Disassemble(std::span<const uint8_t> image, std::string_view input_name,
                 const DisSettings& settings, const NameTables& names, PartSink& sink) {
  ByteReader reader(image, input_name);
  const ScriptLayout layout = WalkHeader(reader);
  // The decoder's record lives through both passes: the writing pass starts with the scan pass's
  // last instruction as the previous one.
  auto instruction = std::make_unique<DecodedInstruction>();
  const ScanResult scan = ScanParts(reader, names.opcodes, layout, instruction.get());
  SourceWriter writer(settings, names, layout, scan, reader, instruction.get(), sink);
  sink.Start(reader.size());
  for (int p = 0; p <= layout.mission_count(); ++p) writer.WritePart(p);
}

}  // namespace mavren
