// XML nodes: their properties, tree edits, printing and cloning.

#include <strings.h>

#include <algorithm>
#include <array>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/xml_node.h"
#include "swf/avm1/load_queue.h"

namespace swf::avm1 {
namespace {

Value nodeOrNull(XmlNode* n) { return n ? Value(static_cast<Object*>(n)) : Value::null(); }

XmlNode* sibling(XmlNode* n, int step) {
  if (!n->parent) return nullptr;
  auto& c = n->parent->children;
  auto it = std::find(c.begin(), c.end(), n);
  if (it == c.end()) return nullptr;
  long i = long(it - c.begin()) + step;
  return i >= 0 && i < long(c.size()) ? c[size_t(i)] : nullptr;
}

// Where a name splits into prefix and local name: at its first colon, unless that colon ends
// the name ("a:" and ":" are local names whole; "::b" is prefix "" and local name ":b").
size_t prefixEnd(const std::string& name) {
  size_t colon = name.find(':');
  return colon == std::string::npos || colon + 1 == name.size() ? std::string::npos : colon;
}

std::string prefixOf(const std::string& name) {
  size_t colon = prefixEnd(name);
  return colon == std::string::npos ? "" : name.substr(0, colon);
}

std::string localNameOf(const std::string& name) {
  size_t colon = prefixEnd(name);
  return colon == std::string::npos ? name : name.substr(colon + 1);
}

Value namespaceOf(Vm& vm, XmlNode* n) {
  if (!n->name.isString()) return Value::null();
  std::string prefix = prefixOf(n->name.s->text);
  String* attr = vm.intern(prefix.empty() ? "xmlns" : "xmlns:" + prefix);
  XmlWalk walk;
  for (XmlNode* p = n; p && walk.first(p); p = p->parent)
    if (p->attributes && vm.hasOwn(p->attributes, attr)) return vm.get(p->attributes, attr);
  return Value(vm.names().empty);
}

void escapeInto(std::string& out, const std::string& s) {
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

void XmlNode::traceChildren(Tracer& t) {
  Object::traceChildren(t);
  name.trace(t);
  value.trace(t);
  t.mark(parent);
  for (XmlNode* c : children) t.mark(c);
  t.mark(attributes);
  t.mark(childArray_);
  for (Value* v : {&xmlDecl, &docTypeDecl, &status, &ignoreWhite, &loaded, &contentType})
    v->trace(t);
}

Object* XmlNode::attributeObject(Vm& vm) {
  if (!attributes) attributes = vm.newObject(nullptr);
  return attributes;
}

namespace {

enum NodeProp {
  PAttributes,
  PChildNodes,
  PFirstChild,
  PLastChild,
  PLocalName,
  PNamespaceURI,
  PNextSibling,
  PNodeName,
  PNodeType,
  PNodeValue,
  PParentNode,
  PPrefix,
  PPreviousSibling,
};

XmlNode* validNode(Object* o) {
  auto* n = dynamic_cast<XmlNode*>(o);
  return n && n->valid ? n : nullptr;
}

template <int P>
Value getNodeProp(Vm& vm, Object* self, Args) {
  XmlNode* n = validNode(self);
  if (!n) return Value();
  switch (P) {
    case PAttributes:
      return Value(n->attributeObject(vm));
    case PChildNodes:
      return Value(static_cast<Object*>(n->childArray(vm)));
    case PFirstChild:
      return nodeOrNull(n->children.empty() ? nullptr : n->children.front());
    case PLastChild:
      return nodeOrNull(n->children.empty() ? nullptr : n->children.back());
    case PLocalName:
      if (!n->name.isString()) return Value::null();
      return text(vm, localNameOf(n->name.s->text));
    case PNamespaceURI:
      return namespaceOf(vm, n);
    case PNextSibling:
      return nodeOrNull(sibling(n, 1));
    case PNodeName:
      return n->name;
    case PNodeType:
      return Value(n->type);
    case PNodeValue:
      return n->value;
    case PParentNode:
      return nodeOrNull(n->parent);
    case PPrefix:
      return n->name.isString() ? text(vm, prefixOf(n->name.s->text)) : Value::null();
    case PPreviousSibling:
      return nodeOrNull(sibling(n, -1));
  }
  return Value();
}

// Setting nodeName or nodeValue to undefined changes nothing; anything else becomes its text
// (null too: "null").
Value setNodeName(Vm& vm, Object* self, Args args) {
  XmlNode* n = validNode(self);
  if (n && !args.at(0).isUndefined()) n->name = Value(vm.toStr(args.at(0)));
  return Value();
}

Value setNodeValue(Vm& vm, Object* self, Args args) {
  XmlNode* n = validNode(self);
  if (n && !args.at(0).isUndefined()) n->value = Value(vm.toStr(args.at(0)));
  return Value();
}

enum DocProp { DContentType, DDocTypeDecl, DIgnoreWhite, DLoaded, DStatus, DXmlDecl };

Value* docField(XmlNode* n, int p) {
  switch (p) {
    case DContentType:
      return &n->contentType;
    case DDocTypeDecl:
      return &n->docTypeDecl;
    case DIgnoreWhite:
      return &n->ignoreWhite;
    case DLoaded:
      return &n->loaded;
    case DStatus:
      return &n->status;
    default:
      return &n->xmlDecl;
  }
}

template <int P>
Value getDocProp(Vm&, Object* self, Args) {
  auto* n = dynamic_cast<XmlNode*>(self);
  return n ? *docField(n, P) : Value();
}

template <int P>
Value setDocProp(Vm& vm, Object* self, Args args) {
  auto* n = dynamic_cast<XmlNode*>(self);
  if (!n) return Value();
  Value v = args.at(0);
  if (v.isUndefined()) return Value();  // writing undefined changes nothing
  // The flags and the status read an object as text before converting it.
  if ((P == DIgnoreWhite || P == DLoaded || P == DStatus) && v.isObject()) vm.toString(v);
  if (P == DIgnoreWhite || P == DLoaded) v = Value(vm.toBoolean(v));
  if (P == DStatus) v = Value(double(vm.toInt32(v)));
  if (P == DContentType || P == DDocTypeDecl || P == DXmlDecl) v = Value(vm.toStr(v));
  *docField(n, P) = v;
  return Value();
}

// An accessor of flags 0 (enumerable, deletable), as the original's native properties are.
void accessor(Vm& vm, Object* proto, const char* name, NativeFn get, NativeFn set) {
  String* n = vm.intern(name);
  String* k = vm.key(n);
  if (proto->props.find(k)) return;
  Property& p = proto->props.add(k, n);
  p.getter = vm.newNative(get);
  p.setter = set ? vm.newNative(set) : nullptr;
  p.flags = 0;
}

}  // namespace

void defineNodeAccessors(Vm& vm, Object* proto) {
  if (!proto) return;
  accessor(vm, proto, "attributes", getNodeProp<PAttributes>, nullptr);
  accessor(vm, proto, "childNodes", getNodeProp<PChildNodes>, nullptr);
  accessor(vm, proto, "firstChild", getNodeProp<PFirstChild>, nullptr);
  accessor(vm, proto, "lastChild", getNodeProp<PLastChild>, nullptr);
  accessor(vm, proto, "localName", getNodeProp<PLocalName>, nullptr);
  accessor(vm, proto, "namespaceURI", getNodeProp<PNamespaceURI>, nullptr);
  accessor(vm, proto, "nextSibling", getNodeProp<PNextSibling>, nullptr);
  accessor(vm, proto, "nodeName", getNodeProp<PNodeName>, setNodeName);
  accessor(vm, proto, "nodeType", getNodeProp<PNodeType>, nullptr);
  accessor(vm, proto, "nodeValue", getNodeProp<PNodeValue>, setNodeValue);
  accessor(vm, proto, "parentNode", getNodeProp<PParentNode>, nullptr);
  accessor(vm, proto, "prefix", getNodeProp<PPrefix>, nullptr);
  accessor(vm, proto, "previousSibling", getNodeProp<PPreviousSibling>, nullptr);
}

void defineDocumentAccessors(Vm& vm, Object* proto) {
  if (!proto) return;
  accessor(vm, proto, "contentType", getDocProp<DContentType>, setDocProp<DContentType>);
  accessor(vm, proto, "docTypeDecl", getDocProp<DDocTypeDecl>, setDocProp<DDocTypeDecl>);
  accessor(vm, proto, "ignoreWhite", getDocProp<DIgnoreWhite>, setDocProp<DIgnoreWhite>);
  accessor(vm, proto, "loaded", getDocProp<DLoaded>, setDocProp<DLoaded>);
  accessor(vm, proto, "status", getDocProp<DStatus>, setDocProp<DStatus>);
  accessor(vm, proto, "xmlDecl", getDocProp<DXmlDecl>, setDocProp<DXmlDecl>);
}

std::string xmlEscape(const std::string& s) {
  std::string out;
  escapeInto(out, s);
  return out;
}

void XmlNode::detach() {
  if (!parent) return;
  auto& c = parent->children;
  c.erase(std::remove(c.begin(), c.end(), this), c.end());
  parent->childArrayStale_ = true;
  parent = nullptr;
}

void XmlNode::removeAllChildren() {
  for (XmlNode* c : children) c->parent = nullptr;
  children.clear();
  childArrayStale_ = true;
}

bool XmlNode::insert(XmlNode* child, XmlNode* before, bool acyclic) {
  if (acyclic) {
    if (child == this) return false;
    // Only a node with children can be an ancestor, so building a deep chain stays linear.
    XmlWalk walk;
    if (!child->children.empty())
      for (XmlNode* p = parent; p && walk.first(p); p = p->parent)
        if (p == child) return false;
  }
  if (before && before->parent != this) return false;
  child->detach();
  auto at = before ? std::find(children.begin(), children.end(), before) : children.end();
  children.insert(at, child);
  child->parent = this;
  childArrayStale_ = true;
  return true;
}

namespace {

// The childNodes array. Its elements are read-only, as the original makes them, until a script
// clears the flag with ASSetPropFlags: the flags of each index are kept in a table entry of that
// name, whose value is never read (the element itself is the array's).
class ChildNodeArray : public ArrayObject {
 public:
  bool setNative(Vm& vm, String* key, const Value& v) override {
    size_t i;
    Property* p = props.find(key);
    if (p && (p->flags & ReadOnly) && arrayIndex(key->text, i)) return true;
    return ArrayObject::setNative(vm, key, v);
  }
  bool deleteNative(Vm& vm, String* key) override {
    Property* p = props.find(key);
    if (p && (p->flags & DontDelete)) return false;  // the table entry refuses
    bool removed = p && props.remove(key);
    return ArrayObject::deleteNative(vm, key) || removed;
  }
  void fill(Vm& vm, const std::vector<XmlNode*>& nodes) {
    std::vector<String*> stale;
    size_t i;
    for (const Property& p : props.list())
      if (arrayIndex(p.key->text, i)) stale.push_back(p.key);
    for (String* k : stale) props.remove(k);
    items.clear();
    for (XmlNode* c : nodes) {
      String* name = vm.intern(std::to_string(items.size()));
      props.add(vm.key(name), name).flags = ReadOnly;
      items.push_back(Value(static_cast<Object*>(c)));
    }
  }
};

ChildNodeArray* newChildNodeArray(Vm& vm) {
  auto* a = vm.make<ChildNodeArray>();
  vm.put(a, vm.names().proto, Value(vm.arrayProto), Hidden);
  if (Property* c = vm.arrayProto ? vm.arrayProto->props.find(vm.names().constructor) : nullptr)
    vm.put(a, vm.names().constructor, c->value, Hidden);
  vm.put(a, vm.names().length, Value(0.0), Hidden);
  return a;
}

}  // namespace

ArrayObject* XmlNode::childArray(Vm& vm) {
  if (!childArray_) childArray_ = newChildNodeArray(vm);
  if (childArrayStale_) {
    static_cast<ChildNodeArray*>(childArray_)->fill(vm, children);
    childArrayStale_ = false;
  }
  return childArray_;
}

XmlNode* newXmlNode(Vm& vm, int type, const Value& nameOrValue) {
  XmlNode* n = vm.make<XmlNode>();
  if (Object* proto = xmlNodePrototype(vm)) vm.put(n, vm.names().proto, Value(proto), Hidden);
  if (Object* ctor = xmlNodeConstructor(vm)) vm.put(n, vm.names().constructor, Value(ctor), Hidden);
  n->valid = true;
  n->type = type;
  n->name = Value::null();
  n->value = Value::null();
  Value v = nameOrValue.isUndefined() ? Value::null() : Value(vm.toStr(nameOrValue));
  (type == XmlElement ? n->name : n->value) = v;
  return n;
}

std::string xmlToString(Vm& vm, XmlNode* root) {
  std::string out;
  bool document = !root->name.isString() && root->type == XmlElement;
  if (document && !root->parent) {
    for (const char* decl : {"xmlDecl", "docTypeDecl"}) {
      Value d = vm.get(root, vm.intern(decl));
      if (!d.isNullish()) out += vm.toString(d);
    }
  }
  // Each entry is a node and whether its children are done (its end tag is next).
  std::vector<std::pair<XmlNode*, bool>> stack{{root, false}};
  XmlWalk walk;
  while (!stack.empty()) {
    auto [n, closing] = stack.back();
    stack.pop_back();
    bool named = n->type == XmlElement && n->name.isString();
    if (closing) {
      if (named) out += "</" + n->name.s->text + ">";
      continue;
    }
    if (!walk.first(n)) continue;  // an ancestor of itself prints once
    if (n->type != XmlElement) {
      if (n->value.isString()) escapeInto(out, n->value.s->text);
      continue;
    }
    if (named) {
      out += "<" + n->name.s->text;
      if (n->attributes) {
        std::vector<String*> names = vm.enumerate(n->attributes);
        for (auto it = names.rbegin(); it != names.rend(); ++it) {
          out += " " + (*it)->text + "=\"";
          escapeInto(out, vm.toString(vm.get(n->attributes, *it)));
          out += "\"";
        }
      }
      if (n->children.empty()) {
        out += " />";
        continue;
      }
      out += ">";
    }
    stack.push_back({n, true});
    for (auto it = n->children.rbegin(); it != n->children.rend(); ++it)
      stack.push_back({*it, false});
    if (out.size() > Vm::kMaxStringLength) throw ScriptAbort{"XML text too long"};
  }
  return out;
}

XmlNode* cloneXml(Vm& vm, XmlNode* node, bool deep) {
  auto copyOne = [&vm](XmlNode* from) {
    XmlNode* c = vm.make<XmlNode>();
    vm.put(c, vm.names().proto, vm.get(from, vm.names().proto), Hidden);
    if (Object* ctor = xmlNodeConstructor(vm))
      vm.put(c, vm.names().constructor, Value(ctor), Hidden);
    c->valid = from->valid;
    c->type = from->type;
    c->name = from->name;
    c->value = from->value;
    if (from->attributes) {
      c->attributes = vm.newObject(nullptr);
      std::vector<String*> names = vm.enumerate(from->attributes);
      for (auto it = names.rbegin(); it != names.rend(); ++it)
        vm.set(c->attributes, *it, vm.get(from->attributes, *it));
    }
    return c;
  };
  XmlNode* top = copyOne(node);
  Vm::Pin pin(vm, Value(static_cast<Object*>(top)));
  if (!deep) return top;
  std::vector<std::pair<XmlNode*, XmlNode*>> work{{node, top}};  // original, copy
  XmlWalk walk;
  walk.first(node);
  while (!work.empty()) {
    auto [from, to] = work.back();
    work.pop_back();
    for (XmlNode* child : from->children) {
      if (!walk.first(child)) continue;
      XmlNode* c = copyOne(child);
      to->insert(c, nullptr);
      work.push_back({child, c});
    }
  }
  return top;
}

}  // namespace swf::avm1
