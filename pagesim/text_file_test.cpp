#include "text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> pieces(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (std::string_view piece = next_line_piece(text, pos); !piece.empty(); piece = next_line_piece(text, pos))
    out.emplace_back(piece);
  return out;
}

}  // namespace

TEST(NextLinePiece, SplitsAfterEachLineEndAndKeepsIt) {
  EXPECT_EQ(pieces(""), std::vector<std::string>{});
  EXPECT_EQ(pieces("a\n\nb\r\nc"), (std::vector<std::string>{"a\n", "\n", "b\r\n", "c"}));
}

TEST(NextLinePiece, CutsLongLinesEvery16583Characters) {
  std::string exact(16582, 'a');
  EXPECT_EQ(pieces(exact + "\n"), std::vector<std::string>{exact + "\n"});
  std::string full(16583, 'b');
  EXPECT_EQ(pieces(full + "\n"), (std::vector<std::string>{full, "\n"}));
  EXPECT_EQ(pieces(full + full + "c\n"), (std::vector<std::string>{full, full, "c\n"}));
}

TEST(JoinCrLf, OnlyPairsBecomeOneLineEnd) {
  EXPECT_EQ(join_crlf("a\r\nb\rc\n\r\r\n\r"), "a\nb\rc\n\r\n\r");
}

