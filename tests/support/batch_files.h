#pragma once

// What the tests of the programs that make Request files share: a private
// folder for the Request made and the Response batchcheck writes for it.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/block_writer.h"
#include "private_folder.h"
#include "batch/record_reader.h"
#include "batch/response_writer.h"

// A test's private folder with the paths of its Request and Response files.
class BatchFiles : public ::testing::Test {
 protected:
  explicit BatchFiles(const std::string& prefix) : folder(make_private_folder(prefix)) {}

  void TearDown() override { std::filesystem::remove_all(folder); }

  // The Response file batchcheck writes for the Request, for the merchant
  // given; no identity warning may come.
  std::string answer_of(const std::string& merchant_id, const std::string& merchant_country) {
    std::FILE* in = std::fopen(request.c_str(), "rb");
    std::FILE* out = std::fopen(response.c_str(), "wb");
    batch::RecordReader reader = batch::make_record_reader(in);
    support::BlockWriter writer = support::make_block_writer(out);
    std::string err;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(batch::write_response_file(merchant_id, merchant_country, reader, writer, &err)) << err;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(support::flush_block_writer(writer));
    std::fclose(in);
    std::fclose(out);
    std::ifstream answer_file(response, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(answer_file)), {});
  }

  std::filesystem::path folder;
  std::string request = (folder / "request").string();
  std::string response = (folder / "response").string();
};
