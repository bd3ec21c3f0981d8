#include "pages/output.h"

#include "support/fill.h"

using namespace support;

namespace pages {

namespace {

// The longest copy of the diagnostics kept for the index; a template of a
// gigabyte can hold a violation on every line.
constexpr std::size_t DIAGNOSTIC_COPY_LIMIT = 1 << 20;

}  // namespace

void emit(Sink& out, std::string_view bytes) {
  if (out.file)
    write_bytes(*out.file, bytes);
  else
    out.bytes.append(bytes);
}

void emit_filled(Sink& out, std::string_view pattern, std::initializer_list<std::string_view> values) {
  support::append_filled(out.bytes, pattern, values);
  if (!out.file) return;
  write_bytes(*out.file, out.bytes);
  out.bytes.clear();
}

bool finish_page_output(Sink& out) { return !out.file || flush_block_writer(*out.file); }

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
