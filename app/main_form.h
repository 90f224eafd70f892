#pragma once
// The main window's model: every control, menu item and piece of state the player keeps, and
// every handler. Handlers are grouped in files by subject:
//   app/form_create.cpp, app/form_close.cpp, app/app_hooks.cpp (start-up, shutdown, hooks),
//   app/main_menu.cpp (builds flash1pop), playback/*.cpp (loading, transport, tick, play modes),
//   playlist/*.cpp (list, list files, adding, editing, projectors), skins/*.cpp (skins, views).
// The Qt layer calls the handlers through the dispatch point (app/dispatch.h) and draws the model.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/dialogs.h"
#include "app/list_box.h"
#include "app/menu.h"
#include "app/start_up_record.h"
#include "app/window_host.h"
#include "platform/desktop.h"
#include "platform/mixer.h"
#include "playback/flash_control.h"
#include "skins/view_state.h"

namespace rv {

class Associations;
class SettingsFile;
class AboutBox;
class OptionsDialog;
class ToolBar;
class PictureReader;

// What the main window needs from outside; owned by the caller, outliving the form.
struct Services {
  Dialogs* dialogs = nullptr;
  Mixer* mixer = nullptr;
  Desktop* desktop = nullptr;
  FlashFactory* flashFactory = nullptr;
  WindowHost* window = nullptr;          // the main window
  Associations* associations = nullptr;  // the desktop's file associations; none when null
  // Measures the width in pixels of a text in the playlist's font (11-pixel sans-serif).
  int (*textWidth)(const std::string& text) = nullptr;
  PictureReader* pictures = nullptr;  // decodes skin pictures
};

// Input messages the application-wide filter looks at.
enum class InputMessage { RightButtonDown, LeftButtonDown, LeftButtonDoubleClick, Other };

// Keys of the keyboard map.
enum class Key { Right, Left, PageUp, PageDown, Escape, Delete, Enter, Other };

class MainForm {
 public:
  MainForm(std::string programDir, Services services);
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // ---- identity and places -------------------------------------------------------------
  std::string programDir;  // directory of the executable, with a trailing '/'
  // Where config.ini and listfile.flt live, with a trailing '/': programDir + "config/", or the
  // user's own copy where the program directory cannot be written (platform/config_home.h).
  std::string configDir;
  std::string configPath() const { return configDir + "config.ini"; }
  std::string listFilePath() const { return configDir + "listfile.flt"; }
  const std::string caption = "Reelvista";
  Services services;
  AboutBox* aboutBox = nullptr;  // the other windows, set by the program entry
  OptionsDialog* options = nullptr;
  ToolBar* toolBar = nullptr;

  // ---- window ---------------------------------------------------------------------------
  int left = 0, top = 0;  // screen position
  bool shown = false;
  bool alwaysOnTop = false;
  // Width and height: the union of the visible controls (the window sizes itself to them).
  int clientWidth() const;
  int clientHeight() const;

  // ---- controls ---------------------------------------------------------------------------
  std::map<std::string, Control> controls;  // pictures, spots and labels by name
  Control& ctl(const std::string& name) { return controls.at(name); }
  ListBox flashlist;
  std::unique_ptr<FlashControl> Flash1, Flash2, flashpreview;
  // Flash1 when it is visible, otherwise Flash2.
  FlashControl& visibleFlash() { return Flash1->visible ? *Flash1 : *Flash2; }
  std::unique_ptr<FlashControl>& flashSlot(const std::string& name);

  // ---- menus ---------------------------------------------------------------------------
  Menu flash1pop;
  Menu listpop;
  MenuItem& item(const std::string& name) { return flash1pop[name]; }
  MenuItem& listItem(const std::string& name) { return listpop[name]; }

  // ---- state ---------------------------------------------------------------------------
  std::unique_ptr<SettingsFile> settings;  // open from start-up step 11 on
  StartUpRecord startUp;                   // what start-up restored, and so what close saves
  int fileindex = -1;
  bool viewbig = false;
  bool autoplayflash = false;
  bool autochecksameitem = false;
  std::string openinitialdir, saveinitialdir;
  int filterindex = 1;
  std::string openDialogFileName;  // what the open dialog last held ("" none)
  bool flashpaused = false;
  bool jctdragging = false;
  int jctmin = 0, jctmax = 0, jctgrabx = 0;
  bool easyviewmode = false;
  int flash1left = 0, flash1top = 0;
  int zoomsteps = 0;
  bool zoom100 = false;
  int listwidth = 0;
  uint32_t startvolume = 0;
  bool startvolumeKnown = false;  // start-up got as far as reading it
  struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
  } flashbounds;
  // Window outlines as lists of rectangles (left, top, width, height); nullopt: none loaded.
  using Region = std::vector<Bounds>;
  std::optional<Region> listoffregion, listonregion;
  std::optional<Region> windowRegion;  // the outline given to the window now

  // ---- start-up, shutdown, hooks (app/) --------------------------------------------------
  void FormCreate(const std::vector<std::string>& args);
  void FormClose();
  // Every setting the close writes, in its order, as the form holds it now.
  std::vector<SavedSetting> settingsToSave();
  bool appmessage(InputMessage message);  // true: handled, stop the dispatch
  void appexception();                    // the application error handler
  // Shows the message and ends the program (throws FatalExit).
  void fatal(const std::string& message);

  // ---- movie loading (playback/movie_loading.cpp) ---------------------------------------
  void playflash(const std::string& path);
  void playflashlist(FlashControl& control);
  void renewflash(const std::string& controlName);
  void saveflashbounds(const FlashControl& control);
  void loadflashbounds(FlashControl& control);
  static std::string displayName(const std::string& path);
  // The playlist entry at `index`; a list access outside the list raises AppError.
  const std::string& entry(int index) const;
  // Enables the playback items a first movie (or a list file on the command line) unlocks.
  void enablePlaybackItems();

  // ---- transport (playback/transport.cpp) -----------------------------------------------
  void playClick();
  void stopClick();
  void playstopClick();
  void rewindClick();
  void stepupClick();
  void stepbackClick();
  void playframeClick();
  void zoomoutClick();  // "Zoom in"
  void zoominClick();   // "Zoom out"
  void n100Click();
  void showallClick();
  void lowClick();
  void highClick();
  void flashloopClick();
  void listloopClick();
  void autoplayClick();
  void vcClick(int n);  // n = 1..5
  void helpClick();
  void aboutClick();
  void quitClick();
  void exitClick();
  void FormKeyDown(Key key, bool ctrl);
  void showPlayingLook();
  void showPausedLook();
  // Gives a fresh Flash1, Flash2 or flashpreview the quality and loop the menu shows.
  void applyPlayChoices(FlashControl& control);

  // ---- status tick and seek bar (playback/status_tick.cpp, playback/seek_bar.cpp) --------
  void Timer1Timer();
  // Tells the user once for each script the engine stopped (playback/script_notice.cpp).
  void tellStoppedScripts();
  void Imagejct0MouseDown(int x);
  void jctcontrolMouseDown(int x);
  void jctcontrolMouseMove(int x, int screenX);
  void jctcontrolMouseUp(int x, int screenX);

  // ---- play modes (playback/play_modes.cpp) -----------------------------------------------
  void checkplaymode();
  // The name of the first checked play-mode item in menu order (also its settings value and
  // list-file word); null when none is checked.
  const char* checkedPlayMode();
  void defaultClick();
  void gameboyClick();
  void mtv_movieClick();
  void mtv_listClick();
  void lastmovieClick();
  void nextmovieClick();

  // ---- playlist (playlist/) ---------------------------------------------------------------
  // A list file is read whole before the list changes, so a broken one leaves the list as it was.
  // It is appended to the list, or replaces it after the "Clear play list?" question (declined:
  // appended), or replaces it outright (a list file named on the command line). False when the
  // file was broken (and reported).
  enum class ListFileUse { Append, AskToReplace, Replace };
  bool openflt(const std::string& path, ListFileUse use = ListFileUse::Append);
  void checklistwidth();
  void checkfileindex();
  bool checksameitem(const std::string& path);
  void fileisdropped(const std::vector<std::string>& paths);
  void previewClick();
  void autosortClick();
  void autochecksameitemClick();
  void openClick();
  void listopenfileClick();
  void opendirClick();
  void flashopenfileClick();
  void flashopendirClick();
  void IE2Click();
  void option1Click();
  // single additions compare with entries 0..n (n = count - 1); batches pass the count before them
  bool checksameitem(const std::string& path, int n);
  std::string opendialogInitialDir;  // what the open dialog was last given as its directory
  bool askclearlist();
  bool askToClearList();  // askclearlist's question alone: false for an empty list or a No
  void clearList();
  void appendEntry(const std::string& path);  // at the end, or at the sorted place while sorted
  void appendEntries(std::vector<std::string> paths);
  void setListSorted(bool sorted);
  void addBatch(const std::vector<std::string>& collected);  // directory scans, cache search
  bool searchswf(const std::string& dir, const std::string& pattern,
                 std::vector<std::string>& collected);
  bool exetoswf(const std::string& exe, const std::string& target);
  void openlistfileClick();
  void savelistfileClick();
  void listopendirClick();
  void listdelClick();
  void listclearClick();
  void chagefilenameClick();  // "Edit movie entry..."
  void saveasClick();
  void option2Click();
  void IE1Click();  // "Search IE cache" of the list menu
  // The browser cache search (playlist/cache_search.cpp): the cache directory, or "" after
  // telling the user there is none; the scan with its size rule (bytes).
  std::string getcachedir();
  bool searchcache(const std::string& dir, const std::string& pattern,
                   std::vector<std::string>& collected, int64_t threshold);
  // The list as the Qt layer draws it (playlist/list_display.cpp).
  bool listhint = false;                      // the pointer last moved over an entry
  std::string flashlistHint;                  // hint text of the list
  std::string flashlistRowText(int i) const;  // "N.  path"
  bool flashlistRowIsCurrent(int i) const;    // drawn in red
  void flashlistMouseMove(int x, int y);      // list coordinates
  struct HintPlacement {
    int reshowDelayMs = 100;
    bool atListRow = false;  // place the hint at (x, y), screen coordinates
    int x = 0, y = 0;
  };
  HintPlacement ApplicationEvents1ShowHint(int pointerYInList) const;
  void flashlistClick();
  void flashlistDblClick();
  void flashlistKeyPress(char key);
  void flashlistKeyDown(Key key);

  // ---- skins and views (skins/) -----------------------------------------------------------
  // Pictures sent to the back of the window, the backmost first; the others keep their
  // designed stacking above these.
  std::vector<std::string> backOrder;
  void sendToBack(const std::string& controlName);
  void changeskinini();
  void changeskin(MenuItem& sender);  // applies the skin named by the entry's caption
  void loadregion(const std::string& path, std::optional<Region>& target);
  void listbtnonClick();
  void listbtnoffClick();
  void normalviewClick();
  void easyviewClick();
  void fullscreenClick();
  void alwaysonthetopClick();
  void windowsminClick();
  void windowsmaxClick();
  void downloadskinClick();

  // Guards the tick against re-entry from a modal box opened inside it.
  bool inTick = false;

  // ---- views and window handling (skins/views.cpp, skins/window_pointer.cpp) -------------
  ViewState view;
  // The window's size: its visible controls' union, or what the view set.
  int windowWidth() const;
  int windowHeight() const;
  void image1MouseDown(bool leftButton);  // dragging the window by its backgrounds
  void ImagelistMouseDown(bool leftButton);
  void image1DblClick();
  void ImagelistDblClick();
  // The pointer moved over these pictures: the hover pictures of the buttons light or go out.
  void openMouseMove();
  void opendirMouseMove();
  void playMouseMove();
  void stopMouseMove();
  void image1MouseMove();
  void ImagelistMouseMove();

 private:
  std::unique_ptr<FlashControl> newFlash(const std::string& name, int l, int t, int w, int h,
                                         bool visible);
  void buildControls();
  void buildMainMenu();
  void buildListMenu();
  void restoreLastRun(const std::vector<std::string>& args);  // the steps of FormCreate
};

}  // namespace rv
