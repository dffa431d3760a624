// The writing pass. Each part's text is built in a buffer and handed to the sink in large blocks.
//
// A line is: the if-block indent when inside an if-block, the default indent, "!" for a negated
// instruction, the opcode column, and the parameters separated by ", ". The opcode column is sized
// so that the parameters of every line start in one column whether the line is negated or inside
// an if-block; a name too long for it pushes its parameters right.
#include "mavren/writer.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "mavren/byte_reader.h"
#include "mavren/reader.h"
#include "platform/error.h"
#include "platform/number_text.h"

namespace mavren {
namespace {

// Text is handed to the sink once this much has gathered: blocks large enough to write
// efficiently, a buffer small enough to stay in the cache.
constexpr size_t kBlockSize = 64 * 1024;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHexDigits = "0123456789abcdef";

void AppendDecimal(std::string* out, int64_t value) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, result.ptr);
}

void AppendHexWord(std::string* out, int value) {
  const unsigned bits = static_cast<unsigned>(value) & 0xFFFF;
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kHexDigits[bits >> shift & 0xF]);
}

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
        sink_(sink) {
    out_.reserve(kBlockSize + kBlockSize / 4);
  }

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
  void FlushIfFull() {
    if (out_.size() >= kBlockSize) Flush();
  }
  void Flush() {
    sink_.Write(out_);
    out_.clear();
  }

  const DisSettings& settings_;
  const NameTables& names_;
  const ScriptLayout& layout_;
  const ScanResult& scan_;
  ByteReader& reader_;
  DecodedInstruction& instruction_;
  PartSink& sink_;
  std::string out_;
  // Carried from part to part: a part may end inside an if-block.
  bool if_block_ = false;
};

void SourceWriter::WritePart(int part) {
  sink_.BeginPart(settings_.output_dir + scan_.part_names[part] + ".gsr");
  if (part == 0) HeaderBlock();
  WalkPart(reader_, layout_, part, [&] { Instruction(part); });
  Flush();
  sink_.EndPart(reader_.offset());
}

void SourceWriter::HeaderBlock() {
  out_ += "; disassembled by zelkar scm disassembler v1.0";
  out_ += kLineEnd;
  out_ += kLineEnd;
  out_ += "; mission references";
  out_ += kLineEnd;
  for (int i = 1; i <= layout_.mission_count(); ++i) {
    Indent(settings_.default_indent, "defaultindent");
    out_ += "#mission ";
    out_ += scan_.part_names[i];
    out_ += kLineEnd;
  }
  out_ += "; main code";
  out_ += kLineEnd;
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
    out_ += kLineEnd;
  }
  // The instruction decoded last is still the previous one here.
  if (instruction_.opcode == kIfBlockOpcode) if_block_ = true;
  DecodeInstruction(reader_, names_.opcodes, layout_, part, &instruction_);
  if (instruction_.opcode == kIfBlockEndOpcode && !instruction_.negated) if_block_ = false;

  if (if_block_) Indent(settings_.if_block_indent, "ifblockindent");
  Indent(settings_.default_indent, "defaultindent");
  if (instruction_.negated) out_ += '!';
  OpcodeColumn();
  for (int j = 1; j <= instruction_.param_count; ++j) {
    if (j > 1) out_ += ", ";
    Param(j, start);
  }
  out_ += kLineEnd;
  FlushIfFull();
}

void SourceWriter::OpcodeColumn() {
  int width = settings_.par_distance - 5;
  if (!instruction_.negated) width += 1;
  if (!if_block_) width += 2;
  const std::string& name = names_.opcodes[instruction_.opcode].name;
  if (settings_.name_opcodes != 0 && !name.empty()) {
    out_ += name;
    if (static_cast<int64_t>(name.size()) < width) out_.append(width - name.size(), ' ');
    out_ += ' ';
  } else {
    width = std::max(width, 4);
    AppendHexWord(&out_, instruction_.opcode);
    out_.append(width - 3, ' ');
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
    out_ += '%';
    out_ += layout_.ObjectName(value);
    return;
  }
  switch (static_cast<DataType>(slot.type)) {
    case DataType::kEndOfList:  // never stored in a slot
      break;
    case DataType::kInt32:
      if (!IsJumpOpcode(opcode)) {
        AppendDecimal(&out_, value);
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
      out_ += '!';
      AppendHexWord(&out_, static_cast<int>(value));
      break;
    case DataType::kInt8:
    case DataType::kInt16:
      AppendDecimal(&out_, value);
      break;
    case DataType::kFixed16: {
      const std::string text = platform::RealText(slot.real);
      out_ += text;
      if (text.find('.') == std::string::npos) out_ += ".0";
      break;
    }
    default:
      out_ += '"';
      out_ += slot.text;
      out_ += '"';
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
  out_ += '&';
  if (part < static_cast<int64_t>(scan_.part_names.size())) out_ += scan_.part_names[part];
}

void SourceWriter::Variable(int64_t offset, int64_t instruction_start) {
  if (offset < 0 || offset > kMaxVariableOffset) {
    throw reader_.ErrorAt(instruction_start,
                          "global variable offset " + platform::DecimalText(offset) +
                              " is outside 0 to " + platform::DecimalText(kMaxVariableOffset));
  }
  out_ += '$';
  const std::string& name = names_.variables[offset];
  if (settings_.name_variables != 0 && !name.empty()) {
    out_ += name;
    return;
  }
  out_ += "var";
  // Five digits keep the offset order when such names are sorted.
  if (settings_.pad_variables != 0) {
    for (int64_t scale = 10000; scale > offset && scale > 1; scale /= 10) out_ += '0';
  }
  AppendDecimal(&out_, offset);
}

// A label reference and the label line at the same offset are written alike.
void SourceWriter::LabelReference(int64_t offset) {
  const int32_t number = names_.label_map[offset];
  out_ += '@';
  if (settings_.name_labels != 0 && number != 0) {
    out_ += names_.labels[number];
  } else {
    out_ += "label";
    AppendDecimal(&out_, offset);
  }
}

void SourceWriter::Indent(int16_t count, std::string_view key) {
  if (count < 0) {
    throw platform::Error(settings_.program_folder + "mavren.ini: the setting " + std::string(key) +
                          "=" + platform::DecimalText(count) + " is a negative indent");
  }
  out_.append(count, ' ');
}

}  // namespace

std::string HexWord(int value) {
  std::string text;
  AppendHexWord(&text, value);
  return text;
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
