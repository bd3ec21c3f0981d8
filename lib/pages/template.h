#pragma once

#include <functional>
#include <string>

#include "pages/output.h"
#include "pages/text_file.h"
#include "support/fingerprint.h"

namespace pages {

// How the check of the merchant's template ended.
enum class TemplateVerdict { PASSED, FAILED, UNREADABLE };

// The outcome of the check, and the fingerprint of the bytes it read, which
// the copy compares with its own.
struct CheckedTemplate {
  TemplateVerdict verdict = TemplateVerdict::UNREADABLE;
  Fingerprint fingerprint;
};

// Checks the merchant's template, read by `reader` in line pieces: the page
// supplies its own html, head and form elements and the closing body tag, so
// the template must not hold them; files it loads through src must lie beside
// it; and it must hold the "[ORBA]" tag. Every violation is written into the
// page as a diagnostic. With `read`, the bytes read are appended to it, so
// that pages can be written from the very bytes checked.
CheckedTemplate check_template(LineReader& reader, Diagnostics& diagnostics, std::string* read = nullptr);

// How the copy of a checked template into the page ended.
enum class TemplateCopy { COPIED, CHANGED, UNREADABLE };

// Writes the template that `reader` reads (again, for a file) into `out`,
// with `write_body` called in place of its first "[ORBA]" tag (the tag itself
// dropped). CHANGED when the bytes differ from those the check read (the
// merchant saved the file meanwhile): the page written is then not the one
// that was checked.
TemplateCopy copy_template(LineReader& reader, const CheckedTemplate& checked, Sink& out,
                           const std::function<void()>& write_body);

}  // namespace pages
