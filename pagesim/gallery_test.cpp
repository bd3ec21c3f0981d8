// Runs the built pagesim-gallery in folders of their own and holds its pages
// against the built pagesim, run with ./parameters as the merchant's file
// followed by the LANGUAGE line.
#include "gallery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform.h"
#include "private_folder.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

const std::string TEMPLATE = "<body bgcolor=\"#ffffff\">\n<h1>Shop</h1>\n[ORBA]\n<p>Thanks</p>\n";

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = make_private_folder("pagesim-gallery"); }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the gallery in the merchant's folder with `parameters` and `shop_html`;
  // checks that the merchant's two files are left as they were.
  ProgramRun gallery(const std::string& parameters, const std::string& shop_html, const std::string& out_dir = "out") {
    write_file(dir_ / "parameters", parameters);
    write_file(dir_ / "shop.html", shop_html);
    ProgramRun run = run_program(GALLERY_BINARY, {"pagesim-gallery", "shop.html", out_dir}, dir_);
    EXPECT_EQ(read_file(dir_ / "parameters"), parameters);
    EXPECT_EQ(read_file(dir_ / "shop.html"), shop_html);
    return run;
  }

  // What pagesim writes for `page_type` with `parameters` as ./parameters.
  std::string pagesim_page(const std::string& parameters, const std::string& shop_html, const std::string& page_type) {
    fs::path folder = make_private_folder("pagesim-reference");
    write_file(folder / "parameters", parameters);
    write_file(folder / "shop.html", shop_html);
    ProgramRun run = run_program(PAGESIM_BINARY, {"pagesim", "shop.html", page_type}, folder);
    fs::remove_all(folder);
    return run.output;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(Gallery, PagesAreThoseOfPagesimWithTheLanguageLine) {
  // Options, and a last line without a line end.
  const std::string parameters = "# shop\nNO_COPYRIGHT\nSUB_TYPE!1!\nPASSWORD!yes!";
  ProgramRun run = gallery(parameters, TEMPLATE);
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
  ProgramRun run = gallery("LANGUAGE!fr!\n", TEMPLATE);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(read_file(dir_ / "out" / "delete_subscription.en.html"),
            pagesim_page("#\n", TEMPLATE, "DELETE_SUBSCRIPTION"));
}

TEST_F(Gallery, FailingTemplateWritesEveryPageAndTheDiagnostics) {
  fs::create_directories(dir_ / "out");
  write_file(dir_ / "out" / "notes.txt", "the merchant's own\n");
  write_file(dir_ / "out" / "menu.en.html", "an earlier gallery\n");
  ProgramRun run = gallery("#\n", "<form action=\"a&b\">\n[ORBA]\n");
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
  write_file(dir_ / "taken", "a file, not a folder\n");
  ProgramRun run = gallery("#\n", TEMPLATE, "taken/gallery");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.errors, "pagesim-gallery: cannot create the folder taken/gallery\n");
  EXPECT_EQ(files_below(dir_).size(), 3u);
}

// Links planted in the folder, by anyone who may write there: each file
// takes the link's place, never writing the file a link names elsewhere nor
// creating the one a link to nowhere names.
TEST_F(Gallery, LinksInTheFolderAreReplacedNotFollowed) {
  fs::create_directories(dir_ / "out");
  write_file(dir_ / "elsewhere", "not the gallery's\n");
  fs::create_symlink("../elsewhere", dir_ / "out" / "index.html");
  fs::create_symlink("../created", dir_ / "out" / "menu.en.html");
  ProgramRun run = gallery("#\n", TEMPLATE);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(read_file(dir_ / "elsewhere"), "not the gallery's\n");
  EXPECT_FALSE(fs::exists(dir_ / "created"));
  EXPECT_FALSE(fs::is_symlink(dir_ / "out" / "index.html"));
  EXPECT_FALSE(fs::is_symlink(dir_ / "out" / "menu.en.html"));
  EXPECT_EQ(read_file(dir_ / "out" / "menu.en.html"), pagesim_page("#\n", TEMPLATE, "MENU"));
}

// The template named as a page of the folder: refused before anything is
// written, the template whole.
TEST_F(Gallery, TemplateThatIsAFileOfTheGalleryIsRefused) {
  write_file(dir_ / "parameters", "#\n");
  write_file(dir_ / "menu.en.html", TEMPLATE);
  ProgramRun run = run_program(GALLERY_BINARY, {"pagesim-gallery", "menu.en.html", "."}, dir_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.errors, "pagesim-gallery: refusing to write ./menu.en.html: it is the template menu.en.html\n");
  EXPECT_EQ(read_file(dir_ / "menu.en.html"), TEMPLATE);
  EXPECT_EQ(files_below(dir_).size(), 2u);
}

// Two galleries writing into one folder at once would mix their pages: the
// second is refused while the first holds the folder's lock; the lock file
// that a killed run leaves holds nothing and blocks no one.
TEST_F(Gallery, OneRunAtATimeInAFolder) {
  fs::create_directories(dir_ / "out");
  std::string lock_path = (dir_ / "out" / "pagesim-gallery.lock").string();
  FolderLock held;
  ASSERT_EQ(lock_folder(lock_path, held), LockResult::LOCKED);
  ProgramRun refused = gallery("#\n", TEMPLATE);
  unlock_folder(held);
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.output, "");
  EXPECT_EQ(refused.errors,
            "pagesim-gallery: another pagesim-gallery is writing into out (it holds out/pagesim-gallery.lock); run "
            "again once it has finished\n");
  EXPECT_TRUE(fs::is_empty(dir_ / "out"));

  write_file(lock_path, "");
  ProgramRun after = gallery("#\n", TEMPLATE);
  EXPECT_EQ(after.status, 0);
  EXPECT_EQ(files_below(dir_ / "out").size(), 33u);
}
