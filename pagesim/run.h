#pragma once

#include <string>
#include <vector>

// One page to preview: the command line's two words and, for the page
// gallery, the language of the page ("en" or "fr"; empty for pagesim's own
// run). The language is read as one more line "LANGUAGE!en!" or
// "LANGUAGE!fr!" after ./parameters, and it decides the page's language even
// where the merchant's file asks for French.
struct PageRequest {
  std::string template_name;
  std::string page_type;
  std::string language;
};

// How a page came out: 0 for a complete page, 1 when the page holds a
// diagnostic instead, with that diagnostic's text (body tag left out).
struct PageOutcome {
  int status = 1;
  std::string diagnostic;
};

// Writes the whole HTML document of `request` through emit(): the head, the
// template around the page body and the tail, or a diagnostic in the frame.
PageOutcome render_page(const PageRequest& request);

// Runs pagesim on the command line's arguments (the program name left out):
// writes the HTML document to standard output and returns the exit status.
int run_pagesim(const std::vector<std::string>& args);
