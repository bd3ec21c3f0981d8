// The pages through which a subscriber replaces the payment card or sets a
// new password. Their results reuse the account pages' confirmation and
// refusal bodies.
#include "pages/update_pages.h"

#include <string_view>

#include "pages/account_pages.h"
#include "pages/fragments.h"
#include "pages/catalogue.h"
#include "pages/output.h"
#include "pages/sample_data.h"

namespace pages {

namespace {

// The card form shared by the card update and the lost-password pages: a new
// card for the sample subscriber, posted to `action`. The card entry block
// adds its own USER and merchant fields after these.
void print_card_capture(Sink& out, const PageOptions& options, std::string_view action) {
  print_account_form_open(out, action, Operation::UPDATE_CARD, SAMPLE_SUBSCRIBER.id, "135947");
  print_card_entry_block(out, options, CvvLinkText::FRENCH_IN_BOTH_LANGUAGES);
}

}  // namespace

void render_update_card_capture(Sink& out, const PageOptions& options) {
  print_card_capture(out, options, UPDATE_ACTION);
}

void render_update_card_refused(Sink& out, const PageOptions& options) {
  print_account_refusal_body(out, options, CatalogueText::OPERATION_REFUSED);
}

void render_update_pwd_capture_card(Sink& out, const PageOptions& options) {
  // A lost password is replaced once the card has been checked.
  print_card_capture(out, options, "/cgis-payment/demo/callvalid_card");
}

void render_update_pwd_capture_pwd(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  print_account_form_open(out, UPDATE_ACTION, Operation::NEW_PASSWORD, PASSWORD_SUBSCRIBER_ID, "1844");
  emit(out, "<br>");
  emit_filled(out, "<table border=0 cellspacing=5><tr><td></td><td>%s</td><td><b>%s</b></td></tr></table>",
              {catalogue_text(CatalogueText::SUBSCRIBER_ID, lang), PASSWORD_SUBSCRIBER_ID});
  emit_filled(
      out,
      "<table border=0 cellspacing=5>"
      "<tr><td><td> </td><td>%s</td>"
      "<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD1 VALUE=></td>"
      "<td><td> </td><td>%s</td>"
      "<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=></td>"
      "</tr></table>",
      {catalogue_text(CatalogueText::CHOOSE_PASSWORD, lang), catalogue_text(CatalogueText::RETYPE_PASSWORD, lang)});
  emit(out, "<br><center>");
  print_submit_button(out, options);
  emit(out, "</FORM></center>");
  print_leaving_notice(out, lang);
}

}  // namespace pages
