#include "pages/account_pages.h"

#include <gtest/gtest.h>

#include "pages_test_support.h"

namespace pages {

TEST(Menu, PasswordRowOnlyWhenOffered) {
  PageOptions options = default_options();
  options.PASSWORD = PasswordChoice::OFFERED;
  EXPECT_TRUE(contains(body_of(render_menu, options),
                       "NAME=SUBSCRIBER_ID VALUE=\"\"><tr><td>Your password<td><INPUT TYPE=PASSWORD SIZE=8 "
                       "MAXLENGTH=8 NAME=SUBSCRIBER_PWD VALUE=\"\"></table>"));
  EXPECT_FALSE(contains(body_of(render_menu, default_options()), "SUBSCRIBER_PWD"));
}

TEST(Menu, SecureSymbolsWhateverTheCardFlagsSay) {
  PageOptions options = default_options(Language::FRENCH);
  options.NO_SEC_MSG = 1;
  options.NO_SSL_SYMBOLS = 1;
  options.NO_VALID_MSG = 1;
  options.NO_ACCEPT_MSG = 1;
  EXPECT_EQ(body_of(render_menu, options), body_of(render_menu, default_options(Language::FRENCH)));
}

TEST(ConfirmationBody, NoAcceptMsgDropsOnlyTheHeading) {
  PageOptions options = default_options(Language::FRENCH);
  options.NO_ACCEPT_MSG = 1;
  std::string page = body_of(render_update_info_confirm, options);
  EXPECT_EQ("<H3><center>Vos modifications ont bien &eacute;t&eacute; enregistr&eacute;es</center></H3>" + page,
            body_of(render_update_info_confirm, default_options(Language::FRENCH)));
  // The other account pages ignore it.
  EXPECT_EQ(body_of(render_login_refused, options), body_of(render_login_refused, default_options(Language::FRENCH)));
  EXPECT_EQ(body_of(render_view_info, options), body_of(render_view_info, default_options(Language::FRENCH)));
}

TEST(UpdateInfo, SubscriptionFormOptionsDoNotApply) {
  PageOptions options = default_options();
  options.SUB_CITY = {FieldMode::NOT_ASKED, "#V"};
  options.SUB_LASTNAME = {FieldMode::MANDATORY, "#M"};
  options.SUB_COUNTRY = {FieldMode::FIXED, "Belgique"};
  options.NO_SUB_DATA = 1;
  EXPECT_EQ(body_of(render_update_info, options), body_of(render_update_info, default_options()));
}

TEST(AccountPages, LogosReachTheirButtons) {
  PageOptions options = default_options();
  options.SUBMIT_LOGO = "go.gif";
  options.SUB_CANCEL_LOGO = "stop.gif";
  options.NORMAL_RETURN_LOGO = "back.gif";
  const std::string submit = "SRC=go.gif BORDER=0>";
  const std::string cancel = "SRC=\"stop.gif\" BORDER=0></center></FORM>";
  const std::string back = "SRC=\"back.gif\" BORDER=0></FORM></center>";
  for (void (*render)(Sink&, const PageOptions&) : {render_menu, render_update_info, render_delete_subscription}) {
    std::string page = body_of(render, options);
    EXPECT_TRUE(contains(page, submit) && contains(page, cancel) && !contains(page, "VALUE=\"SUBMIT\""));
  }
  EXPECT_TRUE(contains(body_of(render_login_refused, options), cancel));
  EXPECT_TRUE(contains(body_of(render_view_info, options), back));
  EXPECT_TRUE(contains(body_of(render_update_info_confirm, options), back));
}

}  // namespace pages
