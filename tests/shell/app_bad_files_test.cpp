// Files that are not what they should be: the player starts, plays and closes without hanging,
// says so at most once, and leaves them as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/dispatch.h"
#include "playlist/projector.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using Strings = std::vector<std::string>;

bool start(MainForm& form, std::vector<std::string> args = {}) {
  return dispatch(form, [&] { form.FormCreate(args); });
}
bool closeForm(MainForm& form) {
  return dispatch(form, [&] { form.FormClose(); });
}

// A file of `size` bytes that takes no room: holes, with `tail` written at its end.
void sparseFile(const std::string& path, off_t size, const std::string& tail = {}) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, size), 0);
  if (!tail.empty()) {
    ASSERT_EQ(pwrite(fd, tail.data(), tail.size(), size - static_cast<off_t>(tail.size())),
              static_cast<ssize_t>(tail.size()));
  }
  close(fd);
}

TEST(BadFiles, ASettingsFileThatIsNoFileGivesDefaultsAndIsLeftAlone) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
  } cases[] = {
      {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
      {"pipe", [](const std::string& p) { mkfifo(p.c_str(), 0644); }},
      {"1 GB file",
       [](const std::string& p) { sparseFile(p, off_t{1} << 30, "\n[form]\nleft=5\n"); }},
      {"unreadable file",
       [](const std::string& p) {
         std::ofstream(p) << "[form]\nleft=5\n";
         chmod(p.c_str(), 0);
       }},
  };
  for (const Case& c : cases) {
    test::ShellRig rig;
    const std::string ini = rig.dir.path("config/config.ini");
    rig.dir.write("config/listfile.flt", "1\r\n/m/a.swf\r\n");
    c.make(ini);
    struct stat before;
    ASSERT_EQ(stat(ini.c_str(), &before), 0);
    auto form = rig.form();
    ASSERT_TRUE(start(*form)) << c.what;
    if (std::string(c.what) != "unreadable file" || test::TempProgramDir::permissionsApply()) {
      EXPECT_EQ(form->left, 100) << c.what;
    }
    // The close cannot write the settings: said once, and the close stops there.
    EXPECT_FALSE(closeForm(*form)) << c.what;
    EXPECT_EQ(rig.dialogs.messages, Strings{"Can not play !"}) << c.what;
    struct stat after;
    ASSERT_EQ(stat(ini.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
    EXPECT_EQ(after.st_size, before.st_size) << c.what;
    EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n/m/a.swf\r\n") << c.what;
  }
}

TEST(BadFiles, ATenMillionLineListFileIsReadWhole) {
  // Ten million lines, all but the last few empty: cheap to make, and every one is counted.
  test::ShellRig rig;
  std::string text = "10000000\n" + std::string(10'000'000 - 2, '\n') + "/m/a.swf\n/m/b.swf\n";
  rig.dir.write("config/listfile.flt", text);
  rig.dir.write("config/config.ini", "[variables]\nfileindex=-1\n");
  auto form = rig.form();
  ASSERT_TRUE(start(*form));
  EXPECT_EQ(form->flashlist.items, (Strings{"/m/a.swf", "/m/b.swf"}));
  EXPECT_TRUE(closeForm(*form));
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "2\r\n/m/a.swf\r\n/m/b.swf\r\n");
}

TEST(BadFiles, ASparseFourGigabyteProjector) {
  test::ShellRig rig;
  auto form = rig.form();
  const std::string exe = rig.dir.path("big.exe"), target = rig.dir.path("big.swf");
  const off_t size = off_t{4} << 30;
  auto trailer = [](uint32_t length) {
    std::string t("FWS\x05movie", 9);
    const uint32_t words[2] = {kProjectorMagic, length};
    t.append(reinterpret_cast<const char*>(words), 8);
    return t;
  };
  // The movie at the end is found past four gigabytes of holes, and only it is read.
  sparseFile(exe, size, trailer(9));
  EXPECT_TRUE(form->exetoswf(exe, target));
  EXPECT_EQ(rig.dir.read("big.swf"), std::string("FWS\x05movie", 9));
  // A length longer than what stands in front of the trailer is refused without reading.
  sparseFile(exe, size, trailer(0xFFFFFFFF));
  rig.dir.remove("big.swf");
  EXPECT_FALSE(form->exetoswf(exe, target));
  EXPECT_EQ(rig.dialogs.messages, Strings{"The file is not a Flash_Exe file."});
  EXPECT_FALSE(rig.dir.exists("big.swf"));
}

TEST(BadFiles, AnEntryReplacedByADirectoryBetweenTwoPlaysIsAMissingMovie) {
  test::ShellRig rig;
  auto form = rig.form();
  const std::string a = rig.dir.movie("a.swf"), b = rig.dir.movie("b.swf");
  form->flashlist.items = {a, b};
  ASSERT_TRUE(dispatch(*form, [&] { form->playflash(a); }));
  rig.dir.remove("b.swf");
  std::filesystem::create_directory(b);
  rig.dialogs.answers = {false};
  ASSERT_TRUE(dispatch(*form, [&] { form->item("nextmovie").invoke(); }));
  EXPECT_EQ(rig.dialogs.questions,
            Strings{"Movie file " + b + " is not  exist! Delete it from the list?"});
  EXPECT_EQ(form->Flash1->movie(), a) << "the movie playing stays";
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

}  // namespace
}  // namespace rv
