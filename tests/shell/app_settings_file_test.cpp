#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <random>

#include "app/errors.h"
#include "app/settings_file.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

using test::TempProgramDir;

class SettingsFileTest : public ::testing::Test {
 protected:
  TempProgramDir dir;
  std::string path = dir.path("config/config.ini");
  SettingsFile ini{path};
  void store(const std::string& text) { dir.write("config/config.ini", text); }
};

TEST_F(SettingsFileTest, IntegersInDecimalAndBothHexForms) {
  store(
      "[form]\nleft=0x64\ntop=$64\n[variables]\na=abc\nb= -42 \nc=+7\nd=0X1f\ne=0x\nf=$\n"
      "g=2147483647\nh=2147483648\ni=-2147483648\nj=0x80000005\nk=0x123456789\nl=12abc\n"
      "m=$FFFFFFFF\nn=\n");
  EXPECT_EQ(ini.readInt("form", "left", 1), 100);
  EXPECT_EQ(ini.readInt("form", "top", 1), 100);
  EXPECT_EQ(ini.readInt("variables", "a", 100), 100);
  EXPECT_EQ(ini.readInt("variables", "b", 0), -42);
  EXPECT_EQ(ini.readInt("variables", "c", 0), 7);
  EXPECT_EQ(ini.readInt("variables", "d", 0), 31);
  EXPECT_EQ(ini.readInt("variables", "e", 5), 5) << "\"0x\" alone is no number";
  EXPECT_EQ(ini.readInt("variables", "f", 5), 5);
  EXPECT_EQ(ini.readInt("variables", "g", 0), 2147483647);
  EXPECT_EQ(ini.readInt("variables", "h", 9), 9) << "overflow gives the default";
  EXPECT_EQ(ini.readInt("variables", "i", 0), -2147483647 - 1);
  EXPECT_EQ(ini.readInt("variables", "j", 0), static_cast<int>(0x80000005u));
  EXPECT_EQ(ini.readInt("variables", "k", 9), 9);
  EXPECT_EQ(ini.readInt("variables", "l", 9), 9);
  EXPECT_EQ(ini.readInt("variables", "m", 0), -1);
  EXPECT_EQ(ini.readInt("variables", "n", 9), 9);
  EXPECT_EQ(ini.readInt("variables", "missing", 9), 9);
}

TEST_F(SettingsFileTest, BoolsAreIntsAndEmptyMeansDefault) {
  store("[variables]\nmovieloop=2\nlistloop=\nviewbig=0\npreview=x\n");
  EXPECT_TRUE(ini.readBool("variables", "movieloop", false));
  EXPECT_TRUE(ini.readBool("variables", "listloop", true));
  EXPECT_FALSE(ini.readBool("variables", "listloop", false));
  EXPECT_FALSE(ini.readBool("variables", "viewbig", true));
  EXPECT_TRUE(ini.readBool("variables", "preview", true));
}

TEST_F(SettingsFileTest, NamesIgnoreCaseBlanksDropFirstKeyWinsAndTextsAreCut) {
  store("  [VaRiAbLeS]  \r\n  SkinName  =   Blue Sky  \r\nskinname=Other\r\n[form]\r\nx=" +
        std::string(3000, 'a') + "\r\n");
  EXPECT_EQ(ini.readString("variables", "skinname", "Default"), "Blue Sky");
  EXPECT_EQ(ini.readString("form", "x", "").size(), SettingsFile::kMaxValueLength);
  EXPECT_EQ(ini.readString("form", "skinname", "none"), "none") << "keys belong to a section";
  EXPECT_EQ(ini.readString("nosuch", "x", "d"), "d");
}

TEST_F(SettingsFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  EXPECT_EQ(ini.readInt("form", "left", 100), 100);
  EXPECT_EQ(ini.readString("variables", "view", "normalview"), "normalview");
  ini.writeInt("form", "left", 5);
  EXPECT_EQ(dir.read("config/config.ini"), "[form]\nleft=5\n");
}

TEST_F(SettingsFileTest, WritesAreSeenAtOnceThroughEveryObjectOnTheFile) {
  SettingsFile other(path);
  ini.writeInt("variables", "form6left", 300);
  EXPECT_EQ(other.readInt("variables", "form6left", 226), 300);
  other.writeBool("variables", "movieloop", false);
  EXPECT_FALSE(ini.readBool("variables", "movieloop", true));
  store("[variables]\nform6left=12\n");  // changed behind both objects' backs
  EXPECT_EQ(ini.readInt("variables", "form6left", 0), 12);
}

TEST_F(SettingsFileTest, RewritingKeepsCommentsOtherSectionsUnknownKeysAndLineEnds) {
  store(
      "; shipped defaults\r\n[form]\r\nleft=1\r\n\r\n[variables]\r\nmystery=42\r\n"
      "; note\r\nview=easyview\r\n\r\n[extra]\r\nkeep=me\r\n");
  ini.writeInt("FORM", "LEFT", 250);
  ini.writeInt("form", "top", 60);
  ini.writeString("variables", "view", "fullscreen");
  ini.writeString("newsection", "k", "v");
  EXPECT_EQ(
      dir.read("config/config.ini"),
      "; shipped defaults\r\n[form]\r\nLEFT=250\r\ntop=60\r\n\r\n[variables]\r\nmystery=42\r\n"
      "; note\r\nview=fullscreen\r\n\r\n[extra]\r\nkeep=me\r\n[newsection]\r\nk=v\r\n");
}

TEST_F(SettingsFileTest, ALineBreakInAValueCannotAddLines) {
  ini.writeString("variables", "openinitialdir", "/home/a\n[form]\nleft=1");
  EXPECT_EQ(ini.readString("variables", "openinitialdir", ""), "/home/a");
  EXPECT_EQ(ini.readInt("form", "left", 100), 100);
}

TEST_F(SettingsFileTest, RefusedWritesRaiseAndLeaveTheOldFileWhole) {
  store("[form]\nleft=7\n");
  chmod(path.c_str(), 0444);
  EXPECT_THROW(ini.writeInt("form", "left", 8), AppError);
  EXPECT_EQ(dir.read("config/config.ini"), "[form]\nleft=7\n");
  chmod(path.c_str(), 0644);

  dir.remove("config");
  EXPECT_THROW(ini.writeInt("form", "left", 8), AppError);
  EXPECT_FALSE(dir.exists("config"));
}

TEST_F(SettingsFileTest, GatheredWritesReachTheFileTogetherOrNotAtAll) {
  store("[form]\r\nleft=7\r\n");
  {
    SettingsWriteBatch batch(ini);
    ini.writeInt("form", "left", 8);
    ini.writeString("variables", "view", "easyview");
    EXPECT_EQ(dir.read("config/config.ini"), "[form]\r\nleft=7\r\n") << "nothing written yet";
    batch.commit();
  }
  EXPECT_EQ(dir.read("config/config.ini"), "[form]\r\nleft=8\r\n[variables]\r\nview=easyview\r\n");
  {
    SettingsWriteBatch batch(ini);
    ini.writeInt("form", "left", 9);
  }  // not committed: dropped, and later writes go to the file again
  ini.writeInt("form", "top", 1);
  EXPECT_EQ(ini.readInt("form", "left", 0), 8);
  EXPECT_EQ(ini.readInt("form", "top", 0), 1);

  // A directory without write permission refuses the whole batch (even for root).
  chmod(dir.path("config").c_str(), 0555);
  SettingsWriteBatch batch(ini);
  ini.writeInt("form", "left", 10);
  EXPECT_THROW(batch.commit(), AppError);
  chmod(dir.path("config").c_str(), 0755);
  EXPECT_EQ(ini.readInt("form", "left", 0), 8);
}

TEST_F(SettingsFileTest, AWriteLeavesNoTemporaryFileAndKeepsThePermissions) {
  store("[form]\nleft=7\n");
  chmod(path.c_str(), 0600);
  ini.writeInt("form", "left", 9);
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path("config"))) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SettingsFileTest, TemporaryFilesOfAKilledSaveAreRemovedOnceStale) {
  // A save killed between naming its file and the rename leaves one behind.
  const std::string stale = dir.path("config/.config.ini.Ab12Cd");
  const std::string fresh = dir.path("config/.config.ini.Xy34Zw");
  const std::string other = dir.path("config/.config.ini.keep");
  for (const auto& p : {stale, fresh, other}) std::ofstream(p) << "left=1";
  const timespec old[2] = {{0, UTIME_OMIT}, {time(nullptr) - 3600, 0}};
  utimensat(AT_FDCWD, stale.c_str(), old, 0);
  utimensat(AT_FDCWD, other.c_str(), old, 0);
  ini.writeInt("form", "left", 9);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(fresh)) << "it may be another save's, under way";
  EXPECT_TRUE(std::filesystem::exists(other)) << "not a name we make";
}

TEST_F(SettingsFileTest, RandomBytesGiveDefaultsAndStayWritable) {
  std::mt19937 rng(7);
  std::string junk(1 << 16, '\0');
  for (auto& c : junk) c = static_cast<char>(rng());
  store(junk);
  EXPECT_EQ(ini.readInt("form", "left", 100), 100);
  EXPECT_EQ(ini.readString("variables", "view", "normalview"), "normalview");
  ini.writeInt("form", "left", 3);
  EXPECT_EQ(ini.readInt("form", "left", 100), 3);
}

TEST_F(SettingsFileTest, ATenMegabyteLineIsReadPastAndCut) {
  store("[variables]\nhuge=" + std::string(10 << 20, 'x') + "\nview=easyview\n");
  EXPECT_EQ(ini.readString("variables", "view", "normalview"), "easyview");
  EXPECT_EQ(ini.readString("variables", "huge", "").size(), SettingsFile::kMaxValueLength);
  EXPECT_EQ(ini.readInt("variables", "huge", 4), 4);
}

}  // namespace
}  // namespace rv
