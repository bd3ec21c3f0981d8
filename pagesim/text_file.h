#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// The longest piece one line read returns, line end included; a longer line
// comes back as several pieces, and each piece counts as a line of its own
// (line numbers in the template diagnostics count pieces).
inline constexpr std::size_t kMaxLinePiece = 16583;

// Reads `file` from its beginning to its end into `text`, byte for byte.
// False when the stream reports a read error (a directory opened as a file
// fails here, so callers treat it like a file that cannot be read).
bool read_whole_file(std::FILE* file, std::string& text);

// The next line piece of `text` starting at `pos`: up to and including the
// next '\n', or kMaxLinePiece bytes, whichever is shorter. Advances `pos`; an
// empty result means the end of the text.
std::string_view next_line_piece(std::string_view text, std::size_t& pos);

// Replaces every CR LF pair of `text` by a single LF, so a file saved with
// either convention reads as the same lines.
std::string join_crlf(std::string_view text);
