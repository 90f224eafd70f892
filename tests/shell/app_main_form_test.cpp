// The main window as designed: controls of the built-in layout and the pop-up menu flash1pop.
#include <gtest/gtest.h>

#include <array>

#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;
using test::ShellRig;

struct Row {
  std::string name, caption, shortcut;
  bool enabled, checked;
  std::string parent;  // "" for the top level
};

// What the user sees, in order; separators are "-".
const std::vector<Row> kMenu = {
    {"flashopenfile", "Open...", "Ctrl+O", true, false, ""},
    {"flashopendir", "Open directory...", "Ctrl+D", true, false, ""},
    {"IE2", "Search IE cache", "F3", true, false, ""},
    {"", "-", "", true, false, ""},
    {"alwaysonthetop", "Always on top", "Ctrl+T", true, false, ""},
    {"N9", "View", "", true, false, ""},
    {"skin", "Skins", "", true, false, ""},
    {"", "-", "", true, false, ""},
    {"showall", "Show all", "Ctrl+A", false, true, ""},
    {"scale", "Zoom", "", false, false, ""},
    {"", "-", "", true, false, ""},
    {"quality", "Quality", "", false, false, ""},
    {"", "-", "", true, false, ""},
    {"playstop", "Play", "Ctrl+P", false, true, ""},
    {"autoplay", "Auto play", "Ctrl+U", false, false, ""},
    {"lastmovie", "Previous  movie", "", false, false, ""},
    {"nextmovie", "Next movie", "", false, false, ""},
    {"flashloop", "Movie loop", "Ctrl+L", false, true, ""},
    {"listloop", "List loop", "Ctrl+S", false, false, ""},
    {"playmode", "Play mode", "", false, false, ""},
    {"", "-", "", true, false, ""},
    {"rewind", "Rewind", "Ctrl+R", false, false, ""},
    {"stepup", "Forward", "", false, false, ""},
    {"stepback", "Back", "", false, false, ""},
    {"playframe", "Go to Frame...", "", false, false, ""},
    {"", "-", "", true, false, ""},
    {"option1", "Option...", "", true, false, ""},
    {"help", "Help...", "F1", true, false, ""},
    {"about", "About...", "", true, false, ""},
    {"quit", "Exit", "Ctrl+X", true, false, ""},
};

const std::vector<Row> kSubmenus = {
    {"normalview", "Normal", "Ctrl+N", true, true, "N9"},
    {"easyview", "Main window only", "Ctrl+E", true, false, "N9"},
    {"fullscreen", "Full screen", "Ctrl+F", true, false, "N9"},
    {"downloadskin", "Download more skins", "", true, false, "skin"},
    {"", "-", "", true, false, "skin"},
    {"zoomin", "Zoom out", "", false, false, "scale"},
    {"zoomout", "Zoom in", "", true, false, "scale"},
    {"n100", "100%", "", true, false, "scale"},
    {"low", "Low", "", true, false, "quality"},
    {"high", "High", "", true, true, "quality"},
    {"default", "Default", "", true, true, "playmode"},
    {"gameboy", "Game boy", "", true, false, "playmode"},
    {"mtv_movie", "MTV_Flash", "", true, false, "playmode"},
    {"mtv_list", "MTV_List", "", true, false, "playmode"},
};

void expectRows(const std::vector<MenuItem*>& items, const std::vector<Row>& rows) {
  ASSERT_EQ(items.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].caption);
    EXPECT_EQ(items[i]->name, rows[i].name);
    EXPECT_EQ(items[i]->caption, rows[i].caption);
    EXPECT_EQ(items[i]->separator, rows[i].caption == "-");
    EXPECT_EQ(items[i]->shortcut, rows[i].shortcut);
    EXPECT_EQ(items[i]->enabled, rows[i].enabled);
    EXPECT_EQ(items[i]->checked, rows[i].checked);
    bool commandItem = !items[i]->separator && !items[i]->isSubmenu();
    EXPECT_EQ(static_cast<bool>(items[i]->onClick), commandItem);
  }
}

TEST(MainFormTest, MenuIsBuiltAsDesigned) {
  ShellRig rig;
  auto form = rig.form();
  expectRows(form->flash1pop.root().children, kMenu);
  for (const char* parent : {"N9", "skin", "scale", "quality", "playmode"}) {
    std::vector<Row> rows;
    for (const auto& r : kSubmenus)
      if (r.parent == parent) rows.push_back(r);
    SCOPED_TRACE(parent);
    expectRows(form->item(parent).children, rows);
  }
}

TEST(MainFormTest, ControlsOfTheBuiltInLayout) {
  ShellRig rig;
  auto form = rig.form();
  EXPECT_EQ(form->ctl("lblfilename").caption, "Reelvista");
  EXPECT_EQ(form->ctl("Lbltime").caption, "00:00");
  EXPECT_EQ(form->ctl("Lblframe").caption, "0/0");
  EXPECT_EQ(form->ctl("play").hint, "Play");
  EXPECT_EQ(form->ctl("stop").hint, "Pause");
  EXPECT_EQ(form->ctl("open").hint, "Open");
  EXPECT_EQ(form->ctl("opendir").hint, "Open directory");
  EXPECT_EQ(form->ctl("listbtnon").hint, "Show play list");
  EXPECT_EQ(form->ctl("listbtnoff").hint, "Hide play list");

  const Control& track = form->ctl("Imagejct0");
  EXPECT_EQ((std::array{track.left, track.top, track.width, track.height}),
            (std::array{116, 360, 307, 17}));
  EXPECT_EQ(form->ctl("v4").left, 150);
  EXPECT_FALSE(form->ctl("v4").visible);
  EXPECT_EQ(form->ctl("vc1").width, 9);
  EXPECT_FALSE(form->ctl("Imagelist").visible);
  EXPECT_FALSE(form->flashlist.visible);
  EXPECT_EQ(form->flashlist.left, 516);

  EXPECT_EQ((std::array{form->Flash1->left, form->Flash1->top, form->Flash1->width,
                        form->Flash1->height}),
            (std::array{9, 72, 481, 264}));
  EXPECT_TRUE(form->Flash1->visible);
  EXPECT_FALSE(form->Flash2->visible);
  EXPECT_FALSE(form->flashpreview->visible);
  EXPECT_EQ(form->flashpreview->width, 129);
  EXPECT_EQ(rig.flashes.created, 3);
  EXPECT_FALSE(form->Flash1->hasMovie());

  // Without a skin the window is the black background's size.
  EXPECT_EQ(form->clientWidth(), 504);
  EXPECT_EQ(form->clientHeight(), 382);  // the seek knob reaches below the background
}

}  // namespace
}  // namespace rv
