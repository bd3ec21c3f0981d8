#include "pages/page_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "pages/output.h"
#include "private_folder.h"

namespace pages {

namespace fs = std::filesystem;

namespace {

struct ParametersRun {
  PageOptions options;
  std::string page;  // what the reader wrote into the page
  bool ok = false;
};

// Runs read_parameters in a fresh folder whose ./parameters holds `content`.
ParametersRun read_text(const std::string& content) {
  fs::path old = fs::current_path();
  PrivateFolder dir;
  write_file(dir.path / "parameters", content);
  fs::current_path(dir.path);
  ParametersRun run;
  Sink page;
  Diagnostics diagnostics(page);
  run.ok = read_parameters(run.options, diagnostics);
  run.page = page.bytes;
  fs::current_path(old);
  return run;
}

}  // namespace

TEST(ReadParameters, EmptyOrCommentOnlyFileGivesDefaults) {
  for (std::string content : {"", "#LANGUAGE!fr!\n#NO_COPYRIGHT\n", "\n\n", "ab", "x\n", "x\r\n"}) {
    ParametersRun run = read_text(content);
    EXPECT_TRUE(run.ok) << content;
    EXPECT_EQ(run.page, "") << content;
    EXPECT_EQ(run.options.LANGUAGE, Language::ENGLISH);
    EXPECT_EQ(run.options.NO_COPYRIGHT, 0);
  }
}

TEST(ReadParameters, FlagsTakeNoValueAndNeverFail) {
  ParametersRun run = read_text("NO_COPYRIGHT!0!\nNO_SUB_DATA no separator at all\nxx NO_PAY_MSG!\n"
                                "NO_SEC_MSG NO_SSL_SYMBOLS NO_ACCEPT_MSG NO_VALID_MSG\n");
  ASSERT_TRUE(run.ok);
  EXPECT_EQ(run.page, "");
  EXPECT_EQ(run.options.NO_COPYRIGHT, 1);
  EXPECT_EQ(run.options.NO_SUB_DATA, 1);
  EXPECT_EQ(run.options.NO_PAY_MSG, 1);
  EXPECT_EQ(run.options.NO_SEC_MSG, 1);
  EXPECT_EQ(run.options.NO_SSL_SYMBOLS, 1);
  EXPECT_EQ(run.options.NO_ACCEPT_MSG, 1);
  EXPECT_EQ(run.options.NO_VALID_MSG, 1);
}

TEST(ReadParameters, KeysMatchAsSubstringsAnywhereInTheLine) {
  // An unlisted key holding a listed one, a key after a blank-led "#", and a
  // flag named in the text after the second separator all take effect.
  ParametersRun run = read_text("SUB_CITYNAME!Lyon!\n #SUB_COUNTRY!FR!\nPASSWORD!yes!NO_PAY_MSG\n");
  ASSERT_TRUE(run.ok) << run.page;
  EXPECT_EQ(run.options.SUB_CITY.text, "Lyon");
  EXPECT_EQ(run.options.SUB_COUNTRY.text, "FR");
  EXPECT_EQ(run.options.PASSWORD, PasswordChoice::OFFERED);
  EXPECT_EQ(run.options.NO_PAY_MSG, 1);
}

TEST(ReadParameters, ValuesAreVerbatimAndLastOneWins) {
  ParametersRun run = read_text("SUB_CITY!Paris!\nSUB_CITY!!\nSUB_ZIPCODE! 75 01 !\nbefore SUB_TYPE x!1!after\n"
                                "SUB_DESCRIPTION!100% <b>%s</b>!\nSUB_LASTNAME!a!\nSUB_LASTNAME!b!");
  ASSERT_TRUE(run.ok) << run.page;
  EXPECT_EQ(run.options.SUB_CITY.text, "");
  EXPECT_EQ(run.options.SUB_CITY.mode, FieldMode::OPTIONAL);
  EXPECT_EQ(run.options.SUB_ZIPCODE.text, " 75 01 ");
  EXPECT_EQ(run.options.SUB_TYPE, SubscriptionType::WITH_AMOUNT);
  EXPECT_EQ(run.options.SUB_DESCRIPTION, "100% <b>%s</b>");
  EXPECT_EQ(run.options.SUB_LASTNAME.text, "b");
}

TEST(ReadParameters, OnlyLowerCaseFrSelectsFrench) {
  EXPECT_EQ(read_text("LANGUAGE!FR!\n").options.LANGUAGE, Language::ENGLISH);
  EXPECT_EQ(read_text("LANGUAGE!en!\n").options.LANGUAGE, Language::ENGLISH);
  EXPECT_EQ(read_text("LANGUAGE!!\n").options.LANGUAGE, Language::ENGLISH);
  EXPECT_EQ(read_text("LANGUAGE!fr!\n").options.LANGUAGE, Language::FRENCH);
  EXPECT_EQ(read_text("LANGUAGE!fr!\nLANGUAGE!en!\n").options.LANGUAGE, Language::FRENCH);
}

// The pages test these options for one exact value, case-sensitive.
TEST(ReadParameters, PasswordAndSubTypeTakeOnlyTheirExactValue) {
  EXPECT_EQ(read_text("PASSWORD!yes!\n").options.PASSWORD, PasswordChoice::OFFERED);
  for (std::string other : {"Yes", "YES", "no", "ye"})
    EXPECT_EQ(read_text("PASSWORD!" + other + "!\n").options.PASSWORD, PasswordChoice::NONE) << other;
  EXPECT_EQ(read_text("PASSWORD!yes!\nPASSWORD!no!\n").options.PASSWORD, PasswordChoice::NONE);
  EXPECT_EQ(read_text("SUB_TYPE!0!\n").options.SUB_TYPE, SubscriptionType::WITHOUT_AMOUNT);
}

TEST(ReadParameters, FieldModesAreCaseSensitive) {
  PageOptions options = read_text("SUB_CITY!#O!\nSUB_LASTNAME!#M!\nSUB_EMAIL!#V!\nSUB_ZIPCODE!#m!\n"
                                  "SUB_COUNTRY!France!\n").options;
  EXPECT_EQ(options.SUB_CITY.mode, FieldMode::OPTIONAL);
  EXPECT_EQ(options.SUB_LASTNAME.mode, FieldMode::MANDATORY);
  EXPECT_EQ(options.SUB_EMAIL.mode, FieldMode::NOT_ASKED);
  EXPECT_EQ(options.SUB_ZIPCODE.mode, FieldMode::FIXED);
  EXPECT_EQ(options.SUB_ZIPCODE.text, "#m");
  EXPECT_EQ(options.SUB_COUNTRY.mode, FieldMode::FIXED);
  EXPECT_EQ(options.SUB_FIRSTNAME.mode, FieldMode::OPTIONAL);
}

TEST(ReadParameters, CrLfLineEndsReadAsPlainLineEnds) {
  ParametersRun run = read_text("SUB_CITY!Nice!\r\nNO_COPYRIGHT\r\nSUB_TYPE!1!\r\n");
  ASSERT_TRUE(run.ok);
  EXPECT_EQ(run.options.SUB_CITY.text, "Nice");
  EXPECT_EQ(run.options.SUB_TYPE, SubscriptionType::WITH_AMOUNT);
  EXPECT_EQ(run.options.NO_COPYRIGHT, 1);

  run = read_text("NO_COPYRIGHT\r\nSUB_CITY\r\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>Error, there is no separator in parameters file line: SUB_CITY\n");
}

TEST(ReadParameters, SeparatorErrorsQuoteTheLineAndStopReading) {
  ParametersRun run = read_text("SUB_CITY Paris\nNO_COPYRIGHT\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>Error, there is no separator in parameters file line: SUB_CITY Paris\n");
  EXPECT_EQ(run.options.NO_COPYRIGHT, 0);

  run = read_text("SUB_CITY!Paris %s\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>Error, there is only one separator in parameters file line: SUB_CITY!Paris %s\n");

  // The last line has no line end to quote.
  run = read_text("PASSWORD!yes");
  EXPECT_EQ(run.page, "<body>Error, there is only one separator in parameters file line: PASSWORD!yes");
}

TEST(ReadParameters, TooLongValuesAreRefusedBareAndNeverStored) {
  ParametersRun run = read_text("LANGUAGE!fra!\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "LANGUAGE (fra) too long");

  run = read_text("PASSWORD!yes!\nPASSWORD!abcd!\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "PASSWORD option (abcd) too long");
  EXPECT_EQ(run.options.PASSWORD, PasswordChoice::OFFERED);

  run = read_text("SUB_TYPE!1!\nSUB_TYPE!12!\n");
  EXPECT_EQ(run.page, "SUB_TYPE (12) too long");
  EXPECT_EQ(run.options.SUB_TYPE, SubscriptionType::WITH_AMOUNT);

  run = read_text("SUB_CIVIL_STATUS! Mrs   !\n");
  EXPECT_EQ(run.page, "SUB_CIVIL_STATUS ( Mrs   ) too long");
}

TEST(ReadParameters, EarlierKeyInTableOrderIsReportedFirst) {
  // One line naming two keys: the value between the separators goes to
  // both, and the first key that refuses it is the one reported.
  ParametersRun run = read_text("SUB_TYPE SUB_CITY!ab!\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.options.SUB_CITY.text, "ab");
  EXPECT_EQ(run.page, "SUB_TYPE (ab) too long");

  run = read_text("SUB_ZIPCODE SUB_CIVIL_STATUS!1234567!\n");
  EXPECT_EQ(run.page, "SUB_CIVIL_STATUS (1234567) too long");
}

TEST(ReadParameters, LongLinesAreReadInPieces) {
  // The second piece of a long line starts after 16583 characters and is
  // tested as a line of its own.
  std::string line = "SUB_CITY!!" + std::string(16583 - 10, ' ') + "SUB_TYPE\n";
  ParametersRun run = read_text(line);
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>Error, there is no separator in parameters file line: SUB_TYPE\n");

  // A separator after the cut is out of reach of the first piece.
  line = "SUB_CITY!" + std::string(16583 - 9, 'a') + "!\n";
  run = read_text(line);
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>Error, there is only one separator in parameters file line: " + line.substr(0, 16583));
}

}  // namespace pages
