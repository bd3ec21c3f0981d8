#pragma once

#include <string>

#include "request_record.h"

// Verification results, handed to the error response as two digits.
constexpr int VERIFY_OK = 0;
constexpr int VERIFY_CONTENT_ERROR = 1;
constexpr int VERIFY_ALREADY_TREATED = 2;
constexpr int VERIFY_FILE_ERROR = 2;  // a file could not be opened or written
constexpr int VERIFY_FILE_SEQUENCE_GAP = 3;
constexpr int VERIFY_STRUCTURE_ERROR = 4;

// Reads the Request file at `path` once, prints every finding and the summary
// of counts, has the transaction identifiers checked for repeats and returns
// the verification result. `expected_file_number` is the command line's text.
// `read`, when given, receives the tally of the bytes the pass read, so that
// the answer can be built from the very bytes that were checked.
int verify_request_file(const std::string& path, const std::string& expected_file_number,
                        ReadTally* read = nullptr);
