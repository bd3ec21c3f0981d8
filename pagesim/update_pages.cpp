// The pages through which a subscriber replaces the payment card or sets a
// new password. Their results reuse the account pages' confirmation and
// refusal bodies.
#include <string_view>

#include "account_pages.h"
#include "fragments.h"
#include "messages.h"
#include "output.h"
#include "renderers.h"

namespace {

// The card form shared by the card update and the lost-password pages:
// operation 6 for the sample subscriber W12BM000, posted to `action`. The
// card entry block adds its own USER and merchant fields after these.
void print_card_capture(const PageOptions& options, std::string_view action) {
  print_account_form_open(action, "6", "W12BM000", "135947@011223344550000");
  print_card_entry_block(options, CvvLinkText::FRENCH_IN_BOTH_LANGUAGES);
}

}  // namespace

void render_update_card_capture(PageOptions options) { print_card_capture(options, UPDATE_ACTION); }

void render_update_card_refused(PageOptions options) {
  print_account_refusal_body(options, Message::OPERATION_REFUSED);
}

void render_update_pwd_capture_card(PageOptions options) {
  // A lost password is replaced once the card has been checked.
  print_card_capture(options, "/cgis-payment/demo/callvalid_card");
}

void render_update_pwd_capture_pwd(PageOptions options) {
  const int lang = options.LANGUAGE;
  // Operation 7, new password, for the sample subscriber E09SV000.
  print_account_form_open(UPDATE_ACTION, "7", "E09SV000", "1844@011223344550000");
  emit("<br>");
  emit_filled("<table border=0 cellspacing=5><tr><td></td><td>%s</td><td><b>E09SV000</b></td></tr></table>",
              {message_text(Message::SUBSCRIBER_ID, lang)});
  emit_filled("<table border=0 cellspacing=5>"
              "<tr><td><td> </td><td>%s</td>"
              "<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD1 VALUE=></td>"
              "<td><td> </td><td>%s</td>"
              "<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=></td>"
              "</tr></table>",
              {message_text(Message::CHOOSE_PASSWORD, lang), message_text(Message::RETYPE_PASSWORD, lang)});
  emit("<br><center>");
  print_submit_button(options);
  emit("</FORM></center>");
  emit_filled("<hr size=2><center><font size=-1>%s<br></font></center>",
              {message_text(Message::LEAVING_THE_SECURE_SERVER, lang)});
}
