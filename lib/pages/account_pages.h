#pragma once

#include "pages/catalogue.h"
#include "pages/page_options.h"

namespace pages {

// The pages through which a subscriber manages an existing subscription.
// Each writes its page body into `out`, in the language and with the options
// of `options`.

// The login form, with the choice of the operation.
void render_menu(Sink& out, const PageOptions& options);

// The refusal of the subscriber's identification.
void render_login_refused(Sink& out, const PageOptions& options);

// The subscriber's data.
void render_view_info(Sink& out, const PageOptions& options);

// The form that changes the subscriber's data.
void render_update_info(Sink& out, const PageOptions& options);

// The confirmation of a change; the card update, the cancellation and the
// new password confirm with the same body.
void render_update_info_confirm(Sink& out, const PageOptions& options);

// The request to confirm the cancellation of the subscription.
void render_delete_subscription(Sink& out, const PageOptions& options);

// Writes the body of a refused account operation under the heading message
// `heading` (the login refusal and the card update refusal share it).
void print_account_refusal_body(Sink& out, const PageOptions& options, CatalogueText heading);

}  // namespace pages
