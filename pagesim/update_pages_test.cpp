#include <gtest/gtest.h>

#include "messages.h"
#include "pages_test_support.h"
#include "renderers.h"

namespace {

// Replaces the first `from` in `text` by `to`; fails the test when absent.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(UpdatePages, GoldenBodiesWithEmptyOptions) {
  expect_golden_bodies({{render_update_card_capture, "update_card_capture"},
                        {render_update_card_refused, "update_card_refused"},
                        {render_update_pwd_capture_card, "update_pwd_capture_card"},
                        {render_update_pwd_capture_pwd, "update_pwd_capture_pwd"}});
}

TEST(UpdatePages, CardCapturePagesDifferOnlyInTheFormTarget) {
  PageOptions options = default_options(1);
  for (int variant = 0; variant < 3; ++variant) {
    options.NO_SEC_MSG = variant == 1;
    options.NO_VALID_MSG = variant == 2;
    options.SUBMIT_LOGO = variant == 2 ? "ok.gif" : "";
    EXPECT_EQ(replaced(body_of(render_update_card_capture, options), "/cgis-payment/demo/callupdate_subscription ",
                       "/cgis-payment/demo/callvalid_card "),
              body_of(render_update_pwd_capture_card, options));
  }
  // The card pages hand their flags on to the card entry block.
  options.NO_SEC_MSG = 1;
  EXPECT_TRUE(contains(body_of(render_update_card_capture, options), "VALUE=fr><br><center><TABLE BORDER=0"));
}

TEST(UpdatePages, RefusalPagesDifferOnlyInTheHeading) {
  for (int language : {0, 1}) {
    std::string login = body_of(render_login_refused, default_options(language));
    std::string card = body_of(render_update_card_refused, default_options(language));
    EXPECT_EQ(replaced(login, "<H2>" + std::string(message_text(58, language)) + "</H2>",
                       "<H2>" + std::string(message_text(62, language)) + "</H2>"),
              card);
  }
  EXPECT_EQ(body_of(render_update_card_refused, default_options())
                .rfind("<hr><br><H2>Your operation has been refused by the ORBA Server</H2>", 0),
            0u);
}

// The update pages' card entry block is RECORD_CAPTURE's but for the visible
// text of the security code link.
TEST(UpdatePages, CardEntryBlockMatchesTheSubscriptionForm) {
  for (int language : {0, 1}) {
    std::string record = body_of(render_record_capture, default_options(language));
    std::string update = body_of(render_update_card_capture, default_options(language));
    std::string record_block = record.substr(record.find("<br><b>Les symboles") != std::string::npos
                                                 ? record.find("<br><b>Les symboles")
                                                 : record.find("<br><b>The symbols"));
    std::string update_block = update.substr(update.find("MERCHANT_COUNTRY VALUE=fr>") + 26);
    std::string link_text = language ? "En savoir plus sur le cryptogramme visuel" : "Information about card security code";
    EXPECT_EQ(replaced(record_block, "'\"> " + link_text + " </a>",
                       "'\"> En savoir plus sur le cryptogramme visuel </a>"),
              update_block);
  }
}

TEST(UpdatePwdCapturePwd, PasswordFieldsWhateverThePasswordOption) {
  PageOptions options = default_options();
  options.PASSWORD = "no";
  options.SUB_CANCEL_LOGO = "stop.gif";
  options.NO_SEC_MSG = 1;
  EXPECT_EQ(body_of(render_update_pwd_capture_pwd, options), golden("update_pwd_capture_pwd.en.html"));
  options.SUBMIT_LOGO = "go.gif";
  EXPECT_TRUE(contains(body_of(render_update_pwd_capture_pwd, options),
                       "<br><center><INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=go.gif BORDER=0>"
                       "</FORM></center>"));
}
