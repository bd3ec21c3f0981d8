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
constexpr std::string_view kSampleAddress1 = "8, impasse des \xE9" "rables";
constexpr std::string_view kSampleAddress2 = "la sabli\xE8" "re";
constexpr std::string_view kSampleEmail = "elno.tolven@example.com";

// One pre-filled row of the update form: label message, server field name,
// input width and the sample subscriber's current value.
struct UpdateRow {
  int label;
  std::string_view form_field;
  std::string_view size;
  std::string_view value;
};

// The city is 40 wide here, against 30 on the subscription form.
constexpr std::array<UpdateRow, 10> kUpdateRows = {{
    {1, "SUBSCRIPTION_CIVIL_STATUS", "6", "Mr"},
    {2, "SUBSCRIPTION_LASTNAME", "20", "TOLVEN"},
    {3, "SUBSCRIPTION_FIRSTNAME", "20", "Elno"},
    {4, "SUBSCRIPTION_ADRESSE1", "30", kSampleAddress1},
    {5, "SUBSCRIPTION_ADRESSE2", "30", kSampleAddress2},
    {6, "SUBSCRIPTION_ZIPCODE", "8", "41000"},
    {7, "SUBSCRIPTION_CITY", "40", "BLOIS"},
    {8, "SUBSCRIPTION_COUNTRY", "30", "France"},
    {9, "SUBSCRIPTION_TELEPHONE", "16", "02.47.31.85.60"},
    {10, "SUBSCRIPTION_EMAIL", "50", kSampleEmail},
}};

}  // namespace

void render_menu(PageOptions options) {
  const int lang = options.LANGUAGE;
  // The login page always shows the secure symbols, whatever the card pages do.
  emit_filled("<br><b>%s </b>", {message_text(18, lang)});
  emit("<br><br><FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_login><center>");
  emit_filled("<table border=0><tr><td>%s<td><INPUT TYPE=TEXT SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_ID VALUE=\"\">",
              {message_text(11, lang)});
  if (options.PASSWORD == "yes") {
    emit_filled("<tr><td>%s<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_PWD VALUE=\"\">",
                {message_text(52, lang)});
  }
  emit("</table>");
  emit("<INPUT TYPE=HIDDEN NAME=USER VALUE=164254@011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=fr>");
  // Operation codes: 2 view, 3 update, 4 cancel, 6 new card, 5 lost password.
  emit_filled("<br><SELECT NAME=OPERATION SIZE=1>"
              "<OPTION VALUE=\"2\" SELECTED>%s<OPTION VALUE=\"3\">%s<OPTION VALUE=\"4\">%s"
              "<OPTION VALUE=\"6\">%s<OPTION VALUE=\"5\">%s</SELECT>",
              {message_text(53, lang), message_text(54, lang), message_text(55, lang), message_text(57, lang),
               message_text(56, lang)});
  emit_filled("<br><br>%s", {message_text(36, lang)});
  print_submit_button(options);
  emit("</FORM>");
  emit("<hr size=2>");
  print_shop_form_open();
  emit("<center>");
  print_data_field(DataBlob::menu);
  print_cancel_button(options);
  emit("</center></FORM>");
}

void print_account_refusal_body(const PageOptions& options, int heading) {
  const int lang = options.LANGUAGE;
  emit_filled("<hr><br><H2>%s</H2>", {message_text(heading, lang)});
  emit_filled("<H2>%s</H2>", {message_text(51, lang)});
  emit("<hr size=2>");
  print_shop_form_open();
  emit("<center>");
  print_data_field(DataBlob::account_refusal);
  print_cancel_button(options);
  emit("</center></FORM>");
}

void render_login_refused(PageOptions options) { print_account_refusal_body(options, 58); }

void render_view_info(PageOptions options) {
  const int lang = options.LANGUAGE;
  emit("<blockquote>");
  emit("<table border=0 cellspacing=10><tr><td>Mr<td>TOLVEN<td>Elno</table>");
  emit_filled("<table border=0 cellspacing=5>"
              "<tr><td><ADDRESS>%s</ADDRESS><tr><td><ADDRESS>%s</ADDRESS></table>",
              {kSampleAddress1, kSampleAddress2});
  emit("<table border=0 cellspacing=5><tr><td><ADDRESS>41000</ADDRESS><td><ADDRESS>BLOIS</ADDRESS></table>");
  emit("<table border=0 cellspacing=10><tr><td><ADDRESS>France</ADDRESS><tr><td>02.47.31.85.60<tr><td>");
  emit(kSampleEmail);
  emit("</table>");
  emit("</blockquote>");
  emit("<center><hr width=200>");
  emit_filled("<table border=0 cellspacing=10>"
              "<tr><td>%s<td>W12BM000<tr><td>%s<td>  0,00 Euro <tr><td>%s<td>23 Octobre 2003</table>",
              {message_text(11, lang), message_text(59, lang), message_text(60, lang)});
  emit("</center>");
  emit("<center>");
  print_shop_form_open();
  print_data_field(DataBlob::view_info);
  print_return_button(options);
  emit("</FORM></center>");
  // Left open on purpose: the server's page never closes this form either.
  emit("<FORM METHOD=POST ACTION=/cgis-payment/demo/callupdate_subscription NAME=DATA_CAPTURE>"
       "<INPUT TYPE=HIDDEN NAME=OPERATION VALUE=2>"
       "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_SUBSCRIBER VALUE=W12BM000>"
       "<INPUT TYPE=HIDDEN NAME=USER VALUE=93510@011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=fr>");
  emit("<hr size=2><center>");
  emit_filled("<font size=-1>%s<br>", {message_text(49, lang)});
  emit("</font></center>");
}

void render_update_info(PageOptions options) {
  const int lang = options.LANGUAGE;
  emit("<FORM METHOD=POST ACTION=/cgis-payment/demo/callupdate_subscription NAME=DATA_CAPTURE>"
       "<INPUT TYPE=HIDDEN NAME=OPERATION VALUE=3>"
       "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_SUBSCRIBER VALUE=W12BM000>"
       "<INPUT TYPE=HIDDEN NAME=USER VALUE=9582@011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=fr>"
       "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_TYPE VALUE=0>");
  emit("<table border=0>");
  for (const UpdateRow& row : kUpdateRows) {
    emit_filled("<tr><td> <td>%s<td><b><INPUT TYPE=TEXT SIZE=%s MAXLENGTH=%s NAME=%s VALUE=\"%s\"></b>",
                {message_text(row.label, lang), row.size, row.size, row.form_field, row.value});
  }
  emit("</table><center>");
  print_submit_button(options);
  emit("</center></form>");
  emit("<hr size=2>");
  print_shop_form_open();
  emit("<center>");
  print_data_field(DataBlob::update_info);
  print_cancel_button(options);
  emit("</center></FORM>");
}

void render_update_info_confirm(PageOptions options) {
  const int lang = options.LANGUAGE;
  if (!options.NO_ACCEPT_MSG) emit_filled("<H3><center>%s</center></H3>", {message_text(61, lang)});
  emit("<center>");
  print_shop_form_open();
  print_data_field(DataBlob::confirmation);
  print_return_button(options);
  emit("</FORM></center>");
  emit("<hr size=2><center>");
  emit_filled("<font size=-1>%s<br>", {message_text(49, lang)});
  emit("</font></center>");
}

void render_delete_subscription(PageOptions options) {
  emit("<FORM METHOD=POST ACTION=/cgis-payment/demo/callupdate_subscription NAME=DATA_CAPTURE>"
       "<INPUT TYPE=HIDDEN NAME=OPERATION VALUE=4>"
       "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_SUBSCRIBER VALUE=W12BM000>"
       "<INPUT TYPE=HIDDEN NAME=USER VALUE=16335@011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=011223344550000>"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=fr>");
  emit_filled("<center><br>%s<br><br>", {message_text(63, options.LANGUAGE)});
  print_submit_button(options);
  emit("</FORM></center><hr size=2>");
  print_shop_form_open();
  emit("<center>");
  print_data_field(DataBlob::delete_subscription);
  print_cancel_button(options);
  emit("</center>");
  emit("</FORM>");
}
