// The About value as shown: escaped line ends and the message formatter's own sequences,
// with numbered inserts passed through, since no argument is ever there to take.
#include <gtest/gtest.h>
#include <stdexcept>
#include "manager/AboutText.h"

namespace {

TEST(AboutText, BackslashNAndPercentNBreakLines) {
  EXPECT_EQ(formatAboutText("First line\\nsecond"), "First line\r\nsecond");
  EXPECT_EQ(formatAboutText("one %n two"), "one \r\n two");
  EXPECT_EQ(formatAboutText("a\\n\\nb"), "a\r\n\r\nb");
  // A real line end in the value stays a line end the edit control shows.
  EXPECT_EQ(formatAboutText("a\nb"), "a\r\nb");
  EXPECT_EQ(formatAboutText("a\r\nb"), "a\r\nb");
}

TEST(AboutText, NumberedInsertsPassThroughUnchanged) {
  EXPECT_EQ(formatAboutText("fourth %1 end"), "fourth %1 end");
  EXPECT_EQ(formatAboutText("%1%2%9"), "%1%2%9");
  EXPECT_EQ(formatAboutText("%1!d! and %2!s!"), "%1!d! and %2!s!");
  EXPECT_EQ(formatAboutText("%12 items"), "%12 items");
}

TEST(AboutText, PercentSignsKeepTheFormattersMeaning) {
  EXPECT_EQ(formatAboutText("100 %% sure"), "100 % sure");
  EXPECT_EQ(formatAboutText("%%1"), "%1");
  EXPECT_EQ(formatAboutText("ends with 100%"), "ends with 100%");
  EXPECT_EQ(formatAboutText("First line\\nsecond %n third %% fourth %1 end"),
            "First line\r\nsecond \r\n third % fourth %1 end");
}

TEST(AboutText, EmptyAndPlainTextsStay) {
  EXPECT_EQ(formatAboutText(""), "");
  EXPECT_EQ(formatAboutText("plain"), "plain");
  EXPECT_EQ(formatAboutText("back\\slash"), "back\\slash");
  EXPECT_EQ(formatAboutText("trailing \\"), "trailing \\");
  std::string longText(2047, 'a');
  EXPECT_EQ(formatAboutText(longText), longText);
}

}  // namespace

namespace {
TEST(AboutText, ATextTheFormatterCannotTakeThrows) {
  // "%0" ends the formatter's output at once: nothing is left to show.
  EXPECT_THROW(formatAboutText("%0 hidden"), std::runtime_error);
}
}  // namespace
