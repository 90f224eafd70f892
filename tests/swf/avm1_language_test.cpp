// The script machine's language: conversions by version, scopes and closures, prototypes,
// property flags, getters, watchpoints and exceptions.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runCases;
using rvtest::runScript;

TEST(Avm1Language, ConversionsFollowTheFileVersion) {
  runCases({
      // undefined prints "" below 7 when converted, "undefined" from 7; trace says "undefined".
      {6, "push 'a', undefined\nadd2\ntrace", "a\n"},
      {7, "push 'a', undefined\nadd2\ntrace", "aundefined\n"},
      {6, "push undefined\ntrace", "undefined\n"},
      // undefined and null are 0 as numbers below 7, NaN from 7.
      {6, "push undefined, 1\nadd2\ntrace", "1\n"},
      {7, "push null, 1\nadd2\ntrace", "NaN\n"},
      // Numbers print with 15 digits and the original's exponent forms.
      {6, "push 1e21\ntrace\npush 0.000001\ntrace\npush 0.1, 0.2\nadd2\ntrace\npush -0.0\ntrace",
       "1e+21\n1e-6\n0.3\n0\n"},
      {6, "push 123456789012345680000.0\ntrace\npush 0.00001\ntrace",
       "1.23456789012346e+20\n0.00001\n"},
      // The exponent form rounds its fifteenth digit as the original's doubles land on it.
      {6, "push 1.234567891234565e-6\ntrace\npush 0.99999999999999944\ntrace",
       "1.23456789123457e-6\n0.999999999999999\n"},
      // Strings as booleans: non-zero numbers below 7, non-empty from 7.
      {6, "push 'abc'\nnot\ntrace", "true\n"},
      {7, "push 'abc'\nnot\ntrace", "false\n"},
      // SWF 4 comparisons give numbers; Add is numeric where Add2 concatenates.
      {4, "push 1, 2\nless\ntrace\npush '3', '4'\nadd\ntrace", "1\n7\n"},
      {6, "push '3', 4\nadd2\ntrace\npush '0x10'\ntonumber\ntrace", "34\n16\n"},
      // Names ignore case below 7.
      {6, "push 'Foo', 1\nsetVariable\npush 'foo'\ngetVariable\ntrace", "1\n"},
      {7, "push 'Foo', 1\nsetVariable\npush 'foo'\ngetVariable\ntrace", "undefined\n"},
      // Number to string in other radixes; parseInt's octal rule.
      {6, "push 16, 1, 255, 1, 'Number'\nnewObject\npush 'toString'\ncallMethod\ntrace", "ff\n"},
      {6,
       "push '010', 1, 'parseInt'\ncallFunction\ntrace\npush '09', 1, "
       "'parseInt'\ncallFunction\ntrace",
       "8\n9\n"},
      {6,
       "push 'b', 2\nequals2\ntrace\npush '1', 1\nequals2\ntrace\npush null, "
       "undefined\nequals2\ntrace",
       "false\ntrue\ntrue\n"},
      // SWF 5 cannot see a function's methods: it adds as undefined, and two functions are
      // equal as the undefined each turns into.
      {5,
       "push 2, 'Number'\ngetVariable\nadd2\ntrace\nfunction f()\nend\nfunction g()\nend\n"
       "push 'f'\ngetVariable\npush 'g'\ngetVariable\nequals2\ntrace",
       "2\ntrue\n"},
      {6,
       "function f()\nend\nfunction g()\nend\npush 'f'\ngetVariable\npush 'g'\ngetVariable\n"
       "equals2\ntrace",
       "false\n"},
      // SWF 5's == asks valueOf alone: an object with only a toString is no text.
      {5, R"(push 'o', 0, 'Object'
             newObject
             setVariable
             push 'o'
             getVariable
             push 'valueOf', undefined
             setMember
             push 'o'
             getVariable
             push 'toString'
             function ()
               push 'A'
               return
             end
             setMember
             push 'o'
             getVariable
             push 'A'
             equals2
             trace)",
       "false\n"},
  });
}

TEST(Avm1Language, ScopesClosuresAndArguments) {
  runCases({
      // A closure keeps the activation it was made in.
      {6, R"(function make(n)
               function (a)
                 push 'n'
                 getVariable
                 push 'a'
                 getVariable
                 add2
                 return
               end
               return
             end
             push 5, 1, 'make'
             callFunction
             store 1
             pop
             push 10, 1, r:1, undefined
             callMethod
             trace)",
       "15\n"},
      // arguments.length and callee; locals do not leak to the timeline.
      {6, R"(function f()
               push 'x', 1
               defineLocal
               push 'arguments'
               getVariable
               push 'length'
               getMember
               trace
             end
             push 7, 8, 9, 3, 'f'
             callFunction
             pop
             push 'x'
             getVariable
             trace)",
       "3\nundefined\n"},
      // DefineFunction2 preloads this and arguments into registers and parameters into theirs.
      {7, R"(function2 g(3=a) regs=4 flags=0x5
               push r:3, r:2
               push 'length'
               getMember
               add2
               trace
             end
             push 40, 1, 'g'
             callFunction)",
       "41\n"},
      // with puts an object in front of the scope chain.
      {6, R"(push 'k', 3, 1
             initObject
             with
               push 'k'
               getVariable
               trace
             end
             push 'k'
             getVariable
             trace)",
       "3\nundefined\n"},
      // Paths name timeline variables.
      {6,
       "push '/:v', 4\nsetVariable\npush '_root.v'\ngetVariable\ntrace\npush "
       "'this'\ngetVariable\ntargetPath\ntrace",
       "4\n_level0\n"},
      // A function called by its path runs on the object the path led to; "this" in the
      // middle of a path is no member of a plain object.
      {6, R"(push 'o', 'n', 5, 1
             initObject
             setVariable
             push 'o'
             getVariable
             push 'f'
             function ()
               push 'this'
               getVariable
               push 'n'
               getMember
               return
             end
             setMember
             push 0, 'o.f'
             callFunction
             trace
             push 'o.this.n'
             getVariable
             trace)",
       "5\nundefined\n"},
      // A target path may pass through objects; inside `with` a clip takes only assignments to
      // names it holds itself, not to ones it inherits.
      {6, R"(push 1, 'mc', 2, 'this'
             getVariable
             push 'createEmptyMovieClip'
             callMethod
             pop
             push 'o', 't', 'mc'
             getVariable
             push 1
             initObject
             setVariable
             settarget 'o.t'
             push '_target'
             getVariable
             trace
             settarget ''
             push 'MovieClip'
             getVariable
             push 'prototype'
             getMember
             push 'inh', 'proto'
             setMember
             push 'mc'
             getVariable
             with
               push 'inh', 'set'
               setVariable
               push 'inh'
               getVariable
               trace
             end
             push 'inh'
             getVariable
             trace)",
       "/mc\nproto\nset\n"},
      // From SWF 7 the names of the root and the levels are case-sensitive.
      {7, "push '_ROOT'\ngetVariable\ntypeof\ntrace\npush '_LEVEL0'\ngetVariable\ntypeof\ntrace",
       "undefined\nundefined\n"},
  });
}

TEST(Avm1Language, PrototypesFlagsGettersAndWatch) {
  runCases({
      // A watcher that deletes its property has the write dropped.
      {6,
       R"(function w(prop, old, nv)
               push 'this'
               getVariable
               push 'prop'
               getVariable
               delete
               pop
               push 'nv'
               getVariable
               return
             end
             push 'o', 0, 'Object'
             newObject
             setVariable
             )" +
           rvtest::kWatchTWithW + R"(push 'o'
             getVariable
             push 't', 1
             setMember
             push 't', 1, 'o'
             getVariable
             push 'hasOwnProperty'
             callMethod
             trace)",
       "false\n"},
      // new links __proto__ to the constructor's prototype; methods see `this`.
      {6, R"(function C()
               push 'this'
               getVariable
               push 'v', 2
               setMember
             end
             push 'C'
             getVariable
             push 'prototype'
             getMember
             push 'w', 3
             setMember
             push 0, 'C'
             newObject
             store 1
             pop
             push r:1
             push 'v'
             getMember
             push r:1
             push 'w'
             getMember
             add2
             trace
             push r:1, 'C'
             getVariable
             instanceOf
             trace)",
       "5\ntrue\n"},
      // ASSetPropFlags hides from for..in and protects from writes.
      {6, R"(push 'a', 1, 'b', 2, 2
             initObject
             store 1
             pop
             push 0, 5, 'a', r:1, 4, 'ASSetPropFlags'
             callFunction
             pop
             push r:1, 'a', 9
             setMember
             push r:1
             enumerate2
             loop:
             store 2
             push null
             equals2
             if done
             push r:2
             trace
             jump loop
             done:
             push r:1, 'a'
             getMember
             trace)",
       "b\n1\n"},
      // addProperty getters and setters; watch sees old and new values.
      {6, R"(push 0, 'Object'
             newObject
             store 1
             pop
             function ()
               push 42
               return
             end
             store 2
             pop
             push null, r:2, 'p', 3, r:1, 'addProperty'
             callMethod
             pop
             push r:1, 'p'
             getMember
             trace
             function (name, old, nu)
               push 'old'
               getVariable
               trace
               push 'nu'
               getVariable
               push 1
               add2
               return
             end
             store 3
             pop
             push r:3, 'q', 2, r:1, 'watch'
             callMethod
             pop
             push r:1, 'q', 10
             setMember
             push r:1, 'q'
             getMember
             trace)",
       "42\nundefined\n11\n"},
  });
}

// A getter that reads its own property sees the plain value the property holds (the value
// from before addProperty, then what each write leaves after the setter ran); SWF 6 calls
// the getter once per read, SWF 7 lets it call itself 64 times deep.
TEST(Avm1Language, AccessorsReadingTheirOwnProperty) {
  const std::string script = R"(push 'n', 0
                                setVariable
                                push 'o', 'p', 5, 1
                                initObject
                                setVariable
                                function ()
                                end
                                function ()
                                  push 'n', 'n'
                                  getVariable
                                  increment
                                  setVariable
                                  push 'this'
                                  getVariable
                                  push 'p'
                                  getMember
                                  return
                                end
                                push 'p', 3, 'o'
                                getVariable
                                push 'addProperty'
                                callMethod
                                pop
                                push 'o'
                                getVariable
                                push 'p'
                                getMember
                                trace
                                push 'o'
                                getVariable
                                push 'p', 7
                                setMember
                                push 'o'
                                getVariable
                                push 'p'
                                getMember
                                trace
                                push 'n'
                                getVariable
                                trace)";
  runCases({{6, script, "5\n7\n2\n"}, {7, script, "5\n7\n130\n"}});
}

TEST(Avm1Language, TryCatchFinallyAndThrow) {
  runCases({
      {7, R"(try catch e
               push 'boom'
               throw
               push 'not here'
               trace
             catch
               push 'caught '
               push 'e'
               getVariable
               add2
               trace
             finally
               push 'finally'
               trace
             end
             push 'after'
             trace)",
       "caught boom\nfinally\nafter\n"},
      // A throw nobody catches ends the block, nothing more.
      {7, "push 'x'\nthrow\npush 'no'\ntrace", ""},
      // Return inside try still runs finally.
      {7, R"(function f()
               try catch r:1
                 push 1
                 return
               finally
                 push 'fin'
                 trace
               end
             end
             push 0, 'f'
             callFunction
             trace)",
       "fin\n1\n"},
  });
}

TEST(Avm1Language, CoreClasses) {
  runCases({
      {6,
       "push 1, 2, 3, 3, 'Array'\nnewObject\nstore 1\npop\npush 0, r:1, "
       "'reverse'\ncallMethod\ntrace",
       "1,2,3\n"},
      {6, R"(push 'b', 'a', 'C', 3
             initArray
             store 1
             pop
             push 1, 1, r:1, 'sort'
             callMethod
             trace
             push 10, 9, 100, 3
             initArray
             store 2
             pop
             push 16, 1, r:2, 'sort'
             callMethod
             trace)",
       "a,b,C\n9,10,100\n"},
      {6, "push ',', 1, 'a,b,,c'\npush 'split'\ncallMethod\npush 'length'\ngetMember\ntrace",
       "4\n"},
      {6, "push 2, -3, 2, 'abcdef', 'substr'\ncallMethod\ntrace", "de\n"},
      {6, "push 10, 2, 2, 'Math'\ngetVariable\npush 'pow'\ncallMethod\ntrace", "1024\n"},
      // A date added to a number turns into its text; ASnative(101, 5) is hasOwnProperty.
      {6, "push 1, 0, 1, 'Date'\nnewObject\nadd2\ntypeof\ntrace", "string\n"},
      {6, R"(push 'o', 0, 'Object'
             newObject
             setVariable
             push 'o'
             getVariable
             push 'h', 5, 101, 2, 'ASnative'
             callFunction
             setMember
             push 'h', 1, 'o'
             getVariable
             push 'h'
             callMethod
             trace)",
       "true\n"},
  });
}

// Appending lends a long string's buffer to the result; every earlier string (held by another
// variable, in an array, across collections) must keep its own text.
TEST(Avm1Language, AppendingLeavesEarlierStringsAlone) {
  std::string half(40, 'x');
  std::string base = half + half;
  runCases({
      {6, R"(push 'p', ')" + half + R"('
             setVariable
             push 's', 'p'
             getVariable
             push 'p'
             getVariable
             add2
             setVariable
             push 't', 's'
             getVariable
             setVariable
             push 's', 's'
             getVariable
             push 'a'
             add2
             setVariable
             push 'u', 's'
             getVariable
             setVariable
             push 's', 's'
             getVariable
             push 'b'
             add2
             setVariable
             push 'w', 't'
             getVariable
             push 'c'
             add2
             setVariable
             push 't'
             getVariable
             trace
             push 'u'
             getVariable
             trace
             push 's'
             getVariable
             trace
             push 'w'
             getVariable
             trace
             push 'u'
             getVariable
             push 'u'
             getVariable
             stringAdd
             trace)",
       base + "\n" + base + "a\n" + base + "ab\n" + base + "c\n" + base + "a" + base + "a\n"},
      {6, R"(constants 'i', 's', 'a'
             push c:2, 0, 'Array'
             newObject
             setVariable
             push c:1, ''
             setVariable
             push c:0, 0
             setVariable
           loop:
             push c:0
             getVariable
             push 30000
             less2
             not
             if done
             push c:1, c:1
             getVariable
             push 'x'
             add2
             setVariable
             push c:1
             getVariable
             push 1, c:2
             getVariable
             push 'push'
             callMethod
             pop
             push c:0, c:0
             getVariable
             increment
             setVariable
             jump loop
           done:
             push c:2
             getVariable
             push 99
             getMember
             push 'length'
             getMember
             trace
             push c:2
             getVariable
             push 20000
             getMember
             push 'x', c:2
             getVariable
             push 19999
             getMember
             add2
             equals2
             trace
             push c:1
             getVariable
             push 'length'
             getMember
             trace)",
       "100\ntrue\n30000\n"},
  });
}

}  // namespace
