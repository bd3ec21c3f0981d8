#include "duplicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

std::vector<size_t> repeats(std::vector<std::string_view> entries) { return repeated_entries(entries); }

TEST(RepeatedEntries, EachOccurrenceButTheLastInFileOrder) {
  EXPECT_EQ(repeats({"A", "B", "A"}), (std::vector<size_t>{0}));
  EXPECT_EQ(repeats({"A", "A", "A"}), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(repeats({"A", "B", "C"}), (std::vector<size_t>{}));
  EXPECT_EQ(repeats({"B", "A", "B", "A", "B"}), (std::vector<size_t>{0, 1, 2}));
  EXPECT_EQ(repeats({}), (std::vector<size_t>{}));
}

TEST(RepeatedEntries, ShortAndBlankIdsCompareWhole) {
  // Short ids must not shift the comparison onto their neighbours.
  EXPECT_EQ(repeats({"AB", "ABC", "AB"}), (std::vector<size_t>{0}));
  EXPECT_EQ(repeats({"", "X", ""}), (std::vector<size_t>{0}));
  EXPECT_EQ(repeats({"abc", "ABC"}), (std::vector<size_t>{}));
}

TEST(RepeatedEntries, SameAnswerForShortAndLongEntries) {
  // Entries of up to seven bytes are compared as numbers, longer ones as
  // texts: a long entry that never repeats must not change the answer.
  std::vector<std::string> ids;
  for (int i = 0; i < 500; ++i) ids.push_back(std::string(static_cast<size_t>(i % 8), static_cast<char>(i % 3)));
  ids.push_back(std::string("A\0", 2));
  ids.push_back("A");
  std::vector<std::string_view> short_ids(ids.begin(), ids.end());
  std::vector<size_t> expected;
  for (size_t i = 0; i < short_ids.size(); ++i)
    if (std::find(short_ids.begin() + static_cast<long>(i) + 1, short_ids.end(), short_ids[i]) != short_ids.end())
      expected.push_back(i);
  EXPECT_EQ(repeats(short_ids), expected);
  std::vector<std::string_view> with_long = short_ids;
  with_long.push_back("LONGER THAN SEVEN");
  EXPECT_EQ(repeats(with_long), expected);
}

class TidFile : public ::testing::Test {
 protected:
  std::string name = (std::filesystem::temp_directory_path() / "duplicates_test.TID").string();
  void write(const std::vector<std::string>& ids) {
    FILE* file = std::fopen(name.c_str(), "wb");
    for (const auto& id : ids) write_tid_entry(file, id);
    std::fclose(file);
  }
  void TearDown() override { std::filesystem::remove(name); }
};

TEST_F(TidFile, EntriesAreIdAndCarriageReturnLineFeed) {
  write({"ABC123", "X"});
  EXPECT_EQ(std::filesystem::file_size(name), 11u);
}

TEST_F(TidFile, CheckReportsRepeatsAndDeletesTheFile) {
  write({"ABC123", "X", "ABC123"});
  testing::internal::CaptureStdout();
  EXPECT_EQ(check_duplicate_transactions(name), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "The transaction_id (ABC123) is present in several lines\n");
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(TidFile, EmptyFileHasNoRepeat) {
  write({});
  testing::internal::CaptureStdout();
  EXPECT_EQ(check_duplicate_transactions(name), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(TidFile, MissingFileIsResultTwo) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(check_duplicate_transactions(name), 2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error fopen (r) file " + name);
}

}  // namespace
