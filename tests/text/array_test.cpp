// The 1-based array and the error stop that guards its bounds.
#include <gtest/gtest.h>

#include "text/text_ops.h"

namespace quorvane {
namespace {

Array<Text> ThreeTexts() { return {Text("a"), Text("b"), Text("c")}; }

TEST(ArrayAccess, NumbersFromOne) {
  Array<Text> array = ThreeTexts();
  EXPECT_EQ(array.Count(), 3);
  EXPECT_EQ(array[1], Text("a"));
  EXPECT_EQ(array[3], Text("c"));
  array[2] = Text("B");
  EXPECT_EQ(array.At(2), Text("B"));
  EXPECT_EQ(Array<int32_t>().Count(), 0);
}

TEST(ArrayAccess, RemoveAtOutsideTheRangeChangesNothing) {
  for (int32_t k : {0, -1, 4, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(k);
    Array<Text> array = ThreeTexts();
    array.RemoveAt(k);
    EXPECT_EQ(array, ThreeTexts());
  }
  Array<Text> array = ThreeTexts();
  array.RemoveAt(1);
  EXPECT_EQ(array, (Array<Text>{Text("b"), Text("c")}));
  array.Clear();
  EXPECT_TRUE(array.empty());
}

TEST(ArrayAccess, CopiesAreIndependent) {
  Array<Text> original = ThreeTexts();
  Array<Text> copy = original;
  copy[1] = Text("changed");
  copy.Append(Text("d"));
  EXPECT_EQ(original, ThreeTexts());
}

using ArrayAccessDeathTest = testing::Test;

TEST_F(ArrayAccessDeathTest, ElementOutsideTheCountStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Array<Text> array = ThreeTexts();
  EXPECT_EXIT((void)array[0], testing::ExitedWithCode(255), "below 1");
  EXPECT_EXIT((void)array[4], testing::ExitedWithCode(255), "above the element count");
  Array<int32_t> empty;
  EXPECT_EXIT(empty[1] = 5, testing::ExitedWithCode(255), "above the element count");
}

}  // namespace
}  // namespace quorvane
