#pragma once
// The step of a walk along the prototype chain that is not a member lookup (instanceof,
// isPrototypeOf, for..in). The original tests a masked __proto__ here otherwise than in lookups:
// SWF 5 code stops at any later version's mask, later code only at the next version's.

#include "swf/avm1/vm.h"

namespace swf::avm1 {

inline Object* walkNext(Vm& vm, Object* o) {
  Property* p = o->props.find(vm.names().proto);
  if (!p || p->getter) return nullptr;
  int v = vm.version();
  uint16_t stop = v <= 5   ? uint16_t(Version6 | Version7 | Version8 | Version9)
                  : v == 6 ? uint16_t(Version7)
                  : v == 7 ? uint16_t(Version8)
                  : v == 8 ? uint16_t(Version9)
                           : uint16_t(0);
  return (p->flags & stop) ? nullptr : p->value.object();
}

}  // namespace swf::avm1
