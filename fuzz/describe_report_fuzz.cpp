// Any bytes as a Response file for batchcheck-describe (as a Request file
// when the input's size is odd), with the JSON view and the JUnit report:
// every line must be valid JSON, the records numbered in file order, the
// exit status the result's, and the report a well-formed XML file (libxml2
// reads it strictly), whatever bytes the fields hold.
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "describe.h"
#include "describe_response.h"
#include "fuzz_support.h"

namespace {

// Keeps libxml2's own complaints off standard error: the check says what failed.
void quiet(void*, const char*, ...) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_private_folder();
  xmlSetGenericErrorFunc(nullptr, quiet);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::write_file("resp", fuzz::bytes(data, size));
  DescribeOptions options;
  options.request_file = "resp";
  bool as_request = size % 2 == 1;
  options.layout = as_request ? DescribeOptions::Layout::REQUEST : DescribeOptions::Layout::RESPONSE;
  if (as_request) options.file_number = "12";
  options.json = true;
  options.junit_file = "report.xml";
  char* buffer = nullptr;
  size_t buffer_size = 0;
  std::FILE* out = open_memstream(&buffer, &buffer_size);
  if (!out) std::abort();
  int status = as_request ? describe_request_file(options, out) : describe_response_file(options, out);
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
  fuzz::require((line["result"].get<int>() == 0) == (status == DESCRIBE_VALID), "exit status not the result's");
  xmlDocPtr report = xmlReadFile("report.xml", nullptr, XML_PARSE_NONET);
  fuzz::require(report != nullptr, "report not well-formed XML");
  xmlFreeDoc(report);
  std::filesystem::remove("report.xml");
  for (const char* left : {"resp.TID", "resp.FINDINGS"})
    fuzz::require(!std::filesystem::exists(left), "temporary file left behind");
  return 0;
}
