// pagesim-gallery: previews every subscription page, in English and in
// French, inside the merchant's own template, into one folder with an index.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <new>
#include <string>
#include <string_view>

#include "gallery.h"
#include "gallery_folder.h"
#include "gallery_watch.h"
#include "platform/cleanup.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/lock.h"
#include "platform/watch.h"
#include "support/block_writer.h"
#include "support/help_version.h"
#include "support/options.h"

using namespace support;

namespace {

// The program's name, as --version and its messages give it.
constexpr std::string_view PROGRAM = "pagesim-gallery";

// pagesim-gallery's exit statuses.
enum ExitStatus : int {
  EVERY_PAGE_COMPLETE = 0,
  SOME_PAGE_HOLDS_A_DIAGNOSTIC = 1,  // all pages are written all the same
  NOT_WRITTEN = 2,                   // a wrong command line, a refusal, or OUT_DIR, a file in it or the
                                     // closing line cannot be written
};

// Tells why the gallery stopped, or what the watch does: the program's name,
// `what` and a line end, on standard error.
void tell(const std::string& what) {
  std::string message = std::string(PROGRAM) + ": " + what + "\n";
  std::fputs(message.c_str(), stderr);
}

// pagesim-gallery's command line: its parsing, its help and its usage.
const support::OptionTable OPTIONS{
    .program = PROGRAM,
    .rows = {
        {support::RowKind::OPERAND, "TEMPLATE_NAME", "", "the merchant's HTML template, holding the [ORBA] tag"},
        {support::RowKind::OPERAND, "OUT_DIR", "", "the folder of the pages, created when missing"},
        {support::RowKind::OPTION, "--watch", "",
         "write the gallery anew after every change of the template,\n"
         "./parameters or a file the pages load, one line each, until\n"
         "Ctrl-C; an open index.html reloads by itself"},
        {support::RowKind::ALONE, "--help", "", "print this help"},
        {support::RowKind::ALONE, "--version", "", "print the name and version"},
    },
    .help_column = 17,
    .help_usage_names_alone = true,
};

// What `pagesim-gallery --help` prints.
std::string help_text() {
  return support::help_text(
      OPTIONS,
      "Previews every subscription page of the ORBA payment server, in English and\n"
      "in French, inside the merchant's HTML template, with the options of\n"
      "./parameters: the 32 pages that pagesim writes, and OUT_DIR/index.html that\n"
      "links them and shows the diagnostic of each page that holds one. Beside the\n"
      "pages go the files they load from the template's folder and stand-ins for\n"
      "the server's images; the index lists any file that could not be copied.\n",
      "Exit status: 0 every page is complete; 1 some page holds a diagnostic (all\n"
      "are written); 2 a wrong command line, or OUT_DIR or a file in it cannot be\n"
      "written.\n");
}

// Says what is wrong with the command line, then how to call the program,
// on standard error.
void print_usage(const std::string& reason) {
  tell(reason);
  std::string usage = support::usage_line(OPTIONS);
  usage += "Run it in the folder that holds ./parameters; pagesim-gallery --help tells more.\n";
  std::fputs(usage.c_str(), stderr);
}

// Writes `line` on standard output, where a job that runs the gallery reads
// it; false after the message when it is lost.
bool print_line(const std::string& line) {
  BlockWriter out = make_block_writer(stdout);
  write_bytes(out, line);
  if (flush_block_writer(out)) return true;
  tell("cannot write to standard output");
  return false;
}

// Shows one progress line on standard error.
void show_progress(const std::string& line) { std::fputs(line.c_str(), stderr); }

// The closing line: how many pages, where the index is, and how many pages
// hold a diagnostic.
std::string closing_line(const gallery::GalleryOutcome& outcome) {
  std::string line = std::to_string(outcome.pages) + " pages written to " + outcome.index_path;
  if (outcome.diagnostics == 1) line += ", 1 holds a diagnostic";
  if (outcome.diagnostics > 1) line += ", " + std::to_string(outcome.diagnostics) + " hold a diagnostic";
  if (outcome.not_copied == 1) line += ", 1 file the pages load is not copied (see the index)";
  if (outcome.not_copied > 1)
    line += ", " + std::to_string(outcome.not_copied) + " files the pages load are not copied (see the index)";
  return line + "\n";
}

// The local time of day, as the watch's lines start.
std::string time_of_day() {
  std::tm local{};
  if (!to_local_time(static_cast<int64_t>(std::time(nullptr)), local)) return "--:--:--";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour % 100, local.tm_min % 100, local.tm_sec % 100);
  return text;
}

// Writes the gallery once, holding `out_dir`'s lock for the run, then the
// closing line; the exit status.
int write_once(const std::string& template_name, const std::string& out_dir) {
  FolderLock lock;
  std::string err;
  if (!gallery::claim_folder(template_name, out_dir, lock, &err)) {
    tell(err);
    return NOT_WRITTEN;
  }
  gallery::GalleryOutcome outcome;
  gallery::Progress progress = is_terminal(stderr) ? show_progress : gallery::Progress();
  bool written = gallery::write_gallery(template_name, out_dir, progress, outcome, &err);
  unlock_folder(lock);
  if (!written) {
    tell(err);
    return NOT_WRITTEN;
  }
  // A job that runs the gallery reads this line: lost, it fails the run.
  if (!print_line(closing_line(outcome))) return NOT_WRITTEN;
  return outcome.diagnostics > 0 ? SOME_PAGE_HOLDS_A_DIAGNOSTIC : EVERY_PAGE_COMPLETE;
}

// One writing of the watch, into the folder it holds: the gallery, then its
// line after the time of day. The first writing must succeed; a later one
// that cannot write a file is told and waits for the next save. A lost line,
// a folder that is no longer the one held or a file written that became an
// input ends the watch.
gallery::WatchedWriting write_watched(const std::string& template_name, const std::string& out_dir,
                                      const FolderLock& lock, bool first) {
  gallery::GalleryOutcome outcome;
  std::string err;
  // A later writing goes only where the lock still is, and never once a file
  // it writes has become an input (a template made a link to a page would
  // have every writing change the template, for ever).
  if (!first && (!gallery::still_the_folder_held(out_dir, lock, &err) ||
                 !gallery::writes_no_input(template_name, out_dir, &err))) {
    tell(err);
    return {false, {}};
  }
  if (!gallery::write_gallery(template_name, out_dir, {}, outcome, &err)) {
    tell(err);
    return {!first, outcome.watched};
  }
  if (!print_line(time_of_day() + " " + closing_line(outcome))) return {false, {}};
  if (first) tell("watching the template, ./parameters and the files the pages load; Ctrl-C ends");
  return {true, outcome.watched};
}

// Writes the gallery, then again after every change, holding `out_dir`'s
// lock all the while. Ctrl-C ends the run as the interrupt would, once the
// writing under way is whole; otherwise the exit status of a watch that
// cannot go on.
int watch(const std::string& template_name, const std::string& out_dir) {
  catch_stop_requests();
  FolderLock lock;
  std::string err;
  if (!gallery::claim_folder(template_name, out_dir, lock, &err)) {
    tell(err);
    return NOT_WRITTEN;
  }
  bool stopped = gallery::watch_gallery(
      template_name, [&](bool first) { return write_watched(template_name, out_dir, lock, first); });
  // A lock that was lost is left where it lies: unlock_folder removes the
  // lock file only while its path still names it.
  unlock_folder(lock);
  if (stopped) end_stopped_run();
  return NOT_WRITTEN;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, PROGRAM, help_text(), NOT_WRITTEN); status >= 0) return status;
  install_interrupt_cleanup();
  support::CommandLine line;
  std::string err;
  if (!support::parse_command_line(OPTIONS, argc, argv, line, &err)) {
    print_usage(err);
    return NOT_WRITTEN;
  }
  try {
    std::string template_name(line.operands[0]);
    std::string out_dir(line.operands[1]);
    bool watching = !line.options.empty();  // --watch, the one option
    return watching ? watch(template_name, out_dir) : write_once(template_name, out_dir);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    tell("out of memory");
    return NOT_WRITTEN;
  }
}
