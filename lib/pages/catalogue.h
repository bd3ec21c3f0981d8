#pragma once

#include <string_view>

namespace pages {

// The catalogue's texts, by what each says; the value is the text's number in
// the catalogue. UNKNOWN_NUMBER is the text for a number outside the table.
enum class CatalogueText {
  UNKNOWN_NUMBER = 0,
  CIVIL_STATUS = 1,
  LASTNAME = 2,
  FIRSTNAME = 3,
  ADDRESS = 4,
  ADDRESS_LINE_2 = 5,
  POSTAL_CODE = 6,
  CITY = 7,
  COUNTRY = 8,
  PHONE_NUMBER = 9,
  EMAIL = 10,
  SUBSCRIBER_ID = 11,
  YOUR_SUBSCRIPTION = 12,
  SUBSCRIPTION_AMOUNT = 13,
  CHOOSE_PASSWORD = 14,
  RETYPE_PASSWORD = 15,
  PAYMENT_BY_CARD = 16,
  SECURE_SERVER = 17,
  SECURE_SYMBOLS = 18,
  CARD_NUMBER = 19,
  EXPIRES_END = 20,
  JANUARY = 21,
  FEBRUARY = 22,
  MARCH = 23,
  APRIL = 24,
  MAY = 25,
  JUNE = 26,
  JULY = 27,
  AUGUST = 28,
  SEPTEMBER = 29,
  OCTOBER = 30,
  NOVEMBER = 31,
  DECEMBER = 32,
  CARD_FRAME = 33,
  SECURITY_CODE = 34,
  SECURITY_CODE_INFORMATION = 35,
  FORM_COMPLETED = 36,
  SUBMIT = 37,
  CANCEL = 38,
  BACK_TO_THE_SHOP = 39,
  SUBSCRIPTION_RECORDED = 40,
  RECEIPT_SUBSCRIBER_ID = 41,
  ORDER_REFERENCE = 42,
  TRANSACTION_DATE = 43,
  ORDER_TOTAL = 44,
  RECEIPT_CARD_NUMBER = 45,
  AUTHORISATION = 46,
  TRANSACTION_CERTIFICATE = 47,
  KEEP_THE_REFERENCE = 48,
  LEAVING_THE_SECURE_SERVER = 49,
  PAYMENT_REFUSED = 50,
  CANNOT_COMPLETE = 51,
  PASSWORD = 52,
  VIEW_MY_SUBSCRIPTION = 53,
  UPDATE_MY_SUBSCRIPTION = 54,
  CANCEL_MY_SUBSCRIPTION = 55,
  LOST_MY_PASSWORD = 56,
  UPDATE_MY_CARD = 57,
  IDENTIFICATION_REFUSED = 58,
  CONSUMPTION = 59,
  REGISTRATION_DATE = 60,
  MODIFICATIONS_RECORDED = 61,
  OPERATION_REFUSED = 62,
  CONFIRM_CANCELLATION = 63,
  FILL_IN_THE_FORM = 64,
};

// Number of entries in each language row of the catalogue.
inline constexpr int CATALOGUE_SIZE = 65;

// The languages of the pages, in the order of the catalogue's rows; English
// is the default.
enum class Language { ENGLISH, FRENCH };

// The visible wording of every page: the catalogue's wording of `text` in
// `language`, or UNKNOWN_NUMBER's wording for a number outside the table.
std::string_view catalogue_text(CatalogueText text, Language language);

}  // namespace pages
