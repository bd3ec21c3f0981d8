// Any bytes as a Request file for batchcheck-describe's JSON view: every
// line must be valid JSON, the records numbered in file order, the closing
// object's result 0 to 4 and the exit status its own, and no temporary file
// left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "describe.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::write_file("req", fuzz::bytes(data, size));
  DescribeOptions options;
  options.request_file = "req";
  options.file_number = "12";
  options.json = true;
  char* buffer = nullptr;
  size_t buffer_size = 0;
  std::FILE* out = open_memstream(&buffer, &buffer_size);
  if (!out) std::abort();
  int status = describe_request_file(options, out);
  std::fclose(out);
  std::istringstream lines(std::string(buffer, buffer_size));
  std::free(buffer);
  fuzz::require(status == DESCRIBE_VALID || status == DESCRIBE_INVALID, "exit status");
  int64_t last_record = 0;
  nlohmann::json line;
  for (std::string text; std::getline(lines, text);) {
    line = nlohmann::json::parse(text);  // throws, and so aborts, on anything but JSON
    if (line.contains("record")) {
      fuzz::require(line["record"].get<int64_t>() > last_record, "records out of order");
      last_record = line["record"].get<int64_t>();
    }
  }
  fuzz::require(line.contains("result"), "no closing object");
  int result = line["result"].get<int>();
  fuzz::require(result >= 0 && result <= 4, "result out of range");
  fuzz::require((result == 0) == (status == DESCRIBE_VALID), "exit status not the result's");
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator("."))
    fuzz::require(entry.path().filename() == "req", "temporary file left behind");
  return 0;
}
