#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "batch/verification_result.h"
#include "batch/verification_sink.h"
#include "support/fingerprint.h"

namespace batch {

// The longest file number the command line takes, as the server accepts it.
constexpr size_t FILE_NUMBER_ARGUMENT_WIDTH = 7;

// The summary of counts as batchcheck prints it.
std::string summary_text(const VerificationCounts& counts);

// Reads the Request file at `path` once, hands every finding and the summary
// of counts to `sink`, has the transaction ids checked for repeats and
// returns the verification result. `expected_file_number` is the command
// line's text; without it the rules on the header's file_number are left out.
// `read`, when given, receives the fingerprint of the file once the pass has
// read it to its end, so that an answer can be built from the very bytes
// that were checked; a read error is reported as a file that cannot be read.
// The ids wait in the TID file `tid_name`, batchcheck's <request>.TID when
// empty.
VerificationResult verify_request_file(const std::string& path, const std::optional<std::string>& expected_file_number,
                                       const VerificationSink& sink, std::optional<Fingerprint>* read = nullptr,
                                       const std::string& tid_name = {});

// The same, printing each finding and the summary at once, as batchcheck does.
VerificationResult verify_request_file(const std::string& path, const std::string& expected_file_number,
                                       std::optional<Fingerprint>* read = nullptr);

}  // namespace batch
