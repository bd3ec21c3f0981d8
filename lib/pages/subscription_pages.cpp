// The pages of taking out a subscription: the form, the receipt and the
// refusal.
#include "pages/subscription_pages.h"

#include <string_view>

#include "pages/fragments.h"
#include "pages/catalogue.h"
#include "pages/output.h"
#include "pages/sample_data.h"

namespace pages {

namespace {

// Writes one subscriber field as its field mode asks: an input row (optional,
// or mandatory with its label in italics), an empty hidden field when the
// merchant does not ask for it, or the merchant's fixed value shown and sent.
void print_subscriber_field(Sink& out, const SubscriberField& field, const PageOptions& options) {
  const FieldOption& option = options.*field.option;
  std::string_view label = catalogue_text(field.label, options.LANGUAGE);
  switch (option.mode) {
    case FieldMode::OPTIONAL:
    case FieldMode::MANDATORY: {
      const bool mandatory = option.mode == FieldMode::MANDATORY;
      emit(out, "<tr><td> <td>");
      if (mandatory) emit(out, "<i>");
      emit(out, label);
      if (mandatory) emit(out, "</i>");
      emit(out, "<td><b><INPUT TYPE=TEXT");
      emit_filled(out, " SIZE=%s MAXLENGTH=%s NAME=%s VALUE=\"\"></b>",
                  {field.capture_size, field.capture_size, field.form_field});
      break;
    }
    case FieldMode::NOT_ASKED:
      emit_filled(out, "<INPUT TYPE=HIDDEN NAME=\"%s\" VALUE=\"\">", {field.form_field});
      break;
    case FieldMode::FIXED:
      emit_filled(out, "<tr><td> <td>%s", {label});
      emit_filled(out, "<td><b>%s <INPUT TYPE=HIDDEN NAME=\"%s\" VALUE=\"%s\"></b>",
                  {option.text, field.form_field, option.text});
      break;
  }
}

// The subscriber's data, the sample subscriber id, the subscription's
// description and amount and the optional password choice.
void print_subscription_data(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  emit_filled(out, "<b><center><font size=+1>%s</font></center></b>",
              {catalogue_text(CatalogueText::FILL_IN_THE_FORM, lang)});
  emit(out, "<br><table border=0>");
  for (const SubscriberField& field : subscriber_fields()) print_subscriber_field(out, field, options);
  emit(out, "</table>");
  emit_filled(out, "<hr><INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_SUBSCRIBER\" VALUE=\"%s\">", {NEW_SUBSCRIBER_ID});
  emit(out, "<table border=0 cellspacing=5 ><br>");
  emit_filled(out, "<tr><td> </td><td>%s</td><td><b>%s</b></td>",
              {catalogue_text(CatalogueText::SUBSCRIBER_ID, lang), NEW_SUBSCRIBER_ID});
  if (!options.SUB_DESCRIPTION.empty()) {
    emit_filled(out, "<tr><td> </td><td>%s</td><td><b>%s</b></td>",
                {catalogue_text(CatalogueText::YOUR_SUBSCRIPTION, lang), options.SUB_DESCRIPTION});
  }
  if (options.SUB_TYPE == SubscriptionType::WITH_AMOUNT) {
    emit_filled(out, "<tr><td> </td><td>%s</td><td><b>%s</b></td>",
                {catalogue_text(CatalogueText::SUBSCRIPTION_AMOUNT, lang), SAMPLE_AMOUNT});
  }
  emit(out, "</table>");
  if (options.PASSWORD == PasswordChoice::OFFERED) {
    emit_filled(
        out,
        "<table border=0 cellspacing=5>"
        "<tr><td><td> </td><td>%s</td>"
        "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD1 VALUE=\"\"></b></td>"
        "<td><td> </td><td>%s</td>"
        "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=\"\"></b></td>"
        "</table>",
        {catalogue_text(CatalogueText::CHOOSE_PASSWORD, lang), catalogue_text(CatalogueText::RETYPE_PASSWORD, lang)});
  }
}

}  // namespace

void render_record_capture(Sink& out, const PageOptions& options) {
  emit(out, "<FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_subscription NAME=DATA_CAPTURE>");
  if (!options.NO_SUB_DATA) print_subscription_data(out, options);
  if (!options.NO_PAY_MSG)
    emit_filled(out, "<hr><b>%s</b><br>", {catalogue_text(CatalogueText::PAYMENT_BY_CARD, options.LANGUAGE)});
  print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE);
}

void render_record_accepted(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  if (!options.NO_ACCEPT_MSG) {
    emit_filled(out, "<H3><center>%s</center></H3>", {catalogue_text(CatalogueText::SUBSCRIPTION_RECORDED, lang)});
  }
  print_shop_form_with_return(out, options, DataBlob::RECORD_ACCEPTED);
  emit(out, "<center>");
  // Sample subscriber V08OB090, order 142452; the date reads French in both
  // languages.
  emit_filled(
      out,
      "<hr><br><table border=0>"
      "<tr><td><b>%s</b></td><td><b><I>V08OB090</I></b></td>"
      "<tr><td><b>%s</b></td><td><b><I>142452</I></b></td>"
      "<tr><td><b>%s</b></td><td><b><I>21 Octobre 2003 12:20:24</I>  (UTC/GMT)</b></td>",
      {catalogue_text(CatalogueText::RECEIPT_SUBSCRIBER_ID, lang), catalogue_text(CatalogueText::ORDER_REFERENCE, lang),
       catalogue_text(CatalogueText::TRANSACTION_DATE, lang)});
  // The merchant writes the complement as rows of the receipt table.
  emit(out, options.RECEIPT_COMPLEMENT);
  if (options.SUB_TYPE == SubscriptionType::WITH_AMOUNT) {
    emit_filled(out, "<tr><td><b>%s</b></td><td><b><I>%s</I></b></td></tr>",
                {catalogue_text(CatalogueText::ORDER_TOTAL, lang), SAMPLE_AMOUNT});
  }
  emit_filled(out, "<tr><td><b>%s</b></td><td><b><I>88 88## #### #### ##00</I></b></td>",
              {catalogue_text(CatalogueText::RECEIPT_CARD_NUMBER, lang)});
  emit_filled(out,
              "<tr><td><b>%s</b></td><td><b><I>106726</I></b></td>"
              "<tr><td><b>%s</b></td><td><b><I>1067269181</I></b></td>",
              {catalogue_text(CatalogueText::AUTHORISATION, lang),
               catalogue_text(CatalogueText::TRANSACTION_CERTIFICATE, lang)});
  emit(out, "<tr></table></center>");
  emit_filled(out, "<hr size=2><center><font size=-1><br>%s<br><br>%s<br></font></center>",
              {catalogue_text(CatalogueText::KEEP_THE_REFERENCE, lang),
               catalogue_text(CatalogueText::LEAVING_THE_SECURE_SERVER, lang)});
}

void render_record_refused(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  emit_filled(out, "<BR><BR><HR><BR><H2>%s</H2>", {catalogue_text(CatalogueText::PAYMENT_REFUSED, lang)});
  emit_filled(out, "<H2>%s</H2>", {catalogue_text(CatalogueText::CANNOT_COMPLETE, lang)});
  emit(out, "<hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::RECORD_REFUSED);
}

}  // namespace pages
