#pragma once

#include <optional>
#include <string>

#include "pages/catalogue.h"
#include "pages/output.h"

namespace pages {

// One page to preview: the template and the page type, as pagesim's command
// line gives them, and the language when the caller decides it. The page
// gallery does: its language wins over a LANGUAGE line of the merchant's
// ./parameters. Without one, ./parameters decides, as for pagesim.
struct PageRequest {
  std::string template_name;
  std::string page_type;
  std::optional<Language> language;
};

// How a page came out: complete, or holding a diagnostic instead, with that
// diagnostic's text (body tag left out).
struct PageOutcome {
  bool complete = false;
  std::string diagnostic;
};

// Writes the whole HTML document of `request` into `out`: the head, the
// template around the page body and the tail, or a diagnostic in the frame.
PageOutcome render_page(const PageRequest& request, Sink& out);

}  // namespace pages
