// Classes of exported symbols: Object.registerClass names a constructor for a symbol, and every
// clip made from that symbol afterwards (by the timeline, attachMovie or duplicateMovieClip) is
// made as its instance: the constructor's prototype is its __proto__ and the constructor runs on
// it. Clips made before the registration keep the class they had.

#include "swf/avm1/vm.h"

namespace swf::avm1 {
namespace {

// Symbol names match whatever the case of their ASCII letters, as attachMovie finds them.
std::string symbolKey(const std::string& symbol) {
  std::string k = symbol;
  for (char& c : k)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return k;
}

}  // namespace

void Vm::registerClass(const std::string& symbol, Object* ctor) {
  if (ctor)
    classes_[symbolKey(symbol)] = ctor;
  else
    classes_.erase(symbolKey(symbol));
}

Object* Vm::registeredClass(const std::string& symbol) const {
  if (symbol.empty()) return nullptr;
  auto it = classes_.find(symbolKey(symbol));
  return it == classes_.end() ? nullptr : it->second;
}

void Vm::adoptClass(ClipObject* clip, Object* ctor) {
  if (!clip || !ctor) return;
  Value proto = get(ctor, names_->prototype);
  put(clip, names_->proto, proto.isObject() ? proto : Value(objectProto), DontEnum);
  put(clip, names_->ctor2, Value(ctor), DontEnum);
  if (version_ < 6) put(clip, names_->constructor, Value(ctor), DontEnum);
}

void Vm::constructClip(ClipObject* clip, Object* ctor) {
  auto* f = dynamic_cast<Function*>(ctor);
  if (!clip || !f) return;
  Object* holder = get(f, names_->prototype).object();
  if (!frames.empty()) {
    // Inside attachMovie: what the constructor throws goes on to the script that called it.
    callFunction(f, clip, {}, holder, true);
    return;
  }
  Pin keep(*this, Value(clip));
  blockStart = std::chrono::steady_clock::now();
  try {
    callFunction(f, clip, {}, holder, true);
  } catch (const ScriptThrow&) {
  } catch (const ScriptAbort&) {
  }
  stack.clear();
  maybeCollect();
}

void Vm::initClip(DisplayNode* node, const std::string& symbol, const Value& init) {
  if (!node) return;
  ClipObject* clip = clipFor(node);
  // SWF 5 code makes plain clips: registered classes are for its timelines only.
  Object* ctor = version_ < 6 ? nullptr : registeredClass(symbol);
  adoptClass(clip, ctor);
  if (Object* from = init.object()) {
    Pin keep(*this, init);
    // Every property of the object's own, hidden ones too, in the order they were made.
    std::vector<std::pair<String*, Value>> props;
    // The object's own link to its prototype stays its own: the clip keeps its class.
    for (const Property& p : from->props.list())
      if (key(p.name) != names_->proto)
        props.emplace_back(p.name, p.getter ? get(from, p.name) : p.value);
    for (auto& [name, value] : props) {
      Pin keepValue(*this, value);
      set(clip, name, value);
    }
  }
  // The node may have gone while the properties were set (a setter removing it).
  if (!clip->alive()) return;
  node->startNode();
  if (ctor && clip->alive()) constructClip(clip, ctor);
}

}  // namespace swf::avm1
