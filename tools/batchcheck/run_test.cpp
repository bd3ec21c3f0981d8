#include "run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/record_reader.h"
#include "request_builder.h"

using namespace batch;

namespace {

namespace fs = std::filesystem;

const std::string PREVIOUS_RESPONSE = "the Response of an earlier run\n";

// Reads of the Request file go through these stand-ins, which count the
// reads and change the file or fail where a test asks.
ReadBytes real_read = nullptr;
int reads = 0;
int reads_at_start = 0;  // reads with the file at its first byte: 1 is the verification's, 2 the writer's
std::string request_path;

size_t truncate_before_the_answer(char* into, size_t size, FILE* file, bool& failed) {
  if (std::ftell(file) == 0 && ++reads_at_start == 2) fs::resize_file(request_path, 400);
  return real_read(into, size, file, failed);
}

// The first read gives the header and part of a body record, the second fails.
size_t fail_in_the_verification(char* into, size_t size, FILE* file, bool& failed) {
  ++reads;
  if (reads == 1) return real_read(into, 250, file, failed);
  if (reads == 2) {
    failed = true;
    return 0;
  }
  return real_read(into, size, file, failed);
}

// The same, once the verification is over.
size_t fail_in_the_answer(char* into, size_t size, FILE* file, bool& failed) {
  if (std::ftell(file) == 0 && ++reads_at_start == 2) reads = 0;
  if (reads_at_start < 2) return real_read(into, size, file, failed);
  return fail_in_the_verification(into, size, file, failed);
}

class RequestReadSeam : public PrivateFolderTest {
 protected:
  void SetUp() override {
    request_path = path("req");
    ASSERT_TRUE(write_generated(request_path, BatchShape{.body_records = 3}));
    write_file(response_, PREVIOUS_RESPONSE);
    real_read = read_request_bytes;
    reads = 0;
    reads_at_start = 0;
  }
  void TearDown() override { read_request_bytes = real_read; }

  // Whether the run reached its end, and what it printed.
  bool run(std::string& printed) {
    testing::internal::CaptureStdout();
    bool completed = run_batchcheck({"SHOP1", "FR", request_path, response_, "12"});
    printed = testing::internal::GetCapturedStdout();
    return completed;
  }

  std::string response() const { return read_file(response_); }

  size_t files() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  std::string response_ = path("resp");
};

}  // namespace

TEST_F(RequestReadSeam, RequestChangedBetweenThePassesIsNotAnswered) {
  read_request_bytes = truncate_before_the_answer;
  std::string printed;
  EXPECT_FALSE(run(printed));
  EXPECT_TRUE(printed.ends_with("Error : the request file " + request_path + " changed during the run\n")) << printed;
  EXPECT_EQ(response(), PREVIOUS_RESPONSE);
  EXPECT_EQ(files(), 2u);
}

TEST_F(RequestReadSeam, ReadErrorInTheVerificationGivesResultTwo) {
  read_request_bytes = fail_in_the_verification;
  std::string printed;
  EXPECT_TRUE(run(printed));
  EXPECT_EQ(printed, "Global verification of the request file\nError : can't read the file " + request_path +
                         "\nError in the global verification of the request file (" + request_path + ")\n");
  std::string answer = response();
  ASSERT_EQ(answer.size(), 400u);
  EXPECT_EQ(answer.substr(41, 2), "02");
  EXPECT_EQ(files(), 2u);
}

TEST_F(RequestReadSeam, ReadErrorWhileAnsweringKeepsThePreviousResponse) {
  read_request_bytes = fail_in_the_answer;
  std::string printed;
  EXPECT_FALSE(run(printed));
  EXPECT_TRUE(printed.ends_with("\nCreation of the response file (" + response_ +
                                ")\nError during the creation of the response file (" + response_ + ")\n"))
      << printed;
  EXPECT_EQ(response(), PREVIOUS_RESPONSE);
  EXPECT_EQ(files(), 2u);
}
