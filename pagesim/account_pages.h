#pragma once

#include "messages.h"
#include "page_options.h"

// Writes the body of a refused account operation under the heading message
// `heading` (the login refusal and the card update refusal share it).
void print_account_refusal_body(const PageOptions& options, Message heading);
