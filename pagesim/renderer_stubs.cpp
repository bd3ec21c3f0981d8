// Empty page bodies, standing in until the page renderers exist.
#include "renderers.h"

void render_record_capture(PageOptions) {}
void render_record_accepted(PageOptions) {}
void render_record_refused(PageOptions) {}
void render_menu(PageOptions) {}
void render_login_refused(PageOptions) {}
void render_view_info(PageOptions) {}
void render_update_info(PageOptions) {}
void render_update_info_confirm(PageOptions) {}
void render_update_card_capture(PageOptions) {}
void render_update_card_refused(PageOptions) {}
void render_delete_subscription(PageOptions) {}
void render_update_pwd_capture_card(PageOptions) {}
void render_update_pwd_capture_pwd(PageOptions) {}
