// Variables by name through the scope chain, and by path through the display tree
// ("/a/b:v", "../x", "_root.a.v", "_level1").

#include <algorithm>
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

// The number of "_levelN" (any case unless `caseSensitive`); -1 for other names.
int levelNumber(const std::string& name, bool caseSensitive = false) {
  if (name.size() <= 6 || name.size() > 12) return -1;
  if (caseSensitive ? name.compare(0, 6, "_level") != 0
                    : strncasecmp(name.c_str(), "_level", 6) != 0)
    return -1;
  int level = 0;
  for (size_t i = 6; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    level = level * 10 + (name[i] - '0');
  }
  return level;
}

constexpr size_t kMaxPathName = 127;

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

// `v` is the child clip of `o` named by `key`, found by that name rather than held by a variable.
bool isChildNamed(Object* o, String* key, const Value& v) {
  ClipObject* parent = o->asClip();
  ClipObject* child = v.object() ? v.o->asClip() : nullptr;
  DisplayNode* n = parent && child ? child->node() : nullptr;
  return n && n->parentNode() == parent->node() && !o->props.find(key);
}

}  // namespace

// One step of a path from `from`: a level, _root, _parent, a child clip by name, or else
// whatever object a variable of that name holds. Null when there is none.
Object* Vm::pathStep(Object* from, std::string_view name) {
  std::string part(name);
  if (int level = levelNumber(part, caseSensitive()); level >= 0) {
    DisplayNode* n = host_.levelNode(level);
    return n ? clipFor(n) : nullptr;
  }
  ClipObject* clip = from->asClip();
  DisplayNode* node = clip ? clip->node() : nullptr;
  if (node) {
    if (equalsName(part, "_root", caseSensitive())) return clipFor(node->rootNode());
    if (equalsName(part, "_parent", caseSensitive())) {
      DisplayNode* p = node->parentNode();
      return p ? clipFor(p) : nullptr;
    }
    if (DisplayNode* child = node->childNode(part, caseSensitive())) return clipFor(child);
  }
  if (equalsName(part, "this", caseSensitive())) return from;
  if (version_ >= 6 && equalsName(part, "_global", caseSensitive())) return global;
  Value v = get(from, intern(part));
  return v.object() ? v.o : nullptr;
}

// Walks a target path. Names are separated by '/' and ':', and by '.' until a '/' or a ".."
// appeared (after that a dot belongs to the name, as in "a/b.c"); ".." is the parent when it
// stands between separators; a leading '/' is the root of `base`. Extra colons after a
// separator are skipped unless they are all the element holds (then they are a name: "a/:/").
// An empty name anywhere else ends the walk, so "a//b", "a./b" and "a::" reach nothing.
// With `clipsOnly`, every step must reach a clip.
Object* Vm::walkPath(Object* start, ClipObject* base, std::string_view p, bool clipsOnly) {
  if (p.empty() || !start) return nullptr;
  Object* c = start;
  size_t i = 0, n = p.size();
  bool slash = false;
  char prev = 0;  // the separator before this element; 0 at the start
  if (p[0] == '/') {
    DisplayNode* node = base ? base->node() : nullptr;
    if (!node) return nullptr;
    c = clipFor(node->rootNode());
    i = 1;
    slash = true;
    prev = '/';
  }
  auto fits = [&](Object* o) { return o && (!clipsOnly || o->asClip()); };
  if (!fits(c)) return nullptr;
  int guard = 0;
  while (i < n) {
    if (++guard > 100000) return nullptr;
    size_t j = i;
    while (j < n && p[j] == ':') ++j;
    if (j > i) {
      if (j == n || p[j] == '/') {
        c = pathStep(c, p.substr(i, j - i));
        if (!fits(c)) return nullptr;
        i = j;
        if (i < n) {
          ++i;
          slash = true;
          prev = '/';
        }
        continue;
      }
      i = j;
      prev = ':';
    }
    bool parentStep = p.compare(i, 2, "..") == 0 && (prev == 0 || prev == '/' || prev == ':') &&
                      (i + 2 == n || p[i + 2] == '/' || p[i + 2] == ':');
    if (parentStep) {
      ClipObject* clip = c->asClip();
      DisplayNode* node = clip ? clip->node() : nullptr;
      DisplayNode* up = node ? node->parentNode() : nullptr;
      if (!up) return nullptr;
      c = clipFor(up);
      i += 2;
      slash = true;
    } else {
      const char* stops = slash || p[i] == '.' ? "/:" : "/:.";
      size_t e = p.find_first_of(stops, i);
      if (e == std::string_view::npos) e = n;
      if (e == i) return nullptr;
      // Names longer than 127 bytes are read in pieces, each a step of its own.
      e = std::min(e, i + kMaxPathName);
      c = pathStep(c, p.substr(i, e - i));
      if (!fits(c)) return nullptr;
      i = e;
      if (i < n && std::string_view(stops).find(p[i]) == std::string_view::npos) {
        prev = 'a';
        continue;
      }
    }
    if (i < n) {
      prev = p[i];
      if (prev == '/') slash = true;
      ++i;
    }
  }
  return c;
}

DisplayNode* Vm::resolveTarget(ClipObject* from, const std::string& path) {
  if (path.empty()) return from ? from->node() : nullptr;
  // Without a clip to start from, only absolute paths ("_level0.a") lead anywhere.
  DisplayNode* level0 = from ? nullptr : host_.levelNode(0);
  ClipObject* start = from ? from : level0 ? clipFor(level0) : nullptr;
  if (!start) return nullptr;
  Object* o = walkPath(start, from, path, true);
  ClipObject* c = o ? o->asClip() : nullptr;
  return c ? c->node() : nullptr;
}

// Where a path with a variable part ("a/b:v", "a.b.v") starts: its first name is looked for
// through the scope chain, innermost first, then on the global object.
Object* Vm::pathTarget(ExecFrame& f, std::string_view path) {
  ClipObject* base = f.timeline() ? f.timeline()->asClip() : nullptr;
  size_t firstEnd = path.find_first_of("/:.");
  std::string first(path.substr(0, firstEnd == std::string_view::npos ? path.size() : firstEnd));
  if (equalsName(first, "this", caseSensitive()))
    return f.self ? walkPath(f.self, base, path, false) : nullptr;
  for (size_t i = f.scope.size(); i-- > 0;) {
    Object* o = i == 0 ? f.timeline() : f.scope[i];
    if (Object* t = o ? walkPath(o, base, path, false) : nullptr) return t;
  }
  return walkPath(global, base, path, false);
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
    // Code of SWF 4 and before knows nothing of the globals.
    if (version_ >= 5) lookup(global, name, global, out);
    return out;
  }
  const std::string& text = name->text;
  if (isPath(name)) {
    // The variable is what follows the last ':' or '.'; a path of slashes alone names a clip.
    size_t cut = text.find_last_of(":.");
    if (cut == std::string::npos) {
      // Only clips count here; a path that reaches none may still be the name of a variable
      // that SetVariable made with it.
      ClipObject* base = f.timeline() ? f.timeline()->asClip() : nullptr;
      if (Object* t = walkPath(f.timeline(), base, text, true)) return Value(t);
      for (size_t i = f.scope.size(); i-- > 0;) {
        Object* o = i == 0 ? f.timeline() : f.scope[i];
        if (o && lookup(o, name, o, out)) return out;
      }
      return Value();
    }
    if (cut + 1 == text.size()) return Value();
    Object* t = pathTarget(f, std::string_view(text).substr(0, cut));
    return t ? get(t, intern(text.substr(cut + 1))) : Value();
  }
  String* k = key(name);
  bool isThis = k == key(names_->thisName), isSuper = k == key(names_->super) && version_ >= 6;
  bool isArguments = k == key(names_->arguments);
  if (isThis || isSuper || isArguments) {
    // A parameter or local of that name comes first. DefineFunction2 may have taken
    // `arguments` away (its register may still hold it); `this` and `super` stay.
    if (f.activation && lookup(f.activation, name, f.activation, out)) return out;
    const ScriptBody* body = f.callee ? f.callee->body.get() : nullptr;
    uint16_t suppressed = body && body->function2 ? body->flags : 0;
    if (isThis) return f.self ? Value(f.self) : Value();
    if (isSuper) {
      if (!f.superHolder) return Value();
      // Without a `this` (a function called by an empty method name), super works on the
      // object it starts from.
      Object* self = f.self ? f.self : f.superHolder;
      return Value(static_cast<Object*>(make<SuperObject>(f.superHolder, self)));
    }
    if (f.callee && f.arguments && !(suppressed & SuppressArguments)) return Value(f.arguments);
  }
  if (k == key(names_->global) && version_ >= 6) return Value(global);
  int level = levelNumber(text, caseSensitive());
  for (size_t i = f.scope.size(); i-- > 0;) {
    Object* o = i == 0 ? f.timeline() : f.scope[i];
    if (o && lookup(o, name, o, out)) {
      // A level comes before a child clip that took its name, though not before a variable.
      if (level >= 0 && isChildNamed(o, k, out)) continue;
      if (foundOn) *foundOn = o;
      return out;
    }
  }
  if (level >= 0) {
    DisplayNode* n = host_.levelNode(level);
    return n ? Value(static_cast<Object*>(clipFor(n))) : Value();
  }
  if (version_ >= 5 && lookup(global, name, global, out)) return out;
  return Value();
}

void Vm::setVariable(ExecFrame& f, String* name, const Value& v) {
  const std::string& text = name->text;
  if (isPath(name)) {
    size_t cut = text.find_last_of(":.");
    if (cut != std::string::npos) {
      if (cut + 1 == text.size()) return;
      if (Object* target = pathTarget(f, std::string_view(text).substr(0, cut)))
        set(target, intern(text.substr(cut + 1)), v);
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
