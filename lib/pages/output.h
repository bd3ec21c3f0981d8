#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "support/block_writer.h"

namespace pages {

// Where the bytes of a page go: into `bytes`, where the whole page gathers
// when it is rendered in memory (the gallery's pages, a test), or, with
// `file` set, on to that writer as they come (pagesim's standard output, a
// block at a time), so that a template of any size goes out in little memory.
struct Sink {
  std::string bytes;
  support::BlockWriter* file = nullptr;
};

// Appends `bytes` to the page. Text is always data, never a format, so a "%"
// in an option or a template prints as itself.
void emit(Sink& out, std::string_view bytes);

// Appends `pattern` filled as support::fill fills it: each "%s" replaced, in
// order, by the next of `values`. The pattern is always one of the page
// literals; values are written as data.
void emit_filled(Sink& out, std::string_view pattern, std::initializer_list<std::string_view> values);

// Flushes the writer of `out`; false when anything written to it was lost (a
// full disk, /dev/full). True, and nothing done, for a page rendered in
// memory.
bool finish_page_output(Sink& out);

// How a failure page opens its body before the first diagnostic: "<body>" and
// a line end, "<body>" alone, or no tag at all (the "too long" messages of
// the Parameters file stand bare between the head and the tail).
enum class BodyTag { WITH_LINE_END, ALONE, NONE };

// The diagnostics of one page, written into it as they come. The first one
// opens the page body as its writer asks; the others follow it directly. A
// copy of their text is kept (up to a limit) for the page gallery's index.
class Diagnostics {
 public:
  // Diagnostics written into `out`, which outlives them.
  explicit Diagnostics(Sink& out) : out_(out) {}

  // Writes one diagnostic, given in pieces.
  void write(BodyTag tag, std::initializer_list<std::string_view> pieces);

  // What was written, body tag left out; cut short past a megabyte.
  const std::string& text() const { return text_; }

 private:
  Sink& out_;
  bool written_ = false;
  std::string text_;
};

}  // namespace pages
