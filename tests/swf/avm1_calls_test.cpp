// How calls bind `this` and `super`, what closures and assignments see, __resolve, and how
// try blocks end.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runCases;
using rvtest::runScript;

// A, B extends A, each prototype with a method `m` that traces its letter; B's calls super.m().
const std::string kClasses = R"(function A()
                                end
                                function B()
                                end
                                push 'B'
                                getVariable
                                push 'A'
                                getVariable
                                extends
                                push 'A'
                                getVariable
                                push 'prototype'
                                getMember
                                push 'm'
                                function ()
                                  push 'A.m'
                                  trace
                                end
                                setMember
                                push 'B'
                                getVariable
                                push 'prototype'
                                getMember
                                push 'm'
                                function ()
                                  push 0, 'super'
                                  getVariable
                                  push 'm'
                                  callMethod
                                  pop
                                  push 'B.m'
                                  trace
                                end
                                setMember
)";

TEST(Avm1Calls, SuperReadsAboveThePrototypeOfThis) {
  runCases({
      // An instance's method: super is B.prototype's prototype.
      {6, kClasses + R"(push 0, 0, 'B'
                        newObject
                        push 'm'
                        callMethod
                        pop)",
       "A.m\nB.m\n"},
      // Called on B.prototype itself, super starts above that object's prototype (A's), so
      // A.m is skipped: where the method was found does not matter.
      {6, kClasses + R"(push 0, 'B'
                        getVariable
                        push 'prototype'
                        getMember
                        push 'm'
                        callMethod
                        pop)",
       "B.m\n"},
      // Members read through super come from above, with the method's own `this`.
      {6, kClasses + R"(push 'A'
                        getVariable
                        push 'prototype'
                        getMember
                        push 'who'
                        function ()
                          push 'this'
                          getVariable
                          push 'name'
                          getMember
                          return
                        end
                        setMember
                        push 'B'
                        getVariable
                        push 'prototype'
                        getMember
                        push 'ask'
                        function ()
                          push 'super'
                          getVariable
                          push 'who'
                          getMember
                          typeOf
                          trace
                          push 0, 'super'
                          getVariable
                          push 'who'
                          callMethod
                          trace
                        end
                        setMember
                        push 0, 'B'
                        newObject
                        store 1
                        push 'name', 'b1'
                        setMember
                        push 0, r:1, 'ask'
                        callMethod
                        pop)",
       "function\nb1\n"},
      // A function called without an object has no super.
      {6, R"(function f()
               push 'super'
               getVariable
               typeOf
               trace
             end
             push 0, 'f'
             callFunction
             pop)",
       "undefined\n"},
      // SWF 5 has no super: the name is an ordinary variable.
      {5, kClasses + R"(push 'super', 'plain'
                        setVariable
                        push 0, 0, 'B'
                        newObject
                        push 'm'
                        callMethod
                        pop
                        push 'super'
                        getVariable
                        trace)",
       "B.m\nplain\n"},
  });
}

TEST(Avm1Calls, SuperOfAMethodFoundHigherUpByVersion) {
  // C extends B and has no `m` of its own: SWF 6 reads super above C.prototype (B's m runs
  // again through super), SWF 7 above B.prototype, where m was found.
  const std::string callOnC = kClasses + R"(function C()
                                            end
                                            push 'C'
                                            getVariable
                                            push 'B'
                                            getVariable
                                            extends
                                            push 0, 0, 'C'
                                            newObject
                                            push 'm'
                                            callMethod
                                            pop)";
  runCases({
      {6, callOnC, "A.m\nB.m\nB.m\n"},
      {7, callOnC, "A.m\nB.m\n"},
  });
}

TEST(Avm1Calls, DefineFunction2RegistersAndNames) {
  runCases({
      // The registers asked for and no more: a store past them is lost; none asked gives four.
      {7, R"(function2 f() regs=2 flags=0
               push 42
               store 1
               store 2
               pop
               push r:2, r:1
               trace
               trace
             end
             function2 g() regs=0 flags=0
               push 42
               store 3
               pop
               push r:3
               trace
             end
             push 0, 'f'
             callFunction
             push 0, 'g'
             callFunction)",
       "42\nundefined\n42\n"},
      // Suppressing `this` empties its register though it was asked for; the name stays.
      // Suppressing `arguments` takes the name away, and its register is filled all the same.
      {7, R"(function2 f() regs=3 flags=0xf
               push r:1
               trace
               push 'this'
               getVariable
               trace
               push r:2
               typeOf
               trace
               push 'arguments'
               getVariable
               trace
             end
             push 0, 'f'
             callFunction)",
       "undefined\n_level0\nobject\nundefined\n"},
      // Parameters kept by name may be called this, super or arguments and hide them.
      {7, R"(function2 f(0=this, 0=arguments) regs=0 flags=0
               push 'this'
               getVariable
               trace
               push 'arguments'
               getVariable
               trace
             end
             push 2, 1, 2, 'f'
             callFunction)",
       "1\n2\n"},
  });
}

TEST(Avm1Calls, ThisOfFunctionsCalledByName) {
  runCases({
      // A local function runs on the activation that holds it: `this.x` is the local x.
      {6, R"(push 'x', 'timeline'
             setVariable
             function outer()
               push 'x', 'local'
               defineLocal
               push 'inner'
               function ()
                 push 'this'
                 getVariable
                 push 'x'
                 getMember
                 trace
               end
               defineLocal
               push 0, 'inner'
               callFunction
               pop
             end
             push 0, 'outer'
             callFunction
             pop)",
       "local\n"},
      // Inside `with`, a method of the object found by name runs on that object.
      {6, R"(push 'hi'
             with
               push 'i', 1, 'indexOf'
               callFunction
               trace
             end)",
       "1\n"},
      // A timeline function still runs on the timeline.
      {6, R"(function f()
               push 'this'
               getVariable
               targetPath
               trace
             end
             push 0, 'f'
             callFunction
             pop)",
       "_level0\n"},
  });
}

TEST(Avm1Calls, ClosuresAndAssignmentsByVersion) {
  // outer() defines a local and returns a function reading it.
  const std::string closure = R"(function outer()
                                   push 'v', 'inner'
                                   defineLocal
                                   function ()
                                     push 'v'
                                     getVariable
                                     trace
                                   end
                                   return
                                 end
                                 push 'v', 'timeline'
                                 setVariable
                                 push 0, 'outer'
                                 callFunction
                                 store 1
                                 pop
                                 push 0, r:1, undefined
                                 callMethod
                                 pop)";
  runCases({
      // From SWF 6 a function keeps the activations around it; SWF 5 ones see only their
      // timeline.
      {6, closure, "inner\n"},
      {5, closure, "timeline\n"},
      // An assignment inside `with` changes the object only when it holds the name itself; a
      // name it inherits is set on the timeline.
      {6, R"(push 'a', 4, 1
             initObject
             store 1
             pop
             push 0
             initObject
             store 2
             push '__proto__', r:1
             setMember
             push r:2
             with
               push 'a', 5
               setVariable
             end
             push r:1, 'a'
             getMember
             trace
             push r:2, 'a'
             getMember
             trace
             push 'a'
             getVariable
             trace)",
       "4\n4\n5\n"},
  });
}

TEST(Avm1Calls, ResolveAnswersForMissingMembers) {
  const std::string setup = R"(push 0
                               initObject
                               store 1
                               push '__resolve'
                               function ()
                                 push 'asked '
                                 push 'arguments'
                                 getVariable
                                 add2
                                 return
                               end
                               setMember
                               push r:1, 'here', 'present'
                               setMember
)";
  runCases({
      {6, setup + R"(push r:1, 'here'
                     getMember
                     trace
                     push r:1, 'Gone'
                     getMember
                     trace
                     push r:1
                     with
                       push 'missing'
                       getVariable
                       trace
                     end)",
       "present\nasked Gone\nasked missing\n"},
      // Anything but a function in the way (here on the object, above the resolver) stops the
      // search.
      {6, R"(push 0
             initObject
             store 1
             push '__resolve'
             function ()
               push 'asked'
               return
             end
             setMember
             push 0
             initObject
             store 2
             push '__proto__', r:1
             setMember
             push r:2, '__resolve', 42
             setMember
             push r:2, 'x'
             getMember
             trace)",
       "undefined\n"},
      // From SWF 7 a __resolve holding no object is passed by for the one above it.
      {7, R"(push 0
             initObject
             store 1
             push '__resolve'
             function ()
               push 'asked'
               return
             end
             setMember
             push 0
             initObject
             store 2
             push '__proto__', r:1
             setMember
             push r:2, '__resolve', 42
             setMember
             push r:2, 'x'
             getMember
             trace)",
       "asked\n"},
      // A version mask on __resolve does not keep it from answering.
      {6, setup + R"(push 1024, '__resolve', r:1, 3, 'ASSetPropFlags'
                     callFunction
                     pop
                     push r:1, 'Gone'
                     getMember
                     trace)",
       "asked Gone\n"},
  });
}

TEST(Avm1Calls, HowTryBlocksEnd) {
  runCases({
      // A try block that ends normally goes on into the catch block's code.
      {7, R"(try catch e
               push 'body'
               trace
             catch
               push 'catch code'
               trace
             end)",
       "body\ncatch code\n"},
      // A jump out of the catch block leaves the finally block unrun.
      {7, R"(try catch e
               push 'thrown'
               throw
             catch
               push 'caught'
               trace
               raw 0x99 0x02 0x00 0x07 0x00
             finally
               push 'F'
               trace
             end
             push 'after'
             trace)",
       "caught\nafter\n"},
      // Falling out of the catch block runs it.
      {7, R"(try catch e
               push 'thrown'
               throw
             catch
               push 'caught'
               trace
             finally
               push 'F'
               trace
             end)",
       "caught\nF\n"},
      // A return in finally wins over the exception, which surfaces, without its value, at the
      // end of the caller's try block.
      {7, R"(function f()
               try
                 push 'lost'
                 throw
               finally
                 push 'returned'
                 return
               end
             end
             try catch e
               push 0, 'f'
               callFunction
               trace
             catch
               push 'e'
               getVariable
               trace
             end)",
       "returned\nundefined\n"},
  });
}

TEST(Avm1Calls, WatchersOfOtherPropertiesRunInsideAWatcher) {
  // Watching a sets b, watching b sets a: each runs once per outside write.
  runCases({{6, R"(push 0
                   initObject
                   store 1
                   pop
                   function wa(p, o, n)
                     push 'a: '
                     push 'n'
                     getVariable
                     add2
                     trace
                     push 'this'
                     getVariable
                     push 'b', 'from a'
                     setMember
                     push 'n'
                     getVariable
                     return
                   end
                   function wb(p, o, n)
                     push 'b: '
                     push 'n'
                     getVariable
                     add2
                     trace
                     push 'this'
                     getVariable
                     push 'a', 'from b'
                     setMember
                     push 'n'
                     getVariable
                     return
                   end
                   push 'wa'
                   getVariable
                   push 'a', 2, r:1, 'watch'
                   callMethod
                   pop
                   push 'wb'
                   getVariable
                   push 'b', 2, r:1, 'watch'
                   callMethod
                   pop
                   push r:1, 'a', 'outside'
                   setMember
                   push r:1, 'a'
                   getMember
                   trace)",
             "a: outside\nb: from a\noutside\n"}});
}

TEST(Avm1Calls, NaNEqualsOnlyItself) {
  runCases({
      // A value read twice is the same value; two divisions are two values; NaN is one.
      {6, R"(push 'x', 0, 0
             divide
             setVariable
             push 'x'
             getVariable
             push 'x'
             getVariable
             equals2
             trace
             push 0, 0
             divide
             push 0, 0
             divide
             equals2
             trace
             push 'NaN'
             getVariable
             push 'NaN'
             getVariable
             strictEquals
             trace
             push 'x'
             getVariable
             push 1
             add2
             push 'x'
             getVariable
             equals2
             trace)",
       "true\nfalse\ntrue\nfalse\n"},
  });
}

}  // namespace

TEST(Avm1Calls, MethodNamesThatAreEmptyCallTheTarget) {
  // `f` traces this, super and this.x; it is called through CallMethod with an object whose
  // text is empty.
  const std::string callWithEmptyName = R"(function f()
                                             push 'this'
                                             getVariable
                                             trace
                                             push 'super'
                                             getVariable
                                             trace
                                           end
                                           push 'o', 0, 'Object'
                                           newObject
                                           setVariable
                                           push 'o'
                                           getVariable
                                           push 'toString'
                                           function ()
                                             push ''
                                             return
                                           end
                                           setMember
                                           push 0, 'f'
                                           getVariable
                                           push 'o'
                                           getVariable
                                           callMethod
                                           pop)";
  runCases({
      // Without a `this`, super is what lies above the function itself.
      {6, callWithEmptyName, "undefined\n[type Function]\n"},
      {5, callWithEmptyName, "undefined\nundefined\n"},
      // A push of a type the machine does not know pushes undefined and ends the record.
      {7, "push 'a'\nraw 0x96 0x03 0x00 0x42 0x23 0x03\ntrace\ntrace", "undefined\na\n"},
  });
}

TEST(Avm1Calls, ScriptFunctionsCalledByActionsShareTheCallersStack) {
  runCases({
      // f's SetVariable takes the name and value its caller pushed before the call.
      {6, R"(function f()
               setVariable
             end
             push 'v', 7, 0, 'f'
             callFunction
             pop
             push 'v'
             getVariable
             trace)",
       "7\n"},
      // What g leaves on the stack stays for its caller, under the result.
      {6, R"(function g()
               push 1, 2
             end
             push 0, 'g'
             callFunction
             pop
             add2
             trace)",
       "3\n"},
      // A function a native calls (valueOf for Add2) leaves nothing behind.
      {6, R"(push 'o', 0, 'Object'
             newObject
             setVariable
             push 'o'
             getVariable
             push 'valueOf'
             function ()
               push 'junk', 4
               return
             end
             setMember
             push 'below', 'o'
             getVariable
             push 1
             add2
             trace
             trace)",
       "5\nbelow\n"},
  });
}
