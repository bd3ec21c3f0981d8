#pragma once

#include <cstdio>
#include <string>

// Checks the merchant's template, read from its beginning: the page supplies
// its own html, head and form elements and the closing body tag, so the
// template must not hold them; files it loads through src must lie beside it;
// and it must hold the "[ORBA]" tag. Every violation is written into the page;
// true when there is none.
bool check_template(std::FILE* file);

// Cuts the template, read from its beginning, at its first "[ORBA]" tag: the
// text before it and the text after it, the tag itself dropped. Only called
// once check_template has passed.
void split_template(std::FILE* file, std::string& before, std::string& after);
