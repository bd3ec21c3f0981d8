#include "messages.h"

#include <gtest/gtest.h>

TEST(MessageText, NumbersOutsideTheTableGiveTheUnknownTextWithoutTheNumber) {
  for (int number : {65, 66, 1000, -1, -64}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(message_text(number, 0), "Block number unknown :");
    EXPECT_EQ(message_text(number, 1), "Num&#233;ro de bloc inconnu :");
  }
  EXPECT_EQ(message_text(0, 0), "Block number unknown :");
}

TEST(MessageText, EveryPageTextExistsInBothLanguages) {
  for (int number = 1; number < kMessageCount; ++number) {
    SCOPED_TRACE(number);
    EXPECT_FALSE(message_text(number, 0).empty());
    EXPECT_FALSE(message_text(number, 1).empty());
  }
  EXPECT_EQ(message_text(1, 0), "(Mrs, Miss, Mr)");
  EXPECT_EQ(message_text(64, 0), "Please fill in this subscription form");
  EXPECT_EQ(message_text(64, 1), "Merci de compl&eacute;ter votre formulaire d'abonnement");
  EXPECT_EQ(message_text(37, 1), "VALIDER");
}

TEST(MessageText, BlanksAndTabsArePartOfTheTexts) {
  EXPECT_EQ(message_text(5, 0), "   ");
  EXPECT_EQ(message_text(5, 1), "   ");
  EXPECT_EQ(message_text(20, 0), "  Expires end :  ");
  EXPECT_EQ(message_text(58, 0), "\t\tYour identification has been refused by the ORBA Server");
  EXPECT_EQ(message_text(58, 1), "\t\tVotre identification n'est pas accept&eacute;e par le serveur ORBA");
  EXPECT_EQ(message_text(18, 0),
            "The symbols <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>  show that your payment is secure. "
            "You can now safely fill in the request form below : ");
}

// The French August is the one raw ISO-8859-1 letter of the catalogue; every
// other accent is an HTML reference, so no other byte above 127 may appear.
TEST(MessageText, OnlyTheFrenchAugustHoldsARawAccentedByte) {
  EXPECT_EQ(message_text(28, 1), std::string_view(" 08-Ao\xFB" "t"));
  EXPECT_EQ(message_text(28, 1).size(), 8u);
  for (int language : {0, 1}) {
    for (int number = 0; number < kMessageCount; ++number) {
      if (language == 1 && number == 28) continue;
      for (char c : message_text(number, language)) {
        EXPECT_LT(static_cast<unsigned char>(c), 128u) << "message " << number << " language " << language;
      }
    }
  }
}

