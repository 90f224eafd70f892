// Rules of the object model the recorded movies pinned down: watchers and setters, classes that
// `new` finds, the childNodes array, a length that is no number, System.capabilities.
#include <gtest/gtest.h>

#include <string>

#include "avm1_support.h"

namespace {

using rvtest::kWatchTWithW;
using rvtest::runCases;

// Watches o.t with a watcher that traces "old>new" and returns what `result` pushes.
std::string watchT(const std::string& result) {
  return R"(function w(prop, old, nv)
  push 'old'
  getVariable
  push '>'
  add2
  push 'nv'
  getVariable
  add2
  trace
  push )" +
         result + R"(
  return
  end
)" + kWatchTWithW;
}

// Makes o.t an accessor with the getter in register 1 and the setter in register 2.
const std::string kAddPropertyT = R"(push r:2, r:1, 't', 3, 'o'
  getVariable
  push 'addProperty'
  callMethod
  pop
)";

// A watcher on o.t that counts its calls in `n` and writes the property again from inside.
const std::string kRewritingWatcher = R"(push 'n', 0
  setVariable
  function w(prop, old, nv)
    push 'n', 'n'
    getVariable
    increment
    setVariable
    push 'this'
    getVariable
    push 'prop'
    getVariable
    push 'nv'
    getVariable
    increment
    setMember
    push 'nv'
    getVariable
    return
  end
  push 'o', 0, 'Object'
  newObject
  setVariable
)" + kWatchTWithW + R"(  push 'o'
  getVariable
  push 't', 1
  setMember
  push 'n'
  getVariable
  trace
)";

// o.t made with addProperty (its setter traces "set v") and watched (the watcher traces
// "old>new"): two writes, with an unwatch between them.
const std::string kWatchedSetter = R"(push 'o', 0, 'Object'
  newObject
  setVariable
  push 'o'
  getVariable
  push 't', 1
  setMember
  function ()
    push 0
    return
  end
  store 1
  pop
  function (v)
    push 'set ', 'v'
    getVariable
    add2
    trace
  end
  store 2
  pop
)" + kAddPropertyT + watchT("'nv'\ngetVariable") +
                                   R"(  push 'o'
  getVariable
  push 't', 2
  setMember
  push 't', 1, 'o'
  getVariable
  push 'unwatch'
  callMethod
  trace
  push 'o'
  getVariable
  push 't', 3
  setMember
)";

// o.t watched (the watcher traces "old>new" and returns 'W') before addProperty makes it with
// a getter reading this.t and a setter writing this.t; then a read and a write.
const std::string kWatchedBeforeAddProperty = R"(push 'o', 0, 'Object'
  newObject
  setVariable
)" + watchT("'W'") + R"(  function ()
    push 'this'
    getVariable
    push 't'
    getMember
    return
  end
  store 1
  pop
  function (v)
    push 'this'
    getVariable
    push 't', 'v'
    getVariable
    setMember
  end
  store 2
  pop
)" + kAddPropertyT + R"(  push 'o'
  getVariable
  push 't'
  getMember
  trace
  push 'o'
  getVariable
  push 't', 5
  setMember
)";

TEST(Avm1ObjectRules, Watchers) {
  runCases({
      // A watcher's own write calls it again only from SWF 7, and only 65 calls deep.
      {6, kRewritingWatcher, "1\n"},
      {7, kRewritingWatcher, "65\n"},
      // A setter's watcher runs first and sees the value the last write left; it stays on.
      {6, kWatchedSetter, "1>2\nset 2\nfalse\n2>3\nset 3\n"},
      // addProperty on a watched name that did not exist is heard as a write of undefined, and
      // the watcher's result is the value the getter finds; the setter's own write of that
      // value is not heard again below SWF 7.
      {6, kWatchedBeforeAddProperty, ">\nW\nW>5\n"},
  });
}

TEST(Avm1ObjectRules, ClassesAndArrays) {
  runCases({
      // SWF 5 code does not see TextField, but `new` finds it.
      {5, R"(push 0, 'TextField'
             newObject
             typeof
             trace
             push 'TextField'
             getVariable
             typeof
             trace)",
       "object\nundefined\n"},
      // A name that holds nothing still constructs nothing.
      {5, R"(push 0, 'NoSuchClass'
             newObject
             typeof
             trace)",
       "undefined\n"},
      // The elements of childNodes are read-only until ASSetPropFlags clears the flag.
      {6, R"(push '<a/>', 1, 'XML'
             newObject
             push 'childNodes'
             getMember
             store 1
             pop
             push r:1, '0', 5
             setMember
             push r:1, '0'
             getMember
             typeof
             trace
             push 4, 0, '0', r:1, 4, 'ASSetPropFlags'
             callFunction
             pop
             push r:1, '0', 5
             setMember
             push r:1, '0'
             getMember
             trace)",
       "object\n5\n"},
      // A length that reads as no number empties the array but reads back as written.
      {6, R"(push 2, 1, 2
             initArray
             store 1
             pop
             push r:1, 'length', 'x'
             setMember
             push r:1, '0'
             getMember
             trace
             push r:1, 'length'
             getMember
             trace)",
       "undefined\nx\n"},
  });
}

TEST(Avm1ObjectRules, PlayerFacts) {
  runCases({
      // System.capabilities' query fills whatever object it is called on.
      {6, R"(push 0, 0, 11, 2, 'ASnative'
             callFunction
             store 1
             pop
             push 'o', 0, 'Object'
             newObject
             setVariable
             push 'o'
             getVariable
             push 'q', r:1
             setMember
             push 0, 'o'
             getVariable
             push 'q'
             callMethod
             pop
             push 'o'
             getVariable
             push 'hasIME'
             getMember
             trace
             push 'System'
             getVariable
             push 'capabilities'
             getMember
             push 'serverString'
             getMember
             push 'o'
             getVariable
             push 'serverString'
             getMember
             equals2
             trace)",
       "false\ntrue\n"},
      // SWF 5 code finds the clip holding a text field by the field's name.
      {5, R"(push 20, 20, 0, 0, 1, 't', 6, 'this'
             getVariable
             push 'createTextField'
             callMethod
             pop
             push 't'
             getVariable
             push 'this'
             getVariable
             equals2
             trace)",
       "true\n"},
  });
}

}  // namespace
