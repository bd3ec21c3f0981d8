// Runs the built pagesim-gallery in folders of their own and holds its pages
// against the built pagesim, run with ./parameters as the merchant's file
// followed by the LANGUAGE line.
#include "gallery.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "platform/lock.h"
#include "private_folder.h"
#include "run_program.h"

namespace gallery {

namespace fs = std::filesystem;

namespace {

const std::string TEMPLATE = "<body bgcolor=\"#ffffff\">\n<h1>Shop</h1>\n[ORBA]\n<p>Thanks</p>\n";

class Gallery : public PrivateFolderTest {
 protected:
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
    PrivateFolder folder;
    ::write_file(folder.path / "parameters", parameters);
    ::write_file(folder.path / "shop.html", shop_html);
    return run_program(PAGESIM_BINARY, {"pagesim", "shop.html", page_type}, folder.path).output;
  }
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
  // The pages, the index, the reload script and the stand-ins of the five
  // server images that the card pages load.
  EXPECT_EQ(files.size(), 39u);
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
  EXPECT_EQ(files.size(), 35u);
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

// A copy of a file the template loads never takes the place of an input:
// a template in its own folder that links to "parameters", written into the
// merchant's folder, would have overwritten the merchant's options.
TEST_F(Gallery, CopyThatWouldReplaceTheParametersFileIsRefused) {
  fs::create_directories(dir_ / "shop");
  write_file(dir_ / "parameters", "NO_COPYRIGHT\n");
  write_file(dir_ / "shop" / "shop.html", "<a href=\"parameters\">options</a>\n[ORBA]\n");
  write_file(dir_ / "shop" / "parameters", "the shop folder's own\n");
  ProgramRun run = run_program(GALLERY_BINARY, {"pagesim-gallery", "shop/shop.html", "."}, dir_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "pagesim-gallery: refusing to write ./parameters: it is the Parameters file ./parameters\n");
  EXPECT_EQ(read_file(dir_ / "parameters"), "NO_COPYRIGHT\n");
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
  EXPECT_EQ(files_below(dir_ / "out").size(), 39u);
}

// The lines the watching gallery has written to `out` so far, once there are
// at least `count` (or ten seconds have passed).
std::string watch_lines(const fs::path& out, std::size_t count) {
  for (int waited = 0; waited < 1000; ++waited) {
    std::string lines = read_file(out);
    std::size_t ends = 0;
    for (char c : lines) ends += c == '\n';
    if (ends >= count) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return read_file(out);
}

// An editor that saves by moving the old file aside and writing the new one
// a moment later leaves no template for that moment: the gallery is written
// once, from the new template, never from the missing one. A template that
// fails its checks is shown with its diagnostics and the watch goes on;
// Ctrl-C then ends it with every file whole, no temporary file and no lock
// left.
TEST_F(Gallery, WatchWritesOnceAfterATwoStepSaveGoesOnAfterAFailureAndEndsWholeOnInterrupt) {
  write_file(dir_ / "parameters", "#\n");
  write_file(dir_ / "shop.html", TEMPLATE);
  pid_t pid = start_program(GALLERY_BINARY, {"pagesim-gallery", "--watch", "shop.html", "gallery"}, dir_);
  ASSERT_GT(pid, 0);
  // start_program's capture of standard output, beside the folder.
  fs::path out = dir_.string() + ".stdout";
  ASSERT_NE(watch_lines(out, 1), "");

  const std::string saved = "<h1>Coffee</h1>\n[ORBA]\n";
  fs::rename(dir_ / "shop.html", dir_ / "shop.html~");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  write_file(dir_ / "shop.html", saved);
  std::string lines = watch_lines(out, 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(read_file(out), lines) << "one save, one writing";
  EXPECT_EQ(lines.substr(lines.find('\n') + 9), " 32 pages written to gallery/index.html\n");
  EXPECT_EQ(read_file(dir_ / "gallery" / "menu.fr.html"), pagesim_page("#\nLANGUAGE!fr!\n", saved, "MENU"));

  write_file(dir_ / "shop.html", "<form>\n[ORBA]\n");
  lines = watch_lines(out, 3);
  EXPECT_EQ(lines.substr(lines.rfind('\n', lines.size() - 2) + 9),
            " 32 pages written to gallery/index.html, 32 hold a diagnostic\n");
  write_file(dir_ / "shop.html", saved);
  EXPECT_EQ(watch_lines(out, 4).substr(lines.size() + 8), " 32 pages written to gallery/index.html\n");

  kill(pid, SIGINT);
  ProgramRun run = wait_program(pid, dir_);
  EXPECT_EQ(run.signal, SIGINT);
  std::map<std::string, std::string> files = files_below(dir_ / "gallery");
  EXPECT_EQ(files.size(), 39u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

// The folder removed while the gallery watches, and another run's lock in
// the folder made in its place: the watch writes none of its pages into the
// other run's folder, says why in one line and ends, leaving the other run's
// lock where it is.
TEST_F(Gallery, WatchWhoseFolderIsTakenEndsWritingNothingThere) {
  write_file(dir_ / "parameters", "#\n");
  write_file(dir_ / "shop.html", TEMPLATE);
  pid_t pid = start_program(GALLERY_BINARY, {"pagesim-gallery", "--watch", "shop.html", "gallery"}, dir_);
  ASSERT_GT(pid, 0);
  ASSERT_NE(watch_lines(dir_.string() + ".stdout", 1), "");

  fs::remove_all(dir_ / "gallery");
  fs::create_directories(dir_ / "gallery");
  std::string lock_path = (dir_ / "gallery" / "pagesim-gallery.lock").string();
  FolderLock other;
  ASSERT_EQ(lock_folder(lock_path, other), LockResult::LOCKED);
  write_file(dir_ / "shop.html", "<h1>Coffee</h1>\n[ORBA]\n");
  watch_lines(dir_.string() + ".stderr", 2);
  kill(pid, SIGINT);  // a watch that is still going
  ProgramRun run = wait_program(pid, dir_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors.substr(run.errors.find('\n') + 1),
            "pagesim-gallery: gallery/pagesim-gallery.lock is no longer this watch's lock: the folder gallery was "
            "removed, moved or replaced; the watch ends\n");
  EXPECT_EQ(files_below(dir_ / "gallery").size(), 1u);
  EXPECT_TRUE(fs::exists(lock_path));
  unlock_folder(other);
}
}  // namespace gallery
