// Any bytes as a Request file: the global verification must end with a
// result from 0 to 4 and leave no TID file behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz_support.h"
#include "batch/verify.h"

using namespace batch;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_quiet_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::write_file("req", fuzz::bytes(data, size));
  int code = result_code(verify_request_file("req", "12"));
  fuzz::require(code >= 0 && code <= 4, "verification result out of range");
  fuzz::require(!std::filesystem::exists("req.TID"), "TID file left behind");
  return 0;
}
