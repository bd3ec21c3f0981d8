#include "pages/catalogue.h"

#include <gtest/gtest.h>

namespace pages {

TEST(MessageText, NumbersOutsideTheTableGiveTheUnknownTextWithoutTheNumber) {
  for (int number : {65, 66, 1000, -1, -64}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(catalogue_text(static_cast<CatalogueText>(number), Language::ENGLISH), "Block number unknown :");
    EXPECT_EQ(catalogue_text(static_cast<CatalogueText>(number), Language::FRENCH), "Num&#233;ro de bloc inconnu :");
  }
  EXPECT_EQ(catalogue_text(CatalogueText::UNKNOWN_NUMBER, Language::ENGLISH), "Block number unknown :");
}

// The French August is the one raw ISO-8859-1 letter of the catalogue (the
// French pages of the end-to-end cases hold its byte); every other accent is
// an HTML reference, so no other byte above 127 may appear.
TEST(MessageText, OnlyTheFrenchAugustHoldsARawAccentedByte) {
  for (Language language : {Language::ENGLISH, Language::FRENCH}) {
    for (int number = 0; number < CATALOGUE_SIZE; ++number) {
      CatalogueText message = static_cast<CatalogueText>(number);
      int raw = 0;
      for (char c : catalogue_text(message, language)) raw += static_cast<unsigned char>(c) > 127;
      EXPECT_EQ(raw, language == Language::FRENCH && message == CatalogueText::AUGUST ? 1 : 0)
          << "message " << number << " language " << static_cast<int>(language);
    }
  }
}

}  // namespace pages
