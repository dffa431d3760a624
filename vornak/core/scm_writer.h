// The three header segments of the compiled file, written into the file's image in memory.
//
// Each segment opens with a jump to the next one, so a reader starting at offset 0 passes the
// header and arrives at the main part. The variable segment holds four zero bytes per global
// variable; the object segment the signature and the names of the local objects, 24 bytes each;
// the mission segment the main part's end and size, the mission count and every mission's start.
// The mission segment needs the layout, which needs the code start behind it, so it is reserved
// first and filled after layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sorted_name_list.h"
#include "vornak/core/script_part.h"

namespace vornak {

// Writes the variable segment at the start of the empty |image|; returns the object segment's
// start.
int64_t WriteVariableSegment(size_t variable_count, std::string* image);

// Appends the object segment: the local objects' names in slot order, without their "%". Returns
// the mission segment's start.
int64_t WriteObjectSegment(const platform::SortedNameList& local_objects, std::string* image);

// Extends |image| by the mission segment's size for |mission_count| missions, leaving its bytes
// to WriteMissionSegment. Returns the code start. Throws platform::Error when the header alone
// passes the largest file offset.
int32_t ReserveMissionSegment(size_t mission_count, std::string* image);

// Fills the reserved mission segment at |segment_start| from the laid-out |parts|.
void WriteMissionSegment(int64_t segment_start, int32_t code_start,
                         const std::vector<ScriptPart>& parts, std::string* image);

}  // namespace vornak
