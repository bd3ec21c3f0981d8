#pragma once

#include <string>
#include <vector>

// One page to preview: the command line's two words, and a line read after
// ./parameters as if the merchant's file ended with it (empty for none).
struct PageRequest {
  std::string template_name;
  std::string page_type;
  std::string parameters_last_line;
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
