// Byte-buffer operations: every byte position counts, zero bytes included.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "text/text_ops.h"

namespace quorvane {
namespace {

using namespace std::literals;

Bytes B(std::string_view bytes) { return Bytes(bytes); }

TEST(ByteBuffers, CutsClampStartAndCount) {
  struct Case {
    const char* name;
    Bytes result;
    std::string_view expected;
  };
  const Bytes abc = B("abc");
  const Case cases[] = {
      {"mid from 0 reads from the first byte", BytesMid(abc, 0, 2), "ab"},
      {"mid from negative", BytesMid(abc, INT_MIN, 1), "a"},
      {"mid from length + 1", BytesMid(abc, 4, 2), ""},
      {"mid far past the end", BytesMid(abc, INT_MAX, 2), ""},
      {"mid negative count", BytesMid(abc, 1, -1), ""},
      {"mid count past end", BytesMid(abc, 2, INT_MAX), "bc"},
      {"mid keeps zero bytes", BytesMid(B("a\0b"sv), 2, 2), "\0b"sv},
      {"left beyond", BytesLeft(abc, 9), "abc"},
      {"left negative", BytesLeft(abc, -1), ""},
      {"right beyond", BytesRight(abc, 9), "abc"},
      {"right two", BytesRight(abc, 2), "bc"},
      {"right negative", BytesRight(abc, -9), ""},
      {"replace range", ReplaceBytesRange(abc, 2, 1, B("XY")), "aXYc"},
      {"replace range removes", ReplaceBytesRange(abc, 1, 2), "c"},
      {"replace range start below 1", ReplaceBytesRange(abc, -4, 1, B("-")), "-bc"},
      {"replace range start past end appends", ReplaceBytesRange(abc, 99, 5, B("!")), "abc!"},
      {"replace range count past end", ReplaceBytesRange(abc, 2, INT_MAX, B("!")), "a!"},
      {"zero bytes", ZeroBytes(3), "\0\0\0"sv},
      {"zero bytes of negative", ZeroBytes(-1), ""},
      {"concat of two empty", ConcatBytes(Bytes(), Bytes()), ""},
      {"concat", ConcatBytes(B("a\0"sv), Bytes(), B("b")), "a\0b"sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.result, Bytes(c.expected));
  }
  EXPECT_EQ(BytesLength(Bytes()), 0);
  EXPECT_EQ(BytesLength(B("\0\0"sv)), 2);
}

TEST(ByteBuffers, FindBytes) {
  const Bytes four = B("ab\0b"sv);
  EXPECT_EQ(FindBytes(four, Bytes()), -1);
  EXPECT_EQ(FindBytes(four, B("b")), 2);
  EXPECT_EQ(FindBytes(four, B("b"), 3), 4);
  EXPECT_EQ(FindBytes(four, B("b"), 4), 4);
  EXPECT_EQ(FindBytes(four, B("b"), 5), -1);
  EXPECT_EQ(FindBytes(four, B("b"), -7), 2);
  EXPECT_EQ(FindBytes(four, B("\0"sv)), 3);
  // No character structure: the second byte of what would be a text character matches.
  EXPECT_EQ(FindBytes(B("\xD6\x41"), B("A")), 2);
  EXPECT_EQ(FindBytesBackward(four, B("b")), 4);
  EXPECT_EQ(FindBytesBackward(four, Bytes()), -1);
  EXPECT_EQ(FindBytesBackward(four, B("c")), -1);
  EXPECT_EQ(FindBytesBackward(B("aaa"), B("aa")), 2);
}

TEST(ByteBuffers, ReplaceAllBytes) {
  EXPECT_EQ(ReplaceAllBytes(B("a\0b\0"sv), B("\0"sv), B("--")), B("a--b--"));
  EXPECT_EQ(ReplaceAllBytes(B("a\r\nb"), B("\r\n")), B("ab"));
  EXPECT_EQ(ReplaceAllBytes(B("aaa"), B("aa"), B("b")), B("ba"));
  EXPECT_EQ(ReplaceAllBytes(B("ab"), B("b"), B("bb")), B("abb"));
  EXPECT_EQ(ReplaceAllBytes(B("ab"), Bytes(), B("x")), B("ab"));
  EXPECT_EQ(ReplaceAllBytes(Bytes(), B("a"), B("x")), Bytes());
}

TEST(ByteBuffers, SplitBytes) {
  auto pieces = [](const Array<Bytes>& array) {
    std::vector<std::string> out;
    for (const Bytes& piece : array)
      out.push_back(piece.str());
    return out;
  };
  using Expected = std::vector<std::string>;
  EXPECT_EQ(pieces(SplitBytes(B("a|b|"), B("|"))), (Expected{"a", "b"}));
  EXPECT_EQ(pieces(SplitBytes(B("|a||b"), B("|"))), (Expected{"", "a", "", "b"}));
  EXPECT_EQ(pieces(SplitBytes(B("a\0b"sv), B("\0"sv))), (Expected{"a", "b"}));
  EXPECT_EQ(pieces(SplitBytes(B("\xD6|x"), B("|"))), (Expected{"\xD6", "x"}));
  EXPECT_EQ(pieces(SplitBytes(B("ab"), Bytes())), (Expected{"ab"}));
  EXPECT_EQ(pieces(SplitBytes(Bytes(), B("|"))), Expected{});
}

TEST(ByteBuffers, Equality) {
  EXPECT_TRUE(BytesEqual(Bytes(), B("")));
  EXPECT_TRUE(BytesEqual(B("a\0b"sv), B("a\0b"sv)));
  EXPECT_FALSE(BytesEqual(B("a\0b"sv), B("a\0c"sv)));
  EXPECT_FALSE(BytesEqual(B("a"sv), B("a\0"sv)));
}

}  // namespace
}  // namespace quorvane
