#pragma once
// The player's classes for input and text: Key, Mouse, Stage, Selection, ContextMenu,
// TextField, TextFormat and MovieClip.createTextField. Their natives reach the player through
// the machine's host.

namespace swf {

class Player;
class TextFieldInstance;
namespace avm1 {
class Object;
class Vm;
}  // namespace avm1

void installInputClasses(avm1::Vm& vm);

// The player behind a machine the player made; null for any other machine.
Player* playerOf(avm1::Vm& vm);

// The field's script object, made on first use.
avm1::Object* textFieldObject(avm1::Vm& vm, TextFieldInstance& field);

// Puts the fields' properties on TextField.prototype as getters and setters where they are
// missing; the original player does it whenever a text field is made.
void addTextFieldAccessors(avm1::Vm& vm);

// The live text field behind a script object; null for other objects and removed fields.
TextFieldInstance* textFieldOf(avm1::Object* o);

}  // namespace swf
