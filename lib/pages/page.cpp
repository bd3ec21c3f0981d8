// One page of pagesim, framed: the head, the Parameters file, the page type,
// the template around the page body, the tail; or a diagnostic in the frame.
#include "pages/page.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "pages/output.h"
#include "pages/page_options.h"
#include "pages/page_types.h"
#include "platform/platform.h"
#include "pages/template.h"

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

// Writes the page for a template that is open as `file`.
PageOutcome render_with_template(std::FILE* file, const PageOptions& options, Diagnostics& diagnostics, Sink& out) {
  CheckedTemplate checked = check_template(file, diagnostics);
  if (checked.verdict == TemplateVerdict::UNREADABLE)
    return fail(out, diagnostics, BodyTag::WITH_LINE_END,
                {"Can't read the template file (", options.template_name, ")\n"});
  if (checked.verdict == TemplateVerdict::FAILED)
    return fail(out, diagnostics, BodyTag::ALONE,
                {"Your template contains errors, look at the pagesim documentation for more informations.\n"});
  PageRenderer render = find_page_renderer(options.page_type);
  TemplateCopy copy = copy_template(file, checked, out, [&] { render(out, options); });
  // The page is written by now: a template that did not read the same twice
  // gets a diagnostic after it, so the preview never passes for checked.
  if (copy != TemplateCopy::COPIED) emit(out, "<br>");
  if (copy == TemplateCopy::UNREADABLE)
    return fail(out, diagnostics, BodyTag::NONE, {"Can't read the template file (", options.template_name, ")\n"});
  if (copy == TemplateCopy::CHANGED)
    return fail(out, diagnostics, BodyTag::NONE,
                {"The template file (", options.template_name,
                 ") changed while pagesim read it: this page is not the one checked, run pagesim again.\n"});
  if (!options.NO_COPYRIGHT) emit(out, "<br><center><font size=-2>Preview of an ORBA payment page</font></center>");
  print_html_tail(out);
  return PageOutcome{true, {}};
}

}  // namespace

PageOutcome render_page(const PageRequest& request, Sink& out) {
  PageOptions options;
  init_page_options(options);
  options.template_name = request.template_name;
  options.page_type = request.page_type;
  Diagnostics diagnostics(out);
  print_html_head(out);
  if (!read_parameters(options, diagnostics)) return fail(out, diagnostics, BodyTag::NONE, {});
  // The caller's language wins: a merchant's file that selects French would
  // otherwise turn the gallery's English page French too.
  if (request.language) options.LANGUAGE = *request.language;
  if (!is_known_page_type(options.page_type))
    return fail(out, diagnostics, BodyTag::WITH_LINE_END, {"The keyword ", options.page_type, " doesn't exist\n"});
  std::FILE* file = open_for_reading(options.template_name);
  if (!file)
    return fail(out, diagnostics, BodyTag::WITH_LINE_END,
                {"Can't read the template file (", options.template_name, ")\n"});
  PageOutcome outcome = render_with_template(file, options, diagnostics, out);
  std::fclose(file);
  return outcome;
}

}  // namespace pages
