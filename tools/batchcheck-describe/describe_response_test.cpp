#include "describe_response.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "request_builder.h"
#include "run.h"

using namespace support;

namespace {

namespace fs = std::filesystem;

// A random batch as a merchant might send it: fields of any bytes but line
// ends, body_zone_1 values that select every kind of answer, and now and then
// a fault that makes batchcheck answer with an error response instead.
std::string random_batch(std::mt19937& random) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto bytes = [&](size_t width) {
    std::string text;
    for (size_t i = 0; i < width; ++i) {
      char c = static_cast<char>(pick(256));
      text.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    return text;
  };
  auto zone_1 = [&] {
    static const char CHARS[] = "0123456789 A14";
    std::string zone;
    for (int i = 0; i < 8; ++i) zone.push_back(CHARS[pick(sizeof CHARS - 1)]);
    return zone;
  };
  TestBatch shop1{.header_zones = bytes(14), .file_number = pick(8) == 0 ? "000013" : "000012"};
  TestBatch shop2 = shop1;
  shop2.merchant_id = "SHOP2";
  std::string batch = header_line(bytes(158), shop1);
  int bodies = pick(25);
  for (int n = 1; n <= bodies; ++n) {
    int number = pick(40) == 0 ? n + 1 : n;
    std::string id = six_digits(pick(60) == 0 ? 1 : n);
    batch += body_line(number, id, pick(60) == 0 ? shop2 : shop1, zone_1(), bytes(160));
  }
  return batch + footer_line(pick(40) == 0 ? bodies + 1 : bodies, shop1, bytes(152));
}

// Describes `file` as its content says, as JSON with only the records that
// have a finding: what is left is the closing object.
std::string describe(const fs::path& file, const fs::path& request, Verdict& verdict) {
  DescribeOptions options;
  options.file = file.string();
  options.paired_request = request.string();
  options.json = true;
  options.only_findings = true;
  DescribeOptions by_content = options;
  by_content.paired_request.reset();  // the content alone tells
  bool response = false;
  std::string err;
  EXPECT_TRUE(describes_response(by_content, &response, &err) && response) << err;
  std::FILE* out = std::tmpfile();
  BlockWriter writer = make_block_writer(out);
  EXPECT_TRUE(describe_response_file(options, writer, &verdict, &err)) << err;
  EXPECT_TRUE(flush_block_writer(writer));
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(out);
  return text;
}

// The test works in a private folder of its own.
using DescribeResponse = PrivateFolderTest;

// Every Response that batchcheck writes, full or error response, reads as a
// Response by its content and describes with no finding, against its own
// Request too.
TEST_F(DescribeResponse, EveryResponseOfBatchcheckHasNoFinding) {
  std::mt19937 random(20261209);
  int full = 0;
  int errors = 0;
  for (int round = 0; round < 150; ++round) {
    fs::path request = dir_ / "req";
    fs::path response = dir_ / "resp";
    write_file(request, random_batch(random));
    testing::internal::CaptureStdout();
    bool completed = run_batchcheck({"SHOP1", "FR", request.string(), response.string(), "12"});
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(completed);
    std::string answer = read_file(response);
    (answer.size() == 400 && answer.substr(41, 2) != "00" ? errors : full)++;
    Verdict verdict = Verdict::FILE_FAILED;
    std::string described = describe(response, request, verdict);
    EXPECT_EQ(verdict, Verdict::NO_RULE_BROKEN) << described;
    EXPECT_NE(described.find("\"result\":0,\"findings\":[]"), std::string::npos) << described;
    EXPECT_EQ(described.find("\"record\""), std::string::npos) << described;
  }
  // Both forms were met often enough to mean something.
  EXPECT_GT(full, 30);
  EXPECT_GT(errors, 30);
}

}  // namespace
