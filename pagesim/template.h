#pragma once

#include <string_view>

// Checks the text of the merchant's template: the page supplies
// its own html, head and form elements and the closing body tag, so the
// template must not hold them; files it loads through src must lie beside it;
// and it must hold the "[ORBA]" tag. Every violation is written into the page;
// true when there is none.
bool check_template(std::string_view text);

// Cuts the text of the template at its first "[ORBA]" tag: the text before it
// and the text after it (views into `text`), the tag itself dropped. Only
// called once check_template has passed.
void split_template(std::string_view text, std::string_view& before, std::string_view& after);
