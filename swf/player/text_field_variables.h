#pragma once
// Text fields that show a timeline variable: the field shows the variable's value, and typing
// (or a script setting the text) writes the variable.

namespace swf {

class TextFieldInstance;
namespace avm1 {
class Vm;
}

// Shows the variable's value when it changed; a variable that does not exist yet is made from
// the field's text.
void syncFieldVariable(avm1::Vm& vm, TextFieldInstance& field);
// Writes the field's text to its variable.
void storeFieldVariable(avm1::Vm& vm, TextFieldInstance& field);

}  // namespace swf
