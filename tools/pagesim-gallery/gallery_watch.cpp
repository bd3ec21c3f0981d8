// pagesim-gallery --watch: the gallery follows every save of the template,
// and an index open in a browser follows the gallery, with no server.
#include "gallery_watch.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/lock.h"
#include "platform/watch.h"

namespace {

// How often the files are looked at, and how long they must hold still
// after a change before the gallery is written.
constexpr int LOOK_EVERY_MS = 50;
constexpr int HOLD_STILL_MS = 80;

using Stamps = std::map<std::string, FileStamp>;

// The files a writing of the gallery depends on.
std::vector<std::string> watched_files(const std::string& template_name, const GalleryOutcome& outcome) {
  std::vector<std::string> files{template_name, "parameters"};
  files.insert(files.end(), outcome.watched.begin(), outcome.watched.end());
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

// The local time of day, as the watch's lines start.
std::string time_of_day() {
  std::tm local{};
  if (!to_local_time(static_cast<int64_t>(std::time(nullptr)), local)) return "--:--:--";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour % 100, local.tm_min % 100, local.tm_sec % 100);
  return text;
}

// True when the watch may write the gallery again: its lock is still the
// lock file in `out_dir` (the folder was not removed, moved or replaced
// meanwhile, so the pages go where the lock is and mix with no other run's),
// and the template or ./parameters has not become a file the gallery writes
// (a link to one of them would have every writing change the template, for
// ever). Otherwise false, after one message.
bool may_write_again(const std::string& template_name, const std::string& out_dir, const FolderLock& lock) {
  if (!still_holds(lock)) {
    tell_gallery_failure(lock.path + " is no longer this watch's lock: the folder " + out_dir +
                         " was removed, moved or replaced; the watch ends");
    return false;
  }
  return writes_no_input(template_name, out_dir);
}

}  // namespace

std::string writing_mark() {
  static int64_t last = 0;
  int64_t now = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  last = now > last ? now : last + 1;
  return std::to_string(last);
}

std::string index_script(const std::string& mark) {
  return "<script>\n"
         "var writing = \"" + mark + "\";\n"
         "function galleryWritten(mark) { if (mark !== writing) location.reload(); }\n"
         "setInterval(function () {\n"
         "  var script = document.createElement(\"script\");\n"
         "  script.src = \"" + std::string(RELOAD_SCRIPT) + "?\" + Date.now();\n"
         "  script.onload = script.onerror = function () { script.remove(); };\n"
         "  document.head.appendChild(script);\n"
         "}, 100);\n"
         "function showWidth(width) {\n"
         "  document.body.className = width;\n"
         "  location.replace(\"#\" + width);\n"
         "}\n"
         "var previews = new IntersectionObserver(function (entries) {\n"
         "  entries.forEach(function (entry) {\n"
         "    if (!entry.isIntersecting) return;\n"
         "    var frame = document.createElement(\"iframe\");\n"
         "    frame.src = frame.title = entry.target.dataset.src;\n"
         "    frame.tabIndex = -1;\n"
         "    frame.setAttribute(\"sandbox\", \"allow-same-origin\");\n"
         "    entry.target.appendChild(frame);\n"
         "    previews.unobserve(entry.target);\n"
         "  });\n"
         "}, { rootMargin: \"200px\" });\n"
         "addEventListener(\"DOMContentLoaded\", function () {\n"
         "  showWidth(location.hash === \"#phone\" ? \"phone\" : \"desktop\");\n"
         "  document.querySelectorAll(\".preview\").forEach(function (preview) { previews.observe(preview); });\n"
         "});\n"
         "</script>\n";
}

std::string reload_script(const std::string& mark) { return "galleryWritten(\"" + mark + "\");\n"; }

void watch_gallery(const std::string& template_name, const std::string& out_dir,
                   const std::function<std::string(const GalleryOutcome&)>& line_of) {
  catch_stop_requests();
  FolderLock lock;
  if (!claim_gallery_folder(template_name, out_dir, lock)) return;
  auto stop = [&] {
    unlock_folder(lock);
    end_stopped_run();
  };
  // The files as they were before a writing: a change made while it runs is
  // seen at the next look.
  Stamps now = stamps_of({template_name, "parameters"});
  for (bool first = true;; first = false) {
    if (!first && !may_write_again(template_name, out_dir, lock)) break;
    GalleryOutcome outcome = write_claimed_gallery(template_name, out_dir, false);
    if (first && !outcome.written) break;
    if (outcome.written && !print_gallery_line(time_of_day() + " " + line_of(outcome))) break;
    if (first)
      tell_gallery_failure("watching the template, ./parameters and the files the pages load; Ctrl-C ends");
    Stamps seen = stamps_of(watched_files(template_name, outcome));
    for (auto& [file, stamp] : seen)
      if (auto before = now.find(file); before != now.end()) stamp = before->second;
    do {
      if (wait_unless_stopped(LOOK_EVERY_MS)) stop();
      now = stamps_again(seen);
    } while (now == seen);
    for (Stamps before = now;; before = now) {
      if (wait_unless_stopped(HOLD_STILL_MS)) stop();
      now = stamps_again(seen);
      if (now == before) break;
    }
  }
  // A lock that was lost is left where it lies: its path names another file now.
  unlock_folder(lock);
}
