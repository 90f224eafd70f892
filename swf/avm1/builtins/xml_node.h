#pragma once
// XML trees as scripts see them (XMLNode and XML). Nodes keep their children in a vector and
// reach their parent by pointer; every walk over a tree (parsing, printing, cloning, the
// collector's marking) is a loop with its own stack, so a tree nested 100,000 deep is fine.
// Scripts may make a node its own ancestor (the original player lets appendChild do it), so
// every walk marks the nodes it has seen and passes them by a second time.

#include <atomic>
#include <string>
#include <vector>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/load_text.h"

namespace swf::avm1 {

enum XmlNodeType { XmlElement = 1, XmlText = 3 };

class XmlNode : public TextLoadingObject {
 public:
  // False for an object `new XMLNode` made from arguments that name no node: it reads as no
  // node at all (every node property undefined).
  bool valid = false;
  int type = XmlElement;
  Value name;   // a string, or null (text nodes and documents)
  Value value;  // a string, or null (elements)
  XmlNode* parent = nullptr;
  std::vector<XmlNode*> children;
  Object* attributes = nullptr;  // made on first use, without a prototype
  // A document's own state, read and written through XML.prototype's accessors.
  Value xmlDecl, docTypeDecl, status = Value(0), ignoreWhite = Value(false), loaded, contentType;

  // The walk that last saw this node (see `XmlWalk`).
  unsigned seenBy = 0;

  void traceChildren(Tracer& t) override;
  Object* attributeObject(Vm& vm);

  // Detaches the node from its parent.
  void detach();
  void removeAllChildren();
  // Inserts `child` before `before` (or at the end). With `acyclic`, refuses (false) to make
  // a node its own ancestor, as SWF 8 does; older movies may.
  bool insert(XmlNode* child, XmlNode* before, bool acyclic = true);
  // The childNodes array, brought up to date.
  ArrayObject* childArray(Vm& vm);

 private:
  ArrayObject* childArray_ = nullptr;
  bool childArrayStale_ = true;
};

// One walk over nodes: `first(n)` is true the first time the walk meets `n`.
class XmlWalk {
 public:
  XmlWalk() : id_(next()) {}
  bool first(XmlNode* n) {
    if (n->seenBy == id_) return false;
    n->seenBy = id_;
    return true;
  }

 private:
  static unsigned next() {
    unsigned id = ++last_;
    return id ? id : ++last_;  // 0 is "never seen"
  }
  static inline std::atomic<unsigned> last_{0};
  unsigned id_;
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

// A new node with XMLNode's prototype as it is now.
XmlNode* newXmlNode(Vm& vm, int type, const Value& nameOrValue);
// The node properties (firstChild, nodeName, ...) as accessors on `proto`, where missing: the
// XMLNode constructor gives them to the prototype of each node it makes.
void defineNodeAccessors(Vm& vm, Object* proto);
// The same for a document's properties (status, ignoreWhite, ...), from the XML constructor.
void defineDocumentAccessors(Vm& vm, Object* proto);
// The XML text of `s` with &, <, >, " and ' escaped.
std::string xmlEscape(const std::string& s);
// Replaces `doc`'s children with the tree in `text`; sets status, xmlDecl and docTypeDecl.
void parseXml(Vm& vm, XmlNode* doc, const std::string& text);
// The node as XML text; documents start with their declarations.
std::string xmlToString(Vm& vm, XmlNode* node);
// A copy of `node`, with its descendants when `deep`.
XmlNode* cloneXml(Vm& vm, XmlNode* node, bool deep);
// XMLNode and its prototype now (a script may have replaced the prototype).
Object* xmlNodeConstructor(Vm& vm);
Object* xmlNodePrototype(Vm& vm);

}  // namespace swf::avm1
