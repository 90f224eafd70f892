#pragma once
// What LoadVars, XML and loadVariables share: URL-encoded variables, and text files delivered to
// an object on a later frame through its onData handler.

#include <string>

#include "swf/avm1/object.h"

namespace swf::avm1 {

// Sets `name=value` pairs of `text` ("a=1&b=two%20words") on `into`; pairs without a name are
// skipped, '+' and %XX escapes decoded.
void decodeUrlVariables(Vm& vm, Object* into, const std::string& text);
// The enumerable properties of `from`, oldest first, as "a=1&b=two%20words".
std::string encodeUrlVariables(Vm& vm, Object* from);
// The global escape's rule: letters and digits stay, every other byte becomes %XX.
std::string urlEscape(const std::string& s);
std::string urlUnescape(const std::string& s, bool plusIsSpace);

// Byte counts of a load, as getBytesLoaded and getBytesTotal report them (undefined before a
// load starts).
struct LoadProgress {
  bool started = false;
  double loaded = 0, total = 0;
};

// An object that can receive text: LoadVars and XML documents.
class TextLoadingObject : public Object {
 public:
  LoadProgress progress;
};

// Starts loading `url` for `self`: on a later frame its onData handler receives the file's text,
// or undefined when the file cannot be read (refused addresses included). Returns false when
// there is no address at all.
bool startTextLoad(Vm& vm, Object* self, const Value& url);
// The methods LoadVars and XML share on their prototypes: load, send, sendAndLoad,
// getBytesLoaded, getBytesTotal, an inert addRequestHeader and onLoad, and contentType.
void defineLoadingMethods(Vm& vm, Object* proto, uint16_t flags);

}  // namespace swf::avm1
