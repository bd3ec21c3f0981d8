// The pages through which a subscriber manages an existing subscription.
#include "account_pages.h"

#include <array>
#include <string_view>

#include "fragments.h"
#include "messages.h"
#include "output.h"
#include "renderers.h"

namespace {

// The sample subscriber shown on the account pages, the same in both
// languages; the accented letters are ISO-8859-1 bytes.
constexpr std::string_view SAMPLE_ADDRESS_1 = "8, impasse des \xE9" "rables";
constexpr std::string_view SAMPLE_ADDRESS_2 = "la sabli\xE8" "re";
constexpr std::string_view SAMPLE_EMAIL = "elno.tolven@example.com";

// One pre-filled row of the update form: label message, server field name,
// input width and the sample subscriber's current value.
struct UpdateRow {
  Message label;
  std::string_view form_field;
  std::string_view size;
  std::string_view value;
};

// The city is 40 wide here, against 30 on the subscription form.
constexpr std::array<UpdateRow, 10> UPDATE_ROWS = {{
    {Message::CIVIL_STATUS, "SUBSCRIPTION_CIVIL_STATUS", "6", "Mr"},
    {Message::LASTNAME, "SUBSCRIPTION_LASTNAME", "20", "TOLVEN"},
    {Message::FIRSTNAME, "SUBSCRIPTION_FIRSTNAME", "20", "Elno"},
    {Message::ADDRESS, "SUBSCRIPTION_ADRESSE1", "30", SAMPLE_ADDRESS_1},
    {Message::ADDRESS_LINE_2, "SUBSCRIPTION_ADRESSE2", "30", SAMPLE_ADDRESS_2},
    {Message::POSTAL_CODE, "SUBSCRIPTION_ZIPCODE", "8", "41000"},
    {Message::CITY, "SUBSCRIPTION_CITY", "40", "BLOIS"},
    {Message::COUNTRY, "SUBSCRIPTION_COUNTRY", "30", "France"},
    {Message::PHONE_NUMBER, "SUBSCRIPTION_TELEPHONE", "16", "02.47.31.85.60"},
    {Message::EMAIL, "SUBSCRIPTION_EMAIL", "50", SAMPLE_EMAIL},
}};

}  // namespace

void render_menu(PageOptions options) {
  const int lang = options.LANGUAGE;
  // The login page always shows the secure symbols, whatever the card pages do.
  emit_filled("<br><b>%s </b>", {message_text(Message::SECURE_SYMBOLS, lang)});
  emit("<br><br><FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_login><center>");
  emit_filled("<table border=0><tr><td>%s<td><INPUT TYPE=TEXT SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_ID VALUE=\"\">",
              {message_text(Message::SUBSCRIBER_ID, lang)});
  if (options.PASSWORD == "yes") {
    emit_filled("<tr><td>%s<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_PWD VALUE=\"\">",
                {message_text(Message::PASSWORD, lang)});
  }
  emit("</table>");
  emit("<INPUT TYPE=HIDDEN NAME=USER VALUE=164254@011223344550000>");
  print_merchant_fields();
  // Operation codes: 2 view, 3 update, 4 cancel, 6 new card, 5 lost password.
  emit_filled("<br><SELECT NAME=OPERATION SIZE=1>"
              "<OPTION VALUE=\"2\" SELECTED>%s<OPTION VALUE=\"3\">%s<OPTION VALUE=\"4\">%s"
              "<OPTION VALUE=\"6\">%s<OPTION VALUE=\"5\">%s</SELECT>",
              {message_text(Message::VIEW_MY_SUBSCRIPTION, lang), message_text(Message::UPDATE_MY_SUBSCRIPTION, lang),
               message_text(Message::CANCEL_MY_SUBSCRIPTION, lang), message_text(Message::UPDATE_MY_CARD, lang),
               message_text(Message::LOST_MY_PASSWORD, lang)});
  emit_filled("<br><br>%s", {message_text(Message::FORM_COMPLETED, lang)});
  print_submit_button(options);
  emit("</FORM>");
  emit("<hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::MENU);
}

void print_account_refusal_body(const PageOptions& options, Message heading) {
  const int lang = options.LANGUAGE;
  emit_filled("<hr><br><H2>%s</H2>", {message_text(heading, lang)});
  emit_filled("<H2>%s</H2>", {message_text(Message::CANNOT_COMPLETE, lang)});
  emit("<hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::ACCOUNT_REFUSAL);
}

void render_login_refused(PageOptions options) { print_account_refusal_body(options, Message::IDENTIFICATION_REFUSED); }

void render_view_info(PageOptions options) {
  const int lang = options.LANGUAGE;
  emit("<blockquote>");
  emit("<table border=0 cellspacing=10><tr><td>Mr<td>TOLVEN<td>Elno</table>");
  emit_filled("<table border=0 cellspacing=5>"
              "<tr><td><ADDRESS>%s</ADDRESS><tr><td><ADDRESS>%s</ADDRESS></table>",
              {SAMPLE_ADDRESS_1, SAMPLE_ADDRESS_2});
  emit("<table border=0 cellspacing=5><tr><td><ADDRESS>41000</ADDRESS><td><ADDRESS>BLOIS</ADDRESS></table>");
  emit("<table border=0 cellspacing=10><tr><td><ADDRESS>France</ADDRESS><tr><td>02.47.31.85.60<tr><td>");
  emit(SAMPLE_EMAIL);
  emit("</table>");
  emit("</blockquote>");
  emit("<center><hr width=200>");
  emit_filled("<table border=0 cellspacing=10>"
              "<tr><td>%s<td>W12BM000<tr><td>%s<td>  0,00 Euro <tr><td>%s<td>23 Octobre 2003</table>",
              {message_text(Message::SUBSCRIBER_ID, lang), message_text(Message::CONSUMPTION, lang),
               message_text(Message::REGISTRATION_DATE, lang)});
  emit("</center>");
  print_shop_form_with_return(options, DataBlob::VIEW_INFO);
  // Left open on purpose: the server's page never closes this form either.
  print_account_form_open(UPDATE_ACTION, "2", "W12BM000", "93510@011223344550000");
  emit("<hr size=2><center>");
  emit_filled("<font size=-1>%s<br>", {message_text(Message::LEAVING_THE_SECURE_SERVER, lang)});
  emit("</font></center>");
}

void render_update_info(PageOptions options) {
  const int lang = options.LANGUAGE;
  print_account_form_open(UPDATE_ACTION, "3", "W12BM000", "9582@011223344550000");
  emit("<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_TYPE VALUE=0>");
  emit("<table border=0>");
  for (const UpdateRow& row : UPDATE_ROWS) {
    emit_filled("<tr><td> <td>%s<td><b><INPUT TYPE=TEXT SIZE=%s MAXLENGTH=%s NAME=%s VALUE=\"%s\"></b>",
                {message_text(row.label, lang), row.size, row.size, row.form_field, row.value});
  }
  emit("</table><center>");
  print_submit_button(options);
  emit("</center></form>");
  emit("<hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::UPDATE_INFO);
}

void render_update_info_confirm(PageOptions options) {
  const int lang = options.LANGUAGE;
  if (!options.NO_ACCEPT_MSG) {
    emit_filled("<H3><center>%s</center></H3>", {message_text(Message::MODIFICATIONS_RECORDED, lang)});
  }
  print_shop_form_with_return(options, DataBlob::CONFIRMATION);
  emit("<hr size=2><center>");
  emit_filled("<font size=-1>%s<br>", {message_text(Message::LEAVING_THE_SECURE_SERVER, lang)});
  emit("</font></center>");
}

void render_delete_subscription(PageOptions options) {
  print_account_form_open(UPDATE_ACTION, "4", "W12BM000", "16335@011223344550000");
  emit_filled("<center><br>%s<br><br>", {message_text(Message::CONFIRM_CANCELLATION, options.LANGUAGE)});
  print_submit_button(options);
  emit("</FORM></center><hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::DELETE_SUBSCRIPTION);
}
