#include "swf/player/placed_object.h"

#include "swf/avm1/vm.h"
#include "swf/movie/button.h"
#include "swf/movie/sprite.h"
#include "swf/player/button_instance.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"
#include "swf/video/video_instance.h"

namespace swf {

bool PlacedObject::applyPlacement(const Placement& p) {
  // Unnamed sprites keep the "instanceN" name they were given.
  const std::string& newName = p.name.empty() && autoNamed ? name : p.name;
  bool moves = !scriptMoved && !(matrix == p.matrix);
  bool changed = moves || !(cxform == p.cxform) || ratio != p.ratio || clipDepth != p.clipDepth ||
                 visible != p.visible || name != newName || blendMode != p.blendMode ||
                 filters != p.filters;
  if (moves) {
    scriptScale.valid = false;
    matrix = p.matrix;
  }
  cxform = p.cxform;
  ratio = p.ratio;
  clipDepth = p.clipDepth;
  visible = p.visible;
  name = newName;
  blendMode = p.blendMode;
  filters = p.filters;
  return changed;
}

std::unique_ptr<PlacedObject> instantiate(const Placement& p, int depth, PlayerContext& ctx,
                                          SpriteInstance* parentTimeline, int nesting) {
  if (ctx.liveObjects >= kMaxLiveObjects) return nullptr;
  std::unique_ptr<PlacedObject> o;
  SpriteInstance* sprite = nullptr;
  const Character* c = p.character.get();
  if (c && c->kind() == CharacterKind::Sprite && nesting < kMaxNesting) {
    auto s = std::make_unique<SpriteInstance>(static_cast<const SpriteCharacter*>(c)->timeline, ctx,
                                              parentTimeline, nesting);
    sprite = s.get();
    o = std::move(s);
  } else if (c && c->kind() == CharacterKind::EditText) {
    o = std::make_unique<TextFieldInstance>(static_cast<const EditTextCharacter&>(*c), ctx,
                                            parentTimeline, nesting);
  } else if (c && c->kind() == CharacterKind::Button && nesting < kMaxNesting) {
    o = std::make_unique<ButtonInstance>(*static_cast<const ButtonCharacter*>(c), ctx,
                                         parentTimeline, nesting);
  } else if (auto* video = dynamic_cast<const VideoCharacter*>(c)) {
    o = std::make_unique<VideoInstance>(*video, ctx, parentTimeline, nesting);
  } else {
    o = std::make_unique<PlacedObject>(ctx, parentTimeline, nesting);
  }
  o->depth = depth;
  o->characterId = p.characterId;
  o->character = p.character;
  o->serial = p.serial;
  o->applyPlacement(p);
  if (sprite && o->name.empty()) {
    // Scripts see unnamed sprites by a name of their own, numbered through the player's life.
    o->name = "instance" + std::to_string(++ctx.instanceCount);
    o->autoNamed = true;
  }
  if (sprite) {
    if (!p.clipActions.empty() && parentTimeline)
      sprite->clipEvents = readClipEvents(p.clipActions, parentTimeline->timeline().swfVersion);
    // A symbol with a registered class: the clip becomes its instance after its initialize
    // events and is constructed after its construct events, all before the frame's actions.
    // The steps look the class up when they run, for the frame's init actions (which run
    // after the frame was placed) may register it.
    bool exported = !p.byScript && ctx.vm && !sprite->symbolName().empty();
    bool classed = exported && ctx.vm->registeredClass(sprite->symbolName());
    // SWF 5 movies only know the classes registered before the clip was placed.
    if (parentTimeline && parentTimeline->timeline().swfVersion < 6) exported = classed;
    using Step = QueuedActions::ClassStep;
    sprite->queueEvent(kEventInitialize, nullptr);
    if (exported)
      ctx.constructQueue.push_back({sprite->lifeToken(), sprite, {}, nullptr, Step::Prototype});
    sprite->queueEvent(kEventConstruct, nullptr);
    if (exported)
      ctx.constructQueue.push_back({sprite->lifeToken(), sprite, {}, nullptr, Step::Constructor});
    // A clip's load comes before those of the clips its first frame places.
    if (!sprite->clipEvents.empty() || sprite->scriptObject || classed)
      sprite->queueEvent(kEventLoad, "onLoad");
    if (!p.startLater) sprite->start();
  }
  return o;
}

}  // namespace swf
