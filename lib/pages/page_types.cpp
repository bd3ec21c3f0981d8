#include "pages/page_types.h"

#include "pages/account_pages.h"
#include "pages/subscription_pages.h"
#include "pages/update_pages.h"

namespace pages {

namespace {

// The server's pages, in the order the names are tested. Several confirmation
// pages tell the subscriber the same thing, so they share the
// UPDATE_INFO_CONFIRM body.
constexpr PageType PAGE_TYPES[] = {
    {"RECORD_CAPTURE", render_record_capture},
    {"RECORD_ACCEPTED", render_record_accepted},
    {"RECORD_REFUSED", render_record_refused},
    {"MENU", render_menu},
    {"LOGIN_REFUSED", render_login_refused},
    {"VIEW_INFO", render_view_info},
    {"UPDATE_INFO", render_update_info},
    {"UPDATE_INFO_CONFIRM", render_update_info_confirm},
    {"UPDATE_CARD_CAPTURE", render_update_card_capture},
    {"UPDATE_CARD_ACCEPTED", render_update_info_confirm},
    {"UPDATE_CARD_REFUSED", render_update_card_refused},
    {"DELETE_SUBSCRIPTION", render_delete_subscription},
    {"DELETE_SUBSCRIPTION_CONFIRM", render_update_info_confirm},
    {"UPDATE_PWD_CAPTURE_CARD", render_update_pwd_capture_card},
    {"UPDATE_PWD_CAPTURE_PWD", render_update_pwd_capture_pwd},
    {"UPDATE_PWD_CONFIRM", render_update_info_confirm},
};

}  // namespace

std::span<const PageType> page_types() { return PAGE_TYPES; }

PageRenderer find_page_renderer(std::string_view name) {
  for (const PageType& type : PAGE_TYPES)
    if (type.name == name) return type.render;
  return nullptr;
}

bool is_known_page_type(std::string_view name) { return find_page_renderer(name) != nullptr; }

}  // namespace pages
