#include "batch/response_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>

#include "date/date.h"
#include "request_builder.h"

using namespace batch;
using namespace datelib;
using namespace support;

namespace {

// 9 February 2004, 10:05:03, shown in UTC so the tests do not depend on the
// machine's time zone.
int64_t clock_value = 1076321103;
int64_t fixed_clock() { return clock_value; }
// A clock that moves on by one second at every reading.
int64_t ticking_clock() { return clock_value++; }
bool as_utc(int64_t seconds, std::tm& out) {
  time_t t = static_cast<time_t>(seconds);
  return gmtime_r(&t, &out) != nullptr;
}

// The response code and reply block that the writer appends for `code`.
std::string reply_block(std::string_view code, std::string_view card_expiry) {
  std::string block;
  append_reply_block(block, code, card_expiry);
  return block;
}

class FixedClock : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_value = 1076321103;
    set_clock_source(fixed_clock);
    set_local_time_conversion(as_utc);
  }
  void TearDown() override {
    set_clock_source(nullptr);
    set_local_time_conversion(nullptr);
  }
};

TEST_F(FixedClock, AcceptedReplyBlockToTheByte) {
  EXPECT_EQ(reply_block("00", "1106"),
            "00" "107357" "1073578606  " "09022004" "100503" "MASTERCARD  " "5131.07" "062011" "00");
}

TEST_F(FixedClock, RefusedReplyBlockHasNoAuthorisation) {
  std::string block = reply_block("05", "1106");
  EXPECT_EQ(block, "05" + std::string(18, ' ') + "09022004100503MASTERCARD  5131.0706201105");
  EXPECT_EQ(block.size(), 61u);
}

TEST_F(FixedClock, ExpiryCenturyFollowsTheYear) {
  EXPECT_EQ(reply_block("51", "9812").substr(53, 6), "121998");
}

TEST_F(FixedClock, DateAndTimeAreTwoReadingsOfTheClock) {
  // 23:59:59 on 9 February 2004: the time is read after the date, so a
  // block built across midnight carries the old date and the new time.
  clock_value = 1076371199;
  set_clock_source(ticking_clock);
  std::string block = reply_block("00", "1106");
  EXPECT_EQ(block.substr(20, 14), "09022004000000");
  std::string next = reply_block("00", "1106");
  EXPECT_EQ(next.substr(20, 14), "10022004000002");
}

TEST(ResponseCode, LastTwoCharactersOfTheTrimmedZone) {
  EXPECT_EQ(select_response_code("00001200"), "00");
  EXPECT_EQ(select_response_code("123405  "), "05");
  EXPECT_EQ(select_response_code("ABCDEFGH"), "00");
  EXPECT_EQ(select_response_code("12345614"), "14");
  EXPECT_EQ(select_response_code("5       "), "00");
  EXPECT_EQ(select_response_code(""), "00");
  EXPECT_EQ(select_response_code("1234 5 6"), "00");
}

// One of the two writers of the Response file.
using ResponseWriter = std::function<bool(RecordReader& request, BlockWriter& response, std::string* err)>;

// What `write` writes for a request holding `request_bytes`; `returned` gets
// whether it answered.
std::string response_for(const std::string& request_bytes, const ResponseWriter& write, bool& returned) {
  FILE* request = std::tmpfile();
  FILE* response = std::tmpfile();
  std::fwrite(request_bytes.data(), 1, request_bytes.size(), request);
  std::rewind(request);
  RecordReader reader = make_record_reader(request);
  BlockWriter writer = make_block_writer(response);
  std::string err;
  testing::internal::CaptureStdout();  // the identity warnings
  returned = write(reader, writer, &err);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(flush_block_writer(writer));
  std::rewind(response);
  std::string out;
  for (int c; (c = std::fgetc(response)) != EOF;) out.push_back(static_cast<char>(c));
  std::fclose(request);
  std::fclose(response);
  return out;
}

// The full response, for merchant SHOP1 of FR.
bool answer_in_full(RecordReader& request, BlockWriter& response, std::string* err) {
  return write_response_file("SHOP1", "FR", request, response, err);
}

TEST_F(FixedClock, BodyAnswerRepeatsTheRequestFieldsForEveryRecordLength) {
  // Blanks inside and at the end of fields, and a line end anywhere.
  std::string text =
      pad("03FRSHOP1   A  B  000001ZONE 1  TID 1 Z2  x       z3 four  4" + std::string(40, ' ') + "five 5", 199);
  std::string header = header_line(std::string(158, 'h'));
  for (size_t length = 0; length <= 199; ++length) {
    std::string record = text.substr(0, length) + "\n";
    bool answered = false;
    std::string out = response_for(header + record + "09\n", answer_in_full, answered);
    EXPECT_TRUE(answered) << length;
    ASSERT_EQ(out.size(), 600u) << length;
    // "03", then the request's own characters from offset 2, line end
    // included, blanks where the record is shorter than 136.
    std::string expected = pad("03" + record.substr(std::min<size_t>(2, record.size())), 136);
    EXPECT_EQ(out.substr(200, 136), expected) << length;
  }
}

// Runs write_error_response on a request holding `request_bytes`.
std::string error_response_for(const std::string& request_bytes, VerificationResult result, bool& returned) {
  return response_for(
      request_bytes,
      [&](RecordReader& request, BlockWriter& response, std::string* err) {
        return write_error_response(request, response, result, err);
      },
      returned);
}

TEST(ErrorResponse, ResultIsWrittenInTwoDigits) {
  std::string first = header_line(std::string(158, 'h'));
  bool returned = false;
  std::string out = error_response_for(first, VerificationResult::STRUCTURE_ERROR, returned);
  EXPECT_TRUE(returned);
  ASSERT_EQ(out.size(), 400u);
  EXPECT_EQ(out.substr(41, 2), "04");
  EXPECT_EQ(out.substr(200, 41), "09FRSHOP1          ZONE0001ZONE0200001203");
}

TEST(ErrorResponse, ShortFirstRecordNeverReadsBeyondIt) {
  bool returned = true;
  EXPECT_EQ(error_response_for("00FRSHOP1  0\n", VerificationResult::CONTENT_ERROR, returned), "");
  EXPECT_FALSE(returned);
  EXPECT_EQ(error_response_for("", VerificationResult::CONTENT_ERROR, returned), "");
  EXPECT_FALSE(returned);
}

}  // namespace
