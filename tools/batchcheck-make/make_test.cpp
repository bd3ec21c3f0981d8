#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "make_csv.h"
#include "make_json.h"
#include "make_run.h"
#include "make_table.h"
#include "batch/request_writer.h"
#include "batch/verify.h"
#include "request_builder.h"
#include "support/text.h"

using namespace batch;
using namespace support;

namespace {

// A batch made from a table, each in the test's own folder.
class MadeBatch : public PrivateFolderTest {
 protected:
  std::string table = path("table.csv");
  std::string request = path("request");

  void write_table(const std::string& text) const { write_file(table, text); }

  // Makes the batch from the table file; the message on bad input.
  bool make(const BatchHeader& header, std::string_view line_end, std::string* err, const std::string& into = "") {
    std::FILE* in = std::fopen(table.c_str(), "rb");
    std::FILE* out = std::fopen((into.empty() ? request : into).c_str(), "wb");
    CsvReader reader = make_csv_reader(in);
    BlockWriter output = make_block_writer(out);
    bool made = make_from_table(reader, header, line_end, output, err) && flush_block_writer(output);
    std::fclose(in);
    std::fclose(out);
    return made;
  }
};

// A table value written as RFC 4180 wants it, quoted when it must be and
// sometimes when it need not.
std::string csv_value(const std::string& value, std::mt19937& random) {
  if (value.find_first_of(",\"") == std::string::npos && random() % 4 != 0) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

// A text of at most `width` characters the layout can hold, some of them
// outside ASCII (written as UTF-8) or special to CSV.
std::string random_text(size_t width, std::mt19937& random) {
  static const std::vector<std::string> PIECES = {"A", "z", "7", "0", " ", ",", "\"", "-", "\xC3\xA9", "\xC2\xB0"};
  std::string text;
  for (size_t n = random() % (width + 1); n > 0; --n) text += PIECES[random() % PIECES.size()];
  return text;
}

// A random value of the table's `column` for the body record `row`; the
// body_zone_1 and the answer given are kept in `zone` and `answer`.
std::string random_cell(const std::string& column, int row, const BatchHeader& header, std::mt19937& random,
                        std::string& zone, std::string& answer) {
  bool given = random() % 3 != 0;
  if (column == "merchant_country") return given ? header.merchant_country : "";
  if (column == "merchant_id") return given ? header.merchant_id : "";
  if (column == "record_number") return given ? std::to_string(row) : "";
  if (column == "transaction_id") return given ? "T" + std::to_string(row) : "";  // never a six-digit default
  if (column == "answer") {
    static const char* CODES[] = {"00", "14", "05", "51", "99", ""};
    return answer = CODES[random() % 6];
  }
  size_t width = column == "body_rest"                                ? 60
                 : column == "body_zone_1"                            ? 8
                 : column == "body_zone_2"                            ? 12
                 : column == "body_zone_3" || column == "body_zone_6" ? 3
                 : column == "body_zone_4"                            ? 50
                                                                      : 32;
  std::string value = random_text(width, random);
  if (column == "body_zone_1") zone = value;
  return value;
}

// Every batch made from a table without deliberate faults passes batchcheck
// with the merchant, country and file number it was made for, and the
// simulated Response answers each record with the code the table asked for.
TEST_F(MadeBatch, EveryRandomTableGivesAValidBatchAnsweredAsAsked) {
  std::mt19937 random(20261209);
  const std::vector<std::string> COLUMNS = {"merchant_country", "merchant_id", "record_number", "body_zone_1",
                                            "transaction_id",   "body_zone_2", "body_zone_3",   "body_zone_4",
                                            "body_zone_5",      "body_zone_6", "body_rest",     "answer"};
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> columns;
    for (const std::string& column : COLUMNS)
      if (random() % 2) columns.push_back(column);
    if (columns.empty()) columns.push_back("answer");
    std::shuffle(columns.begin(), columns.end(), random);
    BatchHeader header;
    header.merchant_id = "SHOP" + std::to_string(random() % 100000);
    header.merchant_country = random() % 2 ? "FR" : "BE";
    std::string file_number = std::to_string(1 + random() % 999999);
    header.file_number = six_digits(std::stoi(file_number));
    header.header_rest = random_text(20, random);
    std::string_view line_end = random() % 2 ? CRLF : LF;

    std::string text;
    for (const std::string& column : columns) text += (text.empty() ? "" : ",") + column;
    text += "\r\n";
    std::vector<std::string> expected_codes;
    int rows = static_cast<int>(random() % 30);
    for (int row = 1; row <= rows; ++row) {
      std::string zone, answer, line;
      for (size_t c = 0; c < columns.size(); ++c)
        line += (c == 0 ? "" : ",") + csv_value(random_cell(columns[c], row, header, random, zone, answer), random);
      text += line + (random() % 2 ? "\r\n" : "\n");
      std::string latin1_zone;
      std::string why;
      ASSERT_TRUE(utf8_to_latin1(zone, latin1_zone, &why)) << why;
      expected_codes.emplace_back(answer.empty() ? select_response_code(latin1_zone) : answer);
    }
    write_table(text);
    std::string err;
    ASSERT_TRUE(make(header, line_end, &err)) << err << "\n" << text;

    testing::internal::CaptureStdout();
    VerificationResult result = verify_request_file(request, file_number);
    std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(result, VerificationResult::VALID) << printed << "\n" << text;

    std::string answer = response_to(request, header.merchant_id, header.merchant_country);
    ASSERT_EQ(answer.size(), RECORD_LENGTH * (expected_codes.size() + 2));
    for (size_t n = 1; n <= expected_codes.size(); ++n)
      EXPECT_EQ(answer.substr(RECORD_LENGTH * n + 136, 2), expected_codes[n - 1]) << "row " << n << "\n" << text;
  }
}

TEST_F(MadeBatch, ReadsTheValuesRfc4180Gives) {
  write_table("\xEF\xBB\xBF" "a,\"b,\"\"c\"\"\",\"\"\r\n,x\ry\n\"line\r\nend\",\"\"\"\"");
  std::FILE* in = std::fopen(table.c_str(), "rb");
  CsvReader reader = make_csv_reader(in);
  std::vector<std::string> values;
  ASSERT_EQ(read_csv_row(reader, values), CsvRow::ROW);
  EXPECT_EQ(values, (std::vector<std::string>{"a", "b,\"c\"", ""}));
  ASSERT_EQ(read_csv_row(reader, values), CsvRow::ROW);
  EXPECT_EQ(values, (std::vector<std::string>{"", "x\ry"}));
  ASSERT_EQ(read_csv_row(reader, values), CsvRow::ROW);
  EXPECT_EQ(values, (std::vector<std::string>{"line\r\nend", "\""}));
  EXPECT_EQ(reader.row_line, 3);
  EXPECT_EQ(read_csv_row(reader, values), CsvRow::END);
  std::fclose(in);
}

TEST_F(MadeBatch, RefusesMoreBodyRecordsThanABatchCounts) {
  std::string rows(1000000, '\n');
  write_table("answer\n" + rows);
  BatchHeader header;
  std::string err;
  EXPECT_FALSE(make(header, CRLF, &err, "/dev/null"));  // 200 MB of records before the refusal
  EXPECT_EQ(err, "line 1000001: more than 999999 body records, the most a batch counts");
}

// A row, a value or a JSON line wider than any record is refused at the
// first byte past what a record could hold, so that a line of a hundred
// megabytes costs no more memory than a short one.
TEST_F(MadeBatch, StopsReadingAtTheFirstValueOrLineNoRecordCouldHold) {
  BatchHeader header;
  std::string err;
  write_table("body_zone_4\n" + std::string(LONGEST_CSV_VALUE + 1, 'x') + "\n");
  EXPECT_FALSE(make(header, CRLF, &err));
  EXPECT_EQ(err, "line 2, field body_zone_4: more than 200 characters, the field holds 50");
  write_table("body_zone_4\n" + std::string(1000000, ',') + "\n");
  EXPECT_FALSE(make(header, CRLF, &err));
  EXPECT_EQ(err, "line 2: more than 1 value, but the first line names 1 column");

  std::string lines = path("lines.jsonl");
  std::string object = R"({"kind":"body","fields":{"body_rest":""}})";
  write_file("lines.jsonl", object.insert(object.size() - 3, MAX_JSON_LINE + 1 - object.size(), 'x') + "\n");
  std::FILE* in = std::fopen(lines.c_str(), "rb");
  std::FILE* out = std::fopen(request.c_str(), "wb");
  BlockWriter output = make_block_writer(out);
  EXPECT_FALSE(make_from_json(in, JsonOptions{}, output, &err));
  std::fclose(in);
  std::fclose(out);
  EXPECT_EQ(err, "line 1: more than 1048576 bytes, longer than any line batchcheck-describe --json writes");
}

// A table given on standard input from the very file named as OUTPUT is
// refused as the same file named as INPUT is, and stays as it was.
TEST_F(MadeBatch, RefusesToWriteOverTheTableItReadsOnStandardInput) {
  write_table("answer\n00\n");
  MakeArguments args;
  args.input = "-";
  args.output = table;
  args.header.merchant_id = "SHOP1";
  args.header.merchant_country = "FR";
  args.header.file_number = "000012";
  int kept_stdin = dup(STDIN_FILENO);
  int table_fd = open(table.c_str(), O_RDONLY);
  ASSERT_GE(table_fd, 0);
  dup2(table_fd, STDIN_FILENO);
  close(table_fd);
  std::string err;
  bool made = make_request_file(args, &err);
  dup2(kept_stdin, STDIN_FILENO);
  close(kept_stdin);
  std::clearerr(stdin);
  EXPECT_FALSE(made);
  EXPECT_EQ(err, "the output file " + table + " is the input file");
  std::ifstream kept(table, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "answer\n00\n");
}

}  // namespace
