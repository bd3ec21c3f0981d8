#include "fragments.h"

#include <array>

#include "messages.h"
#include "output.h"

namespace {

// Sample responses of the shop forms, indexed by DataBlob. They are opaque to
// the merchant's shop in a preview; only their lengths match real ones.
constexpr std::array<std::string_view, 9> DATA_BLOBS = {
    // CARD_ENTRY: 652 digits
    "6b46b7c3095ad8faacccbbd91eb5934b387e9a29d0d784cd6a89753829c28a15ea82c0078b73c3f7259de7f118f606a8"
    "5c961a094ce84179ef629ba4417a46dc83cfa93e5bdfbf1c1a0d34d5dfc784ecedf15a9f79ce5a101780b62967e67060"
    "498281f315946b3f40f6934854188d089d7ca3bc5b2bc8accbc8c6cd1761931ccf1d12909e5b3afe842a4c848b58a863"
    "7345b5ea76f3a0a0ea77fac63062cfe23e3783e8750312e4e00fa5b540385791e70430eb2c44e9a8146dcff78b4ca0a7"
    "82d163e7c6ceaf39992c3aa16a5b4dc83b17ef1add25b9a67224fd1024736cf73329bb3c353286939112acbf43e0ed6d"
    "608c3521136fb20a1e44d60ec2501bac507bbec579562721b593225b8bf1b42042e98d8c3a9096b0a5ed1cc907fb2291"
    "652e342aad0dab32a606a0511bfe669ca9d8a90e410cdd762dbce01cd5809831ea49c1f28b79"
    ,
    // RECORD_ACCEPTED: 872 digits
    "9d328a2528dbe2a73a3899fc6af9f556e76668cc58b56e258d1c39ceb263988f8be5baf68d3a517ce3d01fe94890c90a"
    "ff45152c01439a6d7cacd2037d141d7ccf283d0013155234f2aca2b8cc7bda3a73d98e3c47e5b77740a0c6dceae21a57"
    "16fe5aa56584c55feaee862186fa70ed585a5e280986bcee9183edc365bc4df2a8f1d1cfd6360f5389b8a9621421200f"
    "8ef016c8cb1462a11323c7bc2f0063a8d7a124d15a419d8a7c5e3e44d4cd43c3723d0c3412b41f26dfef5e19eae766f5"
    "1e8a3403c4af218e6547e20e4ee130377a33b170c8decef12598863f9735d97814a3f518cfa60aa32be164121ecde7bf"
    "8068525d1ac413ec557b7d663e68287e9f5f734ba6f1e341a37eef50e4a587ab839937ae9069714ba01a950bb3b29ac2"
    "74551d38ab12cd12ad421b77ad7568fa11bb46f2225c324576512d55bf4b3abc7d95c637430df2e48f6878d0570307ca"
    "76be07d1028dd83385b49e9fcbb8654f6406d53ba3fd57b386df2ebe4c7ce3518d7099a6a4a1ee8172df7c87f5c0ba3d"
    "b8f9184da3ac1d0417c747b43f3fe6c58d22b5467713bb380824c48fb8bf506bec24d44d42520678ece6d145928fafde"
    "c3a56338"
    ,
    // RECORD_REFUSED: 786 digits
    "b52f1cebeca9e44be662dcf94a0038fb5f083d76a245a65d2437496e882650efb0b55cfea591f4183d1d1ba209e27fa1"
    "bf457b7a61ac3c68715e5530ddc01bd80887625daf63cdec2862140aab356662efc31baef5b3029c9fce566fa7f82d91"
    "dcbc419daa00e8128301c8b16b5578ea76a96f84cf915a98012e39b0269499ddc246490ca62a6ce8931e91b21a778d07"
    "75c42bd9c39c294516be7556947d7de4120b299d64f747be189da1eaaae24a8ee40ab3a0ee4080a4021a5370bfb385ed"
    "c1d2366cd20344c9322111f20717ef0fa85fb5bbb69e7e35fc47d143867675af88f0a2e5c1bd49f0cf68f7dba64f2e89"
    "9eab1a85adfccdad03f8788900eb0327fdd36ce83a22539823f91f9c905644b1a984cbd78ce539dc561326283e0b19ed"
    "61c13c6c611a263cb869f50c8179831a290761237b099921ccfbc53f8ddce61c38dfc2eca4a2aaf236f2350ec58eeaff"
    "e5b28c9cb1896b0a4b7a3f975c7a0a310289485aece3b262500fb553020e33c9a0fc2682ee05187700b4c36566ee7938"
    "d3e08f6e343eb67c9a"
    ,
    // MENU: 784 digits
    "a7267e2ad23508bc49df8026ee9d2a50456304e03686f47c29fad14b9754aa80c2bc2bf15a0447d6cfd99eb45c6191a0"
    "dd86e3455591871055ecaccf882bcd41a20669c432cddc5b75a999fb01998b1c148fdde46ffc1a2fcd396cfb1e9ebb60"
    "ac04621d6313f3564823986ac422fd0073e3d7dc38388eb8b9aeb36ecbf90cb2da714f42ac2387a15956b8f49389dde4"
    "3894ceb63f1cd99d5e10e52d08767fd3c90ae4a061f7cd8416a1ba8e90792402e7edc809213af2014e5ff33e908b8032"
    "d80611c543805a7456459b6209fb7a0b80afde7d11e8f52dc0f58164499b0670f256e0d8ebdede54d6f3c8f5bb08800e"
    "8cc1e748699b9a1eea14dd998f600c53338ee4b5ea166b25b01d1a2acc806825800fd0503e8f9873e6ca6ef3e04ee18b"
    "1b85a8c4380665b9b1f8f96a4a4a73342400505562eb44aa790371ffd0ebf28e9ef2266f6ba894fcb3a929e9ef773e14"
    "185a1aa892ea2c8da38490e8b0f7addf95c644739b4ab0fe14c7f7f8f720c46c18a53b7110271e9ecbf5b479bedc3e0f"
    "b229274908a32b8d"
    ,
    // ACCOUNT_REFUSAL: 786 digits
    "e55fa035af76ae6a75b71ade02282192a9a32166ebcc154f23b97a82c3731dde141a7a91f22c3a7c052a2863c76dfd47"
    "f018c361029bb86a976c4b2e3b09149b30a3a72f656711b5c0ba6888732ee816ad6be3b9f22761317adf25ee711ffd35"
    "0669d8b898ad8cdaa99e508742f310d5b007fc8009e5821700a81bff06424c58cfd0e406b1f4c46671b0c88069761095"
    "9b3b7d5d144df4e7599bd203159f10b45a0207e238477742a48ce7d3fbaa1cd2241e2b9c2fd2ccdffedbbcdbb32b076d"
    "c1a633637a334ed616d35cd9fff3ed9bf210af716b5e6abfc68d5f111d74824ed7ae0e840331fe4a31e6ed03fdf58cbe"
    "8a43d4b6803a67ee5a255e203c66e98ac60eaa7c7242c9efc25d713a5621a8ce6cb20634a546585783f7172d664857c6"
    "a4072242777f369d7de2c4d4556df1e8fe89d5698f682c3ce2ca05c05aec8246cbe6a3790004abd146f07cd5caf3e16b"
    "7101a5e4ae995434d7abf54fd057ef76a7be78908f5c164b6d3b591fbff391592062378d05ad3e524e310c28acfa9cb4"
    "01176bd3fdb53a6080"
    ,
    // VIEW_INFO: 1314 digits
    "de499bb9dd03e9824826fa8fb2e58d0e75b615a7c25c0a7d9bbef7cb0aec0dfeb882e6836639488e409243d87992a243"
    "50cc4cb468b9430733d47a03c1b56c16c39721840f016531328932095a067c0fb6cfa86d36a41af308f583365d563ebf"
    "120d88924c6297e52ddc5552305e925f1a9e768bb6417a0a71fef812a19f8571c787c251a74718c75f0f80ffdfbb4aee"
    "77bbe161eb9205446572a5a730690e346cb4c17f099702063db899aec0d11fbca5c703e100fd20cd90395c073fa233a7"
    "192cb1cef76f32174a644dcecd2abaec23f9b1c8274e5e65c3735bde83db80ea97dea9eb89d1019565fedac5de8f9b9e"
    "d2e6648bf9fe0e4cbb5f2d9ea1393167aa4cd5d3060af560c9b36be8c502e5a27b7f543b0545ef35ec300d8164e1cd3f"
    "686981ee5dac927b98c5565a946a8767fc86e333b022d31b82aa5741a5e97b1584ec51832adfd93483e1b58dd8c9db0d"
    "59bf7a106248265855fc220ad557519cecc575a97840657be757774348a51bfa93b953ad732afc43aee62d3404251ee0"
    "fc8a0033ef4028e8c977ed01501ccd9576f7c34595b7a87aa62972ebfe30eb09841bffa754973d9621de8bad1068a616"
    "2c9a73a135c5ca047314c5a7039f0ea4250cf7879694583c880568e3fc9fc7afb3a4b5a220eb952eedec9a3e80bd3a06"
    "212970c114ebb5541380a889a9960f7d97d105a0082764ffe1f9d90e82be9fce8a89b2e243e014688c4910b75810649f"
    "64ff90cace5b342b0fa1fe473c53d3b2cbdb0d244756bfcc5410a7eaa59cab951874d2c934f114306630c57609dca875"
    "d01251f31967e1c67538c286b4ec45f1a2cad3a3c05456ba80ef556f200359a8b2974dee0c00e0e8493d6524f3f753c7"
    "7eb7e1ecceaefc9cf78d4bf72f25b15b6aaa13abc282cf8755c07105c92e618ec3"
    ,
    // UPDATE_INFO: 794 digits
    "4560944c2ea38dc12d60844b8a14487715e0d1dad9fcd83443d8db0526a5541bce1154c7074d139c128572dcacb52b13"
    "37e36ccb33ea4d06a31154326a1890cbd15b48c03c27104818f44f25564f712543631156375d1d76e48fa59e8bc691bf"
    "643b355f5a7d3d39d931ff883699ca93089a4f0989b372177ce6efd0b9cda072d18b6467b3f5727407e4bde766ae76cc"
    "b60f27de9eec77ada27f383ffa3e55f1bcbbaad3f727c4925a8fca8339d7e2f4bc2b9b674f2a303cf47dd38708e6212e"
    "e3fe810f06c1685862b667a73bdc5d759d519c7942855d915947f3bf3911892df18541987767a3b179812ef14488c697"
    "bf2470f687cf9ba7313bf9dc2e91a615b91f8626595c6a55bcf1337978694bc7ae66beacaf9b260b34cdda4d0c20da24"
    "4e0d48e8f8467becac1888de7c5419242b8db939014e7121a0bee55a06d2ff2253dbf4050cb9027a501d6317f28e0c3f"
    "daa115284ddc6c51d04a6efa3c2c8bcfc17dc67afdac202357668966c4f1ac402d4ce74b878c682050928c34d91421b6"
    "712319f4c8ffed5d70318ddee0"
    ,
    // CONFIRMATION: 1318 digits
    "7dd7c2841df542d0173eba53e212b3370083becc101b2d0082ddcf622581134be17fbc56a2585aaf30affaed3c5d43da"
    "58ee04e080396eee04edf55fbc4e80a4c715ef2a0a35b62a6b9d60b51542fcbb6648e6806cd5aa2546011b962f3835b6"
    "fe65790e21f23cd5d98441db8b3f2a92d6f8273afddfa9456a7a8834393adc6defff9b5b19392c664403c34316b6df92"
    "2262f8cbc903dcaf4764acb7e644006cef5dc570b3b1d5c882783e10feb2cc3015c374c4ad8eabea89e6fb72507484b8"
    "4c518cc557214d322ec9601c81bdecbaed430731a1f0b904b445308831b3aca9838b6615ca107446a84a638dfe5d7c2a"
    "e74f1d7395ab8181fc99ffd25bb7466b361cf3881f810ed96cfd0c8e5e9aee6be92d89f5e7c017df3ed54ad44c22194a"
    "0d3686c226cd2d4b4511c4b3062d3954c25c97e5b658377f6d9b2cefc8a4401855341057630d4111fcc9173403ead92c"
    "79da972baabf9e792831500114b0e324ea73f2ef71c562f1dfaa6bb0520022b5a539673ce424edf226999fd8148d62d0"
    "fd6d1cb6d50ca44b60555e52f2783c59b1c08178bafd4f93c4d800124f00c10e65bfa086786341b2ee95230cc756ad5b"
    "b5087a57f265fc7ac0a6795d07b681ae650f8a2065516dd8cc9db57f67edf908a3301b9cd6bc41106b635fc0e2a99670"
    "45323516116603c66b85f5577b18cc76747e17fa4531f1fdb6d476c52bc21548956a3b099fc5a4aa90c6cd113768f850"
    "1e782912345a024e6897a7e90b755feb61829ac7dd8e01be2e6a753693184e6e54934646ffea3f7c8c398a7e292ebb09"
    "41d314bfb8e0db75542ad0dbfd12e670e02f57249887dbc9acad78bca9225739d96f50be6b3acb4739c69cf220e5c5a6"
    "09ef022812888714796b2042e625f14c9a87e695640cb575d03ef5bb21ec14b57a2268"
    ,
    // DELETE_SUBSCRIPTION: 824 digits
    "056b3544ae1b287d3ecb571572fc95c4d870255df75aaa1a88781a1c8f70f395c84008d7072b168ffd4ae04ad296c4b3"
    "84ad80dd2b9ce1b81cc5bb4904c21c16f81d3465ecef9b0a233abcc29f64761dead71c1ebc8506892e5f0e9d92dcffc7"
    "e09e0faf56ee838835b2f49aa0e84643910da833ba4d809791dfffda28ed32bc13527c185b131cd642e093d5bacfcf28"
    "c5c9840b261b05205377e065d53c05050d2371606d3428ee950cc37f5819b3e3ae3deb1ade630b67baa4dfa883412b09"
    "f5ace0295eb338efc1646a06357b7e3c9847192347c4bc6c8cccd91e34b97d8fe05e0c8ba621ebe8f16d4f3f40b57b22"
    "874dd804d31cb1aa18d865e811dcf02f3fa76a69060fd2447fa3609a8c060320e0dc46b8eec2a52e05aa8912e9dd3320"
    "57b2cf51c19382b6e506b8d7853dfe49297489c5e27d42ae4a8a901b59fe60b81f5ec2190e46165b1d7003dff22840ce"
    "841df61029c0054f3c281b9d3a09ed4a561ee5a5ec266371f9d564773ac674adbd9c74884d4bb060f5467b58b04fdfc2"
    "c3bb7fe30d95bc34c8e982d51f8fe9f0cdd9be0959ce0d46d8ff2c4e"
    ,
};

// The two forms of one button: the image input, with the logo in place of %s,
// and the text input, with the catalogue message in place of %s.
struct ButtonForms {
  std::string_view image;
  std::string_view text;
  Message message;
};

constexpr ButtonForms SUBMIT_BUTTON = {
    "<INPUT TYPE=IMAGE ALT=\"\" NAME=PAIEMENT ALIGN=ABSMIDDLE SRC=%s BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"VALID\" VALUE=\"%s\">", Message::SUBMIT};
constexpr ButtonForms CANCEL_BUTTON = {
    "<INPUT TYPE=IMAGE ALT=\"\" NAME=\"ANNULATION\" SRC=\"%s\" BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"PAIEMENT\" VALUE=\"%s\">", Message::CANCEL};
constexpr ButtonForms RETURN_BUTTON = {
    "<INPUT TYPE=IMAGE NAME=\"PAIEMENT\" SRC=\"%s\" BORDER=0>",
    "<INPUT TYPE=SUBMIT NAME=\"RETOUR\" VALUE=\"%s\">", Message::BACK_TO_THE_SHOP};

// Writes one button: its image form when the merchant gave a logo, else its
// text form in the page's language.
void print_button(const ButtonForms& button, const std::string& logo, int language) {
  if (!logo.empty()) {
    emit_filled(button.image, {logo});
  } else {
    emit_filled(button.text, {message_text(button.message, language)});
  }
}

// Opens the form that is posted back to the merchant's shop.
void print_shop_form_open() {
  emit("<FORM METHOD=POST ACTION=\"");
  emit(SHOP_RESPONSE_URL);
  emit("\">");
}

// Writes the hidden DATA field of a shop form with the page's sample response.
void print_data_field(DataBlob page) {
  emit_filled("<INPUT TYPE=HIDDEN NAME=\"DATA\" VALUE=\"%s\">", {data_blob(page)});
}

}  // namespace

std::string_view data_blob(DataBlob page) { return DATA_BLOBS[static_cast<size_t>(page)]; }

void print_merchant_fields() {
  emit("<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=011223344550000><INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=fr>");
}

void print_account_form_open(std::string_view action, std::string_view operation, std::string_view subscriber,
                             std::string_view user) {
  emit_filled("<FORM METHOD=POST ACTION=%s NAME=DATA_CAPTURE>"
              "<INPUT TYPE=HIDDEN NAME=OPERATION VALUE=%s>"
              "<INPUT TYPE=HIDDEN NAME=SUBSCRIPTION_SUBSCRIBER VALUE=%s>"
              "<INPUT TYPE=HIDDEN NAME=USER VALUE=%s>",
              {action, operation, subscriber, user});
  print_merchant_fields();
}

void print_submit_button(const PageOptions& options) {
  print_button(SUBMIT_BUTTON, options.SUBMIT_LOGO, options.LANGUAGE);
}

void print_cancel_button(const PageOptions& options) {
  print_button(CANCEL_BUTTON, options.SUB_CANCEL_LOGO, options.LANGUAGE);
}

void print_return_button(const PageOptions& options) {
  print_button(RETURN_BUTTON, options.NORMAL_RETURN_LOGO, options.LANGUAGE);
}

void print_shop_form_with_cancel(const PageOptions& options, DataBlob page) {
  print_shop_form_open();
  emit("<center>");
  print_data_field(page);
  print_cancel_button(options);
  emit("</center></FORM>");
}

void print_shop_form_with_return(const PageOptions& options, DataBlob page) {
  emit("<center>");
  print_shop_form_open();
  print_data_field(page);
  print_return_button(options);
  emit("</FORM></center>");
}

void print_card_entry_block(const PageOptions& options, CvvLinkText link) {
  const int lang = options.LANGUAGE;
  emit("<br>");
  if (!options.NO_SEC_MSG) {
    Message notice = options.NO_SSL_SYMBOLS ? Message::SECURE_SERVER : Message::SECURE_SYMBOLS;
    emit_filled("<b>%s</b><br><br><br>", {message_text(notice, lang)});
  }
  emit("<center>");
  emit("<TABLE BORDER=0 CELLSPACING=5>");
  emit("<TR VALIGN=MIDDLE>"
       "<TD><IMG BORDER=0 SRC=\"VISA.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"VISA\" CHECKED  OnCLick=SetOption(this,\"VISA\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "<TD><IMG BORDER=0 SRC=\"CB.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"CB\" OnCLick=SetOption(this,\"CB\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "<TD><IMG BORDER=0 SRC=\"MASTERCARD.gif\"></TD>"
       "<TD><INPUT TYPE=\"RADIO\" NAME=\"CARD_TYPE\" VALUE=\"MASTERCARD\" OnCLick=SetOption(this,\"MASTERCARD\")></TD>"
       "<TD><IMG SRC=\"INTERVAL.gif\"></TD>"
       "</TABLE>");
  emit("</center>");
  emit_filled("<br>%s<INPUT TYPE=TEXT SIZE=19 MAXLENGTH=19 NAME=CARD_NUMBER VALUE=\"\">%s",
              {message_text(Message::CARD_NUMBER, lang), message_text(Message::EXPIRES_END, lang)});
  emit_filled("<SELECT NAME=CARD_VAL_MONTH SIZE=1>"
              "<OPTION VALUE=\"01\">%s<OPTION VALUE=\"02\">%s<OPTION VALUE=\"03\">%s"
              "<OPTION VALUE=\"04\">%s<OPTION VALUE=\"05\">%s<OPTION VALUE=\"06\">%s"
              "<OPTION VALUE=\"07\">%s<OPTION VALUE=\"08\">%s<OPTION VALUE=\"09\">%s"
              "<OPTION VALUE=\"10\">%s<OPTION VALUE=\"11\">%s<OPTION VALUE=\"12\">%s"
              "</SELECT>",
              {message_text(Message::JANUARY, lang), message_text(Message::FEBRUARY, lang),
               message_text(Message::MARCH, lang), message_text(Message::APRIL, lang), message_text(Message::MAY, lang),
               message_text(Message::JUNE, lang), message_text(Message::JULY, lang),
               message_text(Message::AUGUST, lang),
               message_text(Message::SEPTEMBER, lang), message_text(Message::OCTOBER, lang),
               message_text(Message::NOVEMBER, lang), message_text(Message::DECEMBER, lang)});
  emit("/ ");
  emit("<SELECT NAME=\"CARD_VAL_YEAR\" SIZE=1>"
       "<OPTION VALUE=\"03\" SELECTED> 2003<OPTION VALUE=\"04\"> 2004<OPTION VALUE=\"05\"> 2005"
       "<OPTION VALUE=\"06\"> 2006<OPTION VALUE=\"07\"> 2007<OPTION VALUE=\"08\"> 2008"
       "<OPTION VALUE=\"09\"> 2009<OPTION VALUE=\"10\"> 2010<OPTION VALUE=\"11\"> 2011"
       "<OPTION VALUE=\"12\"> 2012<OPTION VALUE=\"13\"> 2013"
       "</SELECT>");
  emit_filled("<br><br>%s<br><br>", {message_text(Message::CARD_FRAME, lang)});
  emit_filled("<TABLE BORDER='1'><TR><TD>%s<INPUT TYPE=TEXT SIZE=3 MAXLENGTH=3 NAME=\"CVV_KEY\" VALUE=\"\"><br>"
              "<script type=\"text/javascript\">",
              {message_text(Message::SECURITY_CODE, lang)});
  emit("<!--");
  emit("function InfoCvv() {");
  // The explanation page exists only in French, whatever the page language.
  emit("window.open('/images/logo_serveur/commun/cryptogramme.fr.html','A1','width=700,height=450, status=no, "
       "directories=no, toolbar=no, location=no, menubar=no,scrollbars=no, resizable=no')");
  emit("}// --></script>");
  if (link == CvvLinkText::PAGE_LANGUAGE) {
    emit_filled("&nbsp;&nbsp;<a href=\"javascript:InfoCvv()\" onmouseover=\"window.status='%s'\"> %s </a>"
                "</TR></TD></TABLE>",
                {message_text(Message::SECURITY_CODE_INFORMATION, lang),
                 message_text(Message::SECURITY_CODE_INFORMATION, lang)});
  } else {
    emit_filled("&nbsp;&nbsp;<a href=\"javascript:InfoCvv()\" onmouseover=\"window.status='%s'\">"
                " En savoir plus sur le cryptogramme visuel </a></TR></TD></TABLE>",
                {message_text(Message::SECURITY_CODE_INFORMATION, lang)});
  }
  if (!options.NO_VALID_MSG) {
    emit_filled("<br>%s", {message_text(Message::FORM_COMPLETED, lang)});
  } else {
    emit("<br><br>");
  }
  // The sample merchant 011223344550000 of country fr.
  emit("<INPUT TYPE=HIDDEN NAME=USER VALUE=\"1226@011223344550000\">"
       "<INPUT TYPE=HIDDEN NAME=CARD_MODE VALUE=\"SUB_RECORD\">"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_ID VALUE=\"011223344550000\">"
       "<INPUT TYPE=HIDDEN NAME=MERCHANT_COUNTRY VALUE=\"fr\">");
  emit("<script>InitOption(this)</script>");
  print_submit_button(options);
  emit("</form>");
  emit("<hr size=2>");
  print_shop_form_with_cancel(options, DataBlob::CARD_ENTRY);
}
