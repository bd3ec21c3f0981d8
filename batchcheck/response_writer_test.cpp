#include "response_writer.h"

#include <gtest/gtest.h>

#include <ctime>

#include "date.h"

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
  EXPECT_EQ(build_reply_block("00", "1106"),
            "00" "107357" "1073578606  " "09022004" "100503" "MASTERCARD  " "5131.07" "062011" "00");
}

TEST_F(FixedClock, RefusedReplyBlockHasNoAuthorisation) {
  std::string block = build_reply_block("05", "1106");
  EXPECT_EQ(block, "05" + std::string(18, ' ') + "09022004100503MASTERCARD  5131.0706201105");
  EXPECT_EQ(block.size(), 61u);
}

TEST_F(FixedClock, ExpiryCenturyFollowsTheYear) {
  EXPECT_EQ(build_reply_block("51", "9812").substr(53, 6), "121998");
}

TEST_F(FixedClock, DateAndTimeAreTwoReadingsOfTheClock) {
  // 23:59:59 on 9 February 2004: the time is read after the date, so a
  // block built across midnight carries the old date and the new time.
  clock_value = 1076371199;
  set_clock_source(ticking_clock);
  std::string block = build_reply_block("00", "1106");
  EXPECT_EQ(block.substr(20, 14), "09022004000000");
  std::string next = build_reply_block("00", "1106");
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

TEST(SplitBodyRecord, KeepsRecordNumberAndZoneThreeAsTheyStand) {
  std::string record = "03FRSHOP1          00001 ZONE1   TID1  Z2          z3 ";
  BodyFields f = split_body_record(record);
  EXPECT_EQ(f.merchant_id, "SHOP1");
  EXPECT_EQ(f.record_number, "00001 ");
  EXPECT_EQ(f.body_zone_1, "ZONE1");
  EXPECT_EQ(f.transaction_id, "TID1");
  EXPECT_EQ(f.body_zone_3, "z3 ");
  EXPECT_EQ(f.body_zone_4, "");
}

// The first 136 characters of a response body record: "03" and the fields
// of split_body_record, each left-justified in its width.
std::string answered_fields(const std::string& record) {
  BodyFields f = split_body_record(record);
  std::string out = "03";
  auto put = [&out](std::string_view text, size_t width) {
    out.append(text);
    out.append(width - text.size(), ' ');
  };
  put(f.merchant_country, 2);
  put(f.merchant_id, 15);
  put(f.record_number, 6);
  put(f.body_zone_1, 8);
  put(f.transaction_id, 6);
  put(f.body_zone_2, 12);
  put(f.body_zone_3, 3);
  put(f.body_zone_4, 50);
  put(f.body_zone_5, 32);
  return out;
}

TEST_F(FixedClock, BodyAnswerRepeatsTheSplitFieldsForEveryRecordLength) {
  // Blanks inside and at the end of fields, and a line end anywhere.
  std::string text = "03FRSHOP1   A  B  000001ZONE 1  TID 1 Z2  x       z3 four  4" + std::string(40, ' ') + "five 5";
  text.resize(199, ' ');
  std::string header = "00FRSHOP1          ZONE0001ZONE0200001203" + std::string(158, 'h') + "\n";
  for (size_t length = 0; length <= 199; ++length) {
    std::string record = text.substr(0, length) + "\n";
    FILE* request = std::tmpfile();
    FILE* response = std::tmpfile();
    std::string bytes = header + record + "09\n";
    std::fwrite(bytes.data(), 1, bytes.size(), request);
    std::rewind(request);
    testing::internal::CaptureStdout();
    write_response_file("SHOP1", "FR", request, response);
    testing::internal::GetCapturedStdout();
    std::rewind(response);
    std::string out(600, '\0');
    out.resize(std::fread(out.data(), 1, out.size(), response));
    std::fclose(request);
    std::fclose(response);
    ASSERT_EQ(out.size(), 600u) << length;
    EXPECT_EQ(out.substr(200, 136), answered_fields(record)) << length;
  }
}

// Runs write_error_response on a request holding `request_bytes`.
std::string error_response_for(const std::string& request_bytes, const std::string& result, int& returned) {
  FILE* request = std::tmpfile();
  FILE* response = std::tmpfile();
  std::fwrite(request_bytes.data(), 1, request_bytes.size(), request);
  std::rewind(request);
  testing::internal::CaptureStdout();
  returned = write_error_response(request, response, result);
  testing::internal::GetCapturedStdout();
  std::rewind(response);
  std::string out(1000, '\0');
  out.resize(std::fread(out.data(), 1, out.size(), response));
  std::fclose(request);
  std::fclose(response);
  return out;
}

TEST(ErrorResponse, TwoDigitResultTextIsWrittenUnchanged) {
  std::string first = "00FRSHOP1          ZONE0001ZONE0200001203" + std::string(158, 'h') + "\n";
  int returned = 0;
  std::string out = error_response_for(first, "12", returned);
  EXPECT_EQ(returned, 0);
  ASSERT_EQ(out.size(), 400u);
  EXPECT_EQ(out.substr(41, 2), "12");
  EXPECT_EQ(out.substr(200, 41), "09FRSHOP1          ZONE0001ZONE0200001203");
}

TEST(ErrorResponse, ShortFirstRecordNeverReadsBeyondIt) {
  int returned = 0;
  EXPECT_EQ(error_response_for("00FRSHOP1  0\n", "1", returned), "");
  EXPECT_EQ(returned, -1);
  EXPECT_EQ(error_response_for("", "1", returned), "");
  EXPECT_EQ(returned, -1);
}

}  // namespace
