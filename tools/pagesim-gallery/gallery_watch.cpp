// pagesim-gallery --watch: the gallery follows every save of the template,
// ./parameters and the files the pages load (an index open in a browser then
// follows the gallery, through the reload script of index_page.h).
#include "gallery_watch.h"

#include <map>

#include "platform/watch.h"

namespace gallery {

namespace {

// How often the files are looked at.
constexpr int LOOK_EVERY_MS = 50;

// How long the files must hold still after a change before the gallery is
// written.
constexpr int HOLD_STILL_MS = 80;

// What the watch saw of each file, by name.
using Stamps = std::map<std::string, FileStamp>;

// The files a writing of the gallery depends on.
std::vector<std::string> watched_files(const std::string& template_name, const std::vector<std::string>& loaded) {
  std::vector<std::string> files{template_name, "parameters"};
  files.insert(files.end(), loaded.begin(), loaded.end());
  return files;
}

// The stamps of `files` now.
Stamps stamps_of(const std::vector<std::string>& files) {
  Stamps stamps;
  for (const std::string& file : files) stamps[file] = file_stamp(file);
  return stamps;
}

// The stamps of the files of `stamps` now.
Stamps stamps_again(const Stamps& stamps) {
  Stamps again;
  for (const auto& [file, stamp] : stamps) again[file] = file_stamp(file);
  return again;
}

}  // namespace

bool watch_gallery(const std::string& template_name, const std::function<WatchedWriting(bool first)>& write) {
  // The files as they were before a writing: a change made while it runs is
  // seen at the next look.
  Stamps now = stamps_of({template_name, "parameters"});
  for (bool first = true;; first = false) {
    WatchedWriting writing = write(first);
    if (!writing.go_on) return false;
    Stamps seen = stamps_of(watched_files(template_name, writing.loaded));
    for (auto& [file, stamp] : seen)
      if (auto before = now.find(file); before != now.end()) stamp = before->second;
    do {
      if (wait_unless_stopped(LOOK_EVERY_MS)) return true;
      now = stamps_again(seen);
    } while (now == seen);
    for (Stamps before = now;; before = now) {
      if (wait_unless_stopped(HOLD_STILL_MS)) return true;
      now = stamps_again(seen);
      if (now == before) break;
    }
  }
}

}  // namespace gallery
