#include "pages/catalogue.h"

#include <array>

namespace pages {

namespace {

// The texts of one language, by number.
using CatalogueRow = std::array<std::string_view, CATALOGUE_SIZE>;

// One row per language, in the order of CatalogueText. The texts are
// ISO-8859-1 bytes as the browser gets them: accented French letters are HTML
// references, except the raw 0xFB of August, and the leading and trailing
// blanks and tabs are part of the layout.
constexpr std::array<CatalogueRow, 2> CATALOGUE = {{
  {{
    "Block number unknown :",  // UNKNOWN_NUMBER
    "(Mrs, Miss, Mr)",  // CIVIL_STATUS
    "Your lastname",  // LASTNAME
    "Your firstname",  // FIRSTNAME
    "Your address",  // ADDRESS
    "   ",  // ADDRESS_LINE_2
    "Postal code",  // POSTAL_CODE
    "City",  // CITY
    "Country",  // COUNTRY
    "Phone number",  // PHONE_NUMBER
    "E-mail",  // EMAIL
    "Your subscriber id",  // SUBSCRIBER_ID
    "your subscription",  // YOUR_SUBSCRIPTION
    "subscription amount",  // SUBSCRIPTION_AMOUNT
    "choose a password",  // CHOOSE_PASSWORD
    "retype to confirm",  // RETYPE_PASSWORD
    "Payment by card",  // PAYMENT_BY_CARD
    "You are now in a secure server. You can now safely fill in the request form below :",  // SECURE_SERVER
    "The symbols <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>  show that your payment is secure. You can now safely fill in the request form below : ",  // SECURE_SYMBOLS
    "Card Number : ",  // CARD_NUMBER
    "  Expires end :  ",  // EXPIRES_END
    " 01-January",  // JANUARY
    " 02-February",  // FEBRUARY
    " 03-March",  // MARCH
    " 04-April",  // APRIL
    " 05-May",  // MAY
    " 06-June",  // JUNE
    " 07-July",  // JULY
    " 08-August",  // AUGUST
    " 09-September",  // SEPTEMBER
    " 10-October",  // OCTOBER
    " 11-November",  // NOVEMBER
    " 12-December",  // DECEMBER
    "If you use a CB, MASTERCARD or VISA card, please fill the frame below",  // CARD_FRAME
    "Please fill in your card security code, i-e the last three figures of the number written in the signature panel on the back of your creditcard :  ",  // SECURITY_CODE
    "Information about card security code",  // SECURITY_CODE_INFORMATION
    " You have completed the form correctly, you may now ",  // FORM_COMPLETED
    "SUBMIT",  // SUBMIT
    "CANCEL - BACK TO THE SHOP",  // CANCEL
    "BACK TO THE SHOP",  // BACK_TO_THE_SHOP
    "Your subscription has been recorded ",  // SUBSCRIPTION_RECORDED
    "Your subscriber id",  // RECEIPT_SUBSCRIBER_ID
    "Order Reference ",  // ORDER_REFERENCE
    "Transaction date ",  // TRANSACTION_DATE
    "Order Total  ",  // ORDER_TOTAL
    "Card Number  ",  // RECEIPT_CARD_NUMBER
    "Authorisation  ",  // AUTHORISATION
    "Transaction certificate ",  // TRANSACTION_CERTIFICATE
    "Please keep the transaction reference.",  // KEEP_THE_REFERENCE
    "Depending on your browser's settings, a window indicating you are returning to a non-secure environment may appear. This does not affect the confidentiality of the information previously transferred.",  // LEAVING_THE_SECURE_SERVER
    "Your payment has been refused by your bank.",  // PAYMENT_REFUSED
    "Sorry, we can't complete your transaction.",  // CANNOT_COMPLETE
    "Your password",  // PASSWORD
    " View my subscription",  // VIEW_MY_SUBSCRIPTION
    " Update my subscription",  // UPDATE_MY_SUBSCRIPTION
    " Cancel my subscription",  // CANCEL_MY_SUBSCRIPTION
    " I have loose my password",  // LOST_MY_PASSWORD
    " Update my card",  // UPDATE_MY_CARD
    "\t\tYour identification has been refused by the ORBA Server",  // IDENTIFICATION_REFUSED
    "consumption",  // CONSUMPTION
    "Registration date",  // REGISTRATION_DATE
    "Your modifications have been recorded",  // MODIFICATIONS_RECORDED
    "Your operation has been refused by the ORBA Server",  // OPERATION_REFUSED
    "Please confirm your subscription cancellation",  // CONFIRM_CANCELLATION
    "Please fill in this subscription form",  // FILL_IN_THE_FORM
  }},
  {{
    "Num&#233;ro de bloc inconnu :",  // UNKNOWN_NUMBER
    "(Mme, Mlle, Mr)",  // CIVIL_STATUS
    "Votre nom",  // LASTNAME
    "Votre pr&eacute;nom",  // FIRSTNAME
    "Votre adresse",  // ADDRESS
    "   ",  // ADDRESS_LINE_2
    "Code postal",  // POSTAL_CODE
    "Ville",  // CITY
    "Pays",  // COUNTRY
    "T&eacute;l&eacute;phone",  // PHONE_NUMBER
    "E-mail",  // EMAIL
    "Votre num&eacute;ro d'abonn&eacute;",  // SUBSCRIBER_ID
    "Votre abonnement",  // YOUR_SUBSCRIPTION
    "Montant de votre abonnement",  // SUBSCRIPTION_AMOUNT
    "choisissez un mot de passe",  // CHOOSE_PASSWORD
    "ressaisissez pour confirmer",  // RETYPE_PASSWORD
    "Paiement par carte",  // PAYMENT_BY_CARD
    "Vous &#234;tes connect&eacute; &#224; un serveur s&eacute;curis&eacute;, vous pouvez remplir votre formulaire en toute confiance.",  // SECURE_SERVER
    "Les symboles <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>  indiquent que votre transaction est s&eacute;curis&eacute;e, vous pouvez remplir votre formulaire en toute confiance. ",  // SECURE_SYMBOLS
    "N&#176; de carte : ",  // CARD_NUMBER
    "  Expire fin :  ",  // EXPIRES_END
    " 01-Janvier",  // JANUARY
    " 02-F&eacute;vrier",  // FEBRUARY
    " 03-Mars",  // MARCH
    " 04-Avril",  // APRIL
    " 05-Mai",  // MAY
    " 06-Juin",  // JUNE
    " 07-Juillet",  // JULY
    " 08-Ao\xFB" "t",  // AUGUST
    " 09-Septembre",  // SEPTEMBER
    " 10-Octobre",  // OCTOBER
    " 11-Novembre",  // NOVEMBER
    " 12-D&eacute;cembre",  // DECEMBER
    "Si vous utilisez une carte CB, MASTERCARD ou VISA, veuillez remplir le cadre ci-dessous",  // CARD_FRAME
    "Veuillez saisir votre cryptogramme visuel, les trois derniers chiffres apparaissant sur le panneau signature au verso de votre carte bancaire :  ",  // SECURITY_CODE
    "En savoir plus sur le cryptogramme visuel",  // SECURITY_CODE_INFORMATION
    " Vous avez compl&eacute;t&eacute; correctement le formulaire, vous pouvez ",  // FORM_COMPLETED
    "VALIDER",  // SUBMIT
    "ANNULATION - RETOUR A LA BOUTIQUE",  // CANCEL
    "RETOUR A LA BOUTIQUE",  // BACK_TO_THE_SHOP
    "Votre abonnement a bien &eacute;t&eacute; enregistr&eacute; ",  // SUBSCRIPTION_RECORDED
    "Votre num&eacute;ro d'abonn&eacute;",  // RECEIPT_SUBSCRIBER_ID
    "R&eacute;f&eacute;rence de la transaction ",  // ORDER_REFERENCE
    "Date de la transaction ",  // TRANSACTION_DATE
    "Montant de la transaction  ",  // ORDER_TOTAL
    "Num&eacute;ro de la carte  ",  // RECEIPT_CARD_NUMBER
    "Autorisation  ",  // AUTHORISATION
    "Certificat de la transaction ",  // TRANSACTION_CERTIFICATE
    "Merci de conserver la r&eacute;f&eacute;rence de la transaction.",  // KEEP_THE_REFERENCE
    "Suivant le param&eacute;trage de votre navigateur, une fen&ecirc;tre indiquant le retour en mode non s&eacute;curis&eacute; peut appara&icirc;tre. Ceci n'a aucun impact sur la confidentialit&eacute; des informations pr&eacute;c&eacute;demment echang&eacute;es.",  // LEAVING_THE_SECURE_SERVER
    "Votre paiement n'est pas accept&eacute; par votre &eacute;tablissement financier.",  // PAYMENT_REFUSED
    "Nous regrettons de ne pas pouvoir donner une suite favorable &agrave; votre demande.",  // CANNOT_COMPLETE
    "Votre mot de passe",  // PASSWORD
    " Consulter mon abonnement",  // VIEW_MY_SUBSCRIPTION
    " Modifier mon abonnement",  // UPDATE_MY_SUBSCRIPTION
    " Annuler mon abonnement",  // CANCEL_MY_SUBSCRIPTION
    " J'ai perdu mon mot de passe",  // LOST_MY_PASSWORD
    " Modifier ma carte bancaire",  // UPDATE_MY_CARD
    "\t\tVotre identification n'est pas accept&eacute;e par le serveur ORBA",  // IDENTIFICATION_REFUSED
    "Consommation",  // CONSUMPTION
    "Date d'inscription",  // REGISTRATION_DATE
    "Vos modifications ont bien &eacute;t&eacute; enregistr&eacute;es",  // MODIFICATIONS_RECORDED
    "Votre op&eacute;ration n'a pas &eacute;t&eacute; valid&eacute;e par le serveur ORBA",  // OPERATION_REFUSED
    "Veuillez confirmer l'annulation de votre abonnement",  // CONFIRM_CANCELLATION
    "Merci de compl&eacute;ter votre formulaire d'abonnement",  // FILL_IN_THE_FORM
  }},
}};

}  // namespace

std::string_view catalogue_text(CatalogueText text, Language language) {
  int number = static_cast<int>(text);
  if (number < 0 || number >= CATALOGUE_SIZE) number = 0;
  const CatalogueRow& row = CATALOGUE[language == Language::FRENCH ? 1 : 0];
  return row[static_cast<size_t>(number)];
}

}  // namespace pages
