// File associations against real XDG directories in /tmp, checked the way a file manager sees
// them (xdg-mime, desktop-file-validate) where those tools are installed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/associations.h"
#include "platform/config_home.h"
#include "platform/desktop_entry.h"
#include "platform/key_file_text.h"
#include "tests/shell/fakes/scoped_env.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

bool have(const char* tool) { return !run(std::string("command -v ") + tool).empty(); }

class AssociationsTest : public ::testing::Test {
 protected:
  AssociationsTest() {
    env.set("XDG_DATA_HOME", dir.path("data"));
    env.set("XDG_CONFIG_HOME", dir.path("conf"));
    env.set("XDG_DATA_DIRS", dir.path("none"));  // the system's defaults stay out of sight
    env.set("XDG_CONFIG_DIRS", dir.path("none"));
    env.unset("XDG_CURRENT_DESKTOP");
    program = executable("prog/reelvista");
  }
  std::string executable(const std::string& rel) {
    dir.write(rel, "#!/bin/sh\n");
    chmod(dir.path(rel).c_str(), 0755);
    return dir.path(rel);
  }
  std::string mimeapps() { return dir.read("conf/mimeapps.list"); }
  void expectValidEntry() {
    if (!have("desktop-file-validate")) return;
    EXPECT_EQ(run("desktop-file-validate '" + dir.path("data/applications/reelvista.desktop") +
                  "' && echo ok"),
              "ok");
  }
  std::string queryDefault(const char* type) {
    return run(std::string("xdg-mime query default ") + type);
  }

  test::TempProgramDir dir;
  test::ScopedEnv env;
  std::string program;
};

TEST_F(AssociationsTest, FlashFilesOpenWithUsAndGoBackToThePreviousHandler) {
  const std::string before =
      "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
      "application/x-shockwave-flash=other.desktop;third.desktop;\nimage/png=eog.desktop;\n";
  dir.write("conf/mimeapps.list", before);
  executable("data/applications/other.desktop");  // never read as an entry by the code
  auto assoc = makeXdgAssociations(program);
  EXPECT_FALSE(assoc->flashFilesAssociated());

  EXPECT_EQ(assoc->associateFlashFiles(true), "");
  EXPECT_TRUE(assoc->flashFilesAssociated());
  EXPECT_FALSE(assoc->listFilesAssociated());
  KeyFileText now(mimeapps());
  EXPECT_EQ(now.get("Default Applications", "application/vnd.adobe.flash.movie"),
            "reelvista.desktop;");
  EXPECT_EQ(now.get("Default Applications", "image/png"), "eog.desktop;");
  if (have("xdg-mime")) {
    EXPECT_EQ(queryDefault("application/x-shockwave-flash"), "reelvista.desktop");
  }
  expectValidEntry();

  // Moved program: the association is no longer this program's.
  EXPECT_FALSE(makeXdgAssociations(executable("moved/reelvista"))->flashFilesAssociated());

  EXPECT_EQ(assoc->associateFlashFiles(false), "");
  EXPECT_FALSE(assoc->flashFilesAssociated());
  EXPECT_EQ(mimeapps(), before);  // the old default back, everything else as it was
  // Nor does our entry stay a handler the desktop would fall back on.
  if (have("xdg-mime")) {
    EXPECT_NE(queryDefault("application/x-shockwave-flash"), "reelvista.desktop");
  }
}

TEST_F(AssociationsTest, ListFilesGetATypeAndLoseItWhenCleared) {
  auto assoc = makeXdgAssociations(program);
  EXPECT_EQ(assoc->associateListFiles(true), "");
  EXPECT_TRUE(assoc->listFilesAssociated());
  EXPECT_FALSE(assoc->flashFilesAssociated());
  std::string package = dir.read("data/mime/packages/reelvista.xml");
  EXPECT_NE(package.find("<glob pattern=\"*.flt\"/>"), std::string::npos);
  EXPECT_NE(package.find("Reelvista movie list"), std::string::npos);
  if (have("xdg-mime")) {
    EXPECT_EQ(queryDefault("application/x-reelvista-list"), "reelvista.desktop");
  }
  if (have("update-mime-database")) {  // the user's MIME database knows the type now
    EXPECT_NE(dir.read("data/mime/globs2").find("application/x-reelvista-list:*.flt"),
              std::string::npos);
  }
  EXPECT_EQ(assoc->associateListFiles(false), "");
  EXPECT_FALSE(assoc->listFilesAssociated());
  EXPECT_FALSE(dir.exists("data/mime/packages/reelvista.xml"));
  EXPECT_EQ(dir.read("data/mime/globs2").find("reelvista"), std::string::npos);
  EXPECT_EQ(KeyFileText(mimeapps()).get("Default Applications", "application/x-reelvista-list"),
            std::nullopt);
  // Clearing again, with nothing left to remove, is quiet.
  EXPECT_EQ(assoc->associateListFiles(false), "");
}

// Lines other than our types' survive, in order, whatever the file held.
TEST_F(AssociationsTest, DamagedMimeappsListsAreEditedWithoutLosingTheirLines) {
  std::string random;
  for (int i = 0; i < 4096; ++i) random += static_cast<char>((i * 7919 + 13) % 256);
  const std::string ours = "application/x-shockwave-flash=reelvista.desktop;\n";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"random bytes", random},
      {"no trailing newline", "[Default Applications]\nimage/png=eog.desktop;"},
      {"repeated entry", "[Default Applications]\n" + ours + ours + "x/y=z.desktop;\n" + ours},
      {"1 MB line", "[Default Applications]\n" + std::string(1 << 20, 'a') + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("conf/mimeapps.list", c.text);
    auto assoc = makeXdgAssociations(program);
    ASSERT_EQ(assoc->associateFlashFiles(true), "");
    EXPECT_TRUE(assoc->flashFilesAssociated());
    const std::string after = mimeapps();
    size_t count = 0;
    for (size_t at = after.find(ours); at != std::string::npos; at = after.find(ours, at + 1))
      ++count;
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(assoc->associateFlashFiles(false), "");
    const std::string cleared = mimeapps();
    EXPECT_EQ(cleared.find("reelvista.desktop"), std::string::npos);
    std::string kept = c.text;
    for (size_t at; (at = kept.find(ours)) != std::string::npos;) kept.erase(at, ours.size());
    EXPECT_TRUE(cleared.compare(0, kept.size(), kept) == 0) << cleared.substr(0, 80);
  }
  // One that cannot be read is left alone, and the user is told.
  dir.remove("conf/mimeapps.list");
  dir.write("conf/mimeapps.list/inside", "x");
  EXPECT_NE(makeXdgAssociations(program)->associateFlashFiles(true), "");
  EXPECT_EQ(dir.read("conf/mimeapps.list/inside"), "x");
}

TEST_F(AssociationsTest, ProgramPathsAreEscapedForDesktopEntries) {
  const struct {
    std::string path;
    std::optional<std::string> exec;
  } cases[] = {
      {"/opt/rv/reelvista", "/opt/rv/reelvista %f"},
      {"/opt/my dir/reelvista", "\"/opt/my dir/reelvista\" %f"},
      {"/opt/50%/rv", "/opt/50%%/rv %f"},
      {"/opt/a\"b/rv", "\"/opt/a\\\\\"b/rv\" %f"},
      {"/opt/a\\b/rv", "\"/opt/a\\\\\\\\b/rv\" %f"},
      {"/opt/$x'y/rv", "\"/opt/\\\\$x'y/rv\" %f"},
      {"/opt/caf\xc3\xa9/rv", "/opt/caf\xc3\xa9/rv %f"},
      {"/opt/caf\xe9/rv", std::nullopt},
      {"/opt/a\nb/rv", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(execLine(c.path), c.exec) << c.path;

  // A path with blanks, quotes and '%' still gives a valid entry that a file manager runs.
  const std::string odd = executable("my \"odd\" 100% dir/reelvista");
  auto assoc = makeXdgAssociations(odd);
  ASSERT_EQ(assoc->associateFlashFiles(true), "");
  EXPECT_TRUE(assoc->flashFilesAssociated());
  expectValidEntry();
  // A path no desktop entry can hold is refused with a reason, and nothing is written.
  auto bad = makeXdgAssociations(dir.path("caf\xe9/reelvista"));
  EXPECT_NE(bad->associateFlashFiles(true), "");
  EXPECT_FALSE(bad->flashFilesAssociated());
}

TEST_F(AssociationsTest, AnUnwritableProgramDirectoryKeepsSettingsInTheUsersConfig) {
  dir.write("prog/config/config.ini", "[variables]\nviewbig=1\n");
  dir.write("prog/config/listfile.flt", "/a.swf\n");
  EXPECT_EQ(configDirectory(dir.path("prog/")), dir.path("prog/config/"));  // writable: as ever

  dir.write("conf/reelvista/listfile.flt", "/mine.swf\n");
  EXPECT_EQ(seededUserConfig(dir.path("prog/")), dir.path("conf/reelvista/"));
  EXPECT_EQ(dir.read("conf/reelvista/config.ini"), "[variables]\nviewbig=1\n");
  EXPECT_EQ(dir.read("conf/reelvista/listfile.flt"), "/mine.swf\n");  // never overwritten
}

}  // namespace
}  // namespace rv
