#include "support/markup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MarkupText, EscapesMarkupAndReadsStrayBytesAsLatin1) {
  EXPECT_EQ(markup_text("<a href=\"x\">&'"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;");
  EXPECT_EQ(markup_text("caf\xE9 caf\xC3\xA9\t\n"), "caf\xC3\xA9 caf\xC3\xA9\t\n");
  EXPECT_EQ(markup_text(std::string("\0\xC3", 2)), "\xEF\xBF\xBD\xC3\x83");
}

// Sequences shaped like UTF-8 that are not characters XML takes: each byte
// is then a letter of its own.
TEST(MarkupText, ReadsWhatIsNoCharacterByteByByte) {
  EXPECT_EQ(markup_text("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");          // a surrogate
  EXPECT_EQ(markup_text("\xE0\x80\xAF"), "\xC3\xA0\xC2\x80\xC2\xAF");          // an overlong "/"
  EXPECT_EQ(markup_text("\xEF\xBF\xBF"), "\xC3\xAF\xC2\xBF\xC2\xBF");          // U+FFFF
  EXPECT_EQ(markup_text("\xF4\x90\x80\x80"), "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80");  // past U+10FFFF
  EXPECT_EQ(markup_text("\xF5\x80\x80"), "\xC3\xB5\xC2\x80\xC2\x80");          // a byte no UTF-8 starts with
  EXPECT_EQ(markup_text("\xF0\x9F\x98\x80\xEF\xBF\xBD"), "\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

}  // namespace
