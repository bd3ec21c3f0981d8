#pragma once

#include "page_options.h"

// The page-body renderers: each writes one page body through emit(), in the
// language and with the options of its own copy of the record.
void render_record_capture(PageOptions options);
void render_record_accepted(PageOptions options);
void render_record_refused(PageOptions options);
void render_menu(PageOptions options);
void render_login_refused(PageOptions options);
void render_view_info(PageOptions options);
void render_update_info(PageOptions options);
void render_update_info_confirm(PageOptions options);
void render_update_card_capture(PageOptions options);
void render_update_card_refused(PageOptions options);
void render_delete_subscription(PageOptions options);
void render_update_pwd_capture_card(PageOptions options);
void render_update_pwd_capture_pwd(PageOptions options);
