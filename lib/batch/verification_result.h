#pragma once

#include <string_view>

namespace batch {

// What the verification concludes. A batch already treated and a file that
// cannot be read or written show the same code, as the server answers them,
// but they are different things to the programs that act on them.
enum class VerificationResult {
  VALID,
  CONTENT_ERROR,
  ALREADY_TREATED,
  FILE_ERROR,  // a file could not be opened, read or written
  FILE_SEQUENCE_GAP,
  STRUCTURE_ERROR,
};

// The number a result is shown as: 0 to 4.
int result_code(VerificationResult result);

// The two digits that carry `result` in an error response's
// verification_code: "01" to "04" ("00" for a valid batch, which gets the
// full Response instead).
std::string_view result_digits(VerificationResult result);

// The result code that an error response's verification_code carries: 1 to
// 4 for "01" to "04", -1 for any other text.
int result_code_of_digits(std::string_view verification_code);

// What a result code means, in the words batchcheck-describe shows: "valid",
// "content error", ...; "unknown" for a number outside 0 to 4.
std::string_view result_code_meaning(int code);

}  // namespace batch
