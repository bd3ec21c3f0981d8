// Any bytes as the Template file: the check, then the split of a template
// that passes, which must give back every byte but the tag.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "output.h"
#include "template.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::silence_stdout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::bytes(data, size);
  std::string page;
  capture_output(&page);
  bool passed = check_template(text);
  capture_output(nullptr);
  fuzz::require(passed || !page.empty(), "template refused without a diagnostic");
  if (passed) {
    std::string_view before;
    std::string_view after;
    split_template(text, before, after);
    fuzz::require(std::string(before) + "[ORBA]" + std::string(after) == text, "split lost or added bytes");
  }
  return 0;
}
