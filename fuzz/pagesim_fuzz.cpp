// A whole pagesim page in process. The input is the page type, the Parameters
// file and the Template file, separated by lines "@@@"; a missing part is a
// missing file. The document must always be framed, a page that is not
// complete must hold its diagnostic, and the page written from the files read
// once, as the gallery writes it, must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "pages/output.h"
#include "pages/page.h"

namespace {

constexpr std::string_view SEPARATOR = "\n@@@\n";
constexpr std::string_view HEAD = "<html><head><title>ORBA</title></head>\n";
constexpr std::string_view TAIL = "</body></html>\n";

// Cuts `input` at the separator into at most three parts.
std::vector<std::string_view> parts_of(std::string_view input) {
  std::vector<std::string_view> parts;
  while (parts.size() < 2) {
    size_t at = input.find(SEPARATOR);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + SEPARATOR.size());
  }
  parts.push_back(input);
  return parts;
}

// Writes `content` into `name`, or removes `name` when there is no content.
void place(const std::vector<std::string_view>& parts, size_t index, const char* name) {
  if (index < parts.size())
    fuzz::write_file(name, parts[index]);
  else
    std::filesystem::remove(name);
}

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enter_quiet_private_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string_view> parts = parts_of(fuzz::bytes(data, size));
  place(parts, 1, "parameters");
  place(parts, 2, "template.html");
  pages::Sink out;
  pages::PageOutcome outcome = pages::render_page({"template.html", std::string(parts[0])}, out);
  const std::string& page = out.bytes;
  fuzz::require(outcome.complete || !outcome.diagnostic.empty(), "failed page without a diagnostic");
  fuzz::require(page.compare(0, HEAD.size(), HEAD) == 0, "document head");
  fuzz::require(ends_with(page, TAIL), "document tail");
  pages::PageInputs inputs = pages::read_page_inputs("template.html");
  pages::Sink again;
  pages::PageOutcome outcome_again = pages::render_page_from(inputs, parts[0], inputs.options.LANGUAGE, again);
  fuzz::require(again.bytes == page && outcome_again.complete == outcome.complete &&
                    outcome_again.diagnostic == outcome.diagnostic,
                "the page from the files read once differs");
  return 0;
}
