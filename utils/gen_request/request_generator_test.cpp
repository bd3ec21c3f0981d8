#include "request_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/verify.h"
#include "request_builder.h"

using namespace batch;

namespace {

namespace fs = std::filesystem;

// A generated batch, each in the test's own folder.
class GeneratedBatch : public PrivateFolderTest {
 protected:
  std::string request = path("request");

  // The verification's result and what it printed.
  VerificationResult verify(std::string& printed) {
    testing::internal::CaptureStdout();
    VerificationResult result = verify_request_file(request, "12");
    printed = testing::internal::GetCapturedStdout();
    return result;
  }
};

TEST_F(GeneratedBatch, EveryRecordIsTwoHundredCharacters) {
  BatchShape shape;
  shape.body_records = 3;
  for (const std::string& record : {header_record(shape), body_record(shape, 1), footer_record(shape)}) {
    EXPECT_EQ(record.size(), 200u);
    EXPECT_EQ(record.back(), '\n');
  }
  EXPECT_EQ(footer_record(shape).substr(2, 39), header_record(shape).substr(2, 39));
  EXPECT_EQ(footer_record(shape).substr(41, 6), "000003");
}

TEST_F(GeneratedBatch, IsValidAndAnsweredWithEveryResponseCode) {
  BatchShape shape;
  shape.body_records = 2 * BODY_ZONE_KINDS + 1;
  ASSERT_TRUE(write_generated(request, shape));
  std::string printed;
  ASSERT_EQ(verify(printed), VerificationResult::VALID) << printed;
  EXPECT_FALSE(fs::exists(request + ".TID"));

  std::string answer = response_to(request, "SHOP1", "FR");
  ASSERT_EQ(answer.size(), 200u * static_cast<size_t>(shape.body_records + 2));
  std::vector<std::string> codes;
  for (int64_t n = 1; n <= shape.body_records; ++n) {
    std::string code = answer.substr(200 * static_cast<size_t>(n) + 136, 2);
    EXPECT_EQ(code, expected_response_code(n)) << "body record " << n;
    codes.push_back(code);
  }
  for (const char* path : {"00", "05", "14", "51"})
    EXPECT_NE(std::find(codes.begin(), codes.end(), path), codes.end()) << path;
  // 00 three ways (accepted zone, letters, a one-character zone) per cycle.
  EXPECT_EQ(answer.substr(200 * static_cast<size_t>(shape.body_records + 1) + 41, 18), "000013000007000006");
}

TEST_F(GeneratedBatch, ForeignBodiesDrawOneMessageEach) {
  BatchShape shape;
  shape.body_records = 4;
  shape.foreign_bodies = true;
  ASSERT_TRUE(write_generated(request, shape));
  std::string printed;
  EXPECT_EQ(verify(printed), VerificationResult::CONTENT_ERROR);
  EXPECT_NE(printed.find("number of errors = 4\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("is not the same that in line 5 \n"), std::string::npos) << printed;
}

TEST_F(GeneratedBatch, TransactionIdsNeverRepeatUpToTheLargestBatch) {
  std::vector<bool> seen(1000000);
  for (int64_t n = 1; n <= MAX_BODY_RECORDS; ++n) {
    size_t id = std::stoul(transaction_id_for(n));
    ASSERT_FALSE(seen[id]) << n;
    seen[id] = true;
  }
}

TEST_F(GeneratedBatch, RefusesMoreRecordsThanAFileCounts) {
  BatchShape shape;
  shape.body_records = MAX_BODY_RECORDS + 1;
  EXPECT_FALSE(write_generated(request, shape));
}

}  // namespace
