#pragma once

// The Request files the tests write: records built from a few values, each
// at fault where a test asks, or gen_request's valid batches of any size;
// and the Response batchcheck writes for one.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "batch/record_reader.h"
#include "batch/response_writer.h"
#include "private_folder.h"
#include "request_generator.h"
#include "support/block_writer.h"

// `text` left-justified in `width`: blanks after it, or cut to it.
inline std::string pad(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

// `value` in six digits, zeros in front.
inline std::string six_digits(int64_t value) {
  std::string digits = std::to_string(value);
  return std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits;
}

// What the records of a test batch repeat: the identity its header gives and
// its footer repeats, and the merchant of its body records. A record built
// from other values than its neighbours' is at fault: another merchant,
// another version, another file number.
struct TestBatch {
  std::string merchant_country = "FR";
  std::string merchant_id = "SHOP1";
  std::string header_zones = "ZONE0001ZONE02";  // header_zone_1 and header_zone_2, 14 characters
  std::string file_number = "000012";
  std::string version = "03";
};

// A record of 199 characters, `text` and blanks, and a line feed.
inline std::string padded_record(std::string text) { return pad(std::move(text), 199) + "\n"; }

// The batch's identity, merchant_country to version.
inline std::string identity_of(const TestBatch& batch) {
  return batch.merchant_country + pad(batch.merchant_id, 15) + batch.header_zones + batch.file_number + batch.version;
}

// The header record, `rest` after the version.
inline std::string header_line(std::string_view rest = "", const TestBatch& batch = {}) {
  return padded_record("00" + identity_of(batch) + std::string(rest));
}

// The body record numbered `number`, `rest` from body_zone_2 on.
inline std::string body_line(int64_t number, std::string_view transaction_id, const TestBatch& batch = {},
                             std::string_view zone_1 = "00001200", std::string_view rest = "") {
  return padded_record("03" + batch.merchant_country + pad(batch.merchant_id, 15) + six_digits(number) +
                pad(std::string(zone_1), 8) + pad(std::string(transaction_id), 6) + std::string(rest));
}

// The footer counting `nb_record` body records, `rest` after the count.
inline std::string footer_line(int64_t nb_record, const TestBatch& batch = {}, std::string_view rest = "") {
  return padded_record("09" + identity_of(batch) + six_digits(nb_record) + std::string(rest));
}

// Writes gen_request's batch of `shape` at `path`; false when it cannot.
inline bool write_generated(const std::filesystem::path& path, const BatchShape& shape) {
  std::FILE* out = std::fopen(path.string().c_str(), "wb");
  bool written = out && write_request(shape, out);
  return out && std::fclose(out) == 0 && written;
}

// The Response batchcheck's writer gives for the Request at `request`, for
// the merchant given, written beside it; no identity warning may come.
inline std::string response_to(const std::string& request, const std::string& merchant_id,
                               const std::string& merchant_country) {
  std::string response = request + ".response";
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
  return read_file(response);
}
