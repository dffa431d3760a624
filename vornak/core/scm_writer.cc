#include "vornak/core/scm_writer.h"

#include "platform/error.h"
#include "vornak/core/scm_format.h"

namespace vornak {
namespace {

void AppendSegmentJump(int64_t target, std::string* image) {
  AppendUint16(image, kJumpOpcode);
  AppendByte(image, static_cast<uint8_t>(DataType::kInt32));
  AppendInt32(image, static_cast<int32_t>(target));
  AppendByte(image, 0);
}

// The header's offsets are stored in 32 bits; one that does not fit is refused before it is used.
void CheckFileOffset(int64_t offset) {
  if (offset > kMaxFileSize) {
    throw platform::Error("The compiled file would be larger than its 32-bit offsets can address");
  }
}

}  // namespace

int64_t WriteVariableSegment(size_t variable_count, std::string* image) {
  const int64_t next = kSegmentJumpSize + static_cast<int64_t>(variable_count) * kVariableSize;
  CheckFileOffset(next);
  AppendSegmentJump(next, image);
  image->append(variable_count * kVariableSize, '\0');
  return next;
}

int64_t WriteObjectSegment(const platform::SortedNameList& local_objects, std::string* image) {
  const auto start = static_cast<int64_t>(image->size());
  const int64_t next = start + kObjectSegmentFixedSize +
                       static_cast<int64_t>(local_objects.size() * kObjectNameSize);
  CheckFileOffset(next);
  AppendSegmentJump(next, image);
  AppendInt32(image, static_cast<int32_t>(local_objects.size() + 1));
  image->append(kSignature);
  for (const uint32_t id : local_objects.IdsInOrder()) {
    const std::string& name = local_objects.Spelling(id);  // "%" and at most 24 characters
    image->append(name, 1);
    image->append(kObjectNameSize - (name.size() - 1), '\0');
  }
  return next;
}

int32_t ReserveMissionSegment(size_t mission_count, std::string* image) {
  const int64_t code_start = static_cast<int64_t>(image->size()) + kMissionSegmentFixedSize +
                             static_cast<int64_t>(mission_count) * 4;
  CheckFileOffset(code_start);
  image->resize(code_start);
  return static_cast<int32_t>(code_start);
}

void WriteMissionSegment(int64_t segment_start, int32_t code_start,
                         const std::vector<ScriptPart>& parts, std::string* image) {
  std::string segment;
  AppendSegmentJump(code_start, &segment);
  AppendInt32(&segment, code_start + parts[0].Size);
  AppendInt32(&segment, parts[0].Size);
  AppendInt32(&segment, static_cast<int32_t>(parts.size() - 1));
  for (size_t part = 1; part < parts.size(); ++part) AppendInt32(&segment, parts[part].Start);
  image->replace(segment_start, segment.size(), segment);
}

}  // namespace vornak
