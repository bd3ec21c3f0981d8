#include "pages/fragments.h"

#include <gtest/gtest.h>

#include <string>

#include "pages/catalogue.h"
#include "pages_test_support.h"

namespace pages {

TEST(Buttons, EachLogoTurnsOnlyItsOwnButtonIntoAnImage) {
  const PageOptions plain = default_options(Language::FRENCH);
  auto submit = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_submit_button(out, options); });
  };
  auto cancel = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_cancel_button(out, options); });
  };
  auto back = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_return_button(out, options); });
  };
  PageOptions options = plain;
  options.SUBMIT_LOGO = "ok%s.gif";
  EXPECT_EQ(submit(options), "<INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=ok%s.gif BORDER=0>");
  EXPECT_EQ(cancel(options), cancel(plain));

  options.SUB_CANCEL_LOGO = "img/cancel.gif";
  EXPECT_EQ(cancel(options), "<INPUT TYPE=IMAGE ALT=\"\" NAME=\"ANNULATION\" SRC=\"img/cancel.gif\" BORDER=0>");
  EXPECT_EQ(back(options), back(plain));

  options.NORMAL_RETURN_LOGO = "100%.gif";
  EXPECT_EQ(back(options), "<INPUT TYPE=IMAGE NAME=\"PAIEMENT\" SRC=\"100%.gif\" BORDER=0>");
}

// The card entry block is checked whole, with the default options, by the
// end-to-end pages; these are the effects of its flags.
TEST(CardEntryBlock, SecurityNoticeFollowsTheTwoFlags) {
  auto block = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE); });
  };
  PageOptions options = default_options();
  options.NO_SSL_SYMBOLS = 1;
  std::string plain = block(options);
  EXPECT_EQ(plain.rfind("<br><b>You are now in a secure server. You can now safely fill in the request form below "
                        ":</b><br><br><br><center>",
                        0),
            0u);
  EXPECT_FALSE(contains(plain, "CLEF.gif"));

  options.NO_SEC_MSG = 1;
  EXPECT_EQ(block(options).rfind("<br><center><TABLE BORDER=0 CELLSPACING=5>", 0), 0u);
  options.NO_SSL_SYMBOLS = 0;
  EXPECT_EQ(block(options).rfind("<br><center><TABLE BORDER=0 CELLSPACING=5>", 0), 0u);
}

// NO_VALID_MSG leaves two line breaks where the invitation to send the form
// stood, and changes nothing else.
TEST(CardEntryBlock, NoValidMsgLeavesTwoLineBreaks) {
  auto block = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE); });
  };
  PageOptions options = default_options();
  std::string with_invitation = block(options);
  std::string invitation = "<br>" + std::string(catalogue_text(CatalogueText::FORM_COMPLETED, Language::ENGLISH));
  std::size_t at = with_invitation.find(invitation);
  ASSERT_NE(at, std::string::npos);
  options.NO_VALID_MSG = 1;
  EXPECT_EQ(block(options), with_invitation.replace(at, invitation.size(), "<br><br>"));
}

}  // namespace pages
