#include "batch/verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "private_folder.h"

using namespace batch;

namespace {

namespace fs = std::filesystem;

// A record of 199 characters and a line end.
std::string line(std::string text) {
  text.resize(199, ' ');
  return text + "\n";
}

std::string header() { return line("00FRSHOP1          ZONE0001ZONE0200001203HEADER"); }

std::string body(int number, const std::string& tid, const std::string& merchant_id = "SHOP1          ") {
  std::string digits = std::to_string(number);
  return line("03FR" + merchant_id + std::string(6 - digits.size(), '0') + digits + "00001200" + tid);
}

std::string footer(int nb_record, const std::string& version = "03") {
  std::string digits = std::to_string(nb_record);
  return line("09FRSHOP1          ZONE0001ZONE02000012" + version + std::string(6 - digits.size(), '0') + digits);
}

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
  std::string short_body = body(1, "T1").substr(0, 149) + "\n";
  return {
      {"repeat, counted error, already treated",
       {header(), body(1, "T1"), body(2, "T1", "SHOP2          "), footer(2)},
       "13",
       VerificationResult::CONTENT_ERROR,
       "The transaction_id (T1) is present in several lines\n"},
      {"empty file, no footer", {}, "12", VerificationResult::CONTENT_ERROR, ""},
      {"counted error, wrong length, nb_record",
       {header(), short_body, body(2, "T2", "SHOP2          "), footer(3)},
       "12",
       VerificationResult::CONTENT_ERROR,
       ""},
      {"wrong length, footer inconsistent, already treated",
       {header(), short_body, body(2, "T2"), footer(2, "04")},
       "13",
       VerificationResult::CONTENT_ERROR,
       "Error : incorrect size file (150)!\n"},
      {"footer inconsistent, record numbers broken, already treated",
       {header(), body(1, "T1"), body(3, "T3"), footer(2, "04")},
       "13",
       VerificationResult::STRUCTURE_ERROR,
       ""},
      {"two footers, record numbers broken",
       {header(), body(2, "T1"), footer(1), footer(1)},
       "12",
       VerificationResult::STRUCTURE_ERROR,
       ""},
      {"no footer, file sequence gap", {header(), body(1, "T1")}, "11", VerificationResult::STRUCTURE_ERROR, ""},
      {"record numbers broken, already treated, nb_record",
       {header(), body(1, "T1"), body(3, "T3"), footer(5)},
       "13",
       VerificationResult::STRUCTURE_ERROR,
       "Error : recordings sequence interrupted\n"},
      {"already treated, nb_record",
       {header(), body(1, "T1"), footer(5)},
       "13",
       VerificationResult::ALREADY_TREATED,
       "Error : File already treated !\n"},
      {"file sequence gap, nb_record",
       {header(), body(1, "T1"), footer(5)},
       "11",
       VerificationResult::FILE_SEQUENCE_GAP,
       "Error : file sequence interrupted : file number (000012) is supperior to file number transmitted (11)\n"},
      {"nb_record alone",
       {header(), body(1, "T1"), footer(5)},
       "12",
       VerificationResult::STRUCTURE_ERROR,
       "Error in the number of recordings, nb_record = 000005 !\n"},
      {"none", {header(), body(1, "T1"), body(2, "T2"), footer(2)}, "12", VerificationResult::VALID, ""},
  };
}

TEST(Decision, FirstRuleThatHoldsGivesTheResultAndAloneSpeaks) {
  fs::path folder = make_private_folder("verify_test");
  std::string request = (folder / "req").string();
  for (const Row& row : rows()) {
    {
      std::ofstream out(request, std::ios::binary | std::ios::trunc);
      for (const std::string& record : row.records) out << record;
    }
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
  fs::remove_all(folder);
}

// The ids that cannot be read back (the TID file removed between the pass
// and the repeat check, here from the summary, which comes between the two):
// nothing is known of the repeats, so the batch is not judged on its content.
TEST(RepeatCheck, TidFileThatVanishesIsAFileErrorNotAContentError) {
  fs::path folder = make_private_folder("verify_test");
  std::string request = (folder / "req").string();
  {
    std::ofstream out(request, std::ios::binary);
    out << header() << body(1, "T1") << body(2, "T2") << footer(2);
  }
  std::string said;
  VerificationSink sink;
  sink.finding = [&](int64_t, std::string_view, std::string_view text) { said += text; };
  sink.summary = [&](const VerificationCounts&) { fs::remove(request + ".TID"); };
  EXPECT_EQ(verify_request_file(request, std::string("12"), sink), VerificationResult::FILE_ERROR);
  EXPECT_EQ(said, "Error fopen (r) file " + request + ".TID");
  fs::remove_all(folder);
}

}  // namespace
