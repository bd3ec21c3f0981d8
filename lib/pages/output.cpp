#include "pages/output.h"

#include "support/fill.h"

namespace pages {

namespace {
std::string* capture = nullptr;
std::FILE* destination = nullptr;  // null: standard output
bool write_failed = false;

// The longest copy of the diagnostics kept for the index; a template of a
// gigabyte can hold a violation on every line.
constexpr std::size_t DIAGNOSTIC_COPY_LIMIT = 1 << 20;
}  // namespace

void emit(std::string_view bytes) {
  if (capture) {
    capture->append(bytes);
    return;
  }
  std::FILE* file = destination ? destination : stdout;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) write_failed = true;
}

void emit_filled(std::string_view pattern, std::initializer_list<std::string_view> values) {
  emit(support::fill(pattern, values));
}

void capture_output(std::string* sink) { capture = sink; }

void send_output_to(std::FILE* file) { destination = file; }

bool finish_output() {
  std::FILE* file = destination ? destination : stdout;
  if (std::fflush(file) != 0 || std::ferror(file)) write_failed = true;
  bool complete = !write_failed;
  write_failed = false;
  return complete;
}

void Diagnostics::write(BodyTag tag, std::initializer_list<std::string_view> pieces) {
  if (!written_) {
    if (tag == BodyTag::WITH_LINE_END) emit("<body>\n");
    if (tag == BodyTag::ALONE) emit("<body>");
    written_ = true;
  }
  for (std::string_view piece : pieces) {
    emit(piece);
    if (text_.size() < DIAGNOSTIC_COPY_LIMIT) text_.append(piece.substr(0, DIAGNOSTIC_COPY_LIMIT - text_.size()));
  }
}

}  // namespace pages
