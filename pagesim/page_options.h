#pragma once

#include <string>
#include <string_view>

#include "output.h"

// The merchant's page options, read from ./parameters, plus the two
// command-line arguments. Every renderer receives its own copy.
struct PageOptions {
  int LANGUAGE = 0;  // 0 English, 1 French
  std::string PASSWORD;
  std::string SUB_CANCEL_LOGO;
  std::string NORMAL_RETURN_LOGO;
  std::string RECEIPT_COMPLEMENT;
  std::string SUBMIT_LOGO;
  std::string SUB_ADDRESS1;
  std::string SUB_ADDRESS2;
  std::string SUB_CITY;
  std::string SUB_CIVIL_STATUS;
  std::string SUB_COUNTRY;
  std::string SUB_EMAIL;
  std::string SUB_FIRSTNAME;
  std::string SUB_LASTNAME;
  std::string SUB_TELEPHONE;
  std::string SUB_ZIPCODE;
  std::string SUB_DESCRIPTION;
  std::string SUB_TYPE;
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

// Gives every option its default; leaves template_name alone.
void init_page_options(PageOptions& options);

// Fills `options` from ./parameters, read in line pieces, followed by
// `last_line` when it is not empty (the page gallery adds its language that
// way). On failure the diagnostic is already written and false is returned.
bool read_parameters(PageOptions& options, Diagnostics& diagnostics, std::string_view last_line = {});
