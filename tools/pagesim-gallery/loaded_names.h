#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace gallery {

// The files the gallery's pages load by a relative name (images, stylesheets,
// scripts, the pages a link opens), with the pages that load each one (their
// numbers in the gallery's order). A name is kept as the page writes it, less
// its query and fragment.
using LoadedNames = std::map<std::string, std::set<std::size_t>>;

// Adds to `names` every file that the HTML `page` loads: the values of src=,
// href= and background= (quoted or not, any letter case) and the url(...) of
// its style elements and attributes. Names with a scheme (https:, mailto:,
// javascript:, ...) and links within the page itself are left out.
void add_loaded_names(std::string_view page, std::size_t page_number, LoadedNames& names);

// Receives each reference a page or a stylesheet makes, as written.
using ReferenceFound = std::function<void(std::string_view)>;

// Every url(...) and @import "..." of the stylesheet text `css`; comments and
// other strings are passed over.
void css_references(std::string_view css, const ReferenceFound& found);

// The file `value` names, as a browser reads it: blanks around it, its query
// and fragment dropped; empty for a link within the page itself or to
// something other than a file (a scheme other than file:).
std::string file_reference(std::string_view value);

// `text` with each %XX replaced by the byte it stands for, as a browser finds
// the file.
std::string percent_decoded(std::string_view text);

// True when `a` and `b` are the same name, ASCII letter case aside (the same
// file on Windows; a scheme or a tag name in HTML and CSS).
bool same_name(std::string_view a, std::string_view b);

}  // namespace gallery
