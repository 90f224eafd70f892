#pragma once
// XML trees as scripts see them (XMLNode and XML). Nodes keep their children in a vector and
// reach their parent by pointer; every walk over a tree (parsing, printing, cloning, the
// collector's marking) is a loop with its own stack, so a tree nested 100,000 deep is fine.

#include <string>
#include <vector>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/load_text.h"

namespace swf::avm1 {

enum XmlNodeType { XmlElement = 1, XmlText = 3 };

class XmlNode : public TextLoadingObject {
 public:
  int type = XmlElement;
  Value name;   // a string, or null (text nodes and documents)
  Value value;  // a string, or null (elements)
  XmlNode* parent = nullptr;
  std::vector<XmlNode*> children;
  Object* attributes = nullptr;

  void traceChildren(Tracer& t) override;
  bool getNative(Vm& vm, String* key, Value& out) override;
  bool setNative(Vm& vm, String* key, const Value& v) override;

  // Detaches the node from its parent.
  void detach();
  void removeAllChildren();
  // Inserts `child` before `before` (or at the end); false when it would make a cycle.
  bool insert(XmlNode* child, XmlNode* before);
  // The childNodes array, brought up to date.
  ArrayObject* childArray(Vm& vm);

 private:
  ArrayObject* childArray_ = nullptr;
  bool childArrayStale_ = true;
};

// The most nodes one parse makes; a larger text stops with the out-of-memory status.
inline constexpr size_t kMaxXmlParseNodes = 1u << 20;

// Error codes of XML.status.
enum XmlStatus {
  XmlOk = 0,
  XmlCdataUnterminated = -2,
  XmlDeclUnterminated = -3,
  XmlDoctypeUnterminated = -4,
  XmlCommentUnterminated = -5,
  XmlMalformedElement = -6,
  XmlOutOfMemory = -7,
  XmlAttributeUnterminated = -8,
  XmlMissingEndTag = -9,
  XmlMissingStartTag = -10,
};

// A new node with XMLNode's prototype (or XML's for documents).
XmlNode* newXmlNode(Vm& vm, int type, const Value& nameOrValue);
// Replaces `doc`'s children with the tree in `text`; sets status, xmlDecl and docTypeDecl.
void parseXml(Vm& vm, XmlNode* doc, const std::string& text);
// The node as XML text; documents start with their declarations.
std::string xmlToString(Vm& vm, XmlNode* node);
// A copy of `node`, with its descendants when `deep`.
XmlNode* cloneXml(Vm& vm, XmlNode* node, bool deep);
// XMLNode.prototype and XML.prototype, as the machine made them.
Object* xmlNodePrototype(Vm& vm);
Object* xmlDocumentPrototype(Vm& vm);

}  // namespace swf::avm1
