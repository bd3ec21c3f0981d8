// The pages through which a subscriber manages an existing subscription.
#include "pages/account_pages.h"

#include <string_view>

#include "pages/fragments.h"
#include "pages/catalogue.h"
#include "pages/output.h"
#include "pages/sample_data.h"

namespace pages {

namespace {

// An operation the login form offers, and its label.
struct OperationChoice {
  Operation operation;
  CatalogueText label;
};

// The login form's choices, in the order the server lists them; the first is
// selected.
constexpr OperationChoice MENU_CHOICES[] = {
    {Operation::VIEW_INFO, CatalogueText::VIEW_MY_SUBSCRIPTION},
    {Operation::UPDATE_INFO, CatalogueText::UPDATE_MY_SUBSCRIPTION},
    {Operation::DELETE_SUBSCRIPTION, CatalogueText::CANCEL_MY_SUBSCRIPTION},
    {Operation::UPDATE_CARD, CatalogueText::UPDATE_MY_CARD},
    {Operation::LOST_PASSWORD, CatalogueText::LOST_MY_PASSWORD},
};

// Writes the choice of the operation that the subscriber logs in for.
void print_operation_choice(Sink& out, Language language) {
  emit(out, "<br><SELECT NAME=OPERATION SIZE=1>");
  for (const OperationChoice& choice : MENU_CHOICES) {
    std::string_view selected = &choice == MENU_CHOICES ? " SELECTED" : "";
    emit_filled(out, "<OPTION VALUE=\"%s\"%s>%s",
                {operation_code(choice.operation), selected, catalogue_text(choice.label, language)});
  }
  emit(out, "</SELECT>");
}

}  // namespace

void render_menu(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  // The login page always shows the secure symbols, whatever the card pages do.
  emit_filled(out, "<br><b>%s </b>", {catalogue_text(CatalogueText::SECURE_SYMBOLS, lang)});
  emit(out, "<br><br><FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_login><center>");
  emit_filled(out, "<table border=0><tr><td>%s<td><INPUT TYPE=TEXT SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_ID VALUE=\"\">",
              {catalogue_text(CatalogueText::SUBSCRIBER_ID, lang)});
  if (options.PASSWORD == PasswordChoice::OFFERED) {
    emit_filled(out, "<tr><td>%s<td><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUBSCRIBER_PWD VALUE=\"\">",
                {catalogue_text(CatalogueText::PASSWORD, lang)});
  }
  emit(out, "</table>");
  print_user_field(out, "164254");
  print_merchant_fields(out);
  print_operation_choice(out, lang);
  emit_filled(out, "<br><br>%s", {catalogue_text(CatalogueText::FORM_COMPLETED, lang)});
  print_submit_button(out, options);
  emit(out, "</FORM>");
  emit(out, "<hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::MENU);
}

void print_account_refusal_body(Sink& out, const PageOptions& options, CatalogueText heading) {
  const Language lang = options.LANGUAGE;
  emit_filled(out, "<hr><br><H2>%s</H2>", {catalogue_text(heading, lang)});
  emit_filled(out, "<H2>%s</H2>", {catalogue_text(CatalogueText::CANNOT_COMPLETE, lang)});
  emit(out, "<hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::ACCOUNT_REFUSAL);
}

void render_login_refused(Sink& out, const PageOptions& options) {
  print_account_refusal_body(out, options, CatalogueText::IDENTIFICATION_REFUSED);
}

void render_view_info(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  const SampleSubscriber& subscriber = SAMPLE_SUBSCRIBER;
  emit(out, "<blockquote>");
  emit_filled(out, "<table border=0 cellspacing=10><tr><td>%s<td>%s<td>%s</table>",
              {subscriber.civil_status, subscriber.lastname, subscriber.firstname});
  emit_filled(out,
              "<table border=0 cellspacing=5>"
              "<tr><td><ADDRESS>%s</ADDRESS><tr><td><ADDRESS>%s</ADDRESS></table>",
              {subscriber.address_1, subscriber.address_2});
  emit_filled(out, "<table border=0 cellspacing=5><tr><td><ADDRESS>%s</ADDRESS><td><ADDRESS>%s</ADDRESS></table>",
              {subscriber.zipcode, subscriber.city});
  emit_filled(out, "<table border=0 cellspacing=10><tr><td><ADDRESS>%s</ADDRESS><tr><td>%s<tr><td>%s</table>",
              {subscriber.country, subscriber.telephone, subscriber.email});
  emit(out, "</blockquote>");
  emit(out, "<center><hr width=200>");
  emit_filled(
      out,
      "<table border=0 cellspacing=10>"
      "<tr><td>%s<td>%s<tr><td>%s<td>  0,00 Euro <tr><td>%s<td>23 Octobre 2003</table>",
      {catalogue_text(CatalogueText::SUBSCRIBER_ID, lang), subscriber.id,
       catalogue_text(CatalogueText::CONSUMPTION, lang), catalogue_text(CatalogueText::REGISTRATION_DATE, lang)});
  emit(out, "</center>");
  print_shop_form_with_return(out, options, DataBlob::VIEW_INFO);
  // Left open on purpose: the server's page never closes this form either.
  print_account_form_open(out, UPDATE_ACTION, Operation::VIEW_INFO, subscriber.id, "93510");
  print_leaving_notice(out, lang);
}

void render_update_info(Sink& out, const PageOptions& options) {
  const Language lang = options.LANGUAGE;
  print_account_form_open(out, UPDATE_ACTION, Operation::UPDATE_INFO, SAMPLE_SUBSCRIBER.id, "9582");
  emit(out, "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_TYPE VALUE=0>");
  emit(out, "<table border=0>");
  // Every field is editable, whatever the subscription form's field modes.
  for (const SubscriberField& field : subscriber_fields()) {
    emit_filled(out, "<tr><td> <td>%s<td><b><INPUT TYPE=TEXT SIZE=%s MAXLENGTH=%s NAME=%s VALUE=\"%s\"></b>",
                {catalogue_text(field.label, lang), field.update_size, field.update_size, field.form_field,
                 field.sample_value});
  }
  emit(out, "</table><center>");
  print_submit_button(out, options);
  emit(out, "</center></form>");
  emit(out, "<hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::UPDATE_INFO);
}

void render_update_info_confirm(Sink& out, const PageOptions& options) {
  if (!options.NO_ACCEPT_MSG) {
    emit_filled(out, "<H3><center>%s</center></H3>",
                {catalogue_text(CatalogueText::MODIFICATIONS_RECORDED, options.LANGUAGE)});
  }
  print_shop_form_with_return(out, options, DataBlob::CONFIRMATION);
  print_leaving_notice(out, options.LANGUAGE);
}

void render_delete_subscription(Sink& out, const PageOptions& options) {
  print_account_form_open(out, UPDATE_ACTION, Operation::DELETE_SUBSCRIPTION, SAMPLE_SUBSCRIBER.id, "16335");
  emit_filled(out, "<center><br>%s<br><br>", {catalogue_text(CatalogueText::CONFIRM_CANCELLATION, options.LANGUAGE)});
  print_submit_button(out, options);
  emit(out, "</FORM></center><hr size=2>");
  print_shop_form_with_cancel(out, options, DataBlob::DELETE_SUBSCRIPTION);
}

}  // namespace pages
