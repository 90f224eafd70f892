// A sprite as scripts see it: navigation, properties by number, frames and labels.

#include <strings.h>

#include <cmath>
#include <numbers>

#include "swf/avm1/vm.h"
#include "swf/player/sprite_instance.h"
#include "swf/render/bounds.h"

namespace swf {
namespace {

// The sprite among `parent`'s children called `name`, looking into the holders of depths that
// several objects share.
avm1::DisplayNode* findNamedSprite(DisplayObject& parent, const std::string& name,
                                   bool caseSensitive) {
  for (auto& [depth, child] : parent.children) {
    if (static_cast<PlacedObject&>(*child).holdsStack) {
      if (auto* s = findNamedSprite(*child, name, caseSensitive)) return s;
      continue;
    }
    bool same =
        caseSensitive ? child->name == name : strcasecmp(child->name.c_str(), name.c_str()) == 0;
    if (same)
      if (auto* s = dynamic_cast<avm1::DisplayNode*>(child.get())) return s;
  }
  return nullptr;
}

double xScale(const Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b) * 100; }
double yScale(const Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d) * 100; }
double rotation(const Matrix& m) { return std::atan2(m.b, m.a) * 180 / std::numbers::pi; }

void setTransform(Matrix& m, double xs, double ys, double rot) {
  double r = rot * std::numbers::pi / 180;
  double skew = std::atan2(-m.c, m.d) - std::atan2(m.b, m.a);  // keep any skew there was
  m.a = xs / 100 * std::cos(r);
  m.b = xs / 100 * std::sin(r);
  m.c = -ys / 100 * std::sin(r + skew);
  m.d = ys / 100 * std::cos(r + skew);
}

}  // namespace

std::string slashPathOf(const SpriteInstance* s) {
  std::string out;
  while (s && s->parentTimeline()) {
    out = "/" + s->name + out;
    s = s->parentTimeline();
  }
  return out.empty() ? "/" : out;
}

avm1::DisplayNode* SpriteInstance::childNode(const std::string& name, bool caseSensitive) {
  return findNamedSprite(*this, name, caseSensitive);
}

avm1::DisplayNode* SpriteInstance::rootNode() {
  SpriteInstance* s = this;
  while (s->parentTimeline()) s = s->parentTimeline();
  return s;
}

void SpriteInstance::gotoFrame(int frame, bool play) {
  gotoFrame(frame);
  playing_ = play;
}

bool SpriteInstance::gotoLabel(const std::string& label, bool play) {
  int frame = timeline_.findLabel(label);
  if (frame < 0) return false;
  gotoFrame(frame, play);
  return true;
}

std::vector<std::span<const uint8_t>> SpriteInstance::frameCode(int frame) {
  if (frame < 0 || frame >= frameCount()) return {};
  return timeline_.frames[size_t(frame)].actions;
}

std::shared_ptr<const void> SpriteInstance::codeOwner() const {
  const SpriteInstance* s = this;
  while (s->parentTimeline() && !ctx_.loadedMovies.count(s)) s = s->parentTimeline();
  auto it = ctx_.levelData.find(s);
  return it == ctx_.levelData.end() ? nullptr : it->second;
}

void SpriteInstance::queueEvent(uint32_t flag, const char* handler) {
  bool init = flag & (kEventInitialize | kEventConstruct);
  bool load = flag & (kEventLoad | kEventUnload);
  auto queue = [&](const QueuedActions& q) {
    if (init)
      ctx_.queueInit(q);
    else if (load)
      ctx_.queueLoad(q);
    else
      ctx_.actions.push_back(q);
  };
  for (const ClipEvent& e : clipEvents)
    if (e.flags & flag) queue({lifeToken(), this, e.actions, nullptr});
  if (handler) queue({lifeToken(), this, {}, handler});
}

avm1::Value SpriteInstance::getProperty(avm1::Vm& vm, int index) {
  using avm1::Value;
  switch (index) {
    case avm1::PropX:
      return Value(matrix.tx / 20);
    case avm1::PropY:
      return Value(matrix.ty / 20);
    case avm1::PropXScale:
      return Value(xScale(matrix));
    case avm1::PropYScale:
      return Value(yScale(matrix));
    case avm1::PropCurrentFrame:
      return Value(std::max(frame_, 0) + 1);
    case avm1::PropTotalFrames:
    case avm1::PropFramesLoaded:
      return Value(frameCount());
    case avm1::PropAlpha:
      return Value(cxform.am * 100);
    case avm1::PropVisible:
      return Value(visible);
    case avm1::PropWidth:
    case avm1::PropHeight: {
      auto box = objectBounds(*this, matrix);
      if (!box) return Value(0);
      double size = index == avm1::PropWidth ? box->x1 - box->x0 : box->y1 - box->y0;
      return Value(std::round(size) / 20);
    }
    case avm1::PropRotation:
      return Value(rotation(matrix));
    case avm1::PropTarget:
      return Value(vm.str(slashPathOf(this)));
    case avm1::PropName:
      return Value(vm.str(name));
    case avm1::PropDropTarget:
      return Value(vm.str(dropTarget));
    case avm1::PropXMouse:
    case avm1::PropYMouse: {
      double x = ctx_.mouseX / 20, y = ctx_.mouseY / 20;
      globalToLocal(x, y);
      return Value(index == avm1::PropXMouse ? x : y);
    }
    case avm1::PropUrl:
      return Value(vm.intern("file:///"));
    case avm1::PropHighQuality:
      return Value(1);
    case avm1::PropFocusRect:
      return Value::null();
    case avm1::PropSoundBufTime:
      return Value(5);
    case avm1::PropQuality:
      return Value(vm.intern("HIGH"));
    default:
      return Value(0);
  }
}

void SpriteInstance::setProperty(avm1::Vm& vm, int index, const avm1::Value& v) {
  double d = vm.toNumber(v);
  bool finite = std::isfinite(d);
  switch (index) {
    case avm1::PropX:
      if (finite) matrix.tx = std::round(d * 20);
      break;
    case avm1::PropY:
      if (finite) matrix.ty = std::round(d * 20);
      break;
    case avm1::PropXScale:
      if (finite) setTransform(matrix, d, yScale(matrix), rotation(matrix));
      break;
    case avm1::PropYScale:
      if (finite) setTransform(matrix, xScale(matrix), d, rotation(matrix));
      break;
    case avm1::PropRotation:
      if (finite) setTransform(matrix, xScale(matrix), yScale(matrix), d);
      break;
    case avm1::PropAlpha:
      if (finite) cxform.am = d / 100;
      break;
    case avm1::PropVisible:
      visible = vm.toBoolean(v);
      break;
    case avm1::PropName:
      name = vm.toString(v);
      if (scriptObject) scriptObject->setPath(vm.targetPathOf(this));
      break;
    default:
      return;
  }
  ctx_.changed = true;
}

}  // namespace swf
