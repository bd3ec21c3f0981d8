#include "batch/record_layout.h"

#include <gtest/gtest.h>

#include "batch/request_layout.h"

using namespace batch;

namespace {

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
