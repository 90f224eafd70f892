// Reading XML text into a tree, with the original player's lenient rules: entities it does not
// know stay as written, comments are dropped, CDATA becomes text, declarations are kept as text
// on the document, and the first error stops the parse, keeping what was read before it.

#include <cstring>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/xml_node.h"

namespace swf::avm1 {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string decodeEntities(const std::string& s) {
  static const struct {
    const char* name;
    const char* text;
  } kEntities[] = {{"&lt;", "<"},    {"&gt;", ">"},   {"&amp;", "&"},
                   {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", "\xC2\xA0"}};
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    bool done = false;
    if (s[i] == '&') {
      for (const auto& e : kEntities) {
        size_t n = std::strlen(e.name);
        if (s.compare(i, n, e.name) == 0) {
          out += e.text;
          i += n - 1;
          done = true;
          break;
        }
      }
    }
    if (!done) out += s[i];
  }
  return out;
}

bool startsWith(const std::string& s, size_t at, const char* prefix) {
  return s.compare(at, std::strlen(prefix), prefix) == 0;
}

class Parser {
 public:
  Parser(Vm& vm, XmlNode* doc, const std::string& s, bool ignoreWhite)
      : vm_(vm), s_(s), ignoreWhite_(ignoreWhite), open_{doc} {}

  int run() {
    while (pos_ < s_.size()) {
      int status = s_[pos_] == '<' ? markup() : textNode();
      if (status != XmlOk) return status;
    }
    return open_.size() > 1 ? XmlMissingEndTag : XmlOk;
  }

  std::string xmlDecl, docTypeDecl;

 private:
  int add(XmlNode* n) {
    if (++made_ > kMaxXmlParseNodes) return XmlOutOfMemory;
    open_.back()->insert(n, nullptr);
    return XmlOk;
  }

  int textNode() {
    size_t end = s_.find('<', pos_);
    if (end == std::string::npos) end = s_.size();
    std::string raw = s_.substr(pos_, end - pos_);
    pos_ = end;
    if (ignoreWhite_) {
      bool blank = true;
      for (char c : raw) blank = blank && isSpace(c);
      if (blank) return XmlOk;
    }
    return add(newXmlNode(vm_, XmlText, text(vm_, decodeEntities(raw))));
  }

  // Skips to past `terminator`; false when it never comes.
  bool skipPast(const char* terminator, std::string* kept) {
    size_t end = s_.find(terminator, pos_);
    if (end == std::string::npos) return false;
    end += std::strlen(terminator);
    if (kept) *kept += s_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
  }

  int markup() {
    if (startsWith(s_, pos_, "<!--"))
      return skipPast("-->", nullptr) ? XmlOk : XmlCommentUnterminated;
    if (startsWith(s_, pos_, "<![CDATA[")) {
      size_t end = s_.find("]]>", pos_);
      if (end == std::string::npos) return XmlCdataUnterminated;
      std::string raw = s_.substr(pos_ + 9, end - pos_ - 9);
      pos_ = end + 3;
      return add(newXmlNode(vm_, XmlText, text(vm_, raw)));
    }
    if (startsWith(s_, pos_, "<!")) return doctype();
    if (startsWith(s_, pos_, "<?")) return skipPast("?>", &xmlDecl) ? XmlOk : XmlDeclUnterminated;
    if (startsWith(s_, pos_, "</")) return endTag();
    return startTag();
  }

  // A declaration ends at its first '>', or after its internal subset ("[ ... ]") when one
  // starts before that.
  int doctype() {
    size_t gt = s_.find('>', pos_), open = s_.find('[', pos_);
    if (open != std::string::npos && open < gt) {
      size_t close = s_.find(']', open);
      gt = close == std::string::npos ? close : s_.find('>', close);
    }
    if (gt == std::string::npos) return XmlDoctypeUnterminated;
    docTypeDecl += s_.substr(pos_, gt + 1 - pos_);
    pos_ = gt + 1;
    return XmlOk;
  }

  int endTag() {
    size_t end = s_.find('>', pos_);
    if (end == std::string::npos) return XmlMalformedElement;
    std::string name = s_.substr(pos_ + 2, end - pos_ - 2);
    // "</a/>" ends "a", not "a/" (which "<a/ >" would have opened).
    if (!name.empty() && name.back() == '/') name.pop_back();
    while (!name.empty() && isSpace(name.back())) name.pop_back();
    if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos)
      return XmlMalformedElement;
    pos_ = end + 1;
    if (open_.size() > 1 && open_.back()->name.s->text == name) {
      open_.pop_back();
      return XmlOk;
    }
    for (size_t i = open_.size(); i-- > 1;)
      if (open_[i]->name.s->text == name) return XmlMissingEndTag;
    return XmlMissingStartTag;
  }

  // An element with an id attribute is named by it: on the document itself for SWF 7 and
  // older, in the document's idMap object (made when missing) from SWF 8. The names are set
  // as a script would set them, setters and read-only flags included.
  void registerId(XmlNode* el) {
    if (!el->attributes) return;
    Property* id = el->attributes->props.find(vm_.key("id"));
    if (!id) return;
    Object* map = open_.front();
    if (vm_.version() >= 8) {
      String* key = vm_.intern("idMap");
      Value m = vm_.get(map, key);
      if (m.isUndefined()) {
        m = Value(vm_.newObject(nullptr));
        vm_.set(map, key, m);
      }
      map = m.object();
      if (!map) return;
    }
    vm_.set(map, vm_.toStr(id->value), Value(static_cast<Object*>(el)));
  }

  size_t nameEnd(size_t from) const {
    size_t i = from;
    while (i < s_.size() && !isSpace(s_[i]) && s_[i] != '>' && s_[i] != '=' &&
           !(s_[i] == '/' && i + 1 < s_.size() && s_[i + 1] == '>'))
      ++i;
    return i;
  }

  void skipSpace() {
    while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
  }

  int startTag() {
    size_t end = nameEnd(pos_ + 1);
    if (end == pos_ + 1 || end >= s_.size()) return XmlMalformedElement;
    XmlNode* el = newXmlNode(vm_, XmlElement, text(vm_, s_.substr(pos_ + 1, end - pos_ - 1)));
    Vm::Pin pin(vm_, Value(static_cast<Object*>(el)));
    pos_ = end;
    for (;;) {
      skipSpace();
      if (pos_ >= s_.size()) return XmlMalformedElement;
      if (s_[pos_] == '>') {
        ++pos_;
        if (int st = add(el); st != XmlOk) return st;
        open_.push_back(el);
        registerId(el);
        return XmlOk;
      }
      if (startsWith(s_, pos_, "/>")) {
        pos_ += 2;
        if (int st = add(el); st != XmlOk) return st;
        registerId(el);
        return XmlOk;
      }
      size_t ne = nameEnd(pos_);
      if (ne == pos_) return XmlMalformedElement;
      std::string attr = s_.substr(pos_, ne - pos_);
      pos_ = ne;
      skipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '=') return XmlMalformedElement;
      ++pos_;
      skipSpace();
      if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) return XmlMalformedElement;
      size_t close = s_.find(s_[pos_], pos_ + 1);
      if (close == std::string::npos) return XmlAttributeUnterminated;
      std::string value = decodeEntities(s_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      vm_.set(el->attributeObject(vm_), vm_.intern(decodeEntities(attr)), text(vm_, value));
    }
  }

  Vm& vm_;
  const std::string& s_;
  bool ignoreWhite_;
  size_t pos_ = 0, made_ = 0;
  std::vector<XmlNode*> open_;  // the document, then each element not closed yet
};

}  // namespace

void parseXml(Vm& vm, XmlNode* doc, const std::string& text) {
  doc->removeAllChildren();
  bool ignoreWhite = vm.toBoolean(vm.get(doc, vm.intern("ignoreWhite")));
  Parser p(vm, doc, text, ignoreWhite);
  int status = p.run();
  doc->status = Value(status);
  // A new text brings its own declarations: none leaves none.
  doc->xmlDecl = p.xmlDecl.empty() ? Value() : Value(vm.str(p.xmlDecl));
  doc->docTypeDecl = p.docTypeDecl.empty() ? Value() : Value(vm.str(p.docTypeDecl));
}

}  // namespace swf::avm1
