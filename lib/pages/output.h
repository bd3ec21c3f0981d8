#pragma once

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pages {

// Appends bytes to the page being written: standard output, the file given to
// send_output_to, or a string while capture_output is in force. Text is always
// data, never a format, so a "%" in an option or a template prints as itself.
void emit(std::string_view bytes);

// Writes `pattern` filled as support::fill fills it: each "%s" replaced, in
// order, by the next of `values`. The pattern is always one of the page
// literals; values are written as data.
void emit_filled(std::string_view pattern, std::initializer_list<std::string_view> values);

// Sends every later emit into `sink`; nullptr goes back to the file.
void capture_output(std::string* sink);

// Sends every later emit (outside a capture) into `file`; nullptr goes back
// to standard output.
void send_output_to(std::FILE* file);

// Flushes the file the page goes to; false when anything written to it since
// the last call was lost (a full disk, /dev/full).
bool finish_output();

// How a failure page opens its body before the first diagnostic: "<body>" and
// a line end, "<body>" alone, or no tag at all (the "too long" messages of
// the Parameters file stand bare between the head and the tail).
enum class BodyTag { WITH_LINE_END, ALONE, NONE };

// The diagnostics of one run, written into the page as they come. The first
// one opens the page body as its writer asks; the others follow it directly.
// A copy of their text is kept (up to a limit) for the page gallery's index.
class Diagnostics {
 public:
  // Writes one diagnostic, given in pieces.
  void write(BodyTag tag, std::initializer_list<std::string_view> pieces);

  // What was written, body tag left out; cut short past a megabyte.
  const std::string& text() const { return text_; }

 private:
  bool written_ = false;
  std::string text_;
};

}  // namespace pages
