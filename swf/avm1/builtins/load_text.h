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

// An object that can receive text: LoadVars and XML documents.
class TextLoadingObject : public Object {};

// Starts loading `url` for `self`: `self._bytesLoaded` becomes 0, `_bytesTotal` undefined and
// `self.loaded` false; on a later frame `_bytesLoaded` and `_bytesTotal` become the file's size
// and the onData handler receives its text, or undefined when the file cannot be read (refused
// addresses included).
// Returns false when there is no address at all. Any object can load (the methods are
// ASnative(301, n) too).
bool startTextLoad(Vm& vm, Object* self, const Value& url);
// The methods LoadVars and XML share on their prototypes: load, send, sendAndLoad,
// getBytesLoaded, getBytesTotal, addRequestHeader and an inert onLoad.
void defineLoadingMethods(Vm& vm, Object* proto, uint16_t flags);
// Text as a loaded file gives it to scripts of `version`: a UTF-8 byte order mark is dropped;
// UTF-16 with a byte order mark is converted to UTF-8; other text is taken as UTF-8. SWF 5 code
// gets every byte as a character instead. It ends at its first NUL.
std::string loadedText(std::string bytes, int version);
// ASnative(301, 0..2): load, send and sendAndLoad.
void registerLoadingNatives(Vm& vm);

}  // namespace swf::avm1
