#pragma once

#include <string>

#include "pages/catalogue.h"
#include "pages/output.h"

namespace pages {

// How the subscription form offers one subscriber field, as the merchant's
// field mode for it says: an input row (the option empty or "#O"), an input
// row whose label is in italics ("#M"), only an empty hidden field ("#V"), or
// any other text, which the merchant fixes: shown, and sent as it is. The
// modes are case-sensitive.
enum class FieldMode { OPTIONAL, MANDATORY, NOT_ASKED, FIXED };

// The option of one subscriber field: its mode, and its text as the file
// gives it (what a FIXED field shows and sends).
struct FieldOption {
  FieldMode mode = FieldMode::OPTIONAL;
  std::string text;
};

// Whether the subscriber chooses a password: only PASSWORD "yes", exactly,
// offers one.
enum class PasswordChoice { NONE, OFFERED };

// Whether the pages show the subscription's amount: only SUB_TYPE "1",
// exactly, does.
enum class SubscriptionType { WITHOUT_AMOUNT, WITH_AMOUNT };

// The merchant's page options, read from ./parameters, plus the two
// command-line arguments. The options that the pages test are read once,
// here, into named values; the renderers only read the record.
struct PageOptions {
  Language LANGUAGE = Language::ENGLISH;
  PasswordChoice PASSWORD = PasswordChoice::NONE;
  std::string SUB_CANCEL_LOGO;
  std::string NORMAL_RETURN_LOGO;
  std::string RECEIPT_COMPLEMENT;
  std::string SUBMIT_LOGO;
  FieldOption SUB_ADDRESS1;
  FieldOption SUB_ADDRESS2;
  FieldOption SUB_CITY;
  FieldOption SUB_CIVIL_STATUS;
  FieldOption SUB_COUNTRY;
  FieldOption SUB_EMAIL;
  FieldOption SUB_FIRSTNAME;
  FieldOption SUB_LASTNAME;
  FieldOption SUB_TELEPHONE;
  FieldOption SUB_ZIPCODE;
  std::string SUB_DESCRIPTION;
  SubscriptionType SUB_TYPE = SubscriptionType::WITHOUT_AMOUNT;
  int NO_COPYRIGHT = 0;
  int NO_SUB_DATA = 0;
  int NO_PAY_MSG = 0;
  int NO_SEC_MSG = 0;
  int NO_SSL_SYMBOLS = 0;
  int NO_ACCEPT_MSG = 0;
  int NO_VALID_MSG = 0;
  std::string page_type;
  std::string template_name;
};

// Fills `options` from ./parameters, read in line pieces. On failure the
// diagnostic is already written and false is returned.
bool read_parameters(PageOptions& options, Diagnostics& diagnostics);

}  // namespace pages
