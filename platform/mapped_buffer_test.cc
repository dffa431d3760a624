#include "platform/mapped_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

#include "platform/arena.h"

namespace platform {
namespace {

// Growing past the first mapping, small and past the huge-page size, keeps every byte written.
TEST(MappedBufferTest, GrowingKeepsTheBytes) {
  MappedBuffer buffer;
  buffer.Reserve(100);
  ASSERT_GE(buffer.capacity(), 100u);
  std::memset(buffer.data(), 'a', buffer.capacity());
  const size_t first = buffer.capacity();
  for (const size_t size : {size_t{70} << 10, size_t{5} << 20}) {
    buffer.Reserve(size);
    ASSERT_GE(buffer.capacity(), size);
    for (size_t i = 0; i < first; ++i) ASSERT_EQ(buffer.data()[i], 'a') << i;
  }
  buffer.data()[buffer.capacity() - 1] = 'z';

  MappedBuffer moved(std::move(buffer));
  EXPECT_EQ(buffer.data(), nullptr);
  EXPECT_EQ(moved.data()[moved.capacity() - 1], 'z');
  moved.Release();
  EXPECT_EQ(moved.capacity(), 0u);
}

// Pieces of an arena are aligned and never overlap, across blocks and for pieces larger than a
// block.
TEST(ArenaTest, PiecesAreAlignedAndApart) {
  Arena arena;
  std::set<std::pair<uintptr_t, uintptr_t>> pieces;
  for (const size_t size : {size_t{1}, size_t{24}, size_t{3} << 20, size_t{17}, size_t{1} << 20,
                            size_t{1} << 20, size_t{5}}) {
    auto* piece = static_cast<char*>(arena.Allocate(size));
    const auto start = reinterpret_cast<uintptr_t>(piece);
    EXPECT_EQ(start % alignof(std::max_align_t), 0u);
    std::memset(piece, 0x5A, size);
    const auto next = pieces.lower_bound({start, 0});
    if (next != pieces.end()) {
      EXPECT_LE(start + size, next->first);
    }
    if (next != pieces.begin()) {
      EXPECT_LE(std::prev(next)->second, start);
    }
    pieces.insert({start, start + size});
  }
}

}  // namespace
}  // namespace platform
