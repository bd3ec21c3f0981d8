// The pages of taking out a subscription: the form, the receipt and the
// refusal.
#include <array>
#include <string>
#include <string_view>

#include "fragments.h"
#include "messages.h"
#include "output.h"
#include "renderers.h"

namespace {

// One subscriber field of the subscription form: the option holding its field
// mode, the name the server receives, its label and its input width.
struct SubscriberField {
  std::string PageOptions::*mode;
  std::string_view form_field;
  int label;
  std::string_view size;
};

// In page order. The option keys spell ADDRESS, the server's fields ADRESSE.
constexpr std::array<SubscriberField, 10> kSubscriberFields = {{
    {&PageOptions::SUB_CIVIL_STATUS, "SUBSCRIPTION_CIVIL_STATUS", 1, "6"},
    {&PageOptions::SUB_LASTNAME, "SUBSCRIPTION_LASTNAME", 2, "20"},
    {&PageOptions::SUB_FIRSTNAME, "SUBSCRIPTION_FIRSTNAME", 3, "20"},
    {&PageOptions::SUB_ADDRESS1, "SUBSCRIPTION_ADRESSE1", 4, "30"},
    {&PageOptions::SUB_ADDRESS2, "SUBSCRIPTION_ADRESSE2", 5, "30"},
    {&PageOptions::SUB_ZIPCODE, "SUBSCRIPTION_ZIPCODE", 6, "8"},
    {&PageOptions::SUB_CITY, "SUBSCRIPTION_CITY", 7, "30"},
    {&PageOptions::SUB_COUNTRY, "SUBSCRIPTION_COUNTRY", 8, "30"},
    {&PageOptions::SUB_TELEPHONE, "SUBSCRIPTION_TELEPHONE", 9, "16"},
    {&PageOptions::SUB_EMAIL, "SUBSCRIPTION_EMAIL", 10, "50"},
}};

// Writes one subscriber field as its field mode asks: an input row (optional,
// or mandatory with its label in italics), an empty hidden field when the
// merchant does not ask for it, or the merchant's fixed value shown and sent.
void print_subscriber_field(const SubscriberField& field, const PageOptions& options) {
  const std::string& mode = options.*field.mode;
  std::string_view label = message_text(field.label, options.LANGUAGE);
  if (mode.empty() || mode == "#O" || mode == "#M") {
    const bool mandatory = mode == "#M";
    emit("<tr><td> <td>");
    if (mandatory) emit("<i>");
    emit(label);
    if (mandatory) emit("</i>");
    emit("<td><b><INPUT TYPE=TEXT");
    emit_filled(" SIZE=%s MAXLENGTH=%s NAME=%s VALUE=\"\"></b>", {field.size, field.size, field.form_field});
  } else if (mode == "#V") {
    emit_filled("<INPUT TYPE=HIDDEN NAME=\"%s\" VALUE=\"\">", {field.form_field});
  } else {
    emit_filled("<tr><td> <td>%s", {label});
    emit_filled("<td><b>%s <INPUT TYPE=HIDDEN NAME=\"%s\" VALUE=\"%s\"></b>", {mode, field.form_field, mode});
  }
}

// The subscriber's data, the sample subscriber id, the subscription's
// description and amount and the optional password choice.
void print_subscription_data(const PageOptions& options) {
  const int lang = options.LANGUAGE;
  emit_filled("<b><center><font size=+1>%s</font></center></b>", {message_text(64, lang)});
  emit("<br><table border=0>");
  for (const SubscriberField& field : kSubscriberFields) print_subscriber_field(field, options);
  emit("</table>");
  emit("<hr><INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_SUBSCRIBER\" VALUE=\"F07CH060\">");
  emit("<table border=0 cellspacing=5 ><br>");
  emit_filled("<tr><td> </td><td>%s</td><td><b>F07CH060</b></td>", {message_text(11, lang)});
  if (!options.SUB_DESCRIPTION.empty()) {
    emit_filled("<tr><td> </td><td>%s</td><td><b>%s</b></td>", {message_text(12, lang), options.SUB_DESCRIPTION});
  }
  if (options.SUB_TYPE == "1") {
    emit_filled("<tr><td> </td><td>%s</td><td><b>  10,00 Euro </b></td>", {message_text(13, lang)});
  }
  emit("</table>");
  if (options.PASSWORD == "yes") {
    emit_filled("<table border=0 cellspacing=5>"
                "<tr><td><td> </td><td>%s</td>"
                "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD1 VALUE=\"\"></b></td>"
                "<td><td> </td><td>%s</td>"
                "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=\"\"></b></td>"
                "</table>",
                {message_text(14, lang), message_text(15, lang)});
  }
}

}  // namespace

void render_record_capture(PageOptions options) {
  emit("<FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_subscription NAME=DATA_CAPTURE>");
  if (!options.NO_SUB_DATA) print_subscription_data(options);
  if (!options.NO_PAY_MSG) emit_filled("<hr><b>%s</b><br>", {message_text(16, options.LANGUAGE)});
  print_card_entry_block(options, CvvLink::catalogue);
}

void render_record_accepted(PageOptions options) {
  const int lang = options.LANGUAGE;
  if (!options.NO_ACCEPT_MSG) emit_filled("<H3><center>%s</center></H3>", {message_text(40, lang)});
  emit("<center>");
  print_shop_form_open();
  print_data_field(DataBlob::record_accepted);
  print_return_button(options);
  emit("</FORM>");
  emit("</center>");
  emit("<center>");
  // Sample subscriber V08OB090, order 142452; the date reads French in both
  // languages.
  emit_filled("<hr><br><table border=0>"
              "<tr><td><b>%s</b></td><td><b><I>V08OB090</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>142452</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>21 Octobre 2003 12:20:24</I>  (UTC/GMT)</b></td>",
              {message_text(41, lang), message_text(42, lang), message_text(43, lang)});
  // The merchant writes the complement as rows of the receipt table.
  emit(options.RECEIPT_COMPLEMENT);
  if (options.SUB_TYPE == "1") {
    emit_filled("<tr><td><b>%s</b></td><td><b><I>  10,00 Euro </I></b></td></tr>", {message_text(44, lang)});
  }
  emit_filled("<tr><td><b>%s</b></td><td><b><I>88 88## #### #### ##00</I></b></td>", {message_text(45, lang)});
  emit_filled("<tr><td><b>%s</b></td><td><b><I>106726</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>1067269181</I></b></td>",
              {message_text(46, lang), message_text(47, lang)});
  emit("<tr></table></center>");
  emit_filled("<hr size=2><center><font size=-1><br>%s<br><br>%s<br></font></center>",
              {message_text(48, lang), message_text(49, lang)});
}

void render_record_refused(PageOptions options) {
  const int lang = options.LANGUAGE;
  emit_filled("<BR><BR><HR><BR><H2>%s</H2>", {message_text(50, lang)});
  emit_filled("<H2>%s</H2>", {message_text(51, lang)});
  emit("<hr size=2>");
  print_shop_form_open();
  emit("<center>");
  print_data_field(DataBlob::record_refused);
  print_cancel_button(options);
  emit("</center></FORM>");
}
