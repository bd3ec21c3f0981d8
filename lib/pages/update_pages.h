#pragma once

#include "pages/page_options.h"

namespace pages {

// The pages through which a subscriber replaces the payment card or sets a
// new password. Each writes its page body into `out`, in the language and with
// the options of `options`.

// The card form of the card update.
void render_update_card_capture(Sink& out, const PageOptions& options);

// The refusal of the card update.
void render_update_card_refused(Sink& out, const PageOptions& options);

// The card form that checks the subscriber before a lost password is
// replaced.
void render_update_pwd_capture_card(Sink& out, const PageOptions& options);

// The form of the new password.
void render_update_pwd_capture_pwd(Sink& out, const PageOptions& options);

}  // namespace pages
