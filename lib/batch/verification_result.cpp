#include "batch/verification_result.h"

#include <array>

namespace batch {

namespace {

// One result code: its two digits and what it means.
struct ResultCode {
  std::string_view digits;
  std::string_view meaning;
};

// Every result code, indexed by its number.
constexpr std::array<ResultCode, 5> RESULT_CODES{{
    {"00", "valid"},
    {"01", "content error"},
    {"02", "file already treated or unreadable"},
    {"03", "file sequence interrupted"},
    {"04", "structure error"},
}};

}  // namespace

int result_code(VerificationResult result) {
  switch (result) {
    case VerificationResult::VALID:
      return 0;
    case VerificationResult::CONTENT_ERROR:
      return 1;
    case VerificationResult::ALREADY_TREATED:
    case VerificationResult::FILE_ERROR:
      return 2;
    case VerificationResult::FILE_SEQUENCE_GAP:
      return 3;
    case VerificationResult::STRUCTURE_ERROR:
      break;
  }
  return 4;
}

std::string_view result_digits(VerificationResult result) {
  return RESULT_CODES[static_cast<size_t>(result_code(result))].digits;
}

int result_code_of_digits(std::string_view verification_code) {
  // "00" is no error response's: a valid batch is answered in full.
  for (size_t code = 1; code < RESULT_CODES.size(); ++code)
    if (RESULT_CODES[code].digits == verification_code) return static_cast<int>(code);
  return -1;
}

std::string_view result_code_meaning(int code) {
  if (code < 0 || code >= static_cast<int>(RESULT_CODES.size())) return "unknown";
  return RESULT_CODES[static_cast<size_t>(code)].meaning;
}

}  // namespace batch
