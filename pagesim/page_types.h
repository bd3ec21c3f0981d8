#pragma once

#include <string_view>

#include "page_options.h"

// One of the server's subscription pages and the renderer of its body.
struct PageType {
  std::string_view name;
  void (*render)(PageOptions options);
};

// The renderer for `name`, matched exactly (no trimming, no case folding);
// null when the server has no such page.
auto find_page_renderer(std::string_view name) -> void (*)(PageOptions);

// True when `name` is exactly one of the server's page types.
bool is_known_page_type(std::string_view name);
