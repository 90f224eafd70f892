// The XMLNode and XML classes: the node API, parsing, printing and loading from local files.

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/builtins/xml_node.h"
#include "swf/avm1/load_queue.h"

namespace swf::avm1 {
namespace {

constexpr char kNodeCtorKey[] = "XMLNode";

XmlNode* nodeOf(Object* o) { return dynamic_cast<XmlNode*>(o); }
Value nodeValue(XmlNode* n) { return n ? Value(static_cast<Object*>(n)) : Value(); }

Object* allocateNode(Vm& vm) { return vm.make<XmlNode>(); }

// The prototype `new` gave the object being made.
Object* protoOfNew(Vm& vm, Object* self) { return vm.get(self, vm.names().proto).object(); }

// new XMLNode(type, text): both are needed (a node made without them is no node), and making
// one gives its prototype the node properties.
Value xmlNodeCtor(Vm& vm, Object* self, Args args) {
  XmlNode* n = nodeOf(self);
  if (!n || !vm.isConstructing || args.at(0).isUndefined() || args.at(1).isUndefined())
    return Value();
  n->valid = true;
  // Only type 1 makes an element; any other number makes a text node.
  n->type = vm.toNumber(args.at(0)) == 1.0 ? XmlElement : XmlText;
  n->name = n->value = Value::null();
  (n->type == XmlElement ? n->name : n->value) = Value(vm.toStr(args.at(1)));
  defineNodeAccessors(vm, protoOfNew(vm, n));
  return Value();
}

Value xmlCtor(Vm& vm, Object* self, Args args) {
  XmlNode* n = nodeOf(self);
  if (!n || !vm.isConstructing) return Value();
  n->valid = true;
  n->name = n->value = Value::null();
  n->contentType = Value(vm.intern("application/x-www-form-urlencoded"));
  defineDocumentAccessors(vm, protoOfNew(vm, n));
  if (!args.at(0).isUndefined()) parseXml(vm, n, vm.toString(args.at(0)));
  return Value();
}

// What createElement and createTextNode make: a node as `new XMLNode` makes it, or nothing
// without a name or text.
Value createNode(Vm& vm, int type, const Value& nameOrValue) {
  if (nameOrValue.isUndefined()) return Value();
  XmlNode* n = newXmlNode(vm, type, nameOrValue);
  defineNodeAccessors(vm, protoOfNew(vm, n));
  return Value(static_cast<Object*>(n));
}

// A node that is already a child of this one stays where it is.
Value appendChild(Vm& vm, Object* self, Args args) {
  XmlNode *n = nodeOf(self), *c = nodeOf(args.at(0).object());
  if (n && c && c->parent != n) n->insert(c, nullptr, vm.version() >= 8);
  return Value();
}

Value insertBefore(Vm& vm, Object* self, Args args) {
  XmlNode *n = nodeOf(self), *c = nodeOf(args.at(0).object()), *b = nodeOf(args.at(1).object());
  if (n && c && b) n->insert(c, b, vm.version() >= 8);
  return Value();
}

Value removeNode(Vm&, Object* self, Args) {
  if (XmlNode* n = nodeOf(self)) n->detach();
  return Value();
}

Value cloneNode(Vm& vm, Object* self, Args args) {
  XmlNode* n = nodeOf(self);
  return n ? nodeValue(cloneXml(vm, n, vm.toBoolean(args.at(0)))) : Value();
}

Value hasChildNodes(Vm&, Object* self, Args) {
  XmlNode* n = nodeOf(self);
  return n ? Value(!n->children.empty()) : Value();
}

// A node made from arguments that name none prints as nothing at all.
Value nodeToString(Vm& vm, Object* self, Args) {
  XmlNode* n = nodeOf(self);
  return n && n->valid ? text(vm, xmlToString(vm, n)) : Value();
}

Value prefixNamespace(Vm& vm, Object* self, Args args, bool byPrefix) {
  XmlNode* n = nodeOf(self);
  if (!n || args.at(0).isUndefined()) return Value::null();
  std::string want = vm.toString(args.at(0));
  XmlWalk walk;
  for (XmlNode* p = n; p && walk.first(p); p = p->parent) {
    if (!p->attributes) continue;
    for (String* a : vm.enumerate(p->attributes)) {
      const std::string& k = a->text;
      if (k != "xmlns" && k.rfind("xmlns:", 0) != 0) continue;
      std::string prefix = k.size() > 6 ? k.substr(6) : "";
      Value uri = vm.get(p->attributes, a);
      if (byPrefix && prefix == want) return uri;
      if (!byPrefix && vm.toString(uri) == want) return text(vm, prefix);
    }
  }
  return Value::null();
}

Value getNamespaceForPrefix(Vm& vm, Object* self, Args args) {
  return prefixNamespace(vm, self, args, true);
}
Value getPrefixForNamespace(Vm& vm, Object* self, Args args) {
  return prefixNamespace(vm, self, args, false);
}

Value createElement(Vm& vm, Object*, Args args) { return createNode(vm, XmlElement, args.at(0)); }
Value createTextNode(Vm& vm, Object*, Args args) { return createNode(vm, XmlText, args.at(0)); }

Value xmlEscapeFn(Vm& vm, Object*, Args args) {
  if (args.size() == 0) return Value();
  return text(vm, xmlEscape(vm.toString(args.at(0))));
}

// Without any text the document keeps its tree.
Value parseXML(Vm& vm, Object* self, Args args) {
  XmlNode* n = nodeOf(self);
  if (n && !args.at(0).isUndefined()) parseXml(vm, n, vm.toString(args.at(0)));
  return Value();
}

// The default onData: parse what came and report it to onLoad.
Value onData(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  Value src = args.at(0);
  bool ok = !src.isUndefined();
  if (ok) {
    if (XmlNode* n = nodeOf(self)) parseXml(vm, n, vm.toString(src));
    vm.set(self, vm.intern("loaded"), Value(true));
  }
  Value r[] = {Value(ok)};
  vm.callMethod(self, vm.intern("onLoad"), r);
  return Value();
}

}  // namespace

Object* xmlNodeConstructor(Vm& vm) {
  auto it = vm.loads().kept.find(kNodeCtorKey);
  return it == vm.loads().kept.end() ? nullptr : it->second.object();
}

Object* xmlNodePrototype(Vm& vm) {
  Object* ctor = xmlNodeConstructor(vm);
  return ctor ? vm.get(ctor, vm.names().prototype).object() : nullptr;
}

void installXml(Vm& vm) {
  Object* np = vm.newObject();
  // The original wrote XML's methods in script: they are enumerable and deletable.
  vm.define(np, "appendChild", appendChild, 0);
  vm.define(np, "insertBefore", insertBefore, 0);
  vm.define(np, "removeNode", removeNode, 0);
  vm.define(np, "cloneNode", cloneNode, 0);
  vm.define(np, "hasChildNodes", hasChildNodes, 0);
  vm.define(np, "toString", nodeToString, 0);
  vm.define(np, "getNamespaceForPrefix", getNamespaceForPrefix, 0);
  vm.define(np, "getPrefixForNamespace", getPrefixForNamespace, 0);
  Function* nodeCtor = vm.defineClass("XMLNode", xmlNodeCtor, np, allocateNode);
  vm.loads().kept[kNodeCtorKey] = Value(static_cast<Object*>(nodeCtor));
  defineNodeAccessors(vm, np);

  // XML.prototype is a node as `new XMLNode` would make it, though not a valid one.
  XmlNode* dp = vm.make<XmlNode>();
  vm.put(dp, vm.names().proto, Value(np), Hidden);
  vm.put(dp, vm.names().ctor2, Value(static_cast<Object*>(nodeCtor)), DontEnum | Version6);
  vm.define(dp, "createElement", createElement, 0);
  vm.define(dp, "createTextNode", createTextNode, 0);
  vm.define(dp, "parseXML", parseXML, 0);
  defineLoadingMethods(vm, dp, 0);
  defineScripted(vm, dp, "onData", onData, 0);
  vm.defineClass("XML", xmlCtor, dp, allocateNode);
  dp->props.remove(vm.key(vm.names().constructor));
  registerAsNative(vm, 100, 5, xmlEscapeFn);
}

}  // namespace swf::avm1
