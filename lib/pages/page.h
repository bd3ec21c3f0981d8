#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pages/catalogue.h"
#include "pages/output.h"
#include "pages/page_options.h"
#include "pages/template.h"

namespace pages {

// One page to preview, as pagesim's command line gives it: the template and
// the page type.
struct PageRequest {
  std::string template_name;
  std::string page_type;
};

// How a page came out: complete, or holding a diagnostic instead, with that
// diagnostic's text (body tag left out).
struct PageOutcome {
  bool complete = false;
  std::string diagnostic;
};

// Writes the whole HTML document of `request` into `out`, with the options of
// ./parameters: the head, the template around the page body and the tail, or
// a diagnostic in the frame. The template is read twice, to check it and then
// to copy it, and never held whole, so a template of any size previews in
// little memory.
PageOutcome render_page(const PageRequest& request, Sink& out);

// A page that every page type gets alike: its bytes and its outcome.
struct SharedPage {
  std::string bytes;
  PageOutcome outcome;
};

// The merchant's files read once for many pages (the page gallery's): the
// options of ./parameters and the template, checked, with the bytes checked;
// or, for the file that fails, the page that every page type gets from it.
struct PageInputs {
  PageOptions options;
  std::optional<SharedPage> parameters_failed;  // ./parameters cannot be used: the template is not read
  std::optional<SharedPage> template_failed;    // the template cannot be read or fails its check
  std::string template_text;                    // the template as checked
  CheckedTemplate checked;
};

// Reads ./parameters, then the template `template_name`, once each.
PageInputs read_page_inputs(const std::string& template_name);

// Writes into `out` the page of `page_type` from `inputs` in `language`,
// whatever LANGUAGE line ./parameters holds; in all else, the bytes that
// render_page writes for that page from the same files.
PageOutcome render_page_from(const PageInputs& inputs, std::string_view page_type, Language language, Sink& out);

}  // namespace pages
