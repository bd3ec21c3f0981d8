#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "support/fingerprint.h"
#include "pages/output.h"

namespace pages {

// How the check of the merchant's template ended.
enum class TemplateVerdict { PASSED, FAILED, UNREADABLE };

// The outcome of the check, and the fingerprint of the bytes it read, which
// the copy compares with its own.
struct CheckedTemplate {
  TemplateVerdict verdict = TemplateVerdict::UNREADABLE;
  Fingerprint fingerprint;
};

// Checks the merchant's template, read from its beginning in line pieces: the
// page supplies its own html, head and form elements and the closing body
// tag, so the template must not hold them; files it loads through src must lie
// beside it; and it must hold the "[ORBA]" tag. Every violation is written
// into the page as a diagnostic.
CheckedTemplate check_template(std::FILE* file, Diagnostics& diagnostics);

// How the copy of a checked template into the page ended.
enum class TemplateCopy { COPIED, CHANGED, UNREADABLE };

// Reads the template a second time from its beginning and writes it into
// `out` with `write_body` called in place of its first "[ORBA]" tag (the tag
// itself dropped). CHANGED when the bytes differ from those the check read
// (the merchant saved the file meanwhile): the page written is then not the
// one that was checked.
TemplateCopy copy_template(std::FILE* file, const CheckedTemplate& checked, Sink& out,
                           const std::function<void()>& write_body);

}  // namespace pages
