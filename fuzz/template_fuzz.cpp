// Any bytes as the Template file: the check, then the copy of a template that
// passes, which must give back every byte but the tag, with the body in its
// place.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "pages/output.h"
#include "platform/files.h"
#include "pages/template.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_quiet_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::bytes(data, size);
  fuzz::write_file("template.html", text);
  std::FILE* file = open_for_reading("template.html");
  fuzz::require(file != nullptr, "template opened");
  pages::Sink page;
  pages::Diagnostics diagnostics(page);
  pages::LineReader check_reader(file);
  pages::CheckedTemplate checked = pages::check_template(check_reader, diagnostics);
  fuzz::require(checked.verdict != pages::TemplateVerdict::UNREADABLE, "template read");
  fuzz::require(checked.verdict == pages::TemplateVerdict::PASSED || !page.bytes.empty(),
                "template refused without a diagnostic");
  if (checked.verdict == pages::TemplateVerdict::PASSED) {
    page.bytes.clear();
    std::size_t body_at = std::string::npos;
    pages::LineReader copy_reader(file);
    pages::TemplateCopy copy = pages::copy_template(copy_reader, checked, page, [&] { body_at = page.bytes.size(); });
    fuzz::require(copy == pages::TemplateCopy::COPIED && body_at != std::string::npos, "template copied");
    std::string copied = page.bytes;
    fuzz::require(copied.substr(0, body_at) + "[ORBA]" + copied.substr(body_at) == text, "copy lost or added bytes");
  }
  std::fclose(file);
  return 0;
}
