#pragma once

#include <span>
#include <string_view>

#include "pages/page_options.h"

namespace pages {

// Writes the body of one of the server's pages into `out`, as the options ask.
using PageRenderer = void (*)(Sink& out, const PageOptions& options);

// One of the server's subscription pages: its name on the command line and
// the renderer of its body.
struct PageType {
  std::string_view name;
  PageRenderer render;
};

// Every page the server can show, in the order the names are tested (and the
// page gallery shows them).
std::span<const PageType> page_types();

// The renderer for the page type `name`, matched exactly (no trimming, no
// case folding); null when the server has no such page.
PageRenderer find_page_renderer(std::string_view name);

// True when `name` is exactly one of the server's page types.
bool is_known_page_type(std::string_view name);

}  // namespace pages
