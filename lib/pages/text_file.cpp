#include "pages/text_file.h"

#include <cstring>

namespace pages {

namespace {

// Bytes asked of the file at once.
constexpr std::size_t READ_BLOCK = 1 << 16;

}  // namespace

LineReader::LineReader(std::FILE* file, bool join_crlf) : file_(file), join_crlf_(join_crlf) {
  buffer_.reserve(READ_BLOCK + MAX_LINE_PIECE + 2);
  std::rewind(file_);
}

LineReader::LineReader(std::string_view text) : text_(text), file_done_(true) {}

void LineReader::append(std::string_view bytes) {
  if (!join_crlf_) {
    buffer_.append(bytes);
    return;
  }
  for (std::size_t at = 0; at < bytes.size();) {
    if (held_cr_) {
      held_cr_ = false;
      if (bytes[at] != '\n') buffer_.push_back('\r');
    }
    const void* cr = std::memchr(bytes.data() + at, '\r', bytes.size() - at);
    std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data()) : bytes.size();
    buffer_.append(bytes.substr(at, end - at));
    if (end == bytes.size()) break;
    // A CR: dropped when a LF follows, which may come with the next block.
    if (end + 1 < bytes.size()) {
      if (bytes[end + 1] != '\n') buffer_.push_back('\r');
    } else {
      held_cr_ = true;
    }
    at = end + 1;
  }
}

void LineReader::fill() {
  if (file_done_) return;
  if (begin_ > 0) {
    buffer_.erase(0, begin_);
    begin_ = 0;
  }
  char block[READ_BLOCK];
  while (buffer_.size() < MAX_LINE_PIECE + 1 && !file_done_) {
    std::size_t got = std::fread(block, 1, sizeof block, file_);
    append(std::string_view(block, got));
    if (got < sizeof block) {
      file_done_ = true;
      if (std::ferror(file_)) {
        failed_ = true;
        return;
      }
      // A CR that ends the file has no LF to pair with.
      if (held_cr_) buffer_.push_back('\r');
      held_cr_ = false;
    }
  }
}

bool LineReader::next(std::string_view& piece) {
  if (failed_) return false;
  if (file_ && buffer_.size() - begin_ <= MAX_LINE_PIECE) fill();
  if (failed_) return false;
  std::string_view rest = file_ ? std::string_view(buffer_).substr(begin_) : text_.substr(begin_);
  if (rest.empty()) return false;
  std::size_t room = rest.size() < MAX_LINE_PIECE ? rest.size() : MAX_LINE_PIECE;
  std::size_t end = rest.substr(0, room).find('\n');
  piece = rest.substr(0, end == std::string_view::npos ? room : end + 1);
  begin_ += piece.size();
  return true;
}

}  // namespace pages
