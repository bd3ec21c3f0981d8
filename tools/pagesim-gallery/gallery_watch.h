#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gallery {

// What one writing of the watched gallery gives back: whether the watch goes
// on, and the files of the template's folder that the pages load, which the
// watch then follows too.
struct WatchedWriting {
  bool go_on = false;
  std::vector<std::string> loaded;
};

// Writes the gallery through `write`, told whether it is the first writing,
// then watches the template, ./parameters and the files the last writing
// named, and writes anew after each change, once the files hold still (an
// editor may save in two steps). Returns true once a stop is requested
// (Ctrl-C, after catch_stop_requests), which it honours between two
// writings, or false as soon as `write` says the watch cannot go on; ending
// the run is the caller's.
bool watch_gallery(const std::string& template_name, const std::function<WatchedWriting(bool first)>& write);

}  // namespace gallery
