#include "pages/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace pages {

namespace {

// The pieces `reader` gives, read to the end.
std::vector<std::string> pieces_of(LineReader& reader) {
  std::vector<std::string> out;
  for (std::string_view piece; reader.next(piece);) out.emplace_back(piece);
  EXPECT_FALSE(reader.failed());
  return out;
}

// The pieces a LineReader gives for a file holding `content`. Without
// `join_crlf`, the text read from memory must give the very same pieces: the
// gallery writes its pages from the template read once.
std::vector<std::string> pieces(const std::string& content, bool join_crlf = false) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  LineReader reader(file, join_crlf);
  std::vector<std::string> out = pieces_of(reader);
  std::fclose(file);
  if (!join_crlf) {
    LineReader text_reader(content);
    EXPECT_EQ(pieces_of(text_reader), out);
  }
  return out;
}

}  // namespace

TEST(LineReader, SplitsAfterEachLineEndAndKeepsIt) {
  EXPECT_EQ(pieces(""), std::vector<std::string>{});
  EXPECT_EQ(pieces("a\n\nb\r\nc"), (std::vector<std::string>{"a\n", "\n", "b\r\n", "c"}));
}

TEST(LineReader, CutsLongLinesEvery16583Characters) {
  std::string exact(16582, 'a');
  EXPECT_EQ(pieces(exact + "\n"), std::vector<std::string>{exact + "\n"});
  std::string full(16583, 'b');
  EXPECT_EQ(pieces(full + "\n"), (std::vector<std::string>{full, "\n"}));
  EXPECT_EQ(pieces(full + full + "c\n"), (std::vector<std::string>{full, full, "c\n"}));
}

// Lines cross the blocks read from the file: each comes back whole, and the
// whole file comes back byte for byte.
TEST(LineReader, LinesAcrossReadBlocks) {
  std::string content;
  for (int i = 0; content.size() < 300'000; ++i) content += std::string(static_cast<std::size_t>(i % 977), 'x') + "\n";
  content += std::string(40'000, 'y');
  std::string joined;
  std::size_t longest = 0;
  for (const std::string& piece : pieces(content)) {
    joined += piece;
    longest = std::max(longest, piece.size());
  }
  EXPECT_EQ(joined, content);
  EXPECT_EQ(longest, MAX_LINE_PIECE);
}

TEST(LineReader, JoinsOnlyCrLfPairsEvenAcrossReadBlocks) {
  EXPECT_EQ(pieces("a\r\nb\rc\n\r\r\n\r", true), (std::vector<std::string>{"a\n", "b\rc\n", "\r\n", "\r"}));
  // A CR that ends one block of 64 KiB and the LF that begins the next.
  std::string first(65535, 'a');
  EXPECT_EQ(pieces(first + "\r\nz", true).back(), "z");
  EXPECT_EQ(pieces(first + "\r\nz", true).size(), 5u);
  EXPECT_TRUE(pieces(first + "\r", true).back().ends_with("a\r"));
}

}  // namespace pages
