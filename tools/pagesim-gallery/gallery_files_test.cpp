// The files beside the gallery's pages: what is copied from the template's
// folder, drawn as a stand-in or left out.
#include "gallery_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "private_folder.h"

namespace gallery {

namespace fs = std::filesystem;

class Placing : public PrivateFolderTest {
 protected:
  void SetUp() override { fs::create_directories(dir_ / "shop"); }

  // Places `names` for the template shop/shop.html; the files written land
  // in `written_`.
  std::vector<PlacedFile> place(const LoadedNames& names) {
    std::vector<PlacedFile> placed;
    std::string err;
    EXPECT_TRUE(place_loaded_files(
        names, (dir_ / "shop" / "shop.html").string(), (dir_ / "out").string(), {"index.html", "menu.en.html"},
        [&](const std::string& name, const std::string& bytes, std::string*) {
          written_[name] = bytes;
          return true;
        },
        placed, &err));
    return placed;
  }

  std::map<std::string, std::string> written_;
};

// A stylesheet's own images go with it, for the pages that load the
// stylesheet; a server image the merchant has is the merchant's.
TEST_F(Placing, StylesheetImagesFollowAndTheMerchantsServerImageIsCopied) {
  write_file(dir_ / "shop" / "shop.css", "@import 'print.css';\nbody { background: url(\"beans.png\") }\n");
  write_file(dir_ / "shop" / "print.css", "h1 { background: url(head.png) }\n");
  write_file(dir_ / "shop" / "beans.png", "beans");
  write_file(dir_ / "shop" / "head.png", "head");
  write_file(dir_ / "shop" / "VISA.gif", "the merchant's own");
  write_file(dir_ / "shop" / "index.html", "the merchant's home page");
  write_file(dir_ / "shop" / "unnamed.png", "not loaded by any page");
  std::vector<PlacedFile> placed = place({{"shop.css", {0, 1}}, {"VISA.gif", {1}}, {"CB.gif", {1}}, {"index.html", {0}}});
  std::map<std::string, PlacedFile> files;
  for (const PlacedFile& file : placed) files[file.name] = file;

  EXPECT_EQ(written_.size(), 6u);
  EXPECT_EQ(written_["head.png"], "head");
  EXPECT_EQ(files["head.png"].fate, FileFate::COPIED);
  EXPECT_EQ(files["head.png"].pages, (std::set<std::size_t>{0, 1}));
  EXPECT_EQ(written_["VISA.gif"], "the merchant's own");
  EXPECT_EQ(files["CB.gif"].fate, FileFate::STAND_IN);
  EXPECT_EQ(written_["CB.gif"].substr(0, 6), "GIF89a");
  EXPECT_EQ(files["index.html"].fate, FileFate::GALLERY_OWN);
  EXPECT_EQ(count_not_copied(placed), 1);
}

}  // namespace gallery
