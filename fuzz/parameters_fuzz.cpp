// Any bytes as ./parameters: the reader either accepts the file or writes a
// diagnostic into the page, never both silent and failed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "pages/output.h"
#include "pages/page_options.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_quiet_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::write_file("parameters", fuzz::bytes(data, size));
  pages::PageOptions options;
  pages::Sink page;
  pages::Diagnostics diagnostics(page);
  bool read = pages::read_parameters(options, diagnostics);
  fuzz::require(read || (!page.bytes.empty() && !diagnostics.text().empty()),
                "parameters refused without a diagnostic");
  fuzz::require(options.LANGUAGE == pages::Language::ENGLISH || options.LANGUAGE == pages::Language::FRENCH,
                "language");
  return 0;
}
