#include "pages/fragments.h"

#include <cstddef>
#include <string>

#include "pages/catalogue.h"
#include "pages/output.h"

namespace pages {

namespace {

// The two forms of one button: the image input, with the logo in place of %s,
// and the text input, with the catalogue message in place of %s.
struct ButtonForms {
  std::string_view image;
  std::string_view text;
  CatalogueText message;
};

// The button that sends the page's own data form.
constexpr ButtonForms SUBMIT_BUTTON = {
    "<INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=%s BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"VALID\" VALUE=\"%s\">", CatalogueText::SUBMIT};
// The button of the shop form that abandons the operation.
constexpr ButtonForms CANCEL_BUTTON = {
    "<INPUT TYPE=IMAGE ALT=\"\" NAME=\"ANNULATION\" SRC=\"%s\" BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"PAIEMENT\" VALUE=\"%s\">", CatalogueText::CANCEL};
// The button of the shop form that goes back to the shop.
constexpr ButtonForms RETURN_BUTTON = {
    "<INPUT TYPE=IMAGE NAME=\"PAIEMENT\" SRC=\"%s\" BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"RETOUR\" VALUE=\"%s\">", CatalogueText::BACK_TO_THE_SHOP};

// Writes one button: its image form when the merchant gave a logo, else its
// text form in the page's language.
void print_button(Sink& out, const ButtonForms& button, const std::string& logo, Language language) {
  if (!logo.empty()) {
    emit_filled(out, button.image, {logo});
  } else {
    emit_filled(out, button.text, {catalogue_text(button.message, language)});
  }
}

// Opens the form that is posted back to the merchant's shop.
void print_shop_form_open(Sink& out) {
  emit(out, "<FORM METHOD=POST ACTION=\"");
  emit(out, SHOP_RESPONSE_URL);
  emit(out, "\">");
}

// Writes the hidden DATA field of a shop form with the page's sample response.
void print_data_field(Sink& out, DataBlob page) {
  emit_filled(out, "<INPUT TYPE=HIDDEN NAME=\"DATA\" VALUE=\"%s\">", {data_blob(page)});
}

// Writes the security notice that opens the card entry block: with the
// logo images, or plain, or none, as the merchant's two flags say.
void print_security_notice(Sink& out, const PageOptions& options) {
  if (options.NO_SEC_MSG) return;
  CatalogueText notice = options.NO_SSL_SYMBOLS ? CatalogueText::SECURE_SERVER : CatalogueText::SECURE_SYMBOLS;
  emit_filled(out, "<b>%s</b><br><br><br>", {catalogue_text(notice, options.LANGUAGE)});
}

// Writes the choice of the card type, VISA checked; the page's scripts follow
// the choice.
void print_card_type_choice(Sink& out) {
  emit(out, "<center>");
  emit(out, "<TABLE BORDER=0 CELLSPACING=5>");
  emit(out,
       "<TR VALIGN=MIDDLE>"
       "<TD><IMG BORDER=0 SRC=\"VISA.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"VISA\" CHECKED  OnCLick=SetOption(this,\"VISA\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "<TD><IMG BORDER=0 SRC=\"CB.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"CB\" OnCLick=SetOption(this,\"CB\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "<TD><IMG BORDER=0 SRC=\"MASTERCARD.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"MASTERCARD\" OnCLick=SetOption(this,\"MASTERCARD\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "</TABLE>");
  emit(out, "</center>");
}

// Writes the card number and the expiry date: the months named in the
// page's language, the years of the sample server's time.
void print_card_number_and_expiry(Sink& out, Language language) {
  emit_filled(
      out, "<br>%s<INPUT TYPE=TEXT SIZE=19 MAXLENGTH=19 NAME=CARD_NUMBER VALUE=\"\">%s",
      {catalogue_text(CatalogueText::CARD_NUMBER, language), catalogue_text(CatalogueText::EXPIRES_END, language)});
  emit(out, "<SELECT NAME=CARD_VAL_MONTH SIZE=1>");
  for (int month = 1; month <= 12; ++month) {
    const char value[] = {static_cast<char>('0' + month / 10), static_cast<char>('0' + month % 10), '\0'};
    CatalogueText name = static_cast<CatalogueText>(static_cast<int>(CatalogueText::JANUARY) + month - 1);
    emit_filled(out, "<OPTION VALUE=\"%s\">%s", {value, catalogue_text(name, language)});
  }
  emit(out, "</SELECT>");
  emit(out, "/ ");
  emit(out,
       "<SELECT NAME=\"CARD_VAL_YEAR\" SIZE=1>"
       "<OPTION VALUE=\"03\" SELECTED> 2003<OPTION VALUE=\"04\"> 2004<OPTION VALUE=\"05\"> 2005"
       "<OPTION VALUE=\"06\"> 2006<OPTION VALUE=\"07\"> 2007<OPTION VALUE=\"08\"> 2008"
       "<OPTION VALUE=\"09\"> 2009<OPTION VALUE=\"10\"> 2010<OPTION VALUE=\"11\"> 2011"
       "<OPTION VALUE=\"12\"> 2012<OPTION VALUE=\"13\"> 2013"
       "</SELECT>");
}

// Writes the card security code field and the link to the page that explains
// it, whose text reads as `link` says.
void print_security_code(Sink& out, Language language, CvvLinkText link) {
  emit_filled(out, "<br><br>%s<br><br>", {catalogue_text(CatalogueText::CARD_FRAME, language)});
  emit_filled(out,
              "<TABLE BORDER='1'><TR><TD>%s<INPUT TYPE=TEXT SIZE=3 MAXLENGTH=3 NAME=\"CVV_KEY\" VALUE=\"\"><br>"
              "<script type=\"text/javascript\">",
              {catalogue_text(CatalogueText::SECURITY_CODE, language)});
  emit(out, "<!--");
  emit(out, "function InfoCvv() {");
  // The explanation page exists only in French, whatever the page language.
  emit(out,
       "window.open('/images/logo_serveur/commun/cryptogramme.fr.html','A1','width=700,height=450, status=no, "
       "directories=no, toolbar=no, location=no, menubar=no,scrollbars=no, resizable=no')");
  emit(out, "}// --></script>");
  std::string_view information = catalogue_text(CatalogueText::SECURITY_CODE_INFORMATION, language);
  if (link == CvvLinkText::PAGE_LANGUAGE) {
    emit_filled(out,
                "&nbsp;&nbsp;<a href=\"javascript:InfoCvv()\" onmouseover=\"window.status='%s'\"> %s </a>"
                "</TR></TD></TABLE>",
                {information, information});
  } else {
    emit_filled(out,
                "&nbsp;&nbsp;<a href=\"javascript:InfoCvv()\" onmouseover=\"window.status='%s'\">"
                " En savoir plus sur le cryptogramme visuel </a></TR></TD></TABLE>",
                {information});
  }
}

// Writes the end of the card form: the invitation to send it (or two line
// breaks in its place), the hidden fields of the card capture, and the submit
// button; then closes the form.
void print_card_form_end(Sink& out, const PageOptions& options) {
  if (!options.NO_VALID_MSG) {
    emit_filled(out, "<br>%s", {catalogue_text(CatalogueText::FORM_COMPLETED, options.LANGUAGE)});
  } else {
    emit(out, "<br><br>");
  }
  emit_filled(out,
              "<INPUT TYPE=HIDDEN NAME=USER VALUE=\"1226@%s\">"
              "<INPUT TYPE=HIDDEN NAME=CARD_MODE VALUE=\"SUB_RECORD\">"
              "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=\"%s\">"
              "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=\"%s\">",
              {SAMPLE_MERCHANT_ID, SAMPLE_MERCHANT_ID, SAMPLE_MERCHANT_COUNTRY});
  emit(out, "<script>InitOption(this)</script>");
  print_submit_button(out, options);
  emit(out, "</form>");
}

}  // namespace

std::string_view operation_code(Operation operation) {
  // In the order of Operation.
  constexpr std::string_view CODES[] = {"2", "3", "4", "5", "6", "7"};
  return CODES[static_cast<std::size_t>(operation)];
}

void print_user_field(Sink& out, std::string_view session) {
  emit_filled(out, "<INPUT TYPE=HIDDEN NAME=USER VALUE=%s@%s>", {session, SAMPLE_MERCHANT_ID});
}

void print_merchant_fields(Sink& out) {
  emit_filled(out, "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=%s><INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=%s>",
              {SAMPLE_MERCHANT_ID, SAMPLE_MERCHANT_COUNTRY});
}

void print_account_form_open(Sink& out, std::string_view action, Operation operation, std::string_view subscriber,
                             std::string_view session) {
  emit_filled(out,
              "<FORM METHOD=POST ACTION=%s NAME=DATA_CAPTURE>"
              "<INPUT TYPE=HIDDEN NAME=OPERATION VALUE=%s>"
              "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_SUBSCRIBER VALUE=%s>",
              {action, operation_code(operation), subscriber});
  print_user_field(out, session);
  print_merchant_fields(out);
}

void print_submit_button(Sink& out, const PageOptions& options) {
  print_button(out, SUBMIT_BUTTON, options.SUBMIT_LOGO, options.LANGUAGE);
}

void print_cancel_button(Sink& out, const PageOptions& options) {
  print_button(out, CANCEL_BUTTON, options.SUB_CANCEL_LOGO, options.LANGUAGE);
}

void print_return_button(Sink& out, const PageOptions& options) {
  print_button(out, RETURN_BUTTON, options.NORMAL_RETURN_LOGO, options.LANGUAGE);
}

void print_shop_form_with_cancel(Sink& out, const PageOptions& options, DataBlob page) {
  print_shop_form_open(out);
  emit(out, "<center>");
  print_data_field(out, page);
  print_cancel_button(out, options);
  emit(out, "</center></FORM>");
}

void print_shop_form_with_return(Sink& out, const PageOptions& options, DataBlob page) {
  emit(out, "<center>");
  print_shop_form_open(out);
  print_data_field(out, page);
  print_return_button(out, options);
  emit(out, "</FORM></center>");
}

void print_leaving_notice(Sink& out, Language language) {
  emit(out, "<hr size=2><center>");
  emit_filled(out, "<font size=-1>%s<br>", {catalogue_text(CatalogueText::LEAVING_THE_SECURE_SERVER, language)});
  emit(out, "</font></center>");
}

void print_card_entry_block(Sink& out, const PageOptions& options, CvvLinkText link) {
  emit(out, "<br>");
  print_security_notice(out, options);
  print_card_type_choice(out);
  print_card_number_and_expiry(out, options.LANGUAGE);
  print_security_code(out, options.LANGUAGE, link);
  print_card_form_end(out, options);
  emit(out, "<hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::CARD_ENTRY);
}

}  // namespace pages
