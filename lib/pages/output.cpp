#include "pages/output.h"

#include "support/fill.h"

namespace pages {

namespace {

// The longest copy of the diagnostics kept for the index; a template of a
// gigabyte can hold a violation on every line.
constexpr std::size_t DIAGNOSTIC_COPY_LIMIT = 1 << 20;

// Hands the gathered bytes on once they make a block, when `out` has a writer.
void hand_on_blocks(Sink& out) {
  if (!out.file || out.bytes.size() < WRITE_BLOCK) return;
  write_bytes(*out.file, out.bytes);
  out.bytes.clear();
}

}  // namespace

void emit(Sink& out, std::string_view bytes) {
  out.bytes.append(bytes);
  hand_on_blocks(out);
}

void emit_filled(Sink& out, std::string_view pattern, std::initializer_list<std::string_view> values) {
  support::append_filled(out.bytes, pattern, values);
  hand_on_blocks(out);
}

bool finish_page_output(Sink& out) {
  if (!out.file) return true;
  write_bytes(*out.file, out.bytes);
  out.bytes.clear();
  return flush_block_writer(*out.file);
}

void Diagnostics::write(BodyTag tag, std::initializer_list<std::string_view> pieces) {
  if (!written_) {
    if (tag == BodyTag::WITH_LINE_END) emit(out_, "<body>\n");
    if (tag == BodyTag::ALONE) emit(out_, "<body>");
    written_ = true;
  }
  for (std::string_view piece : pieces) {
    emit(out_, piece);
    if (text_.size() < DIAGNOSTIC_COPY_LIMIT) text_.append(piece.substr(0, DIAGNOSTIC_COPY_LIMIT - text_.size()));
  }
}

}  // namespace pages
