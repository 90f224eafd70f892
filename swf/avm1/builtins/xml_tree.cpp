// XML nodes: their properties, tree edits, printing and cloning.

#include <strings.h>

#include <algorithm>
#include <array>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/xml_node.h"
#include "swf/avm1/load_queue.h"

namespace swf::avm1 {
namespace {

enum NodeProp {
  PFirstChild,
  PLastChild,
  PNextSibling,
  PPreviousSibling,
  PParentNode,
  PChildNodes,
  PNodeName,
  PNodeValue,
  PNodeType,
  PAttributes,
  PLocalName,
  PPrefix,
  PNamespaceURI,
  PNone
};

constexpr std::array<const char*, PNone> kPropNames = {
    "firstChild", "lastChild", "nextSibling", "previousSibling", "parentNode",
    "childNodes", "nodeName",  "nodeValue",   "nodeType",        "attributes",
    "localName",  "prefix",    "namespaceURI"};

int propOf(Vm& vm, String* key) {
  for (size_t i = 0; i < kPropNames.size(); ++i) {
    bool same = vm.caseSensitive() ? key->text == kPropNames[i]
                                   : strcasecmp(key->text.c_str(), kPropNames[i]) == 0;
    if (same) return int(i);
  }
  return PNone;
}

Value nodeValue(XmlNode* n) { return n ? Value(static_cast<Object*>(n)) : Value(); }

XmlNode* sibling(XmlNode* n, int step) {
  if (!n->parent) return nullptr;
  auto& c = n->parent->children;
  auto it = std::find(c.begin(), c.end(), n);
  if (it == c.end()) return nullptr;
  long i = long(it - c.begin()) + step;
  return i >= 0 && i < long(c.size()) ? c[size_t(i)] : nullptr;
}

// "a:b" → prefix "a", local name "b".
std::string prefixOf(const std::string& name) {
  size_t colon = name.find(':');
  return colon == std::string::npos ? "" : name.substr(0, colon);
}

Value namespaceOf(Vm& vm, XmlNode* n) {
  if (!n->name.isString()) return Value::null();
  std::string prefix = prefixOf(n->name.s->text);
  String* attr = vm.intern(prefix.empty() ? "xmlns" : "xmlns:" + prefix);
  for (XmlNode* p = n; p; p = p->parent)
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
}

bool XmlNode::getNative(Vm& vm, String* key, Value& out) {
  switch (propOf(vm, key)) {
    case PFirstChild:
      out = nodeValue(children.empty() ? nullptr : children.front());
      break;
    case PLastChild:
      out = nodeValue(children.empty() ? nullptr : children.back());
      break;
    case PNextSibling:
      out = nodeValue(sibling(this, 1));
      break;
    case PPreviousSibling:
      out = nodeValue(sibling(this, -1));
      break;
    case PParentNode:
      out = nodeValue(parent);
      break;
    case PChildNodes:
      out = Value(static_cast<Object*>(childArray(vm)));
      break;
    case PNodeName:
      out = name;
      break;
    case PNodeValue:
      out = value;
      break;
    case PNodeType:
      out = Value(type);
      break;
    case PAttributes:
      if (!attributes) attributes = vm.newObject();
      out = Value(attributes);
      break;
    case PLocalName:
      if (!name.isString()) return out = Value::null(), true;
      out = text(vm, name.s->text.substr(name.s->text.find(':') + 1));
      break;
    case PPrefix:
      out = name.isString() ? text(vm, prefixOf(name.s->text)) : Value::null();
      break;
    case PNamespaceURI:
      out = namespaceOf(vm, this);
      break;
    default:
      return false;
  }
  return true;
}

bool XmlNode::setNative(Vm& vm, String* key, const Value& v) {
  switch (propOf(vm, key)) {
    case PNodeName:
      name = v.isNullish() ? Value::null() : Value(vm.toStr(v));
      return true;
    case PNodeValue:
      value = v.isNullish() ? Value::null() : Value(vm.toStr(v));
      return true;
    case PNone:
      return false;
    default:
      return true;  // the others are read-only
  }
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

bool XmlNode::insert(XmlNode* child, XmlNode* before) {
  // Only a node with children can be an ancestor, so building a deep chain stays linear.
  if (child == this) return false;
  if (!child->children.empty())
    for (XmlNode* p = parent; p; p = p->parent)
      if (p == child) return false;
  if (before && before->parent != this) return false;
  child->detach();
  auto at = before ? std::find(children.begin(), children.end(), before) : children.end();
  children.insert(at, child);
  child->parent = this;
  childArrayStale_ = true;
  return true;
}

ArrayObject* XmlNode::childArray(Vm& vm) {
  if (!childArray_) childArray_ = vm.newArray();
  if (childArrayStale_) {
    childArray_->items.clear();
    for (XmlNode* c : children) childArray_->items.push_back(Value(static_cast<Object*>(c)));
    childArrayStale_ = false;
  }
  return childArray_;
}

XmlNode* newXmlNode(Vm& vm, int type, const Value& nameOrValue) {
  XmlNode* n = vm.make<XmlNode>();
  vm.put(n, vm.names().proto, Value(xmlNodePrototype(vm)), DontEnum);
  n->type = type;
  n->name = Value::null();
  n->value = Value::null();
  Value v = nameOrValue.isNullish() ? Value::null() : Value(vm.toStr(nameOrValue));
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
  while (!stack.empty()) {
    auto [n, closing] = stack.back();
    stack.pop_back();
    bool named = n->type == XmlElement && n->name.isString();
    if (closing) {
      if (named) out += "</" + n->name.s->text + ">";
      continue;
    }
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
    vm.put(c, vm.names().proto, vm.get(from, vm.names().proto), DontEnum);
    c->type = from->type;
    c->name = from->name;
    c->value = from->value;
    if (from->attributes) {
      c->attributes = vm.newObject();
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
  while (!work.empty()) {
    auto [from, to] = work.back();
    work.pop_back();
    for (XmlNode* child : from->children) {
      XmlNode* c = copyOne(child);
      to->insert(c, nullptr);
      work.push_back({child, c});
    }
  }
  return top;
}

}  // namespace swf::avm1
