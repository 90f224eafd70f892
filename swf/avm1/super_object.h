#pragma once
// `super` inside a method: reads from the prototype above the one the method was found on and
// calls the superclass constructor, always with the method's own `this`.

#include "swf/avm1/object.h"

namespace swf::avm1 {

class SuperObject : public Object {
 public:
  SuperObject(Object* holder, Object* self) : holder(holder), self(self) {}
  Object* holder;  // the prototype the running method came from
  Object* self;
  // Members read through super come from above the holder, getters running on `self`.
  bool getNative(Vm& vm, String* key, Value& out) override;
  void traceChildren(Tracer& t) override {
    Object::traceChildren(t);
    t.mark(holder);
    t.mark(self);
  }
};

}  // namespace swf::avm1
