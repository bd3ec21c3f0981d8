// Any bytes as the Request stream of both Response file writers: each writes
// whole 200-character records, or nothing when it reports a failure.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "batch/response_writer.h"

using namespace batch;
using namespace support;

namespace {

// What a writer put into its Response stream, and whether it answered.
struct Written {
  bool answered = false;
  size_t size = 0;
};

template <typename Writer>
Written run_writer(const uint8_t* data, size_t size, Writer writer) {
  Written written;
  std::string response;
  written.answered = fuzz::write_from_stream(fuzz::bytes(data, size), writer, response);
  written.size = response.size();
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::silence_stdout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string merchant_id = "SHOP1";
  const std::string merchant_country = "FR";
  std::string err;
  Written full = run_writer(data, size, [&](std::FILE* request, BlockWriter& response) {
    RecordReader reader = make_record_reader(request);
    return write_response_file(merchant_id, merchant_country, reader, response, &err);
  });
  fuzz::require(full.answered ? full.size >= 400 && full.size % 200 == 0 : full.size == 0 && !err.empty(),
                "response file not made of whole records");

  // The result is one the error response carries, picked by the input's length.
  constexpr VerificationResult RESULTS[] = {VerificationResult::CONTENT_ERROR, VerificationResult::ALREADY_TREATED,
                                            VerificationResult::FILE_SEQUENCE_GAP, VerificationResult::STRUCTURE_ERROR};
  const VerificationResult result = RESULTS[size % 4];
  Written error = run_writer(data, size, [&](std::FILE* request, BlockWriter& response) {
    RecordReader reader = make_record_reader(request);
    return write_error_response(reader, response, result, &err);
  });
  fuzz::require(error.answered ? error.size == 400 : error.size == 0, "error response not two records");
  return 0;
}
