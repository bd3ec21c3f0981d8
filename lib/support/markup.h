#pragma once

#include <string>
#include <string_view>

// `bytes` as text of an HTML page or of an XML document in UTF-8, inside an
// element or an attribute value: the characters that markup reads as its own
// escaped, valid UTF-8 kept, every other byte read as the ISO-8859-1 letter
// that the merchant's files mean by it, and the control characters that
// neither would show (XML 1.0 forbids them outright) replaced by U+FFFD. So
// any bytes give text that a browser shows and that an XML parser accepts.
std::string markup_text(std::string_view bytes);
