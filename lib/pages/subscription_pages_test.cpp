#include "pages/subscription_pages.h"

#include <gtest/gtest.h>

#include "pages_test_support.h"

namespace pages {

namespace {

const std::string CARD_FORM_OPENING =
    "<FORM METHOD=POST ACTION=/cgis-payment/demo/callvalid_subscription NAME=DATA_CAPTURE>";

std::string capture_page(const PageOptions& options) { return body_of(render_record_capture, options); }

}  // namespace

TEST(RecordCapture, FieldModes) {
  PageOptions options = default_options();
  options.SUB_LASTNAME = {FieldMode::MANDATORY, "#M"};
  options.SUB_EMAIL = {FieldMode::NOT_ASKED, "#V"};
  options.SUB_COUNTRY = {FieldMode::FIXED, "France"};
  options.SUB_CITY = {FieldMode::OPTIONAL, "#O"};
  std::string page = capture_page(options);

  EXPECT_TRUE(contains(page, "<tr><td> <td><i>Your lastname</i><td><b><INPUT TYPE=TEXT"
                             " SIZE=20 MAXLENGTH=20 NAME=SUBSCRIPTION_LASTNAME VALUE=\"\"></b>"));
  EXPECT_TRUE(contains(page, "<tr><td> <td>Your firstname<td><b><INPUT TYPE=TEXT"
                             " SIZE=20 MAXLENGTH=20 NAME=SUBSCRIPTION_FIRSTNAME VALUE=\"\"></b>"));
  EXPECT_TRUE(contains(page, "<tr><td> <td>City<td><b><INPUT TYPE=TEXT"
                             " SIZE=30 MAXLENGTH=30 NAME=SUBSCRIPTION_CITY VALUE=\"\"></b>"));
  EXPECT_TRUE(contains(page, "<tr><td> <td>Country<td><b>France "
                             "<INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_COUNTRY\" VALUE=\"France\"></b>"));
  // Not asked: no row and no label, only the empty hidden field, in its place.
  EXPECT_TRUE(contains(page, "NAME=SUBSCRIPTION_TELEPHONE VALUE=\"\"></b>"
                             "<INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_EMAIL\" VALUE=\"\"></table>"));
  EXPECT_FALSE(contains(page, "E-mail"));
  EXPECT_EQ(page.find("<i>"), page.find("<i>Your lastname"));
}

TEST(RecordCapture, FixedValuesAreWrittenAsData) {
  PageOptions options = default_options();
  options.SUB_CIVIL_STATUS = {FieldMode::FIXED, "%s%d"};
  options.SUB_DESCRIPTION = "Gold 100% <i>club</i>";
  std::string page = capture_page(options);
  EXPECT_TRUE(contains(page, "<tr><td> <td>(Mrs, Miss, Mr)<td><b>%s%d "
                             "<INPUT TYPE=HIDDEN NAME=\"SUBSCRIPTION_CIVIL_STATUS\" VALUE=\"%s%d\"></b>"));
  EXPECT_TRUE(contains(page, "<b>F07CH060</b></td><tr><td> </td><td>your subscription</td>"
                             "<td><b>Gold 100% <i>club</i></b></td></table>"));
}

TEST(RecordCapture, AmountRowOnlyForASubscriptionWithAmount) {
  PageOptions options = default_options();
  const std::string amount = "<tr><td> </td><td>subscription amount</td><td><b>  10,00 Euro </b></td></table>";
  options.SUB_TYPE = SubscriptionType::WITH_AMOUNT;
  EXPECT_TRUE(contains(capture_page(options), "<b>F07CH060</b></td>" + amount));
  options.SUB_TYPE = SubscriptionType::WITHOUT_AMOUNT;
  EXPECT_FALSE(contains(capture_page(options), "10,00 Euro"));
}

TEST(RecordCapture, PasswordChoiceOnlyWhenOffered) {
  PageOptions options = default_options(Language::FRENCH);
  options.PASSWORD = PasswordChoice::OFFERED;
  EXPECT_TRUE(contains(capture_page(options),
                       "<b>F07CH060</b></td></table><table border=0 cellspacing=5><tr><td><td> </td>"
                       "<td>choisissez un mot de passe</td><td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 "
                       "NAME=SUB_PASSWD1 VALUE=\"\"></b></td><td><td> </td><td>ressaisissez pour confirmer</td>"
                       "<td><b><INPUT TYPE=PASSWORD SIZE=8 MAXLENGTH=8 NAME=SUB_PASSWD2 VALUE=\"\"></b></td>"
                       "</table><hr><b>Paiement par carte</b><br>"));
  options.PASSWORD = PasswordChoice::NONE;
  EXPECT_FALSE(contains(capture_page(options), "SUB_PASSWD1"));
}

TEST(RecordCapture, NoSubDataDropsTheWholeBlockWhateverPasswordSays) {
  PageOptions options = default_options();
  options.NO_SUB_DATA = 1;
  options.PASSWORD = PasswordChoice::OFFERED;
  options.SUB_TYPE = SubscriptionType::WITH_AMOUNT;
  std::string page = capture_page(options);
  EXPECT_EQ(page.rfind(CARD_FORM_OPENING + "<hr><b>Payment by card</b><br><br><b>The symbols", 0), 0u);
  EXPECT_FALSE(contains(page, "SUBSCRIPTION_SUBSCRIBER"));
  EXPECT_FALSE(contains(page, "SUB_PASSWD1"));
  // The rest of the page is the default page's.
  std::string full = capture_page(default_options());
  EXPECT_EQ(page.substr(page.find("<hr><b>Payment")), full.substr(full.find("<hr><b>Payment")));
}

TEST(RecordCapture, NoPayMsgDropsTheCardHeading) {
  PageOptions options = default_options();
  options.NO_PAY_MSG = 1;
  options.NO_SUB_DATA = 1;
  EXPECT_EQ(capture_page(options).rfind(CARD_FORM_OPENING + "<br><b>The symbols", 0), 0u);
}

TEST(RecordAccepted, AcceptanceHeadingAndReceiptOptions) {
  PageOptions options = default_options();
  options.NO_ACCEPT_MSG = 1;
  std::string page = body_of(render_record_accepted, options);
  EXPECT_EQ(body_of(render_record_accepted, default_options()),
            "<H3><center>Your subscription has been recorded </center></H3>" + page);

  options.RECEIPT_COMPLEMENT = "<tr><td>Gift</td><td>100%</td></tr>";
  const std::string date_row = "<I>21 Octobre 2003 12:20:24</I>  (UTC/GMT)</b></td>";
  EXPECT_TRUE(contains(body_of(render_record_accepted, options),
                       date_row + options.RECEIPT_COMPLEMENT + "<tr><td><b>Card Number  </b></td>"));
  options.SUB_TYPE = SubscriptionType::WITH_AMOUNT;
  EXPECT_TRUE(contains(body_of(render_record_accepted, options),
                       date_row + options.RECEIPT_COMPLEMENT +
                           "<tr><td><b>Order Total  </b></td><td><b><I>  10,00 Euro </I></b></td></tr>"
                           "<tr><td><b>Card Number  </b></td>"));
  options.SUB_TYPE = SubscriptionType::WITHOUT_AMOUNT;
  EXPECT_FALSE(contains(body_of(render_record_accepted, options), "10,00 Euro"));
}

TEST(SubscriptionPages, LogosReachTheirButtons) {
  PageOptions options = default_options();
  options.SUBMIT_LOGO = "go.gif";
  options.SUB_CANCEL_LOGO = "stop.gif";
  options.NORMAL_RETURN_LOGO = "back.gif";
  std::string capture = capture_page(options);
  EXPECT_TRUE(contains(capture, "<script>InitOption(this)</script><INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT "
                                "ALIGN=ABSMIDDLE SRC=go.gif BORDER=0></form>"));
  EXPECT_TRUE(contains(capture, "SRC=\"stop.gif\" BORDER=0></center></FORM>"));
  EXPECT_TRUE(contains(body_of(render_record_accepted, options), "SRC=\"back.gif\" BORDER=0></FORM>"));
  EXPECT_TRUE(contains(body_of(render_record_refused, options), "SRC=\"stop.gif\" BORDER=0></center></FORM>"));
}

}  // namespace pages
