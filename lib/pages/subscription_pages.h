#pragma once

#include "pages/page_options.h"

namespace pages {

// The pages of taking out a subscription. Each writes its page body into
// `out`, in the language and with the options of `options`.

// The subscription form: the subscriber's data as the merchant's field modes
// ask, the optional password choice, and the card entry block.
void render_record_capture(Sink& out, const PageOptions& options);

// The receipt of a recorded subscription.
void render_record_accepted(Sink& out, const PageOptions& options);

// The refusal of the subscriber's payment.
void render_record_refused(Sink& out, const PageOptions& options);

}  // namespace pages
