#include "describe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/record_reader.h"
#include "request_builder.h"
#include "run.h"

using namespace batch;
using namespace support;

namespace {

namespace fs = std::filesystem;

ReadBytes real_read = nullptr;
int readings = 0;  // reads with the file at its first byte: the verification's, then the description's
std::string request_path;

// Writes a batch of three body records at `request_path`, in `folder`.
void write_batch(const fs::path& folder, bool foreign_bodies) {
  request_path = (folder / "req").string();
  EXPECT_TRUE(write_generated(request_path, BatchShape{.body_records = 3, .foreign_bodies = foreign_bodies}));
}

// Each test works in a private folder of its own.
using DescribeSecondReading = PrivateFolderTest;
using DescribeBesideBatchcheck = PrivateFolderTest;

// Rewrites the batch once the verification has read it: one body record less.
size_t change_before_the_description(char* into, size_t size, FILE* file, bool& failed) {
  if (std::ftell(file) == 0 && ++readings == 2) fs::resize_file(request_path, fs::file_size(request_path) - 200);
  return real_read(into, size, file, failed);
}

TEST_F(DescribeSecondReading, RequestChangedAfterTheVerificationIsRefused) {
  write_batch(dir_, true);  // a finding on every body record: the file is read again
  real_read = read_request_bytes;
  read_request_bytes = change_before_the_description;
  DescribeOptions options;
  options.file = request_path;
  options.json = true;
  std::FILE* out = std::tmpfile();
  BlockWriter writer = make_block_writer(out);
  Verdict verdict;
  std::string err;
  bool described = describe_request_file(options, writer, &verdict, &err);
  read_request_bytes = real_read;
  EXPECT_FALSE(described);
  EXPECT_EQ(err, "Error : the request file " + request_path + " changed during the run\n");
  // Nothing was described, and only the batch is left.
  EXPECT_EQ(std::ftell(out), 0);
  std::fclose(out);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

// Runs batchcheck on the batch from inside describe's verification, once the
// description's own temporary file exists.
bool batchcheck_ran = false;
bool batchcheck_completed = false;
std::string batchcheck_said;
size_t batchcheck_meanwhile(char* into, size_t size, FILE* file, bool& failed) {
  if (!batchcheck_ran) {
    batchcheck_ran = true;
    read_request_bytes = real_read;
    testing::internal::CaptureStdout();
    batchcheck_completed = run_batchcheck({"SHOP1", "FR", request_path, request_path + ".resp", "12"});
    batchcheck_said = testing::internal::GetCapturedStdout();
    read_request_bytes = batchcheck_meanwhile;
  }
  return real_read(into, size, file, failed);
}

// Describing a batch while batchcheck checks it: each keeps its ids in a file
// of its own, so neither finds the other's in its way.
TEST_F(DescribeBesideBatchcheck, BothAnswerTheBatch) {
  write_batch(dir_, false);
  real_read = read_request_bytes;
  read_request_bytes = batchcheck_meanwhile;
  DescribeOptions options;
  options.file = request_path;
  options.file_number = "12";
  std::FILE* out = std::tmpfile();
  BlockWriter writer = make_block_writer(out);
  Verdict verdict = Verdict::FILE_FAILED;
  std::string err;
  EXPECT_TRUE(describe_request_file(options, writer, &verdict, &err)) << err;
  read_request_bytes = real_read;
  std::fclose(out);
  EXPECT_EQ(verdict, Verdict::NO_RULE_BROKEN);
  EXPECT_TRUE(batchcheck_ran && batchcheck_completed);
  EXPECT_NE(batchcheck_said.find("\nResponse file (" + request_path + ".resp) created\n"), std::string::npos)
      << batchcheck_said;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2);
}

}  // namespace
