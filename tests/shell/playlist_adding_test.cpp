// Adding movies through the shell: the same-path question, batches, drops, the list switches.
#include <string>
#include <vector>

#include "playlist/projector.h"
#include "tests/shell/playlist_form_fixture.h"

namespace rv::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(PlaylistForm, SamePathIsAskedAboutOutOfTheTopmostLayer) {
  form->item("alwaysonthetop").checked = true;
  const std::string a = movie("m/a.swf");
  form->checksameitem(a);
  EXPECT_TRUE(rig.dialogs.questions.empty());

  rig.dialogs.answers = {false};
  rig.window.calls.clear();
  EXPECT_FALSE(form->checksameitem(a));
  EXPECT_EQ(rig.dialogs.questions.back(), a + " have been in the list.\r\nContinue to add?");
  EXPECT_EQ(rig.window.calls, (Strings{"topmost=0", "topmost=1"}));
  EXPECT_EQ(items(), Strings{a});

  rig.dialogs.answers = {true};
  EXPECT_TRUE(form->checksameitem(a));
  EXPECT_EQ(items(), (Strings{a, a}));

  // Letter case matters; with the switch off nothing is asked at all.
  form->checksameitem(movie("m/A.swf"));
  form->autochecksameitem = false;
  form->checksameitem(a);
  EXPECT_EQ(rig.dialogs.questions.size(), 2u);
  EXPECT_EQ(items().size(), 4u);
}

TEST_F(PlaylistForm, OpeningAListedMovieAnsweredNoStillPlaysItsFirstOccurrence) {
  const std::string a = movie("m/a.swf"), b = movie("m/b.swf");
  items() = {b, a, a};
  pickFile(a, 1);
  rig.dialogs.answers = {false};
  form->openClick();
  EXPECT_EQ(items(), (Strings{b, a, a}));
  EXPECT_EQ(playing(), a);
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_EQ(form->openinitialdir, rig.dir.path("m/"));
  EXPECT_EQ(rig.dialogs.openRequests[0].filter,
            "Flash movie|*.swf|Reelvista movie list|*.flt|Flash_exe file|*.exe");
}

TEST_F(PlaylistForm, DirectoryBatchIsComparedOnlyWithWhatWasThereBefore) {
  const std::string a = movie("d/a.swf"), b = movie("d/s/b.SWF");
  movie("d/s/c.Swf");
  rig.dialogs.folders = {rig.dir.path("d")};
  form->opendirClick();
  EXPECT_EQ(rig.dialogs.folderTitles, Strings{"Please select a directory"});
  EXPECT_TRUE(rig.dialogs.questions.empty());
  EXPECT_EQ(items(), (Strings{a, b}));
  EXPECT_EQ(playing(), a);

  // The same scan again: one question per file, none about each other.
  rig.dialogs.folders = {rig.dir.path("d/")};
  rig.dialogs.answers = {false, true};
  form->opendirClick();
  EXPECT_EQ(rig.dialogs.questions.size(), 2u);
  EXPECT_EQ(items(), (Strings{a, b, b}));
}

TEST_F(PlaylistForm, BatchWhileSortedIsSortedAfterwards) {
  form->listItem("autosort").click();
  form->appendEntry("/z/last.swf");
  const std::string b = movie("d/B.swf"), a = movie("d/s/a.swf");
  rig.dialogs.folders = {rig.dir.path("d")};
  form->opendirClick();
  EXPECT_TRUE(form->flashlist.sorted);
  EXPECT_EQ(items(), (Strings{b, a, "/z/last.swf"}));
  EXPECT_EQ(form->fileindex, 0);
}

TEST_F(PlaylistForm, CancelledOrEmptyDirectoryAddsNothingQuietly) {
  form->opendirClick();
  rig.dialogs.folders = {rig.dir.path("config")};
  form->opendirClick();
  EXPECT_TRUE(items().empty());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(form->Flash1->hasMovie());
}

TEST_F(PlaylistForm, HomonymyRemovalKeepsFirstOccurrences) {
  form->listItem("autochecksameitem").checked = false;
  form->autochecksameitem = false;
  items() = {"A", "B", "A", "A", "B"};
  form->listItem("autochecksameitem").click();
  EXPECT_TRUE(form->autochecksameitem);
  EXPECT_EQ(rig.dialogs.questions,
            Strings{"Do you want to delete homonymic movie(s) from the list?"});
  EXPECT_EQ(items(), (Strings{"A", "B"}));

  items() = {"A", "A"};
  form->listItem("autochecksameitem").click();  // off: nothing asked, nothing removed
  EXPECT_FALSE(form->autochecksameitem);
  EXPECT_EQ(rig.dialogs.questions.size(), 1u);
  EXPECT_EQ(items().size(), 2u);
}

TEST_F(PlaylistForm, SortListSortsIgnoringCaseAndFollowsThePlayingMovie) {
  const std::string c = movie("c.swf"), a = movie("A.swf"), b = movie("b.swf");
  items() = {c, a, b};
  form->playflash(c);
  EXPECT_EQ(form->fileindex, 0);
  form->listItem("autosort").click();
  EXPECT_EQ(items(), (Strings{a, b, c}));
  EXPECT_EQ(form->fileindex, 2);
  form->appendEntry(rig.dir.path("B2.swf"));
  EXPECT_EQ(items()[2], rig.dir.path("B2.swf"));
  form->listItem("autosort").click();  // off: order stays, additions go to the end
  form->appendEntry(rig.dir.path("0.swf"));
  EXPECT_EQ(items().back(), rig.dir.path("0.swf"));
}

TEST_F(PlaylistForm, OpenListFileDeclinedClearAppendsAndPlaysOldFirst) {
  const std::string old = movie("old.swf"), n = movie("n.swf");
  items() = {old};
  rig.dir.write("l.flt", "gameboy\r\n1\r\n" + n + "\r\n");
  pickFile(rig.dir.path("l.flt"), 2);
  rig.dialogs.answers = {false};
  form->openClick();
  EXPECT_EQ(rig.dialogs.questions, Strings{"Clear play list?"});
  EXPECT_EQ(items(), (Strings{old, n}));
  EXPECT_EQ(playing(), old);
  EXPECT_TRUE(form->item("gameboy").checked);
  EXPECT_EQ(form->filterindex, 2);
}

TEST_F(PlaylistForm, BrokenListFilesAreReportedAndChangeNothing) {
  items() = {"/m/a.swf"};
  rig.dir.write("bad1.flt", "Default\r\n1\r\n/m/b.swf\r\n");
  rig.dir.write("bad2.flt", "mtv_list\r\nmany\r\n/m/b.swf\r\n");
  form->openflt(rig.dir.path("bad1.flt"));
  form->openflt(rig.dir.path("bad2.flt"));
  EXPECT_EQ(rig.dialogs.messages, (Strings{"Can not open list file!", "Open list file failly!"}));
  EXPECT_EQ(items(), Strings{"/m/a.swf"});
  EXPECT_TRUE(form->item("default").checked);
  EXPECT_FALSE(form->item("mtv_list").checked);
}

TEST_F(PlaylistForm, AddAFileEnablesPreviousAndNextByTheCurrentEntry) {
  const std::string a = movie("a.swf"), b = movie("b.swf");
  items() = {a};
  form->playflash(a);
  pickFile(b);
  form->listopenfileClick();
  EXPECT_EQ(items(), (Strings{a, b}));
  EXPECT_EQ(playing(), a);  // nothing played
  EXPECT_FALSE(form->item("lastmovie").enabled);
  EXPECT_TRUE(form->item("nextmovie").enabled);

  rig.dir.write("l.flt", "1\n/m/c.swf\n");
  pickFile(rig.dir.path("l.flt"));
  form->listopenfileClick();  // read without asking to clear
  EXPECT_TRUE(rig.dialogs.questions.empty());
  EXPECT_EQ(items().size(), 3u);
}

TEST_F(PlaylistForm, ProjectorIsExtractedBesideItAddedAndPlayed) {
  std::string t = "FWS\x05";
  std::string trailer = "\x56\x34\x12\xFA";
  trailer += std::string("\x04\0\0\0", 4);
  rig.dir.write("GAME.EXE", "MZ" + t + trailer);
  pickFile(rig.dir.path("GAME.EXE"), 3);
  form->openClick();
  EXPECT_EQ(rig.dir.read("GAME.swf"), t);
  EXPECT_EQ(items(), Strings{rig.dir.path("GAME.swf")});
  EXPECT_EQ(playing(), rig.dir.path("GAME.swf"));

  rig.dir.write("plain.exe", "MZ an ordinary program");
  pickFile(rig.dir.path("plain.exe"), 3);
  form->openClick();
  EXPECT_EQ(rig.dialogs.messages, Strings{"The file is not a Flash_Exe file."});
  EXPECT_FALSE(rig.dir.exists("plain.swf"));
  EXPECT_EQ(items().size(), 1u);
}

TEST_F(PlaylistForm, DropsPlayOnlyTheFirstAndTakeFoldersAndListsOnlyFirst) {
  const std::string a = movie("a.swf"), b = movie("b.swf"), c = movie("c.swf");
  std::string longName = rig.dir.path(std::string(240, 'n') + "/" + std::string(60, 'x') + ".swf");
  rig.dir.write(longName.substr(rig.dir.path().size()), "FWS");
  rig.dir.write("l.flt", "1\n/m/z.swf\n");
  form->fileisdropped({a, b, rig.dir.path("l.flt"), rig.dir.path("d"), c, longName});
  EXPECT_EQ(items(), (Strings{a, b, c, longName}));
  EXPECT_EQ(playing(), a);

  items().clear();
  movie("d/s/m.swf");
  form->fileisdropped({rig.dir.path("d"), a});
  EXPECT_EQ(items(), (Strings{rig.dir.path("d/s/m.swf"), a}));
  EXPECT_EQ(playing(), rig.dir.path("d/s/m.swf"));

  form->fileisdropped({rig.dir.path("l.flt"), a});
  EXPECT_EQ(items().back(), rig.dir.path("a.swf"));
  EXPECT_EQ(rig.dialogs.questions[0], "Clear play list?");
}

TEST_F(PlaylistForm, PathsWithLineBreaksAreNotAdded) {
  const std::string bad = movie("bad\nname.swf");
  form->fileisdropped({bad, movie("ok.swf")});
  pickFile(bad);
  form->listopenfileClick();
  EXPECT_EQ(items(), Strings{rig.dir.path("ok.swf")});
}

TEST_F(PlaylistForm, ListWidthUsesTheLargerMarginFromEntry101) {
  form->flashlist.width = 10000;
  items().assign(102, "a");          // 6 pixels in the rig's font
  items()[101] = "abcdefghijklmno";  // 90 pixels
  form->checklistwidth();
  EXPECT_EQ(form->listwidth, 140);
  EXPECT_EQ(form->flashlist.horizontalExtent, 0);  // everything fits
  form->flashlist.width = 100;
  form->checklistwidth();
  EXPECT_EQ(form->flashlist.horizontalExtent, 142);
  items().resize(1);
  form->checklistwidth();
  EXPECT_EQ(form->listwidth, 41);
  EXPECT_EQ(form->flashlist.horizontalExtent, 142);  // never reduced
}

}  // namespace
}  // namespace rv::test
