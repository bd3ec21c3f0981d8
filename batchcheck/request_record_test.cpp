#include "request_record.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every record the reading unit returns for `bytes`.
std::vector<std::string> records_of(const std::string& bytes) {
  FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  RecordReader reader = make_record_reader(file);
  std::vector<std::string> records;
  for (std::string record; read_record(reader, record);) records.push_back(record);
  std::fclose(file);
  return records;
}

TEST(ReadingUnit, RecordEndsAfterLineEndOrAt200Characters) {
  std::string line199(199, 'a');
  std::string line200(200, 'b');
  auto records = records_of(line199 + "\n" + line200 + line199 + "\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], line199 + "\n");
  EXPECT_EQ(records[1], line200);
  EXPECT_EQ(records[2], line199 + "\n");
}

TEST(ReadingUnit, LineEndAfter200CharactersIsARecordOfItsOwn) {
  auto records = records_of(std::string(200, 'x') + "\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1], "\n");
}

TEST(ReadingUnit, LongLineIsCutInto200AndTheRest) {
  auto records = records_of(std::string(250, 'x') + "\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].size(), 200u);
  EXPECT_EQ(records[1].size(), 51u);
}

TEST(ReadingUnit, CarriageReturnLineFeedIsOneLineEnd) {
  std::string line199(199, 'c');
  auto records = records_of(line199 + "\r\n" + line199 + "\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], line199 + "\n");
  EXPECT_EQ(records[1].size(), 200u);
}

TEST(ReadingUnit, CarriageReturnLineFeedStraddlingTheLimitIsStillOneLineEnd) {
  // 199 characters, then CR LF: the CR is the 200th byte but not a character.
  auto records = records_of(std::string(199, 'd') + "\r\n" + "09");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].back(), '\n');
  EXPECT_EQ(records[1], "09");
}

TEST(ReadingUnit, LoneCarriageReturnAndNulAreOrdinaryCharacters) {
  std::string bytes("a\rb\0c\rx", 7);
  auto records = records_of(bytes + "\n");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], bytes + "\n");
}

TEST(ReadingUnit, EmptyLinesAreRecordsAndEmptyFileHasNone) {
  EXPECT_TRUE(records_of("").empty());
  auto records = records_of("\n\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], "\n");
  EXPECT_EQ(records[1], "\n");
}

TEST(ReadingUnit, RecordsSpanningTheReadBufferComeOutWhole) {
  std::string line(199, 'e');
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += line + "\r\n";
  auto records = records_of(bytes);
  ASSERT_EQ(records.size(), 1000u);
  for (const auto& r : records) ASSERT_EQ(r, line + "\n");
}

// The reading unit's rule, one byte at a time, for comparison.
std::vector<std::string> reference_records(const std::string& bytes) {
  std::vector<std::string> records;
  std::string record;
  for (size_t i = 0; i < bytes.size();) {
    char c = bytes[i++];
    bool pair = c == '\r' && i < bytes.size() && bytes[i] == '\n';
    if (pair) ++i;
    record.push_back(pair ? '\n' : c);
    if (record.back() == '\n' || record.size() == 200) records.push_back(std::move(record)), record.clear();
  }
  if (!record.empty()) records.push_back(record);
  return records;
}

TEST(ReadingUnit, LineEndsAroundTheLimitReadTheSameAnywhereInTheFile) {
  // Lines of every length near 200, ended by LF, CR LF, a lone CR or nothing,
  // enough of them to fill several read buffers.
  const char* endings[] = {"\n", "\r\n", "\r", "", "\r\r\n"};
  std::string bytes;
  for (int round = 0; round < 120; ++round)
    for (size_t length = 0; length < 210; length += (length < 190 ? 37 : 1))
      for (const char* ending : endings) bytes += std::string(length, static_cast<char>('a' + round % 26)) + ending;
  ASSERT_GT(bytes.size(), 3u << 16);
  EXPECT_EQ(records_of(bytes), reference_records(bytes));
}

TEST(Fields, ShortRecordsHoldOnlyWhatTheyHave) {
  EXPECT_EQ(field_of("0012", request::MERCHANT_COUNTRY), "12");
  EXPECT_EQ(field_of("001", request::MERCHANT_COUNTRY), "1");
  EXPECT_EQ(field_of("00", request::MERCHANT_COUNTRY), "");
  EXPECT_EQ(trimmed_field("03FR   ", request::MERCHANT_ID), "");
}

TEST(Fields, TrimmingRemovesOnlyTrailingBlanks) {
  EXPECT_EQ(trim_trailing_blanks(std::string_view("  AB  ")), "  AB");
  EXPECT_EQ(trim_trailing_blanks(std::string_view("    ")), "");
  EXPECT_EQ(trim_trailing_blanks(std::string_view("AB\t")), "AB\t");
}

TEST(NumericText, ReadsLikeTheServer) {
  EXPECT_EQ(numeric_value("000012"), 12);
  EXPECT_EQ(numeric_value("12    "), 12);
  EXPECT_EQ(numeric_value("    12"), 12);
  EXPECT_EQ(numeric_value("AB    "), 0);
  EXPECT_EQ(numeric_value(""), 0);
  EXPECT_EQ(numeric_value("-3x"), -3);
  EXPECT_EQ(numeric_value("+7"), 7);
  EXPECT_EQ(numeric_value("1 2"), 1);
  EXPECT_EQ(numeric_value("99999999999999999999"), INT32_MAX);
}

TEST(ResponseCodeHelpers, LastTwoCharsAndDigits) {
  EXPECT_EQ(last_two_chars("123405"), "05");
  EXPECT_EQ(last_two_chars("5"), "");
  EXPECT_EQ(last_two_chars(""), "");
  EXPECT_TRUE(is_all_digits(""));
  EXPECT_TRUE(is_all_digits("51"));
  EXPECT_FALSE(is_all_digits("GH"));
  EXPECT_FALSE(is_all_digits("5 "));
}

}  // namespace

// Two passes read the same file in different pieces (the record reader keeps
// an undecided carriage return back): their tallies must still agree, and
// any changed, missing or extra byte must show.
TEST(ReadTally, SameBytesHoweverCutAndAnyChangeShows) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>(i * 7919 % 251));
  ReadTally whole;
  tally_bytes(whole, bytes.data(), bytes.size());
  for (size_t piece : {1, 3, 8, 13, 31, 32, 33, 200}) {
    ReadTally cut;
    for (size_t at = 0; at < bytes.size(); at += piece)
      tally_bytes(cut, bytes.data() + at, std::min(piece, bytes.size() - at));
    EXPECT_TRUE(same_bytes(whole, cut)) << piece;
  }
  for (size_t at : {0, 7, 8, 500, 999}) {
    std::string changed = bytes;
    changed[at] ^= 1;
    ReadTally other;
    tally_bytes(other, changed.data(), changed.size());
    EXPECT_FALSE(same_bytes(whole, other)) << at;
  }
  ReadTally shorter;
  tally_bytes(shorter, bytes.data(), bytes.size() - 1);
  EXPECT_FALSE(same_bytes(whole, shorter));
}
