#pragma once
// TextFormat for scripts: an object whose values live in the object itself and are reached
// through getters and setters its class's prototype gains when the first one is made.

#include "swf/avm1/vm.h"
#include "swf/text/format_spec.h"

namespace swf {

// Installs _global.TextFormat; returns its prototype.
avm1::Object* installTextFormat(avm1::Vm& vm);

// A new TextFormat (as `new TextFormat()` makes it) holding `spec`'s values, null elsewhere.
avm1::Object* textFormatFrom(avm1::Vm& vm, const FormatSpec& spec);

// The values a TextFormat (or any object with such members) sets; none for other values.
FormatSpec formatSpecOf(avm1::Vm& vm, const avm1::Value& format);

}  // namespace swf
