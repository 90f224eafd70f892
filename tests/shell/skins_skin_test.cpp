// Skins: the "Skins" submenu, applying a skin from real skin directories, and region files as
// the skin step reads them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "app/dispatch.h"
#include "app/errors.h"
#include "app/settings_file.h"
#include "skins/region_file.h"
#include "tests/shell/fakes/fake_pictures.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;
using test::FakePictureReader;

// A window outline as comparable rectangles (left, top, width, height); none as no rectangle
// list at all.
using Rects = std::vector<std::array<int, 4>>;
std::optional<Rects> rects(const std::optional<MainForm::Region>& region) {
  if (!region) return std::nullopt;
  Rects out;
  for (const auto& b : *region) out.push_back({b.left, b.top, b.width, b.height});
  return out;
}

std::string regionText(const std::vector<RegionRect>& rects) {
  const std::vector<uint8_t> bytes = regionFileBytes(rects);
  return std::string(bytes.begin(), bytes.end());
}

// A skin that names every key of its description.
const char kFullSkin[] = R"([image1]
picture=main.bmp
[imagelist]
picture=list.bmp
[flashlist]
left=500
top=70
width=150
height=170
color=0x00F0E0D0
[flash1]
left=10
top=60
width=400
height=225
[flashpreview]
left=510
top=250
width=140
height=80
[lblfilename]
left=200
top=30
color=255
visible=0
[lbltime]
left=70
top=300
color=0x0000FF00
[lblframe]
left=380
top=300
color=$FF0000
[imageopenfile]
picture=hover\open.bmp
left=5
top=6
[jctcontrol]
picture=knob.bmp
left=120
top=301
[imagejct0]
picture=track.bmp
left=110
top=300
width=260
height=20
[play]
left=1
top=2
width=3
height=4
[exit]
left=480
top=10
width=16
height=-1
)";

class SkinTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  FakePictureReader pictures;
  std::unique_ptr<MainForm> form = newForm();

  std::unique_ptr<MainForm> newForm() {
    Services services = rig.services();
    services.pictures = &pictures;
    return std::make_unique<MainForm>(rig.dir.path(), services);
  }

  // A skin directory with the given description and pictures of the given sizes.
  void skin(const std::string& name, const std::string& ini,
            const std::vector<std::tuple<std::string, int, int>>& pictures = {}) {
    rig.dir.write("skin/" + name + "/skin.ini", ini);
    for (const auto& [file, w, h] : pictures)
      rig.dir.write("skin/" + name + "/" + file, FakePictureReader::picture(w, h));
  }
  void fullSkin() {
    skin("Full", kFullSkin,
         {{"main.bmp", 504, 379},
          {"list.bmp", 675, 379},
          {"hover/open.bmp", 22, 23},
          {"knob.bmp", 12, 20},
          {"track.bmp", 300, 30}});
  }
  void regions(const std::string& name, const std::vector<RegionRect>& off,
               const std::vector<RegionRect>& on) {
    rig.dir.write("skin/" + name + "/rgn1.rgn", regionText(off));
    rig.dir.write("skin/" + name + "/rgn2.rgn", regionText(on));
  }
  void savedSkin(const std::string& name) {
    rig.dir.write("config/config.ini", "[variables]\nskinname=" + name + "\n");
  }
  std::vector<std::string> entries() {
    std::vector<std::string> captions;
    const auto& children = form->item("skin").children;
    for (std::size_t i = 2; i < children.size(); ++i) captions.push_back(children[i]->caption);
    return captions;
  }
  MenuItem& entry(const std::string& caption) {
    for (MenuItem* i : form->item("skin").children)
      if (i->caption == caption) return *i;
    throw std::runtime_error("no entry " + caption);
  }
  bool apply(const std::string& caption) {
    return dispatch(*form, [&] { entry(caption).click(); });
  }
  bool build() {
    return dispatch(*form, [&] { form->changeskinini(); });
  }
  std::string savedName() {
    return SettingsFile(rig.dir.path("config/config.ini")).readString("variables", "skinname", "");
  }
};

TEST_F(SkinTest, MenuListsRealSkinDirectoriesInListingOrderAndAppliesTheSavedOne) {
  for (const char* name : {"beta", "Alpha", "gamma", "alpha"}) skin(name, "");
  rig.dir.write("skin/notaskin.ini", "");
  std::filesystem::create_directory_symlink(rig.dir.path("skin/beta"), rig.dir.path("skin/link"));
  savedSkin("gamma");
  ASSERT_TRUE(build());
  const auto& children = form->item("skin").children;
  EXPECT_EQ(children[0]->name, "downloadskin");
  EXPECT_TRUE(children[1]->separator);
  EXPECT_EQ(entries(), (std::vector<std::string>{"Alpha", "alpha", "beta", "gamma"}));
  EXPECT_TRUE(entry("gamma").checked);
  EXPECT_FALSE(entry("beta").checked);
}

TEST_F(SkinTest, SavedNameMatchesOnlyExactlyAndNeverLeavesTheSkinDirectory) {
  skin("Default", kFullSkin, {{"main.bmp", 504, 379}});
  rig.dir.write("outside/skin.ini", kFullSkin);
  for (const char* saved : {"default", "../outside", "Default/../../outside"}) {
    SCOPED_TRACE(saved);
    form = newForm();
    savedSkin(saved);
    ASSERT_TRUE(build());
    EXPECT_FALSE(entry("Default").checked);
    EXPECT_TRUE(form->ctl("image1").picture.empty());
    EXPECT_TRUE(pictures.loaded.empty());
  }
  // An entry whose caption is no plain directory name reads nothing.
  MenuItem& bad = form->flash1pop.add(&form->item("skin"), {}, "../outside");
  EXPECT_FALSE(dispatch(*form, [&] { form->changeskin(bad); }));
  EXPECT_TRUE(pictures.loaded.empty());
}

TEST_F(SkinTest, EveryKeyOfADescriptionIsApplied) {
  fullSkin();
  savedSkin("Full");
  ASSERT_TRUE(build());
  const std::string dir = rig.dir.path("skin/Full/");
  struct Expect {
    const char* name;
    int left, top, width, height;
    const char* picture;
  };
  const Expect expected[] = {
      {"image1", 0, 0, 504, 379, "main.bmp"},
      {"Imagelist", 0, 0, 675, 379, "list.bmp"},
      {"imgopenfile", 5, 6, 22, 23, "hover/open.bmp"},
      {"jctcontrol", 120, 301, 12, 20, "knob.bmp"},
      {"Imagejct0", 110, 300, 260, 20, "track.bmp"},
      {"play", 1, 2, 3, 4, ""},
      {"exit", 480, 10, 16, 17, ""},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    const Control& c = form->ctl(e.name);
    EXPECT_EQ(c.left, e.left);
    EXPECT_EQ(c.top, e.top);
    EXPECT_EQ(c.width, e.width);
    EXPECT_EQ(c.height, e.height);
    EXPECT_EQ(c.picture, *e.picture ? dir + e.picture : "");
  }
  EXPECT_EQ(form->flashlist.left, 500);
  EXPECT_EQ(form->flashlist.height, 170);
  EXPECT_EQ(form->flashlist.color, 0x00F0E0D0u);
  EXPECT_EQ(form->Flash1->left, 10);
  EXPECT_EQ(form->Flash1->width, 400);
  EXPECT_EQ(form->flash1left, 10);
  EXPECT_EQ(form->flash1top, 60);
  EXPECT_EQ(form->flashpreview->width, 140);
  EXPECT_FALSE(form->flashpreview->visible);
  EXPECT_EQ(form->ctl("lblfilename").color, 255u);
  EXPECT_FALSE(form->ctl("lblfilename").visible);
  EXPECT_EQ(form->ctl("Lbltime").color, 0x0000FF00u);
  EXPECT_EQ(form->ctl("Lblframe").color, 0xFF0000u);
  EXPECT_EQ(form->jctmin, 119);
  EXPECT_EQ(form->jctmax, 360);
  EXPECT_EQ(savedName(), "Full");
}

TEST_F(SkinTest, MissingKeysKeepThePreviousSkinExceptTheAlwaysAppliedOnes) {
  fullSkin();
  skin("Bare", "[flash1]\nwidth=-1\n");  // and a skin with no description at all
  std::filesystem::create_directories(rig.dir.path("skin/None"));
  ASSERT_TRUE(build());
  ASSERT_TRUE(apply("Full"));
  ASSERT_TRUE(apply("Bare"));
  EXPECT_EQ(form->Flash1->width, 400);   // -1: unchanged
  EXPECT_EQ(form->Flash1->height, 264);  // missing: the default
  EXPECT_EQ(form->flashpreview->width, 129);
  EXPECT_EQ(form->ctl("Lbltime").color, 0x0000FF00u);                 // kept
  EXPECT_EQ(form->ctl("lblfilename").color, kSystemWindowTextColor);  // always applied
  EXPECT_TRUE(form->ctl("lblfilename").visible);
  EXPECT_EQ(form->ctl("image1").picture, rig.dir.path("skin/Full/main.bmp"));
  EXPECT_EQ(form->ctl("play").left, 1);
  EXPECT_FALSE(entry("Full").checked);
  ASSERT_TRUE(apply("None"));
  EXPECT_EQ(form->Flash1->width, 481);
}

TEST_F(SkinTest, TheMovieKeepsItsFrameAndPlayStateAcrossASkinChange) {
  skin("A", "[flash1]\nleft=20\ntop=30\n");
  ASSERT_TRUE(build());
  for (bool paused : {false, true}) {
    SCOPED_TRACE(paused);
    form->Flash1->setMovie(rig.dir.movie("m.swf"));
    fake(form->Flash1).total = 100;
    form->Flash1->setFrameNum(42);
    form->flashpaused = paused;
    FlashControl* before = form->Flash1.get();
    ASSERT_TRUE(apply("A"));
    ASSERT_NE(form->Flash1.get(), before);
    auto& now = fake(form->Flash1);
    EXPECT_EQ(now.movie(), rig.dir.path("m.swf"));
    EXPECT_EQ(now.frameNum(), 42);
    EXPECT_TRUE(now.called("DoubleClick"));
    EXPECT_EQ(now.called("Play"), !paused);
    EXPECT_EQ(now.left, 20);
  }
}

TEST_F(SkinTest, MainWindowOnlyViewKeepsTheMovieAtTheCorner) {
  skin("NoPlace", "");
  ASSERT_TRUE(build());
  form->item("normalview").checked = false;
  form->item("easyview").checked = true;
  ASSERT_TRUE(apply("NoPlace"));
  EXPECT_EQ(form->flash1left, 9);
  EXPECT_EQ(form->Flash1->left, 0);
  EXPECT_EQ(form->Flash1->top, 0);
  ASSERT_TRUE(apply("NoPlace"));
  EXPECT_EQ(form->flash1left, 0);  // the place it has in that view
}

TEST_F(SkinTest, OutlinesComeOnlyFromSkinsWithBothRegionFiles) {
  skin("Shaped", "");
  regions("Shaped", {{0, 0, 100, 50}, {5, 50, 95, 60}}, {{0, 0, 200, 60}});
  skin("Half", "");
  rig.dir.write("skin/Half/rgn1.rgn", regionText({{1, 1, 2, 2}}));
  skin("Zero", "");
  rig.dir.write("skin/Zero/rgn1.rgn", std::string(4, '\0'));
  rig.dir.write("skin/Zero/rgn2.rgn", "\x40\x00\x00\x00" + std::string(10, 'x'));  // short
  skin("Garbage", "");
  rig.dir.write("skin/Garbage/rgn1.rgn", std::string("\x08\0\0\0", 4) + "12345678");
  rig.dir.write("skin/Garbage/rgn2.rgn", regionText({}));
  ASSERT_TRUE(build());

  ASSERT_TRUE(apply("Shaped"));
  const Rects off{{0, 0, 100, 50}, {5, 50, 90, 10}}, on{{0, 0, 200, 60}};
  EXPECT_EQ(rects(form->listoffregion), off);
  EXPECT_EQ(rects(form->listonregion), on);
  EXPECT_EQ(rects(form->windowRegion), off);
  form->viewbig = true;
  ASSERT_TRUE(apply("Shaped"));
  EXPECT_EQ(rects(form->windowRegion), on);

  for (const char* keeps : {"Half", "Zero"}) {
    SCOPED_TRACE(keeps);
    ASSERT_TRUE(apply(keeps));
    EXPECT_EQ(rects(form->listoffregion), off);
    EXPECT_EQ(rects(form->listonregion), on);
  }
  ASSERT_TRUE(apply("Garbage"));  // no region: no outline rather than garbage
  EXPECT_FALSE(form->listoffregion);
  EXPECT_FALSE(form->listonregion);
  EXPECT_EQ(rects(form->windowRegion), on);  // left as it is
}

TEST_F(SkinTest, ARegionFileThatCannotBeOpenedSavesTheSessionBeforeTheProgramEnds) {
  rig.dir.write("config/listfile.flt", "");
  form->settings = std::make_unique<SettingsFile>(rig.dir.path("config/config.ini"));
  form->startUp.complete();  // a session under way: start-up restored everything
  form->flashlist.items = {rig.dir.movie("a.swf"), rig.dir.movie("b.swf")};
  form->fileindex = 1;
  std::optional<MainForm::Region> region;
  bool fatal = false;
  try {
    dispatch(*form, [&] { form->loadregion(rig.dir.path("skin/none/rgn1.rgn"), region); });
  } catch (const FatalExit& e) {
    fatal = true;
  }
  EXPECT_TRUE(fatal);
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<std::string>{"Change skin failed! Program must terminate."}));
  EXPECT_EQ(rig.dir.read("config/listfile.flt"),
            "2\r\n" + rig.dir.path("a.swf") + "\r\n" + rig.dir.path("b.swf") + "\r\n");
  EXPECT_EQ(SettingsFile(rig.dir.path("config/config.ini")).readInt("variables", "fileindex", 0),
            1);
}

TEST_F(SkinTest, PicturesThatCannotBeShownStopTheChangeWithAClearMessage) {
  struct Case {
    const char* picture;
    const char* says;
  };
  const Case cases[] = {
      {"back.wmf", "Windows metafile"},    {"back.gif", "unknown extension"},
      {"../../etc/passwd.bmp", "outside"}, {"/etc/passwd.bmp", "outside"},
      {"text.bmp", "cannot be read"},      {"missing.bmp", "missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    form = newForm();
    rig.dialogs.messages.clear();
    skin("Bad", std::string("[flash1]\nwidth=300\n[imagejct0]\npicture=") + c.picture +
                    "\n[play]\nleft=1\n");
    rig.dir.write("skin/Bad/text.bmp", "not a picture");
    savedSkin("Bad");
    EXPECT_FALSE(build());
    ASSERT_GE(rig.dialogs.messages.size(), 2u);
    EXPECT_NE(rig.dialogs.messages[0].find(c.says), std::string::npos) << rig.dialogs.messages[0];
    EXPECT_EQ(rig.dialogs.messages.back(), "Can not play !");
    EXPECT_EQ(form->Flash1->width, 300);   // applied before the picture
    EXPECT_EQ(form->ctl("play").left, 8);  // after it: not applied
    EXPECT_TRUE(entry("Bad").checked);
  }
}

}  // namespace
}  // namespace rv
