#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// What gen_request writes: a Request file of `body_records` body records
// (0 to 999,999) between one header record and one footer record, every
// record 199 characters and a line end, version "03".
struct BatchShape {
  int64_t body_records = 0;
  std::string merchant_id = "SHOP1";
  std::string merchant_country = "FR";
  int64_t file_number = 12;
  // Every body record names another merchant than the header, so each one
  // draws a message from the verification.
  bool foreign_bodies = false;
};

// The largest batch the six-digit record_number and nb_record can count.
constexpr int64_t MAX_BODY_RECORDS = 999999;

// The body_zone_1 values the body records take in turn: an accepted code, a
// two-digit refusal, code 14, a zone without digits, a zone cut to one
// character and a refusal followed by blanks.
constexpr int BODY_ZONE_KINDS = 6;
std::string body_zone_1_for(int64_t record_number);

// The response code the server gives for body_zone_1_for(record_number).
std::string expected_response_code(int64_t record_number);

// The transaction_id of a body record: six digits, never repeated within a
// batch, not in ascending order.
std::string transaction_id_for(int64_t record_number);

// One record each, 200 characters with the line end.
std::string header_record(const BatchShape& shape);
std::string body_record(const BatchShape& shape, int64_t record_number);
std::string footer_record(const BatchShape& shape);

// Writes the whole Request file; false when a write fails or the shape asks
// for more body records than a file can hold.
bool write_request(const BatchShape& shape, std::FILE* out);
