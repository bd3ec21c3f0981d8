#pragma once

#include <initializer_list>
#include <string_view>

#include "page_options.h"

// Where every form that leads back to the merchant's shop is sent.
inline constexpr std::string_view kShopResponseUrl = "http://www.example.com/Subscription/response";

// The page bodies that carry a shop form, each with its own sample DATA value.
enum class DataBlob {
  card_entry,           // RECORD_CAPTURE, UPDATE_CARD_CAPTURE, UPDATE_PWD_CAPTURE_CARD
  record_accepted,
  record_refused,
  menu,
  account_refusal,      // LOGIN_REFUSED, UPDATE_CARD_REFUSED
  view_info,
  update_info,
  confirmation,         // UPDATE_INFO_CONFIRM and the three pages sharing its body
  delete_subscription,
};

// The sample response (lowercase hexadecimal) that a page's shop form hands
// back to the merchant's shop.
std::string_view data_blob(DataBlob page);

// Writes `pattern` with each "%s" replaced, in order, by the next of `values`.
// The pattern is always one of the page literals; values are written as data,
// so a "%" in an option prints as itself.
void emit_filled(std::string_view pattern, std::initializer_list<std::string_view> values);

// Opens the form that is posted back to the merchant's shop.
void print_shop_form_open();

// Writes the hidden DATA field of a shop form with the page's sample response.
void print_data_field(DataBlob page);

// Writes the button that sends the page's own data form (image when
// SUBMIT_LOGO is set, text otherwise).
void print_submit_button(const PageOptions& options);

// Writes the button of the shop form that abandons the operation (image when
// SUB_CANCEL_LOGO is set, text otherwise).
void print_cancel_button(const PageOptions& options);

// Writes the button of the shop form that goes back to the shop after a
// completed operation (image when NORMAL_RETURN_LOGO is set, text otherwise).
void print_return_button(const PageOptions& options);

// How the card security code information link reads: the catalogue text in
// the page's language, or the fixed French text of the update pages.
enum class CvvLink { catalogue, fixed };

// Writes the card entry block that ends the three card capture pages: it
// completes and closes the card form the page has opened, then adds the shop
// form with its cancel button.
void print_card_entry_block(const PageOptions& options, CvvLink link);
