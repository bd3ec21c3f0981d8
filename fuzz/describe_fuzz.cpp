// Any bytes as the file batchcheck-describe is given, read as a Request or a
// Response file by its content, with the JSON view and the JUnit report:
// every line must be valid JSON, the records numbered in file order, the
// closing object's result in range and the verdict its own, the report
// a well-formed XML file (libxml2 reads it strictly) whatever bytes the
// fields hold, and no temporary file left behind.
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "describe.h"
#include "describe_response.h"
#include "fuzz_support.h"

using namespace support;

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
  fuzz::write_file("req", fuzz::bytes(data, size));
  DescribeOptions options;
  options.file = "req";
  options.json = true;
  options.junit_file = "report.xml";
  bool response = false;
  std::string why;
  // Content that reads either way is described as a batch, as --as request would.
  if (!describes_response(options, &response, &why)) response = false;
  if (!response) options.file_number = "12";
  Verdict verdict = Verdict::FILE_FAILED;
  std::string err, described;
  bool whole = fuzz::write_in_memory(
      [&](BlockWriter& writer) {
        return response ? describe_response_file(options, writer, &verdict, &err)
                        : describe_request_file(options, writer, &verdict, &err);
      },
      described);
  std::istringstream lines(described);
  fuzz::require(whole && verdict != Verdict::FILE_FAILED, "description failed");
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
  fuzz::require(result >= 0 && result <= (response ? 1 : 4), "result out of range");
  fuzz::require((result == 0) == (verdict == Verdict::NO_RULE_BROKEN), "verdict not the result's");
  xmlDocPtr report = xmlReadFile("report.xml", nullptr, XML_PARSE_NONET);
  fuzz::require(report != nullptr, "report not well-formed XML");
  xmlFreeDoc(report);
  std::filesystem::remove("report.xml");
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator("."))
    fuzz::require(entry.path().filename() == "req", "temporary file left behind");
  return 0;
}
