#pragma once

#include <string_view>

#include "pages/page_options.h"
#include "pages/sample_data.h"

namespace pages {

// Where every form that leads back to the merchant's shop is sent.
inline constexpr std::string_view SHOP_RESPONSE_URL = "http://www.example.com/Subscription/response";

// Where the account forms that change a subscription are posted.
inline constexpr std::string_view UPDATE_ACTION = "/cgis-payment/demo/callupdate_subscription";

// What a subscriber asks of the server through an account form.
enum class Operation { VIEW_INFO, UPDATE_INFO, DELETE_SUBSCRIPTION, LOST_PASSWORD, UPDATE_CARD, NEW_PASSWORD };

// The code the form sends to the server for `operation`, "2" to "7".
std::string_view operation_code(Operation operation);

// Writes the hidden USER field of an account form: the sample session
// `session` at the sample merchant.
void print_user_field(Sink& out, std::string_view session);

// Writes the sample merchant's hidden fields that the account forms carry.
void print_merchant_fields(Sink& out);

// Opens a form of the subscriber's account, posted to `action` for
// `operation`, with the subscriber's id, the USER field of `session` and the
// merchant fields hidden in it.
void print_account_form_open(Sink& out, std::string_view action, Operation operation, std::string_view subscriber,
                             std::string_view session);

// Writes the button that sends the page's own data form (image when
// SUBMIT_LOGO is set, text otherwise).
void print_submit_button(Sink& out, const PageOptions& options);

// Writes the button of the shop form that abandons the operation (image when
// SUB_CANCEL_LOGO is set, text otherwise).
void print_cancel_button(Sink& out, const PageOptions& options);

// Writes the button of the shop form that goes back to the shop after a
// completed operation (image when NORMAL_RETURN_LOGO is set, text otherwise).
void print_return_button(Sink& out, const PageOptions& options);

// Writes the shop form of a page whose operation the subscriber may abandon:
// the page's sample response and the cancel button, centred.
void print_shop_form_with_cancel(Sink& out, const PageOptions& options, DataBlob page);

// Writes the shop form of a completed operation, centred: the page's sample
// response and the return button.
void print_shop_form_with_return(Sink& out, const PageOptions& options, DataBlob page);

// Writes the notice that ends a page from which the subscriber goes back to
// the shop: the browser may warn of leaving the secure server.
void print_leaving_notice(Sink& out, Language language);

// How the card security code information link reads: the catalogue text in
// the page's language, or (on the update pages) the French text in both
// languages.
enum class CvvLinkText { PAGE_LANGUAGE, FRENCH_IN_BOTH_LANGUAGES };

// Writes the card entry block that ends the three card capture pages: it
// completes and closes the card form the page has opened, then adds the shop
// form with its cancel button.
void print_card_entry_block(Sink& out, const PageOptions& options, CvvLinkText link);

}  // namespace pages
