// One page of pagesim, framed: the head, the Parameters file, the page type,
// the template around the page body, the tail; or a diagnostic in the frame.
// pagesim reads the files for its one page; the gallery reads them once for
// all its pages, and each page is written from what was read.
#include "pages/page.h"

#include <cstdio>
#include <initializer_list>
#include <utility>

#include "pages/page_types.h"
#include "platform/files.h"
#include "pages/template.h"
#include "pages/text_file.h"

namespace pages {

namespace {

// Opens the document; every page and every diagnostic shares this head.
void print_html_head(Sink& out) { emit(out, "<html><head><title>ORBA</title></head>\n"); }

// Closes the document, on success and failure alike.
void print_html_tail(Sink& out) { emit(out, "</body></html>\n"); }

// Ends a failed page: writes the diagnostic (after those already written),
// closes the frame, and gives the outcome of a page that is not complete.
PageOutcome fail(Sink& out, Diagnostics& diagnostics, BodyTag tag, std::initializer_list<std::string_view> pieces) {
  if (pieces.size() > 0) diagnostics.write(tag, pieces);
  print_html_tail(out);
  return PageOutcome{false, diagnostics.text()};
}

// Ends the page of a page type the server does not have.
PageOutcome fail_page_type(Sink& out, Diagnostics& diagnostics, const std::string& page_type) {
  return fail(out, diagnostics, BodyTag::WITH_LINE_END, {"The keyword ", page_type, " doesn't exist\n"});
}

// Ends the page of a template that cannot be read; `tag` opens the body when
// no diagnostic came before.
PageOutcome fail_unreadable(Sink& out, Diagnostics& diagnostics, BodyTag tag, const std::string& template_name) {
  return fail(out, diagnostics, tag, {"Can't read the template file (", template_name, ")\n"});
}

// Ends the page when the template's check did not pass; nothing when it did.
std::optional<PageOutcome> end_unless_passed(TemplateVerdict verdict, const std::string& template_name,
                                             Diagnostics& diagnostics, Sink& out) {
  if (verdict == TemplateVerdict::UNREADABLE)
    return fail_unreadable(out, diagnostics, BodyTag::WITH_LINE_END, template_name);
  if (verdict == TemplateVerdict::FAILED)
    return fail(out, diagnostics, BodyTag::ALONE,
                {"Your template contains errors, look at the pagesim documentation for more informations.\n"});
  return std::nullopt;
}

// Writes the body of `options`' page inside the checked template that
// `reader` reads, then the end of the page.
PageOutcome write_in_template(LineReader& reader, const CheckedTemplate& checked, const PageOptions& options,
                              Diagnostics& diagnostics, Sink& out) {
  PageRenderer render = find_page_renderer(options.page_type);
  TemplateCopy copy = copy_template(reader, checked, out, [&] { render(out, options); });
  // The page is written by now: a template that did not read the same twice
  // gets a diagnostic after it, so the preview never passes for checked.
  if (copy != TemplateCopy::COPIED) emit(out, "<br>");
  if (copy == TemplateCopy::UNREADABLE) return fail_unreadable(out, diagnostics, BodyTag::NONE, options.template_name);
  if (copy == TemplateCopy::CHANGED)
    return fail(out, diagnostics, BodyTag::NONE,
                {"The template file (", options.template_name,
                 ") changed while pagesim read it: this page is not the one checked, run pagesim again.\n"});
  if (!options.NO_COPYRIGHT) emit(out, "<br><center><font size=-2>Preview of an ORBA payment page</font></center>");
  print_html_tail(out);
  return PageOutcome{true, {}};
}

// The page in `page`, ended with `outcome`, kept for every page type.
SharedPage shared(Sink& page, PageOutcome outcome) { return SharedPage{std::move(page.bytes), std::move(outcome)}; }

// Writes a page that every page type gets alike.
PageOutcome write_shared(const SharedPage& page, Sink& out) {
  emit(out, page.bytes);
  return page.outcome;
}

}  // namespace

PageOutcome render_page(const PageRequest& request, Sink& out) {
  PageOptions options;
  options.template_name = request.template_name;
  options.page_type = request.page_type;
  Diagnostics diagnostics(out);
  print_html_head(out);
  if (!read_parameters(options, diagnostics)) return fail(out, diagnostics, BodyTag::NONE, {});
  if (!is_known_page_type(options.page_type)) return fail_page_type(out, diagnostics, options.page_type);
  std::FILE* file = open_for_reading(options.template_name);
  if (!file) return fail_unreadable(out, diagnostics, BodyTag::WITH_LINE_END, options.template_name);
  LineReader check_reader(file);
  CheckedTemplate checked = check_template(check_reader, diagnostics);
  std::optional<PageOutcome> outcome = end_unless_passed(checked.verdict, options.template_name, diagnostics, out);
  if (!outcome) {
    LineReader copy_reader(file);
    outcome = write_in_template(copy_reader, checked, options, diagnostics, out);
  }
  std::fclose(file);
  return *outcome;
}

PageInputs read_page_inputs(const std::string& template_name) {
  PageInputs inputs;
  inputs.options.template_name = template_name;
  Sink page;
  Diagnostics diagnostics(page);
  print_html_head(page);
  if (!read_parameters(inputs.options, diagnostics)) {
    inputs.parameters_failed = shared(page, fail(page, diagnostics, BodyTag::NONE, {}));
    return inputs;
  }
  std::FILE* file = open_for_reading(template_name);
  if (!file) {
    inputs.template_failed = shared(page, fail_unreadable(page, diagnostics, BodyTag::WITH_LINE_END, template_name));
    return inputs;
  }
  LineReader reader(file);
  inputs.checked = check_template(reader, diagnostics, &inputs.template_text);
  std::fclose(file);
  if (std::optional<PageOutcome> outcome = end_unless_passed(inputs.checked.verdict, template_name, diagnostics, page))
    inputs.template_failed = shared(page, *outcome);
  return inputs;
}

PageOutcome render_page_from(const PageInputs& inputs, std::string_view page_type, Language language, Sink& out) {
  if (inputs.parameters_failed) return write_shared(*inputs.parameters_failed, out);
  PageOptions options = inputs.options;
  options.page_type = page_type;
  options.LANGUAGE = language;
  Diagnostics diagnostics(out);
  if (!is_known_page_type(options.page_type)) {
    print_html_head(out);
    return fail_page_type(out, diagnostics, options.page_type);
  }
  if (inputs.template_failed) return write_shared(*inputs.template_failed, out);
  print_html_head(out);
  LineReader reader(inputs.template_text);
  return write_in_template(reader, inputs.checked, options, diagnostics, out);
}

}  // namespace pages
