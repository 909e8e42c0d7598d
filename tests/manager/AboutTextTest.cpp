// The About value as shown: escaped line ends and the message formatter's own sequences,
// with numbered inserts passed through, since no argument is ever there to take.
#include <gtest/gtest.h>
#include <stdexcept>
#include "manager/AboutText.h"

namespace {

TEST(AboutText, FormatterRules) {
  struct Row {
    std::string about, shown;
  } rows[] = {
      // Escaped and real line ends, and "%n", become CR LF.
      {"First line\\nsecond", "First line\r\nsecond"}, {"one %n two", "one \r\n two"}, {"a\\n\\nb", "a\r\n\r\nb"},
      {"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"},
      // Numbered inserts have no argument: they pass through.
      {"fourth %1 end", "fourth %1 end"}, {"%1%2%9", "%1%2%9"}, {"%1!d! and %2!s!", "%1!d! and %2!s!"},
      {"%12 items", "%12 items"},
      // "%%" is one percent sign; a percent sign at the end stays.
      {"100 %% sure", "100 % sure"}, {"%%1", "%1"}, {"ends with 100%", "ends with 100%"},
      {"First line\\nsecond %n third %% fourth %1 end", "First line\r\nsecond \r\n third % fourth %1 end"},
      {"", ""}, {"plain", "plain"}, {"back\\slash", "back\\slash"}, {"trailing \\", "trailing \\"},
      {std::string(2047, 'a'), std::string(2047, 'a')}};
  for (const Row& row : rows) EXPECT_EQ(formatAboutText(row.about), row.shown) << row.about;
  // "%0" ends the formatter's output at once: nothing is left to show.
  EXPECT_THROW(formatAboutText("%0 hidden"), std::runtime_error);
}

}  // namespace
