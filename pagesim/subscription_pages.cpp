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
  Message label;
  std::string_view size;
};

// In page order. The option keys spell ADDRESS, the server's fields ADRESSE.
constexpr std::array<SubscriberField, 10> SUBSCRIBER_FIELDS = {{
    {&PageOptions::SUB_CIVIL_STATUS, "SUBSCRIPTION_CIVIL_STATUS", Message::CIVIL_STATUS, "6"},
    {&PageOptions::SUB_LASTNAME, "SUBSCRIPTION_LASTNAME", Message::LASTNAME, "20"},
    {&PageOptions::SUB_FIRSTNAME, "SUBSCRIPTION_FIRSTNAME", Message::FIRSTNAME, "20"},
    {&PageOptions::SUB_ADDRESS1, "SUBSCRIPTION_ADRESSE1", Message::ADDRESS, "30"},
    {&PageOptions::SUB_ADDRESS2, "SUBSCRIPTION_ADRESSE2", Message::ADDRESS_LINE_2, "30"},
    {&PageOptions::SUB_ZIPCODE, "SUBSCRIPTION_ZIPCODE", Message::POSTAL_CODE, "8"},
    {&PageOptions::SUB_CITY, "SUBSCRIPTION_CITY", Message::CITY, "30"},
    {&PageOptions::SUB_COUNTRY, "SUBSCRIPTION_COUNTRY", Message::COUNTRY, "30"},
    {&PageOptions::SUB_TELEPHONE, "SUBSCRIPTION_TELEPHONE", Message::PHONE_NUMBER, "16"},
    {&PageOptions::SUB_EMAIL, "SUBSCRIPTION_EMAIL", Message::EMAIL, "50"},
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
  emit_filled("<b><center><font size=+1>%s</font></center></b>", {message_text(Message::FILL_IN_THE_FORM, lang)});
  emit("<br><table border=0>");
  for (const SubscriberField& field : SUBSCRIBER_FIELDS) print_subscriber_field(field, options);
  emit("</table>");
  emit("<hr><INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_SUBSCRIBER\" VALUE=\"F07CH060\">");
  emit("<table border=0 cellspacing=5 ><br>");
  emit_filled("<tr><td> </td><td>%s</td><td><b>F07CH060</b></td>", {message_text(Message::SUBSCRIBER_ID, lang)});
  if (!options.SUB_DESCRIPTION.empty()) {
    emit_filled("<tr><td> </td><td>%s</td><td><b>%s</b></td>",
                {message_text(Message::YOUR_SUBSCRIPTION, lang), options.SUB_DESCRIPTION});
  }
  if (options.SUB_TYPE == "1") {
    emit_filled("<tr><td> </td><td>%s</td><td><b>  10,00 Euro </b></td>",
                {message_text(Message::SUBSCRIPTION_AMOUNT, lang)});
  }
  emit("</table>");
  if (options.PASSWORD == "yes") {
    emit_filled("<table border=0 cellspacing=5>"
                "<tr><td><td> </td><td>%s</td>"
                "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD1 VALUE=\"\"></b></td>"
                "<td><td> </td><td>%s</td>"
                "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=\"\"></b></td>"
                "</table>",
                {message_text(Message::CHOOSE_PASSWORD, lang), message_text(Message::RETYPE_PASSWORD, lang)});
  }
}

}  // namespace

void render_record_capture(PageOptions options) {
  emit("<FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_subscription NAME=DATA_CAPTURE>");
  if (!options.NO_SUB_DATA) print_subscription_data(options);
  if (!options.NO_PAY_MSG) emit_filled("<hr><b>%s</b><br>", {message_text(Message::PAYMENT_BY_CARD, options.LANGUAGE)});
  print_card_entry_block(options, CvvLinkText::PAGE_LANGUAGE);
}

void render_record_accepted(PageOptions options) {
  const int lang = options.LANGUAGE;
  if (!options.NO_ACCEPT_MSG) {
    emit_filled("<H3><center>%s</center></H3>", {message_text(Message::SUBSCRIPTION_RECORDED, lang)});
  }
  print_shop_form_with_return(options, DataBlob::RECORD_ACCEPTED);
  emit("<center>");
  // Sample subscriber V08OB090, order 142452; the date reads French in both
  // languages.
  emit_filled("<hr><br><table border=0>"
              "<tr><td><b>%s</b></td><td><b><I>V08OB090</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>142452</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>21 Octobre 2003 12:20:24</I>  (UTC/GMT)</b></td>",
              {message_text(Message::RECEIPT_SUBSCRIBER_ID, lang), message_text(Message::ORDER_REFERENCE, lang),
               message_text(Message::TRANSACTION_DATE, lang)});
  // The merchant writes the complement as rows of the receipt table.
  emit(options.RECEIPT_COMPLEMENT);
  if (options.SUB_TYPE == "1") {
    emit_filled("<tr><td><b>%s</b></td><td><b><I>  10,00 Euro </I></b></td></tr>",
                {message_text(Message::ORDER_TOTAL, lang)});
  }
  emit_filled("<tr><td><b>%s</b></td><td><b><I>88 88## #### #### ##00</I></b></td>",
              {message_text(Message::RECEIPT_CARD_NUMBER, lang)});
  emit_filled("<tr><td><b>%s</b></td><td><b><I>106726</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>1067269181</I></b></td>",
              {message_text(Message::AUTHORISATION, lang), message_text(Message::TRANSACTION_CERTIFICATE, lang)});
  emit("<tr></table></center>");
  emit_filled("<hr size=2><center><font size=-1><br>%s<br><br>%s<br></font></center>",
              {message_text(Message::KEEP_THE_REFERENCE, lang),
               message_text(Message::LEAVING_THE_SECURE_SERVER, lang)});
}

void render_record_refused(PageOptions options) {
  const int lang = options.LANGUAGE;
  emit_filled("<BR><BR><HR><BR><H2>%s</H2>", {message_text(Message::PAYMENT_REFUSED, lang)});
  emit_filled("<H2>%s</H2>", {message_text(Message::CANNOT_COMPLETE, lang)});
  emit("<hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::RECORD_REFUSED);
}
