#pragma once
// Helpers for the classes that live in packages (flash.geom, flash.filters, flash.display) and
// keep their state in ordinary properties that scripts may read and change.

#include <string>
#include <string_view>

#include "swf/avm1/builtins/native_support.h"

namespace swf::avm1 {

// The object at a dotted path under _global ("flash.geom"), made when missing.
Object* packageObject(Vm& vm, std::string_view path);
// A class in a package: the constructor is a member of the package object, not of _global.
Function* definePackageClass(Vm& vm, std::string_view package, std::string_view name, NativeFn ctor,
                             Object* proto, AllocateFn allocate = nullptr);
// A getter/setter pair on a prototype (setter may be null: read-only).
void defineAccessor(Vm& vm, Object* proto, std::string_view name, NativeFn getter,
                    NativeFn setter = nullptr, uint16_t flags = DontEnum);
// Reads and writes of a numeric member.
double numberOf(Vm& vm, Object* o, std::string_view name);
void setNumber(Vm& vm, Object* o, std::string_view name, double v);
// A new instance of a package class, made through its constructor as `new` would.
Object* makeInstance(Vm& vm, std::string_view package, std::string_view name,
                     std::initializer_list<Value> args);
// Numbers as the geometry classes print them.
std::string numberText(Vm& vm, double v);

}  // namespace swf::avm1
