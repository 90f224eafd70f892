// Applying a skin: its pictures, the places of the controls, the movie controls renewed with the
// movie kept playing, and the window's outlines.
#include <sys/stat.h>

#include "app/errors.h"
#include "app/main_form.h"
#include "app/settings_file.h"
#include "skins/picture_reader.h"
#include "skins/region_file.h"
#include "skins/skin_files.h"

namespace rv {
namespace {

constexpr int kUnchanged = -1;

bool isFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// One skin.ini, read with the settings file's rules; every key is optional.
class SkinDescription {
 public:
  SkinDescription(MainForm& form, std::string dir)
      : form_(form), dir_(std::move(dir)), ini_(dir_ + "skin.ini") {}

  int number(const char* section, const char* key, int def = kUnchanged) const {
    return ini_.readInt(section, key, def);
  }

  // left and top, then width and height where the section has them; -1 leaves one as it is.
  void place(Control& c, const char* section, bool sized, int defWidth = kUnchanged,
             int defHeight = kUnchanged) const {
    setIfGiven(c.left, number(section, "left"));
    setIfGiven(c.top, number(section, "top"));
    if (!sized) return;
    setIfGiven(c.width, number(section, "width", defWidth));
    setIfGiven(c.height, number(section, "height", defHeight));
  }

  // A colour key whose default means "leave it".
  void colour(uint32_t& target, const char* section, uint32_t def) const {
    const auto value = static_cast<uint32_t>(number(section, "color", static_cast<int>(def)));
    if (value != def) target = value;
  }

  // The picture named by the section, if any; a picture that cannot be shown is reported with
  // what is wrong with it, then ends the skin change as any error does.
  void picture(Control& c, const char* section) const {
    const std::string name = ini_.readString(section, "picture", "");
    if (name.empty()) return;
    try {
      const std::string path = skinFilePath(dir_, name);
      const PictureFormat format = pictureFormatOf(path);
      if (!form_.services.pictures) throw AppError("No picture reader for " + path);
      const PictureReader::Size size = form_.services.pictures->load(path, format);
      c.picture = path;
      if (c.autoSize) {
        c.width = size.width;
        c.height = size.height;
      }
    } catch (const AppError& e) {
      form_.services.dialogs->message(e.what());
      throw;
    }
  }

  // A picture with its place: picture, left, top (and width, height where `sized`).
  void pictureAndPlace(Control& c, const char* section, bool sized = false) const {
    picture(c, section);
    place(c, section, sized);
  }

 private:
  static void setIfGiven(int& target, int value) {
    if (value != kUnchanged) target = value;
  }

  MainForm& form_;
  std::string dir_;
  SettingsFile ini_;
};

// Renews a movie control and puts back the movie it held, at its frame.
void carryMovieOver(MainForm& form, const char* slot, const std::string& movie, int frame) {
  form.renewflash(slot);
  FlashControl& fresh = *form.flashSlot(slot);
  fresh.sendDoubleClick();
  if (movie.empty()) return;
  fresh.setMovie(movie);
  fresh.setFrameNum(frame);
}

}  // namespace

void MainForm::changeskin(MenuItem& sender) {
  // 1-2. The entry is checked and its name saved at once, also if applying fails later on.
  sender.checked = true;
  MenuItem& menu = item("skin");
  for (std::size_t i = 2; i < menu.children.size(); ++i)
    if (menu.children[i]->caption != sender.caption) menu.children[i]->checked = false;
  const std::string name = sender.caption;
  SettingsFile(configPath()).writeString("variables", "skinname", name);
  if (!isPlainSkinName(name)) throw AppError("No skin directory named " + name);
  const std::string dir = programDir + "skin/" + name + "/";
  const SkinDescription skin(*this, dir);

  // 3. Backgrounds and the playlist box.
  skin.picture(ctl("image1"), "image1");
  skin.picture(ctl("Imagelist"), "imagelist");
  skin.place(flashlist, "flashlist", true);
  skin.colour(flashlist.color, "flashlist", kSystemWindowColor);

  // 4. The movie control, renewed with its movie at the same frame.
  skin.place(*Flash1, "flash1", true, 481, 264);
  if (skin.number("flash1", "left") != kUnchanged) flash1left = Flash1->left;
  if (skin.number("flash1", "top") != kUnchanged) flash1top = Flash1->top;
  {
    const std::string movie = Flash1->movie();
    const int frame = movie.empty() ? 0 : Flash1->frameNum();
    carryMovieOver(*this, "Flash1", movie, frame);
    if (!movie.empty() && !flashpaused) Flash1->play();
  }

  // 5-6. The views that place the movie control their own way take it again.
  if (item("easyview").checked) {
    flash1left = Flash1->left;
    flash1top = Flash1->top;
    Flash1->left = 0;
    Flash1->top = 0;
  }
  if (item("fullscreen").checked) item("fullscreen").invoke();

  // 7. The preview: a still picture while the playlist panel is shown.
  skin.place(*flashpreview, "flashpreview", true, 129, 73);
  {
    const std::string movie = flashpreview->movie();
    renewflash("flashpreview");
    if (viewbig) {
      flashpreview->sendDoubleClick();
      if (!movie.empty()) {
        flashpreview->setMovie(movie);
        flashpreview->stop();
      }
    } else {
      flashpreview->visible = false;
    }
  }

  // 8. Labels, pictures and spots.
  Control& name_ = ctl("lblfilename");
  skin.place(name_, "lblfilename", false);
  name_.color = static_cast<uint32_t>(
      skin.number("lblfilename", "color", static_cast<int>(kSystemWindowTextColor)));
  name_.visible = skin.number("lblfilename", "visible", 1) != 0;
  skin.place(ctl("Lbltime"), "lbltime", false);
  skin.colour(ctl("Lbltime").color, "lbltime", kSystemWindowTextColor);
  skin.place(ctl("Lblframe"), "lblframe", false);
  skin.colour(ctl("Lblframe").color, "lblframe", kSystemWindowTextColor);
  skin.pictureAndPlace(ctl("imgopenfile"), "imageopenfile");
  skin.pictureAndPlace(ctl("imgopendir"), "imageopendir");
  for (const char* v : {"v1", "v2", "v3", "v4", "v5"}) skin.pictureAndPlace(ctl(v), v);
  skin.pictureAndPlace(ctl("Imagejct0"), "imagejct0", true);
  skin.pictureAndPlace(ctl("jctcontrol"), "jctcontrol");
  skin.pictureAndPlace(ctl("play2"), "play2");
  skin.pictureAndPlace(ctl("stop2"), "stop2");
  for (const char* spot : {"play", "stop", "open", "opendir", "listbtnon", "listbtnoff", "vc1",
                           "vc2", "vc3", "vc4", "vc5", "windowsmin", "windowsmax", "exit"})
    skin.place(ctl(spot), spot, true);

  // 9. Seek limits (start-up sets its own afterwards).
  const Control& track = ctl("Imagejct0");
  jctmin = track.left + 9;
  jctmax = track.left + track.width - 10;

  // 10. Outlines, only from a skin that has both.
  if (!isFile(dir + "rgn1.rgn") || !isFile(dir + "rgn2.rgn")) return;
  loadregion(dir + "rgn1.rgn", listoffregion);
  loadregion(dir + "rgn2.rgn", listonregion);
  if (Flash2->visible) return;
  if (const std::optional<Region>& outline = viewbig ? listonregion : listoffregion)
    windowRegion = *outline;
  if (item("easyview").checked) item("easyview").invoke();
}

void MainForm::loadregion(const std::string& path, std::optional<Region>& target) {
  const std::optional<RegionFileContent> content = readRegionFile(path);
  if (!content) {
    // The program cannot go on without its outline; what this run changed is saved as a normal
    // close saves it before the program ends.
    try {
      FormClose();
    } catch (...) {
      // Saving is best effort here: the program ends either way.
    }
    fatal("Change skin failed! Program must terminate.");
  }
  switch (content->kind) {
    case RegionFileContent::Kind::NoData:
      return;
    case RegionFileContent::Kind::Invalid:
      target.reset();
      return;
    case RegionFileContent::Kind::Region:
      break;
  }
  Region region;
  region.reserve(content->rects.size());
  for (const RegionRect& r : content->rects)
    region.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
  // A region of no rectangles would hide the whole window.
  if (region.empty())
    target.reset();
  else
    target = std::move(region);
}

}  // namespace rv
