// Which files a page loads by name, as a browser reads its attributes and styles.
#include "loaded_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace gallery {

namespace {

// The names `html` loads, each with the pages given as page 0.
std::set<std::string> loaded_by(const std::string& html) {
  LoadedNames names;
  add_loaded_names(html, 0, names);
  std::set<std::string> found;
  for (const auto& [name, pages] : names) found.insert(name);
  return found;
}

}  // namespace

TEST(LoadedNames, AttributesInAnyCaseQuotedOrNotAndStyleUrls) {
  EXPECT_EQ(loaded_by("<IMG SRC=CLEF.gif><a HREF = 'menu.html?x=1#top'>"
                      "<td Background=\"paper.gif\"><input type=image src=\"ok.gif\" BORDER=0>"
                      "<p style=\"background: URL( 'dots.png' )\"><style>h1 { background: url(head.png) }</style>"),
            (std::set<std::string>{"CLEF.gif", "menu.html", "paper.gif", "ok.gif", "dots.png", "head.png"}));
  // Not files of the template's folder, or not loaded at all.
  EXPECT_EQ(loaded_by("<a href=\"javascript:InfoCvv()\"><a href=\"#top\"><a href=\"https://shop.example/\">"
                      "<a href=mailto:shop@example.com><img data-src=\"lazy.png\"><!-- <img src=\"old.png\"> -->"
                      "<script>var s = '<img src=\"script.png\">';</script><p>see src=text.png</p>"),
            std::set<std::string>{});
  // Kept as written, for the index to show.
  EXPECT_EQ(loaded_by("<img src=\"../secret.txt\"><img src=\"/abs/logo.png\"><img src=\"C:\\shop\\logo.png\">"),
            (std::set<std::string>{"../secret.txt", "/abs/logo.png", "C:\\shop\\logo.png"}));
}

}  // namespace gallery
