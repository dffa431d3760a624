#include "mavren/byte_reader.h"

#include <gtest/gtest.h>

#include "mavren/test_support.h"

namespace mavren {
namespace {

TEST(ByteReaderTest, ReadsLittleEndianAndAdvances) {
  const std::string image(
      "\x34\x12\xFE\xFF\xFF\xFF\x80"
      "abc\0\0\0\0\0"
      "ABCDEFGH",
      23);
  ByteReader reader(testing::Bytes(image), "main.scm");
  EXPECT_EQ(reader.ReadUInt16("word"), 0x1234);
  EXPECT_EQ(reader.ReadInt32("value"), -2);
  EXPECT_EQ(reader.ReadUInt8("byte"), 0x80);
  EXPECT_EQ(reader.ReadText(8, "text"), "abc");
  EXPECT_EQ(reader.ReadText(8, "text"), "ABCDEFGH");
  EXPECT_EQ(reader.offset(), 23);
}

TEST(ByteReaderTest, ReadOutsideTheFileNamesFileOffsetAndField) {
  const std::string image("\x01\x02\x03", 3);
  struct Case {
    int64_t offset;
    int size;  // 1, 2, 4 or a text of 8
    const char* message;
  } cases[] = {
      {2, 2, "main.scm: offset 2: unable to read 16-bit opcode word past the end of the file"},
      {0, 4, "main.scm: offset 0: unable to read 32-bit opcode word past the end of the file"},
      {3, 1, "main.scm: offset 3: unable to read 8-bit opcode word past the end of the file"},
      {0, 8, "main.scm: offset 0: unable to read 8-byte opcode word past the end of the file"},
      {-1, 1, "main.scm: offset -1: unable to read 8-bit opcode word before the start of the file"},
      {int64_t{1} << 40, 2,
       "main.scm: offset 1099511627776: unable to read 16-bit opcode word past the end of the "
       "file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ByteReader reader(testing::Bytes(image), "main.scm");
    reader.Seek(c.offset);
    try {
      switch (c.size) {
        case 1:
          reader.ReadUInt8("opcode word");
          break;
        case 2:
          reader.ReadUInt16("opcode word");
          break;
        case 4:
          reader.ReadInt32("opcode word");
          break;
        default:
          reader.ReadText(c.size, "opcode word");
          break;
      }
      ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace mavren
