#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace pages {

// The longest piece one line read returns, line end included; a longer line
// comes back as several pieces, and each piece counts as a line of its own
// (line numbers in the template diagnostics count pieces).
inline constexpr std::size_t MAX_LINE_PIECE = 16583;

// Reads a file from its beginning in line pieces, holding no more than a block
// and a piece at a time, so a template of any size reads in little memory; or
// reads text already in memory in the very same pieces, so a template read
// once gives every page the lines its check saw.
class LineReader {
 public:
  // Reads `file` from its beginning. With `join_crlf`, every CR LF pair reads
  // as one line end, so a file saved with either convention gives the same
  // lines.
  explicit LineReader(std::FILE* file, bool join_crlf = false);

  // Reads `text`, which outlives the reader, as a file holding it reads.
  explicit LineReader(std::string_view text);

  // The next line piece: up to and including the next line end, or
  // MAX_LINE_PIECE bytes, whichever is shorter. The view lasts until the next
  // call. False at the end of the file, or when a read failed (see failed()).
  bool next(std::string_view& piece);

  // True when the file could not be read to its end (never for text).
  bool failed() const { return failed_; }

 private:
  // Tops the buffer up to at least a piece, or to the end of the input.
  void fill();
  // Appends `bytes` to the buffer, joining CR LF pairs when asked.
  void append(std::string_view bytes);

  std::FILE* file_ = nullptr;  // null when reading text
  bool join_crlf_ = false;
  std::string_view text_;   // the text, when reading text
  std::string buffer_;      // bytes read from the file, given up to begin_
  std::size_t begin_ = 0;   // first unread byte of buffer_, or of text_
  bool held_cr_ = false;    // a CR at the end of what was read, not yet known to pair
  bool file_done_ = false;  // the file has been read to its end (text has none to read)
  bool failed_ = false;
};

}  // namespace pages
