// The list menu, list files saved and persisted, editing commands, rows, keys and the panel.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/dispatch.h"
#include "playlist/list_file.h"
#include "tests/shell/playlist_form_fixture.h"

namespace rv::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(PlaylistForm, ListMenuIsExactlyAsDesigned) {
  Strings rows;
  for (const MenuItem* i : form->listpop.root().children)
    rows.push_back(i->separator ? "-"
                                : i->name + "|" + i->caption + "|" + i->shortcut +
                                      (i->checked ? "|checked" : ""));
  EXPECT_EQ(rows, (Strings{"listopenfile|Add a file...|", "listopendir|Add Directory...|",
                           "IE1|Search IE cache|F3", "-", "openlistfile|Open list file...|",
                           "savelistfile|Save list file...|", "-",
                           "chagefilename|Edit movie entry...|F2", "saveas|Save  as...|",
                           "listdel|Delete|", "listclear|Clear list|", "-", "autosort|Sort list|",
                           // The fixture checks "Check homonymy" as start-up does.
                           "autochecksameitem|Check homonymy||checked", "preview|Preview||checked",
                           "option2|Option...|"}));
}

TEST_F(PlaylistForm, SaveListFileWritesPlayModeCountAndEntries) {
  form->saveinitialdir = "/start/";
  form->savelistfileClick();  // empty list: no dialog
  EXPECT_TRUE(rig.dialogs.saveRequests.empty());

  items() = {"/m/a.swf", "/m/b.swf"};
  form->item("default").checked = false;
  form->item("mtv_movie").checked = true;
  pickSaveName(rig.dir.path("out/l.flt"));
  rig.dir.write("out/l.flt", "old content");
  form->savelistfileClick();
  EXPECT_EQ(rig.dialogs.saveRequests[0].initialDir, "/start/");
  EXPECT_EQ(rig.dialogs.saveRequests[0].filter, "Reelvista movie list|*.flt");
  EXPECT_EQ(rig.dir.read("out/l.flt"), "mtv_movie\r\n2\r\n/m/a.swf\r\n/m/b.swf\r\n");
  EXPECT_EQ(form->saveinitialdir, rig.dir.path("out/"));

  // No play mode checked: no word for the line, so none is written.
  form->item("mtv_movie").checked = false;
  pickSaveName(rig.dir.path("n.FLT"));
  form->savelistfileClick();
  EXPECT_EQ(rig.dir.read("n.FLT"), "2\r\n/m/a.swf\r\n/m/b.swf\r\n");

  // Another extension writes nothing, but the next dialog opens there.
  pickSaveName(rig.dir.path("t/l.txt"));
  form->savelistfileClick();
  EXPECT_FALSE(rig.dir.exists("t/l.txt"));
  EXPECT_EQ(form->saveinitialdir, rig.dir.path("t/"));
}

TEST_F(PlaylistForm, PersistedPlaylistOnlyWhereTheFileExists) {
  items() = {"/m/a.swf"};
  writeListFile(*form);
  EXPECT_FALSE(rig.dir.exists("config/listfile.flt"));

  rig.dir.write("config/listfile.flt", "");
  auto fresh = rig.form();
  readListFile(*fresh);
  EXPECT_TRUE(fresh->flashlist.items.empty());
  writeListFile(*form);
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n/m/a.swf\r\n");
  readListFile(*fresh);
  EXPECT_EQ(fresh->flashlist.items, Strings{"/m/a.swf"});

  items().clear();
  writeListFile(*form);
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "");

  rig.dir.write("config/listfile.flt", "default\r\n1\r\n/m/a.swf\r\n");
  EXPECT_THROW(readListFile(*fresh), AppError);
}

TEST_F(PlaylistForm, PersistedPlaylistWriteFailureKeepsTheOldFile) {
  rig.dir.write("config/listfile.flt", "1\r\n/m/old.swf\r\n");
  chmod(rig.dir.path("config").c_str(), 0555);
  items() = {"/m/new.swf"};
  EXPECT_THROW(writeListFile(*form), AppError);
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n/m/old.swf\r\n");
}

TEST_F(PlaylistForm, DeleteKeepsCurrentMovieMarkedOrLeavesIndexAlone) {
  const std::string a = movie("a.swf"), b = movie("b.swf"), c = movie("c.swf");
  items() = {a, b, c};
  form->playflash(c);
  form->flashlist.itemIndex = 0;
  form->flashlistKeyDown(Key::Delete);
  EXPECT_EQ(items(), (Strings{b, c}));
  EXPECT_EQ(form->fileindex, 1);  // followed the playing movie
  form->flashlist.itemIndex = 1;
  form->listItem("listdel").click();  // the playing entry: index left as it was
  EXPECT_EQ(items(), Strings{b});
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_FALSE(form->item("lastmovie").enabled);
  EXPECT_FALSE(form->item("nextmovie").enabled);
  EXPECT_EQ(playing(), c);            // the movie goes on
  form->listItem("listdel").click();  // nothing selected
  EXPECT_EQ(items(), Strings{b});
}

TEST_F(PlaylistForm, ClearListAnsweredNoStillStopsTheMovieAndPreview) {
  const std::string a = movie("a.swf");
  items() = {a};
  form->playflash(a);
  form->flashlist.itemIndex = 0;
  form->flashlistClick();
  rig.dialogs.answers = {false};
  form->listItem("listclear").click();
  EXPECT_EQ(items(), Strings{a});
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_FALSE(form->flashpreview->hasMovie());
  EXPECT_EQ(form->fileindex, 0);
}

TEST_F(PlaylistForm, RenameGivesLowerCaseExtensionAndRefusesClashes) {
  const std::string a = movie("d/Intro.SWF");
  movie("d/taken.swf");
  items() = {a};
  form->listItem("chagefilename").click();
  EXPECT_EQ(rig.dialogs.messages, Strings{"Please select a movie first!"});

  form->flashlist.itemIndex = 0;
  rig.dialogs.inputs = {std::string("Intro")};
  form->listItem("chagefilename").click();
  EXPECT_EQ(rig.dialogs.inputRequests[0].title, "Please input a new name");
  EXPECT_EQ(rig.dialogs.inputRequests[0].prompt, "");
  EXPECT_EQ(rig.dialogs.inputRequests[0].initial, "Intro");
  EXPECT_EQ(items(), Strings{rig.dir.path("d/Intro.swf")});
  EXPECT_TRUE(rig.dir.exists("d/Intro.swf"));
  EXPECT_FALSE(rig.dir.exists("d/Intro.SWF"));

  for (const char* bad : {"taken", "", ".", "..", "../up", "a/b", "two\nlines"}) {
    rig.dialogs.inputs = {std::string(bad)};
    form->listItem("chagefilename").click();
    EXPECT_EQ(rig.dialogs.messages.back(), "Rename failed!") << bad;
  }
  EXPECT_EQ(items(), Strings{rig.dir.path("d/Intro.swf")});
  EXPECT_EQ(rig.dir.read("d/taken.swf"), "FWS\x05");

  form->listItem("chagefilename").click();  // Cancel
  rig.dialogs.inputs = {std::string("Outro")};
  form->listItem("chagefilename").click();
  EXPECT_EQ(items(), Strings{rig.dir.path("d/Outro.swf")});
  EXPECT_TRUE(rig.dir.exists("d/Outro.swf"));

  items() = {rig.dir.path("d/gone.swf")};
  form->listItem("chagefilename").click();
  EXPECT_EQ(rig.dialogs.messages.back(), "The file is not exist!");
}

TEST_F(PlaylistForm, RenameNeverReplacesAFileWithTheLowerCaseExtension) {
  const std::string upper = movie("d/a.SWF");
  rig.dir.write("d/a.swf", "another movie");
  items() = {upper};
  form->flashlist.itemIndex = 0;
  rig.dialogs.inputs = {std::string("a")};
  form->listItem("chagefilename").click();
  EXPECT_EQ(rig.dialogs.messages, Strings{"Rename failed!"});
  EXPECT_EQ(rig.dir.read("d/a.swf"), "another movie");
  EXPECT_EQ(items(), Strings{upper});
}

TEST_F(PlaylistForm, ShortNamesOfferTheNameWithoutItsExtension) {
  items() = {movie("d/a.b"), movie("d/ab")};
  form->flashlist.itemIndex = 0;
  form->listItem("chagefilename").click();
  form->flashlist.itemIndex = 1;
  form->listItem("chagefilename").click();
  EXPECT_EQ(rig.dialogs.inputRequests[0].initial, "a");
  EXPECT_EQ(rig.dialogs.inputRequests[1].initial, "ab");
}

TEST_F(PlaylistForm, SaveAsCopiesWithoutOverwriting) {
  rig.dir.write("a.swf", "movie bytes");
  rig.dir.write("exists.swf", "keep me");
  items() = {rig.dir.path("a.swf")};
  form->listItem("saveas").click();
  EXPECT_EQ(rig.dialogs.messages, Strings{"Please select a movie first!"});
  form->flashlist.itemIndex = 0;
  pickSaveName(rig.dir.path("copy.swf"));
  form->listItem("saveas").click();
  EXPECT_EQ(rig.dir.read("copy.swf"), "movie bytes");
  EXPECT_EQ(rig.dialogs.saveRequests[0].filter, "Flash movie|*.swf");
  pickSaveName(rig.dir.path("exists.swf"));
  form->listItem("saveas").click();
  EXPECT_EQ(rig.dialogs.messages.back(), "Copy failed!");
  EXPECT_EQ(rig.dir.read("exists.swf"), "keep me");
  pickSaveName(rig.dir.path("no/such/dir/c.swf"));
  form->listItem("saveas").click();
  EXPECT_EQ(rig.dialogs.messages.back(), "Copy failed!");
  items() = {rig.dir.path("gone.swf")};
  form->listItem("saveas").click();
  EXPECT_EQ(rig.dialogs.messages.back(), "The file is not existsed!");
  EXPECT_EQ(items().size(), 1u);
}

TEST_F(PlaylistForm, RowsHintsAndTheCurrentRow) {
  items().assign(12, "/m/x.swf");
  items()[11] = movie("twelve.swf");
  EXPECT_EQ(form->flashlistRowText(11), "12.  " + items()[11]);
  form->fileindex = 11;
  EXPECT_FALSE(form->flashlistRowIsCurrent(11));  // no movie loaded
  form->playflash(items()[11]);
  EXPECT_TRUE(form->flashlistRowIsCurrent(11));
  EXPECT_FALSE(form->flashlistRowIsCurrent(10));

  form->flashlist.topIndex = 10;
  form->flashlistMouseMove(3, 16);
  EXPECT_EQ(form->flashlistHint, "12. " + items()[11]);
  EXPECT_TRUE(form->listhint);
  form->flashlistMouseMove(3, 40);  // below the last row: nothing changes
  EXPECT_EQ(form->flashlistHint, "12. " + items()[11]);

  form->left = 100;
  form->top = 50;
  auto at = form->ApplicationEvents1ShowHint(20);
  EXPECT_EQ(at.reshowDelayMs, 100);
  EXPECT_TRUE(at.atListRow);
  EXPECT_EQ(at.x, 100 + form->flashlist.left);
  EXPECT_EQ(at.y, 15 + 50 + form->flashlist.top);
}

TEST_F(PlaylistForm, TypedKeysMoveTheMarkingAndEnterPlays) {
  const std::string a = movie("a.swf"), b = movie("b.swf");
  items() = {a, b};
  form->playflash(a);
  form->flashlist.itemIndex = 1;
  form->flashlistKeyPress('x');
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_EQ(playing(), a);
  form->flashlistKeyPress('\r');
  EXPECT_EQ(playing(), b);
  form->flashlist.itemIndex = -1;
  form->flashlistKeyPress('x');
  EXPECT_EQ(form->fileindex, -1);
  form->flashlist.itemIndex = 0;
  form->flashlistDblClick();
  EXPECT_EQ(playing(), a);
}

TEST_F(PlaylistForm, PreviewShowsTheSelectedEntryPaused) {
  const std::string a = movie("a.swf");
  items() = {a};
  auto& preview = fake(form->flashpreview);
  form->listItem("preview").click();  // off
  EXPECT_FALSE(form->listItem("preview").checked);
  form->flashlist.itemIndex = 0;
  form->flashlistClick();
  EXPECT_FALSE(preview.hasMovie());
  preview.calls.clear();
  form->listItem("preview").click();  // on again: shows the selection
  EXPECT_EQ(preview.calls, (Strings{"Movie=<unload>", "Movie=" + a, "Play", "Stop"}));
  EXPECT_FALSE(preview.playing);
}

TEST_F(PlaylistForm, APreviewThatCannotLoadStaysEmptyAndTouchesNothingElse) {
  const std::string s1 = movie("s1.swf"), broken = movie("broken.swf");
  const std::string missing = rig.dir.path("missing.swf");
  rig.flashes.unplayable = {broken, missing};
  items() = {s1, missing, broken};
  form->playflash(s1);
  for (int row : {1, 2}) {
    form->flashlist.itemIndex = row;
    EXPECT_TRUE(dispatch(*form, [&] { form->flashlistClick(); }));
    EXPECT_FALSE(form->flashpreview->hasMovie());
    EXPECT_EQ(playing(), s1);
    EXPECT_TRUE(rig.dialogs.log.empty());
  }
}

TEST_F(PlaylistForm, PanelShowsAndHidesTheListAndWidensTheWindow) {
  int narrow = form->clientWidth();
  form->listbtnonClick();
  EXPECT_TRUE(form->viewbig);
  EXPECT_TRUE(form->flashlist.visible && form->flashpreview->visible);
  EXPECT_TRUE(form->ctl("Imagelist").visible && form->ctl("listbtnoff").visible);
  EXPECT_FALSE(form->ctl("listbtnon").visible);
  EXPECT_EQ(form->backOrder.front(), "image1");
  EXPECT_GT(form->clientWidth(), narrow);
  form->listbtnoffClick();
  EXPECT_FALSE(form->viewbig || form->flashlist.visible || form->flashpreview->visible);
  EXPECT_EQ(form->backOrder.front(), "Imagelist");
  EXPECT_EQ(form->clientWidth(), narrow);
}

}  // namespace
}  // namespace rv::test
