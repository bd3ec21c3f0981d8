#pragma once

#include <span>
#include <string_view>

#include "pages/catalogue.h"
#include "pages/page_options.h"

namespace pages {

// The fixed sample values that the pages show and send where the server puts
// a real subscriber's: the preview shows how they sit in the merchant's
// template. Each is written here once.

// The sample merchant that every form names: its merchant id,
inline constexpr std::string_view SAMPLE_MERCHANT_ID = "011223344550000";
// and its country.
inline constexpr std::string_view SAMPLE_MERCHANT_COUNTRY = "fr";

// The subscriber of the account pages and of the card update pages, the same
// in both languages; the accented letters are ISO-8859-1 bytes.
struct SampleSubscriber {
  std::string_view id;
  std::string_view civil_status;
  std::string_view lastname;
  std::string_view firstname;
  std::string_view address_1;
  std::string_view address_2;
  std::string_view zipcode;
  std::string_view city;
  std::string_view country;
  std::string_view telephone;
  std::string_view email;
};

// The one sample subscriber.
inline constexpr SampleSubscriber SAMPLE_SUBSCRIBER = {
    "W12BM000",    "Mr",     "TOLVEN", "Elno",           "8, impasse des \xE9" "rables", "la sabli\xE8" "re",
    "41000",       "BLOIS",  "France", "02.47.31.85.60", "elno.tolven@example.com"};

// The subscriber id that the subscription form gives the new subscriber.
inline constexpr std::string_view NEW_SUBSCRIBER_ID = "F07CH060";

// The subscriber who sets a new password.
inline constexpr std::string_view PASSWORD_SUBSCRIBER_ID = "E09SV000";

// The amount of a subscription that shows one, blanks included.
inline constexpr std::string_view SAMPLE_AMOUNT = "  10,00 Euro ";

// One subscriber field, as both the subscription form and the update form ask
// for it: the option holding its mode on the subscription form, the name the
// server receives, its label, its input width on each form (the city is wider
// on the update form), and the sample subscriber's value, which the update
// form shows for a change.
struct SubscriberField {
  FieldOption PageOptions::*option;
  std::string_view form_field;
  CatalogueText label;
  std::string_view capture_size;
  std::string_view update_size;
  std::string_view sample_value;
};

// The ten subscriber fields, in page order.
std::span<const SubscriberField> subscriber_fields();

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

}  // namespace pages
