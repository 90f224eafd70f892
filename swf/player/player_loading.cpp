// Movies loaded into clips and levels by scripts, and where loaded data comes from.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "swf/avm1/builtins/load_text.h"
#include "swf/io/swf_container.h"
#include "swf/player/bitmap_data.h"
#include "swf/player/local_address.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "swf/shapes/script_drawing.h"
#include "swf/sound/sound_engine.h"

namespace swf {
namespace {

// What an emptied clip shows: one frame with nothing on it.
const Timeline& emptyTimeline() {
  static const Timeline empty = [] {
    Timeline t;
    t.frames.resize(1);
    return t;
  }();
  return empty;
}

// The slot of `parent` (or of a holder of a shared depth in it) that owns `child`.
std::unique_ptr<DisplayObject>* ownerSlot(DisplayObject& parent, const DisplayObject* child) {
  for (auto& [depth, c] : parent.children) {
    if (c.get() == child) return &c;
    if (static_cast<PlacedObject&>(*c).holdsStack)
      if (auto* slot = ownerSlot(*c, child)) return slot;
  }
  return nullptr;
}

// A JPEG, PNG or GIF file, which a clip loads like a movie of one frame showing the picture;
// null when the file is not one of those (a movie, or nothing we can show).
std::shared_ptr<BitmapCharacter> loadImageFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  std::ifstream in(path, std::ios::binary);
  uint8_t head[8] = {};
  if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return nullptr;
  static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
  bool image = (head[0] == 0xFF && head[1] == 0xD8) || std::memcmp(head, png, 8) == 0 ||
               std::memcmp(head, "GIF8", 4) == 0;
  if (!image) return nullptr;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size <= 0 || uint64_t(size) > kMaxUncompressedLength) return nullptr;
  auto c = std::make_shared<BitmapCharacter>();
  c->imageData.resize(size_t(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(c->imageData.data()), size)) return nullptr;
  if (!c->surface()) return nullptr;  // decoded now, so a broken picture fails the load
  return c;
}

}  // namespace

static std::string absoluteOf(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

// Level loads take addresses. A path already found goes back as a file address, so that it is
// neither resolved against the movie's directory nor unescaped a second time.
static std::string fileAddressFor(const std::string& path) {
  return "file://" + avm1::urlEscape(absoluteOf(path));
}

std::string Player::defaultSharedObjectDir() {
  std::string base;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && x[0] == '/')
    base = x;
  else if (const char* h = std::getenv("HOME"); h && h[0] == '/')
    base = std::string(h) + "/.local/share";
  else
    return {};
  return base + "/reelvista/shared-objects";
}

std::string Player::localFileFor(const std::string& url, avm1::DisplayNode* from) const {
  // Relative addresses start from the directory of the movie the asking clip belongs to.
  PlayerContext::MovieHome home;
  if (auto* s = dynamic_cast<SpriteInstance*>(from); s && ctx_) home = ctx_->homeOf(s);
  if (!home.movie) home = {nullptr, movie_.get(), path_};
  // A movie that asked for the network is kept from the disk: its loads fail like web ones.
  if (home.movie && home.movie->usesNetwork) return {};
  std::string base = home.path.empty() ? path_ : home.path;
  return swf::localFileFor(base, url);
}

std::string Player::movieAddress(const std::string& url, avm1::DisplayNode* from) const {
  auto* s = dynamic_cast<SpriteInstance*>(from);
  if (!s) s = root_;
  return s ? swf::addressRelativeTo(s->movieUrl(), url) : url;
}

avm1::DisplayNode* Player::loadMovieNow(avm1::DisplayNode* target, int level,
                                        const std::string& path, const std::string& address,
                                        std::string& error) {
  if (!ctx_ || !root_) {
    error = "no movie";
    return nullptr;
  }
  auto* old = dynamic_cast<SpriteInstance*>(target);
  if (old && !old->parentTimeline()) {
    // A level's root: the movie replaces the level.
    level = -1;
    for (const auto& [n, l] : levels_)
      if (l.root == old) level = n;
    old = nullptr;
  }
  if (!old) {
    if (level < 0 || (level == 0 && path.empty())) {
      error = "level 0 cannot be emptied";
      return nullptr;
    }
    pendingLoads_.push_back({level, path.empty() ? path : fileAddressFor(path), address});
    loadPendingLevels(1);
    SpriteInstance* r = levelRoot(level);
    if (!path.empty() && (!r || levels_[level].path != absoluteOf(path)))
      error = "cannot load " + path;
    return path.empty() ? nullptr : r;
  }

  SpriteInstance* parent = old->parentTimeline();
  std::unique_ptr<DisplayObject>* slot = ownerSlot(*parent, old);
  if (!slot) {
    error = "the clip is not on the stage";
    return nullptr;
  }
  std::shared_ptr<const Movie> movie;
  std::shared_ptr<BitmapCharacter> image = path.empty() ? nullptr : loadImageFile(path);
  if (!path.empty() && !image) {
    try {
      movie = loadMovieFile(path);  // plain files only, and bounded in size
    } catch (const LoadError& e) {
      error = e.what();
      return nullptr;
    }
  }
  auto fresh = std::make_unique<SpriteInstance>(movie ? movie->root : emptyTimeline(), *ctx_,
                                                parent, old->nesting());
  SpriteInstance* s = fresh.get();
  // The clip keeps its place, name and look, and stays the timeline's object at that depth.
  s->depth = old->depth;
  s->characterId = old->characterId;
  s->character = old->character;
  s->matrix = old->matrix;
  s->cxform = old->cxform;
  s->ratio = old->ratio;
  s->clipDepth = old->clipDepth;
  s->name = old->name;
  s->visible = old->visible;
  s->blendMode = old->blendMode;
  s->filters = old->filters;
  s->serial = old->serial;
  s->autoNamed = old->autoNamed;
  s->clipEvents = old->clipEvents;
  s->lockRoot = old->lockRoot;
  s->loadedAddress = address;
  if (movie) {
    ctx_->loadedMovies[s] = PlayerContext::LoadedMovie{movie, path};
    ctx_->levelData[s] = movie->data;
    sound_->addMovie(movie);
  }
  *slot = std::move(fresh);  // the old clip goes; scripts' references to it are dead
  s->setPlaying(true);
  noteArrival();
  // Its first frame comes when the clips next advance, as a level's does (loadPendingLevels).
  if (image) {
    // The picture lies where the loaded movie's first object would, under what scripts add.
    auto picture = std::make_unique<PlacedObject>(*ctx_, s, s->nesting() + 1);
    picture->depth = 1;
    picture->drawing = bitmapRectangle(image, false);
    s->children[picture->depth] = std::move(picture);
  }
  ctx_->changed = true;
  return s;
}

}  // namespace swf
