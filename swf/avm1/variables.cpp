// Variables by name through the scope chain, and by path through the display tree
// ("/a/b:v", "../x", "_root.a.v", "_level1").

#include <cctype>
#include <cstring>

#include "swf/avm1/exec_frame.h"
#include "swf/avm1/super_object.h"
#include "swf/avm1/vm.h"

namespace swf::avm1 {
namespace {

bool equalsName(const std::string& a, const char* b, bool caseSensitive) {
  return caseSensitive ? a == b : strcasecmp(a.c_str(), b) == 0;
}

// The number of "_levelN" (any case); -1 for other names.
int levelNumber(const std::string& name) {
  if (name.size() <= 6 || name.size() > 12 || strncasecmp(name.c_str(), "_level", 6) != 0)
    return -1;
  int level = 0;
  for (size_t i = 6; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    level = level * 10 + (name[i] - '0');
  }
  return level;
}

bool isPath(String* s) {
  if (s->hasPathChars < 0) s->hasPathChars = s->text.find_first_of(":/.") != std::string::npos;
  return s->hasPathChars;
}

// A name that is looked up only through the scope chain: no path, and none of the names the
// machine answers itself (in any case, so the answer holds for every version).
bool isPlain(String* s) {
  if (s->plainName < 0) {
    const char* t = s->text.c_str();
    bool special = isPath(s) || levelNumber(s->text) >= 0 || strcasecmp(t, "this") == 0 ||
                   strcasecmp(t, "_global") == 0 || strcasecmp(t, "super") == 0 ||
                   strcasecmp(t, "arguments") == 0;
    s->plainName = !special;
  }
  return s->plainName;
}

}  // namespace

DisplayNode* Vm::resolveTarget(ClipObject* from, const std::string& path) {
  DisplayNode* t = from ? from->node() : nullptr;
  size_t i = 0;
  if (!path.empty() && path[0] == '/') {
    if (!t) return nullptr;
    t = t->rootNode();
    i = 1;
  }
  int guard = 0;
  while (i < path.size() && ++guard < 10000) {
    if (path.compare(i, 2, "..") == 0 && (i + 2 == path.size() || path[i + 2] == '/')) {
      t = t ? t->parentNode() : nullptr;
      i += 3;
      continue;
    }
    size_t end = path.find_first_of("/.:", i);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(i, end - i);
    i = end + 1;
    if (part.empty()) continue;
    if (int level = levelNumber(part); level >= 0) {
      t = host_.levelNode(level);
    } else if (equalsName(part, "_root", caseSensitive())) {
      t = t ? t->rootNode() : nullptr;
    } else if (equalsName(part, "_parent", caseSensitive())) {
      t = t ? t->parentNode() : nullptr;
    } else if (equalsName(part, "this", caseSensitive())) {
      // stays
    } else if (t) {
      DisplayNode* child = t->childNode(part, caseSensitive());
      if (!child) {
        // A variable that holds a clip serves as well as an instance name.
        Value v = get(clipFor(t), intern(part));
        ClipObject* c = v.object() ? v.o->asClip() : nullptr;
        child = c ? c->node() : nullptr;
      }
      t = child;
    }
    if (!t) return nullptr;
  }
  return t;
}

Value Vm::getVariable(ExecFrame& f, String* name, Object** foundOn) {
  Value out;
  if (isPlain(name)) {
    for (size_t i = f.scope.size(); i-- > 0;) {
      Object* o = i == 0 ? f.timeline() : f.scope[i];
      if (o && lookup(o, name, o, out)) {
        if (foundOn) *foundOn = o;
        return out;
      }
      // A `with` object (or an activation) with a __resolve answers for names it lacks.
      if (resolveSeen && i > 0 && o && resolveMissing(o, name, out)) return out;
    }
    lookup(global, name, global, out);
    return out;
  }
  const std::string& text = name->text;
  if (isPath(name)) {
    ClipObject* base = f.timeline() ? f.timeline()->asClip() : nullptr;
    size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
      DisplayNode* t = resolveTarget(base, text.substr(0, colon));
      if (!t) return Value();
      return get(clipFor(t), intern(text.substr(colon + 1)));
    }
    if (text.find('/') != std::string::npos) {
      DisplayNode* t = resolveTarget(base, text);
      return t ? Value(static_cast<Object*>(clipFor(t))) : Value();
    }
    // "a.b.c": the first name through the scope chain, the rest as members.
    size_t dot = text.find('.');
    if (dot > 0 && dot + 1 < text.size()) {
      Value v = getVariable(f, intern(text.substr(0, dot)));
      size_t i = dot + 1;
      while (i <= text.size()) {
        size_t e = text.find('.', i);
        if (e == std::string::npos) e = text.size();
        std::string part = text.substr(i, e - i);
        i = e + 1;
        if (part.empty()) return Value();
        if (!v.object()) return Value();
        v = get(v, intern(part));
      }
      return v;
    }
  }
  String* k = key(name);
  if (k == key(names_->thisName)) return f.self ? Value(f.self) : Value();
  if (k == key(names_->global) && version_ >= 6) return Value(global);
  if (k == key(names_->super) && version_ >= 6) {
    if (!f.superHolder || !f.self) return Value();
    return Value(static_cast<Object*>(make<SuperObject>(f.superHolder, f.self)));
  }
  if (f.callee && k == key(names_->arguments) && f.arguments) return Value(f.arguments);
  for (size_t i = f.scope.size(); i-- > 0;) {
    Object* o = i == 0 ? f.timeline() : f.scope[i];
    if (o && lookup(o, name, o, out)) {
      if (foundOn) *foundOn = o;
      return out;
    }
  }
  if (int level = levelNumber(text); level >= 0) {
    DisplayNode* n = host_.levelNode(level);
    return n ? Value(static_cast<Object*>(clipFor(n))) : Value();
  }
  if (lookup(global, name, global, out)) return out;
  return Value();
}

void Vm::setVariable(ExecFrame& f, String* name, const Value& v) {
  const std::string& text = name->text;
  if (isPath(name)) {
    ClipObject* base = f.timeline() ? f.timeline()->asClip() : nullptr;
    size_t colon = text.rfind(':');
    size_t dot = text.rfind('.');
    size_t cut = colon != std::string::npos ? colon : dot;
    if (cut != std::string::npos && cut > 0 && cut + 1 < text.size()) {
      String* member = intern(text.substr(cut + 1));
      Object* target = nullptr;
      if (colon != std::string::npos || text.find('/') != std::string::npos) {
        DisplayNode* t = resolveTarget(base, text.substr(0, cut));
        target = t ? clipFor(t) : nullptr;
      } else {
        target = getVariable(f, intern(text.substr(0, cut))).object();
      }
      if (target) set(target, member, v);
      return;
    }
  }
  // An assignment goes to the innermost scope object that holds the name itself; one it only
  // inherits does not count (the timeline takes it instead).
  for (size_t i = f.scope.size(); i-- > 1;) {
    Object* o = f.scope[i];
    if (hasOwn(o, name) || (o->asClip() && has(o, name))) {
      set(o, name, v);
      return;
    }
  }
  if (Object* t = f.timeline()) set(t, name, v);
}

}  // namespace swf::avm1
