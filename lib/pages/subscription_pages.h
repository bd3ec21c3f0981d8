#pragma once

#include "pages/page_options.h"

namespace pages {

// The pages of taking out a subscription. Each writes its page body through
// emit(), in the language and with the options of `options`.

// The subscription form: the subscriber's data as the merchant's field modes
// ask, the optional password choice, and the card entry block.
void render_record_capture(const PageOptions& options);

// The receipt of a recorded subscription.
void render_record_accepted(const PageOptions& options);

// The refusal of the subscriber's payment.
void render_record_refused(const PageOptions& options);

}  // namespace pages
