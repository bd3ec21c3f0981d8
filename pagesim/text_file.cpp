#include "text_file.h"

#include <cstring>

bool read_whole_file(std::FILE* file, std::string& text) {
  text.clear();
  constexpr std::size_t kBlock = 1 << 16;
  // Room for the whole file and the last block read at once: a big template
  // is not copied as the text grows. The loop still reads to the true end.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    if (size > 0) text.reserve(static_cast<std::size_t>(size) + kBlock);
  }
  std::rewind(file);
  for (;;) {
    std::size_t old_size = text.size();
    text.resize(old_size + kBlock);
    std::size_t got = std::fread(text.data() + old_size, 1, kBlock, file);
    text.resize(old_size + got);
    if (got < kBlock) break;
  }
  return !std::ferror(file);
}

std::string_view next_line_piece(std::string_view text, std::size_t& pos) {
  if (pos >= text.size()) return {};
  std::size_t room = text.size() - pos;
  if (room > kMaxLinePiece) room = kMaxLinePiece;
  const void* end = std::memchr(text.data() + pos, '\n', room);
  std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - (text.data() + pos)) + 1 : room;
  std::string_view piece = text.substr(pos, length);
  pos += length;
  return piece;
}

std::string join_crlf(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    joined.push_back(text[i]);
  }
  return joined;
}
