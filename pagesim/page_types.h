#pragma once

#include <string_view>

#include "page_options.h"

// Writes the body of one of the server's pages, from its own copy of the
// options.
using PageRenderer = void (*)(PageOptions options);

// The renderer for the page type `name`, matched exactly (no trimming, no
// case folding); null when the server has no such page.
PageRenderer find_page_renderer(std::string_view name);

// True when `name` is exactly one of the server's page types.
bool is_known_page_type(std::string_view name);
