// One routine encodes a record for both operations: it hands every byte to a sink that either
// counts or writes. Sizing leaves the values known only after layout (labels, missions) and the
// conversions only writing needs as placeholders of their fixed width, so the two cannot differ.
#include "vornak/core/encoder.h"

#include <cstring>
#include <optional>
#include <unordered_map>

#include "platform/collation.h"
#include "platform/error.h"
#include "platform/number_text.h"
#include "vornak/core/scm_format.h"

namespace vornak {
namespace {

enum class Pass { kSizing, kWriting };

class ByteCounter {
 public:
  void Byte(uint8_t) { ++size_; }
  void Uint16(uint16_t) { size_ += 2; }
  void Int32(int32_t) { size_ += 4; }
  void Bytes(std::string_view bytes) { size_ += static_cast<int64_t>(bytes.size()); }
  void Zeros(size_t count) { size_ += static_cast<int64_t>(count); }
  int64_t size() const { return size_; }

 private:
  int64_t size_ = 0;
};

// Writes into the room that layout sized for the record's part; passing its end would mean the
// two passes disagree, which is refused rather than written.
class ByteWriter {
 public:
  ByteWriter(char* at, const char* end) : at_(at), end_(end) {}
  void Byte(uint8_t value) {
    Room(1);
    *at_++ = static_cast<char>(value);
  }
  void Uint16(uint16_t value) {
    Room(2);
    at_[0] = static_cast<char>(value & 0xFF);
    at_[1] = static_cast<char>(value >> 8);
    at_ += 2;
  }
  void Int32(int32_t value) {
    Room(4);
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at_[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    at_ += 4;
  }
  void Bytes(std::string_view bytes) {
    Room(bytes.size());
    std::memcpy(at_, bytes.data(), bytes.size());
    at_ += bytes.size();
  }
  void Zeros(size_t count) {
    Room(count);
    std::memset(at_, 0, count);
    at_ += count;
  }
  char* at() const { return at_; }

 private:
  void Room(size_t count) const {
    if (static_cast<size_t>(end_ - at_) < count) {
      throw platform::Error("Internal error: an instruction is larger than it was laid out");
    }
  }

  char* at_;
  const char* end_;
};

constexpr uint8_t Type(DataType type) { return static_cast<uint8_t>(type); }

int32_t ObjectNumber(const Param& param, const EncodeContext& context) {
  int64_t number;
  std::string_view name;
  if (param.tag == ParamTag::kModel) {
    const ModelCatalogue::Model& model = context.models->model(param.value);
    if (!model.value) throw platform::InvalidInteger(model.number);
    number = *model.value;
    name = model.name;
  } else {
    const platform::SortedNameList& objects = context.symbols->local_objects;
    number = -(static_cast<int64_t>(objects.Slot(param.value)) + 1);
    name = objects.Spelling(param.value);
  }
  if (number < INT16_MIN || number > INT16_MAX) {
    throw platform::Error("Object " + std::string(name) + " has the number " +
                          std::to_string(number) + ", outside -32768..32767");
  }
  return static_cast<int32_t>(number);
}

int32_t MissionNumber(const Param& param, const EncodeContext& context) {
  const int32_t number = (*context.mission_numbers)[param.value];
  if (number < 0) {
    throw platform::Error(std::string(context.symbols->mission_names.Name(param.value)) +
                          " is not defined.");
  }
  return number;
}

std::string LabelText(const Param& param) { return "@" + std::string(param.text); }

// The byte offset of a label named |name| in |part|, if the part defines one.
std::optional<int32_t> LabelOffset(const ScriptPart& part, std::string_view name) {
  if (const std::optional<uint32_t> id = part.label_names.Find(name))
    return part.label_offsets[*id];
  return std::nullopt;
}

int32_t LabelTarget(const Param& param, const EncodeContext& context) {
  const std::vector<ScriptPart>& parts = *context.parts;
  if (context.current_part != 0) {
    if (const std::optional<int32_t> own = LabelOffset(parts[context.current_part], param.text)) {
      if (*own == 0) {
        throw platform::Error("Target label " + LabelText(param) +
                              " is at the start of this mission, where no jump can lead (the "
                              "target would read as offset 0)");
      }
      return -*own;
    }
  }
  if (const std::optional<int32_t> main = LabelOffset(parts[0], param.text)) {
    return context.code_start + *main;
  }
  throw platform::Error("Target label " + LabelText(param) + " does not exist");
}

// |records| are those of the record's part. Inlined into each caller, so that the sink's position
// and end stay in registers.
template <class Sink>
[[gnu::always_inline]] inline void Encode(const TOpCode& record, std::string_view records,
                                          const EncodeContext& context, Pass pass, Sink& sink) {
  sink.Uint16(static_cast<uint16_t>(record.Opcode | (record.Negated ? kNegatedBit : 0)));
  ParamReader params(records, record.Params);
  const bool writing = pass == Pass::kWriting;
  for (uint32_t i = 0; i < params.count(); ++i) {
    const Param param = params.Next();
    switch (param.tag) {
      case ParamTag::kInt8:
        sink.Byte(Type(DataType::kInt8));
        sink.Byte(static_cast<uint8_t>(param.value));
        break;
      case ParamTag::kInt16:
        sink.Byte(Type(DataType::kInt16));
        sink.Uint16(static_cast<uint16_t>(param.value));
        break;
      case ParamTag::kInt32:
        sink.Byte(Type(DataType::kInt32));
        sink.Int32(static_cast<int32_t>(param.value));
        break;
      case ParamTag::kFixed16:
        sink.Byte(Type(DataType::kFixed16));
        sink.Uint16(static_cast<uint16_t>(param.value));
        break;
      case ParamTag::kLocalVar:
        sink.Byte(Type(DataType::kLocalVar));
        sink.Uint16(static_cast<uint16_t>(param.value));
        break;
      case ParamTag::kString:
        sink.Bytes(param.text);
        sink.Zeros(kStringSize - param.text.size());
        break;
      case ParamTag::kGlobalVar: {
        const uint32_t slot = context.symbols->variables.Slot(param.value);
        sink.Byte(Type(DataType::kGlobalVar));
        sink.Uint16(static_cast<uint16_t>(kSegmentJumpSize + slot * kVariableSize));
        break;
      }
      case ParamTag::kLocalObject:
      case ParamTag::kModel: {
        const int32_t number = ObjectNumber(param, context);
        if (number >= INT8_MIN && number <= INT8_MAX) {
          sink.Byte(Type(DataType::kInt8));
          sink.Byte(static_cast<uint8_t>(number));
        } else {
          sink.Byte(Type(DataType::kInt16));
          sink.Uint16(static_cast<uint16_t>(number));
        }
        break;
      }
      case ParamTag::kMission:
        sink.Byte(Type(DataType::kInt32));
        sink.Int32(writing ? MissionNumber(param, context) : 0);
        break;
      case ParamTag::kLabel:
        sink.Byte(Type(DataType::kInt32));
        sink.Int32(writing ? LabelTarget(param, context) : 0);
        break;
      case ParamTag::kBadInteger:
        throw platform::InvalidInteger(param.text);
      case ParamTag::kBadDecimal:
        if (writing) throw platform::InvalidReal(param.text);
        sink.Byte(Type(DataType::kFixed16));
        sink.Uint16(0);
        break;
      case ParamTag::kBadLocalVar:
        if (writing) throw platform::InvalidInteger("$" + std::string(param.text));
        sink.Byte(Type(DataType::kLocalVar));
        sink.Uint16(0);
        break;
      case ParamTag::kUnknown:
        throw platform::Error("Unknown param type");
    }
  }
  if (context.opcodes->Def(record.Opcode).count == kOpenList) sink.Byte(Type(DataType::kEndOfList));
}

std::string_view RecordsOf(const EncodeContext& context) {
  return (*context.parts)[context.current_part].records;
}

}  // namespace

int64_t EncodedSize(const TOpCode& record, const EncodeContext& context) {
  ByteCounter counter;
  Encode(record, RecordsOf(context), context, Pass::kSizing, counter);
  return counter.size();
}

char* WriteTo(const TOpCode& record, const EncodeContext& context, char* out, const char* end) {
  ByteWriter writer(out, end);
  Encode(record, RecordsOf(context), context, Pass::kWriting, writer);
  return writer.at();
}

char* WriteRecords(const EncodeContext& context, char* out, const char* end) {
  const std::string_view records = RecordsOf(context);
  ByteWriter writer(out, end);
  RecordReader reader(records);
  for (TOpCode record; reader.Next(&record);) {
    Encode(record, records, context, Pass::kWriting, writer);
  }
  return writer.at();
}

std::vector<int32_t> MissionNumbers(const NameTable& mission_names,
                                    const std::vector<std::string>& part_list,
                                    std::string_view mission_folder) {
  std::vector<int32_t> numbers(mission_names.size(), -1);
  if (numbers.empty()) return numbers;
  std::unordered_map<std::string, size_t> first_position;
  for (size_t position = 0; position < part_list.size(); ++position) {
    first_position.try_emplace(platform::SortKey(part_list[position]), position);
  }
  std::string key;
  for (uint32_t id = 0; id < numbers.size(); ++id) {
    key.assign(mission_folder).append(mission_names.Name(id)).append(".gsr");
    auto found = first_position.find(platform::SortKey(key));
    if (found != first_position.end() && found->second > 0) {
      numbers[id] = static_cast<int32_t>(found->second - 1);
    }
  }
  return numbers;
}

}  // namespace vornak
