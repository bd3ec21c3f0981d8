#include "support/fingerprint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// Two readings cut the same file in different pieces (batchcheck's record
// reader keeps an undecided carriage return back, pagesim reads line
// pieces): their fingerprints must still agree, and any changed, missing or
// extra byte must show.
TEST(Fingerprint, SameBytesHoweverCutAndAnyChangeShows) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>(i * 7919 % 251));
  Fingerprint whole;
  add_bytes(whole, bytes.data(), bytes.size());
  for (size_t piece : {1, 3, 8, 13, 31, 32, 33, 200}) {
    Fingerprint cut;
    for (size_t at = 0; at < bytes.size(); at += piece)
      add_bytes(cut, bytes.data() + at, std::min(piece, bytes.size() - at));
    EXPECT_TRUE(same_bytes(whole, cut)) << piece;
  }
  for (size_t at : {0, 7, 8, 500, 999}) {
    std::string changed = bytes;
    changed[at] ^= 1;
    Fingerprint other;
    add_bytes(other, changed.data(), changed.size());
    EXPECT_FALSE(same_bytes(whole, other)) << at;
  }
  Fingerprint shorter;
  add_bytes(shorter, bytes.data(), bytes.size() - 1);
  EXPECT_FALSE(same_bytes(whole, shorter));
}
