#include "pages/update_pages.h"

#include <gtest/gtest.h>

#include "pages_test_support.h"

namespace pages {

TEST(UpdatePages, CardPagesHandTheirFlagsToTheCardEntryBlock) {
  PageOptions options = default_options(Language::FRENCH);
  options.NO_SEC_MSG = 1;
  EXPECT_TRUE(contains(body_of(render_update_card_capture, options), "VALUE=fr><br><center><TABLE BORDER=0"));
  EXPECT_TRUE(contains(body_of(render_update_pwd_capture_card, options), "VALUE=fr><br><center><TABLE BORDER=0"));
}

TEST(UpdatePwdCapturePwd, PasswordFieldsWhateverThePasswordOption) {
  PageOptions options = default_options();
  options.PASSWORD = PasswordChoice::OFFERED;
  options.SUB_CANCEL_LOGO = "stop.gif";
  options.NO_SEC_MSG = 1;
  EXPECT_EQ(body_of(render_update_pwd_capture_pwd, options), body_of(render_update_pwd_capture_pwd, default_options()));
  options.SUBMIT_LOGO = "go.gif";
  EXPECT_TRUE(contains(body_of(render_update_pwd_capture_pwd, options),
                       "<br><center><INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=go.gif BORDER=0>"
                       "</FORM></center>"));
}

}  // namespace pages
