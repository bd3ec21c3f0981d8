#include "batch/verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "request_builder.h"

using namespace batch;

namespace {

namespace fs = std::filesystem;

// A batch whose body records name another merchant, and one whose footer
// has another version than its header.
const TestBatch SHOP2{.merchant_id = "SHOP2"};
const TestBatch V04{.version = "04"};

// One batch with faults that several rules of the decision see at once, and
// what must follow the summary: only the first rule that holds speaks.
struct Row {
  const char* faults;
  std::vector<std::string> records;
  const char* file_number;
  VerificationResult result;
  std::string decision;
};

std::vector<Row> rows() {
  std::string short_body = body_line(1, "T1").substr(0, 149) + "\n";
  return {
      {"repeat, counted error, already treated",
       {header_line(), body_line(1, "T1"), body_line(2, "T1", SHOP2), footer_line(2)},
       "13",
       VerificationResult::CONTENT_ERROR,
       "The transaction_id (T1) is present in several lines\n"},
      {"empty file, no footer", {}, "12", VerificationResult::CONTENT_ERROR, ""},
      {"counted error, wrong length, nb_record",
       {header_line(), short_body, body_line(2, "T2", SHOP2), footer_line(3)},
       "12",
       VerificationResult::CONTENT_ERROR,
       ""},
      {"wrong length, footer inconsistent, already treated",
       {header_line(), short_body, body_line(2, "T2"), footer_line(2, V04)},
       "13",
       VerificationResult::CONTENT_ERROR,
       "Error : incorrect size file (150)!\n"},
      {"footer inconsistent, record numbers broken, already treated",
       {header_line(), body_line(1, "T1"), body_line(3, "T3"), footer_line(2, V04)},
       "13",
       VerificationResult::STRUCTURE_ERROR,
       ""},
      {"two footers, record numbers broken",
       {header_line(), body_line(2, "T1"), footer_line(1), footer_line(1)},
       "12",
       VerificationResult::STRUCTURE_ERROR,
       ""},
      {"no footer, file sequence gap",
       {header_line(), body_line(1, "T1")}, "11", VerificationResult::STRUCTURE_ERROR, ""},
      {"record numbers broken, already treated, nb_record",
       {header_line(), body_line(1, "T1"), body_line(3, "T3"), footer_line(5)},
       "13",
       VerificationResult::STRUCTURE_ERROR,
       "Error : recordings sequence interrupted\n"},
      {"already treated, nb_record",
       {header_line(), body_line(1, "T1"), footer_line(5)},
       "13",
       VerificationResult::ALREADY_TREATED,
       "Error : File already treated !\n"},
      {"file sequence gap, nb_record",
       {header_line(), body_line(1, "T1"), footer_line(5)},
       "11",
       VerificationResult::FILE_SEQUENCE_GAP,
       "Error : file sequence interrupted : file number (000012) is supperior to file number transmitted (11)\n"},
      {"nb_record alone",
       {header_line(), body_line(1, "T1"), footer_line(5)},
       "12",
       VerificationResult::STRUCTURE_ERROR,
       "Error in the number of recordings, nb_record = 000005 !\n"},
      {"none",
       {header_line(), body_line(1, "T1"), body_line(2, "T2"), footer_line(2)}, "12", VerificationResult::VALID, ""},
  };
}

// Each test works in a private folder of its own.
using Decision = PrivateFolderTest;
using RepeatCheck = PrivateFolderTest;

TEST_F(Decision, FirstRuleThatHoldsGivesTheResultAndAloneSpeaks) {
  std::string request = path("req");
  for (const Row& row : rows()) {
    std::string bytes;
    for (const std::string& record : row.records) bytes += record;
    write_file(request, bytes);
    testing::internal::CaptureStdout();
    VerificationResult result = verify_request_file(request, row.file_number);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, row.result) << row.faults;
    std::string summary_end = "number of end recording = ";
    size_t at = printed.find(summary_end);
    ASSERT_NE(at, std::string::npos) << row.faults;
    at = printed.find("\n\n", at);
    ASSERT_NE(at, std::string::npos) << row.faults;
    EXPECT_EQ(printed.substr(at + 2), row.decision) << row.faults;
    EXPECT_FALSE(fs::exists(request + ".TID")) << row.faults;
  }
}

// The ids that cannot be read back (the TID file removed between the pass
// and the repeat check, here from the summary, which comes between the two):
// nothing is known of the repeats, so the batch is not judged on its content.
TEST_F(RepeatCheck, TidFileThatVanishesIsAFileErrorNotAContentError) {
  std::string request = path("req");
  write_file(request, header_line() + body_line(1, "T1") + body_line(2, "T2") + footer_line(2));
  std::string said;
  VerificationSink sink;
  sink.finding = [&](int64_t, std::string_view, std::string_view text) { said += text; };
  sink.summary = [&](const VerificationCounts&) { fs::remove(request + ".TID"); };
  EXPECT_EQ(verify_request_file(request, std::string("12"), sink), VerificationResult::FILE_ERROR);
  EXPECT_EQ(said, "Error fopen (r) file " + request + ".TID");
}

}  // namespace
