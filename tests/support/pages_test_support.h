#pragma once

// What the tests of the page renderers share: what a renderer writes into a
// page in memory, the options of an empty Parameters file, and the search of
// an option's effect in a page.

#include <functional>
#include <string>
#include <string_view>

#include "pages/output.h"
#include "pages/page_options.h"

namespace pages {

// What `write` writes into a page rendered in memory.
inline std::string captured(const std::function<void(Sink&)>& write) {
  Sink page;
  write(page);
  return page.bytes;
}

// The body `render` writes for `options`.
inline std::string body_of(void (*render)(Sink&, const PageOptions&), const PageOptions& options) {
  return captured([&](Sink& out) { render(out, options); });
}

// Options as a merchant with an empty Parameters file gets them, in
// `language`.
inline PageOptions default_options(Language language = Language::ENGLISH) {
  PageOptions options;
  options.LANGUAGE = language;
  return options;
}

// Whether `needle` occurs in `page`, for the tests of one option's effect.
inline bool contains(const std::string& page, std::string_view needle) {
  return page.find(needle) != std::string::npos;
}

}  // namespace pages
