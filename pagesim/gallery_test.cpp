// Runs the built pagesim-gallery in folders of their own and holds its pages
// against the built pagesim, run with ./parameters as the merchant's file
// followed by the LANGUAGE line.
#include "gallery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "private_folder.h"
#include "program_test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string TEMPLATE = "<body bgcolor=\"#ffffff\">\n<h1>Shop</h1>\n[ORBA]\n<p>Thanks</p>\n";

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = make_private_folder("pagesim-gallery"); }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the gallery in the merchant's folder with `parameters` and `shop_html`;
  // checks that the merchant's two files are left as they were.
  Spawned gallery(const std::string& parameters, const std::string& shop_html, const std::string& out_dir = "out") {
    write_bytes(dir_ / "parameters", parameters);
    write_bytes(dir_ / "shop.html", shop_html);
    Spawned run = spawn_program(GALLERY_BINARY, "pagesim-gallery", dir_, {"shop.html", out_dir});
    EXPECT_EQ(file_bytes(dir_ / "parameters"), parameters);
    EXPECT_EQ(file_bytes(dir_ / "shop.html"), shop_html);
    return run;
  }

  // What pagesim writes for `page_type` with `parameters` as ./parameters.
  std::string pagesim_page(const std::string& parameters, const std::string& shop_html, const std::string& page_type) {
    fs::path folder = make_private_folder("pagesim-reference");
    write_bytes(folder / "parameters", parameters);
    write_bytes(folder / "shop.html", shop_html);
    Spawned run = spawn_program(PAGESIM_BINARY, "pagesim", folder, {"shop.html", page_type});
    fs::remove_all(folder);
    return run.output;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(Gallery, PagesAreThoseOfPagesimWithTheLanguageLine) {
  // Options, and a last line without a line end.
  const std::string parameters = "# shop\nNO_COPYRIGHT\nSUB_TYPE!1!\nPASSWORD!yes!";
  Spawned run = gallery(parameters, TEMPLATE);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "32 pages written to out/index.html\n");
  EXPECT_EQ(run.errors, "");
  std::map<std::string, std::string> files = files_below(dir_ / "out");
  EXPECT_EQ(files.size(), 33u);
  EXPECT_EQ(files["record_capture.en.html"], pagesim_page(parameters + "\nLANGUAGE!en!\n", TEMPLATE, "RECORD_CAPTURE"));
  EXPECT_EQ(files["menu.fr.html"], pagesim_page(parameters + "\nLANGUAGE!fr!\n", TEMPLATE, "MENU"));
  EXPECT_EQ(files["update_pwd_confirm.fr.html"],
            pagesim_page(parameters + "\nLANGUAGE!fr!\n", TEMPLATE, "UPDATE_PWD_CONFIRM"));
  EXPECT_NE(files["index.html"].find("<a href=\"update_pwd_confirm.fr.html\">"), std::string::npos);
}

// A merchant's file that selects French does not turn the English pages
// French: the language is the gallery's.
TEST_F(Gallery, TheLanguageIsTheGallerys) {
  Spawned run = gallery("LANGUAGE!fr!\n", TEMPLATE);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(file_bytes(dir_ / "out" / "delete_subscription.en.html"),
            pagesim_page("#\n", TEMPLATE, "DELETE_SUBSCRIPTION"));
}

TEST_F(Gallery, FailingTemplateWritesEveryPageAndTheDiagnostics) {
  fs::create_directories(dir_ / "out");
  write_bytes(dir_ / "out" / "notes.txt", "the merchant's own\n");
  write_bytes(dir_ / "out" / "menu.en.html", "an earlier gallery\n");
  Spawned run = gallery("#\n", "<form action=\"a&b\">\n[ORBA]\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "32 pages written to out/index.html, 32 hold a diagnostic\n");
  std::map<std::string, std::string> files = files_below(dir_ / "out");
  EXPECT_EQ(files.size(), 34u);
  EXPECT_EQ(files["notes.txt"], "the merchant's own\n");
  EXPECT_EQ(files["menu.en.html"], pagesim_page("#\n", "<form action=\"a&b\">\n[ORBA]\n", "MENU"));
  const std::string diagnostic =
      "<div class=\"diagnostic\">Error line 1: your template file must not contain the HTML tags &lt; form &gt;, "
      "&lt; Form &gt; or &lt; FORM &gt; &lt;BR&gt;Your template contains errors, look at the pagesim documentation "
      "for more informations.\n</div>";
  std::string index = files["index.html"];
  std::size_t count = 0;
  for (std::size_t at = index.find(diagnostic); at != std::string::npos; at = index.find(diagnostic, at + 1)) ++count;
  EXPECT_EQ(count, 32u);
}

TEST_F(Gallery, UnwritableFolderIsRefusedWithItsPath) {
  write_bytes(dir_ / "taken", "a file, not a folder\n");
  Spawned run = gallery("#\n", TEMPLATE, "taken/gallery");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.errors, "pagesim-gallery: cannot create the folder taken/gallery\n");
  EXPECT_EQ(files_below(dir_).size(), 3u);
}
