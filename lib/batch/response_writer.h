#pragma once

#include <string>
#include <string_view>

#include "support/block_writer.h"
#include "batch/record_reader.h"
#include "batch/verification_result.h"

namespace batch {

// The simulated response code for a body_zone_1: its last two characters
// once trailing blanks are gone when they are digits ("14" included), else
// "00" (also when fewer than two characters are left).
std::string_view select_response_code(std::string_view body_zone_1);

// Appends the response code and the reply block that follows it:
// authorisation data (for "00" only), the local date and time, the sample
// card and the code again. `card_expiry` is in YYMM form; the block shows it
// as MMYYYY.
void append_reply_block(std::string& out, std::string_view code, std::string_view card_expiry);

// Writes the full simulated Response file for a valid Request file: a header
// record, one answer per body record, a footer record with the counts.
// Prints a warning wherever the file's merchant identity differs from the
// command line's. Reads `request` from its first record up to the footer.
// False (the message in *err) when the request cannot be answered: nothing
// is written then. Whether the bytes reached the file, `response` tells.
bool write_response_file(const std::string& merchant_id, const std::string& merchant_country, RecordReader& request,
                         support::BlockWriter& response, std::string* err);

// Writes the two-record error response carrying the verification result
// in two digits. False (the message in *err) when the version is not one
// the server answers: nothing is written then.
bool write_error_response(RecordReader& request, support::BlockWriter& response, VerificationResult result,
                          std::string* err);

}  // namespace batch
