#pragma once

#include <string_view>

#include "page_options.h"

// Where every form that leads back to the merchant's shop is sent.
inline constexpr std::string_view SHOP_RESPONSE_URL = "http://www.example.com/Subscription/response";

// Where the account forms that change a subscription are posted.
inline constexpr std::string_view UPDATE_ACTION = "/cgis-payment/demo/callupdate_subscription";

// The page bodies that carry a shop form, each with its own sample DATA value.
enum class DataBlob {
  CARD_ENTRY,           // RECORD_CAPTURE, UPDATE_CARD_CAPTURE, UPDATE_PWD_CAPTURE_CARD
  RECORD_ACCEPTED,
  RECORD_REFUSED,
  MENU,
  ACCOUNT_REFUSAL,      // LOGIN_REFUSED, UPDATE_CARD_REFUSED
  VIEW_INFO,
  UPDATE_INFO,
  CONFIRMATION,         // UPDATE_INFO_CONFIRM and the three pages sharing its body
  DELETE_SUBSCRIPTION,
};

// The sample response (lowercase hexadecimal) that a page's shop form hands
// back to the merchant's shop.
std::string_view data_blob(DataBlob page);

// Writes the sample merchant's hidden fields (merchant 011223344550000 of
// country fr) that the account forms carry.
void print_merchant_fields();

// Opens a form of the subscriber's account, posted to `action` for the
// operation code `operation`, with the subscriber's id, the USER field and the
// merchant fields hidden in it.
void print_account_form_open(std::string_view action, std::string_view operation, std::string_view subscriber,
                             std::string_view user);

// Writes the button that sends the page's own data form (image when
// SUBMIT_LOGO is set, text otherwise).
void print_submit_button(const PageOptions& options);

// Writes the button of the shop form that abandons the operation (image when
// SUB_CANCEL_LOGO is set, text otherwise).
void print_cancel_button(const PageOptions& options);

// Writes the button of the shop form that goes back to the shop after a
// completed operation (image when NORMAL_RETURN_LOGO is set, text otherwise).
void print_return_button(const PageOptions& options);

// Writes the shop form of a page whose operation the subscriber may abandon:
// the page's sample response and the cancel button, centred.
void print_shop_form_with_cancel(const PageOptions& options, DataBlob page);

// Writes the shop form of a completed operation, centred: the page's sample
// response and the return button.
void print_shop_form_with_return(const PageOptions& options, DataBlob page);

// How the card security code information link reads: the catalogue text in
// the page's language, or (on the update pages) the French text in both
// languages.
enum class CvvLinkText { PAGE_LANGUAGE, FRENCH_IN_BOTH_LANGUAGES };

// Writes the card entry block that ends the three card capture pages: it
// completes and closes the card form the page has opened, then adds the shop
// form with its cancel button.
void print_card_entry_block(const PageOptions& options, CvvLinkText link);
