#include "page_types.h"

#include <gtest/gtest.h>

#include "renderers.h"

TEST(PageTypes, NamesMatchExactly) {
  EXPECT_TRUE(is_known_page_type("MENU"));
  EXPECT_FALSE(is_known_page_type("menu"));
  EXPECT_FALSE(is_known_page_type(" MENU"));
  EXPECT_FALSE(is_known_page_type("MENU "));
  EXPECT_FALSE(is_known_page_type(""));
  EXPECT_FALSE(is_known_page_type("UPDATE_INFO_CONFIRMED"));
}

TEST(PageTypes, EachPageHasItsRenderer) {
  EXPECT_EQ(find_page_renderer("RECORD_CAPTURE"), &render_record_capture);
  EXPECT_EQ(find_page_renderer("RECORD_ACCEPTED"), &render_record_accepted);
  EXPECT_EQ(find_page_renderer("RECORD_REFUSED"), &render_record_refused);
  EXPECT_EQ(find_page_renderer("MENU"), &render_menu);
  EXPECT_EQ(find_page_renderer("LOGIN_REFUSED"), &render_login_refused);
  EXPECT_EQ(find_page_renderer("VIEW_INFO"), &render_view_info);
  EXPECT_EQ(find_page_renderer("UPDATE_INFO"), &render_update_info);
  EXPECT_EQ(find_page_renderer("UPDATE_INFO_CONFIRM"), &render_update_info_confirm);
  EXPECT_EQ(find_page_renderer("UPDATE_CARD_CAPTURE"), &render_update_card_capture);
  EXPECT_EQ(find_page_renderer("UPDATE_CARD_REFUSED"), &render_update_card_refused);
  EXPECT_EQ(find_page_renderer("DELETE_SUBSCRIPTION"), &render_delete_subscription);
  EXPECT_EQ(find_page_renderer("UPDATE_PWD_CAPTURE_CARD"), &render_update_pwd_capture_card);
  EXPECT_EQ(find_page_renderer("UPDATE_PWD_CAPTURE_PWD"), &render_update_pwd_capture_pwd);
  // Three confirmations tell the subscriber the same thing.
  EXPECT_EQ(find_page_renderer("UPDATE_CARD_ACCEPTED"), &render_update_info_confirm);
  EXPECT_EQ(find_page_renderer("DELETE_SUBSCRIPTION_CONFIRM"), &render_update_info_confirm);
  EXPECT_EQ(find_page_renderer("UPDATE_PWD_CONFIRM"), &render_update_info_confirm);
}
