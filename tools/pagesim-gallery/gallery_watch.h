#pragma once

#include <functional>
#include <string>

#include "gallery.h"

// The file beside the index that tells an index open in a browser which
// writing of the gallery is the latest; the index loads it with a <script>
// element, which works from file:// too, where a page may fetch nothing.
inline constexpr const char* RELOAD_SCRIPT = "gallery-reload.js";

// A mark that tells one writing of the gallery from every other.
std::string writing_mark();

// The index's script: it reloads the index once RELOAD_SCRIPT names another
// writing than `mark`, switches the previews between a phone's width and a
// desktop's, and shows each page in its preview once the preview comes near
// the view.
std::string index_script(const std::string& mark);

// What RELOAD_SCRIPT holds after the writing `mark`.
std::string reload_script(const std::string& mark);

// Writes the gallery, then watches the template, ./parameters and the files
// of the template's folder that the pages load, and writes the gallery anew
// after each change, once the files hold still (an editor may save in two
// steps). Holds `out_dir`'s lock all the while. Each writing gives a line on
// standard output: the time, then `line_of` the outcome. Runs until a stop
// request (Ctrl-C), which it honours between two writings, and ends the run
// then. Before each writing it checks that `out_dir` is still the folder it
// holds and that no file it writes has become the template or ./parameters.
// Returns only when it cannot go on, after the message: the folder cannot be
// claimed, the first writing failed, standard output is lost, the folder was
// removed, moved or replaced (the lock is then left alone), or a file it
// writes became an input.
void watch_gallery(const std::string& template_name, const std::string& out_dir,
                   const std::function<std::string(const GalleryOutcome&)>& line_of);
