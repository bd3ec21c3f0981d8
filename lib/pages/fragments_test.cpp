#include "pages/fragments.h"

#include <gtest/gtest.h>

#include <string>

#include "pages/catalogue.h"
#include "pages_test_support.h"

namespace pages {

TEST(Buttons, EachLogoTurnsOnlyItsOwnButtonIntoAnImage) {
  PageOptions options = default_options(Language::FRENCH);
  options.SUBMIT_LOGO = "ok%s.gif";
  EXPECT_EQ(captured([&](Sink& out) { print_submit_button(out, options); }),
            "<INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=ok%s.gif BORDER=0>");
  EXPECT_EQ(captured([&](Sink& out) { print_cancel_button(out, options); }),
            "<INPUT TYPE=SUBMIT NAME=\"PAIEMENT\" VALUE=\"ANNULATION - RETOUR A LA BOUTIQUE\">");

  options.SUB_CANCEL_LOGO = "img/cancel.gif";
  EXPECT_EQ(captured([&](Sink& out) { print_cancel_button(out, options); }),
            "<INPUT TYPE=IMAGE ALT=\"\" NAME=\"ANNULATION\" SRC=\"img/cancel.gif\" BORDER=0>");
  EXPECT_EQ(captured([&](Sink& out) { print_return_button(out, options); }),
            "<INPUT TYPE=SUBMIT NAME=\"RETOUR\" VALUE=\"RETOUR A LA BOUTIQUE\">");

  options.NORMAL_RETURN_LOGO = "100%.gif";
  EXPECT_EQ(captured([&](Sink& out) { print_return_button(out, options); }),
            "<INPUT TYPE=IMAGE NAME=\"PAIEMENT\" SRC=\"100%.gif\" BORDER=0>");
}

// The card entry block is checked whole by the end-to-end pages;
// these are the effects of its flags.
TEST(CardEntryBlock, SecurityNoticeFollowsTheTwoFlags) {
  auto block = [](const PageOptions& options) {
    return captured([&](Sink& out) { print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE); });
  };
  PageOptions options = default_options();
  std::string with_symbols = block(options);
  EXPECT_EQ(with_symbols.rfind("<br><b>The symbols <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>", 0), 0u);
  EXPECT_TRUE(contains(with_symbols, "form below : </b><br><br><br><center><TABLE BORDER=0 CELLSPACING=5>"));

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

TEST(CardEntryBlock, NoValidMsgLeavesTwoLineBreaks) {
  PageOptions options = default_options();
  std::string hidden = "<INPUT TYPE=HIDDEN NAME=USER VALUE=\"1226@011223344550000\">";
  EXPECT_TRUE(contains(captured([&](Sink& out) { print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE); }),
                       "</TABLE><br> You have completed the form correctly, you may now " + hidden));
  options.NO_VALID_MSG = 1;
  EXPECT_TRUE(contains(captured([&](Sink& out) { print_card_entry_block(out, options, CvvLinkText::PAGE_LANGUAGE); }),
                       "</TR></TD></TABLE><br><br>" + hidden));
}

// The catalogue's raw byte goes out as it is, not as an HTML reference.
TEST(CardEntryBlock, FrenchAugustIsOneRawByte) {
  std::string block = captured(
      [](Sink& out) { print_card_entry_block(out, default_options(Language::FRENCH), CvvLinkText::PAGE_LANGUAGE); });
  EXPECT_TRUE(contains(block, "<OPTION VALUE=\"08\">" +
                                  std::string(catalogue_text(CatalogueText::AUGUST, Language::FRENCH)) + "<OPTION"));
  EXPECT_FALSE(contains(block, "&ucirc;"));
}

}  // namespace pages
