#include "messages.h"

#include <array>

namespace {

using MessageRow = std::array<std::string_view, kMessageCount>;

// One row per language. The texts are ISO-8859-1 bytes as the browser gets
// them: accented French letters are HTML references, except the raw 0xFB of
// August, and the leading and trailing blanks and tabs are part of the layout.
constexpr std::array<MessageRow, 2> kCatalogue = {{
  {{
    "Block number unknown :",  // 0
    "(Mrs, Miss, Mr)",  // 1
    "Your lastname",  // 2
    "Your firstname",  // 3
    "Your address",  // 4
    "   ",  // 5
    "Postal code",  // 6
    "City",  // 7
    "Country",  // 8
    "Phone number",  // 9
    "E-mail",  // 10
    "Your subscriber id",  // 11
    "your subscription",  // 12
    "subscription amount",  // 13
    "choose a password",  // 14
    "retype to confirm",  // 15
    "Payment by card",  // 16
    "You are now in a secure server. You can now safely fill in the request form below :",  // 17
    "The symbols <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>  show that your payment is secure. You can now safely fill in the request form below : ",  // 18
    "Card Number : ",  // 19
    "  Expires end :  ",  // 20
    " 01-January",  // 21
    " 02-February",  // 22
    " 03-March",  // 23
    " 04-April",  // 24
    " 05-May",  // 25
    " 06-June",  // 26
    " 07-July",  // 27
    " 08-August",  // 28
    " 09-September",  // 29
    " 10-October",  // 30
    " 11-November",  // 31
    " 12-December",  // 32
    "If you use a CB, MASTERCARD or VISA card, please fill the frame below",  // 33
    "Please fill in your card security code, i-e the last three figures of the number written in the signature panel on the back of your creditcard :  ",  // 34
    "Information about card security code",  // 35
    " You have completed the form correctly, you may now ",  // 36
    "SUBMIT",  // 37
    "CANCEL - BACK TO THE SHOP",  // 38
    "BACK TO THE SHOP",  // 39
    "Your subscription has been recorded ",  // 40
    "Your subscriber id",  // 41
    "Order Reference ",  // 42
    "Transaction date ",  // 43
    "Order Total  ",  // 44
    "Card Number  ",  // 45
    "Authorisation  ",  // 46
    "Transaction certificate ",  // 47
    "Please keep the transaction reference.",  // 48
    "Depending on your browser's settings, a window indicating you are returning to a non-secure environment may appear. This does not affect the confidentiality of the information previously transferred.",  // 49
    "Your payment has been refused by your bank.",  // 50
    "Sorry, we can't complete your transaction.",  // 51
    "Your password",  // 52
    " View my subscription",  // 53
    " Update my subscription",  // 54
    " Cancel my subscription",  // 55
    " I have loose my password",  // 56
    " Update my card",  // 57
    "\t\tYour identification has been refused by the ORBA Server",  // 58
    "consumption",  // 59
    "Registration date",  // 60
    "Your modifications have been recorded",  // 61
    "Your operation has been refused by the ORBA Server",  // 62
    "Please confirm your subscription cancellation",  // 63
    "Please fill in this subscription form",  // 64
  }},
  {{
    "Num&#233;ro de bloc inconnu :",  // 0
    "(Mme, Mlle, Mr)",  // 1
    "Votre nom",  // 2
    "Votre pr&eacute;nom",  // 3
    "Votre adresse",  // 4
    "   ",  // 5
    "Code postal",  // 6
    "Ville",  // 7
    "Pays",  // 8
    "T&eacute;l&eacute;phone",  // 9
    "E-mail",  // 10
    "Votre num&eacute;ro d'abonn&eacute;",  // 11
    "Votre abonnement",  // 12
    "Montant de votre abonnement",  // 13
    "choisissez un mot de passe",  // 14
    "ressaisissez pour confirmer",  // 15
    "Paiement par carte",  // 16
    "Vous &#234;tes connect&eacute; &#224; un serveur s&eacute;curis&eacute;, vous pouvez remplir votre formulaire en toute confiance.",  // 17
    "Les symboles <IMG ALIGN=ABSMIDDLE ALT=\"SECURE_LOGO\" SRC=CLEF.gif>  indiquent que votre transaction est s&eacute;curis&eacute;e, vous pouvez remplir votre formulaire en toute confiance. ",  // 18
    "N&#176; de carte : ",  // 19
    "  Expire fin :  ",  // 20
    " 01-Janvier",  // 21
    " 02-F&eacute;vrier",  // 22
    " 03-Mars",  // 23
    " 04-Avril",  // 24
    " 05-Mai",  // 25
    " 06-Juin",  // 26
    " 07-Juillet",  // 27
    " 08-Ao\xFB" "t",  // 28
    " 09-Septembre",  // 29
    " 10-Octobre",  // 30
    " 11-Novembre",  // 31
    " 12-D&eacute;cembre",  // 32
    "Si vous utilisez une carte CB, MASTERCARD ou VISA, veuillez remplir le cadre ci-dessous",  // 33
    "Veuillez saisir votre cryptogramme visuel, les trois derniers chiffres apparaissant sur le panneau signature au verso de votre carte bancaire :  ",  // 34
    "En savoir plus sur le cryptogramme visuel",  // 35
    " Vous avez compl&eacute;t&eacute; correctement le formulaire, vous pouvez ",  // 36
    "VALIDER",  // 37
    "ANNULATION - RETOUR A LA BOUTIQUE",  // 38
    "RETOUR A LA BOUTIQUE",  // 39
    "Votre abonnement a bien &eacute;t&eacute; enregistr&eacute; ",  // 40
    "Votre num&eacute;ro d'abonn&eacute;",  // 41
    "R&eacute;f&eacute;rence de la transaction ",  // 42
    "Date de la transaction ",  // 43
    "Montant de la transaction  ",  // 44
    "Num&eacute;ro de la carte  ",  // 45
    "Autorisation  ",  // 46
    "Certificat de la transaction ",  // 47
    "Merci de conserver la r&eacute;f&eacute;rence de la transaction.",  // 48
    "Suivant le param&eacute;trage de votre navigateur, une fen&ecirc;tre indiquant le retour en mode non s&eacute;curis&eacute; peut appara&icirc;tre. Ceci n'a aucun impact sur la confidentialit&eacute; des informations pr&eacute;c&eacute;demment echang&eacute;es.",  // 49
    "Votre paiement n'est pas accept&eacute; par votre &eacute;tablissement financier.",  // 50
    "Nous regrettons de ne pas pouvoir donner une suite favorable &agrave; votre demande.",  // 51
    "Votre mot de passe",  // 52
    " Consulter mon abonnement",  // 53
    " Modifier mon abonnement",  // 54
    " Annuler mon abonnement",  // 55
    " J'ai perdu mon mot de passe",  // 56
    " Modifier ma carte bancaire",  // 57
    "\t\tVotre identification n'est pas accept&eacute;e par le serveur ORBA",  // 58
    "Consommation",  // 59
    "Date d'inscription",  // 60
    "Vos modifications ont bien &eacute;t&eacute; enregistr&eacute;es",  // 61
    "Votre op&eacute;ration n'a pas &eacute;t&eacute; valid&eacute;e par le serveur ORBA",  // 62
    "Veuillez confirmer l'annulation de votre abonnement",  // 63
    "Merci de compl&eacute;ter votre formulaire d'abonnement",  // 64
  }},
}};

}  // namespace

std::string_view message_text(int number, int language) {
  if (number < 0 || number >= kMessageCount) number = 0;
  const MessageRow& row = kCatalogue[language == 1 ? 1 : 0];
  return row[static_cast<size_t>(number)];
}
