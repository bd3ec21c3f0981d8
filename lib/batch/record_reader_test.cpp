#include "batch/record_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace batch;

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

}  // namespace
