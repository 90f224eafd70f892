// The built-in classes as the original player has them: String, Array, Date, Math, conversions
// of objects to text and of SWF 5 text, each case the exact actions it runs.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runCases;
using rvtest::runScript;

// `name` set to a function that traces `text` and returns `value`.
std::string tracingFunction(const std::string& name, const std::string& text,
                            const std::string& value) {
  return "function " + name + "()\npush '" + text + "'\ntrace\npush " + value + "\nreturn\nend\n";
}

TEST(Avm1CoreClasses, StringMethods) {
  runCases({
      // slice with nothing is undefined; indexes are 32-bit integers, so infinity is 0.
      {7, "push 0, 'abc', 'slice'\ncallMethod\ntrace", "undefined\n"},
      {7, "push 2, 'Infinity'\ngetVariable\npush 2, 'abcdef', 'substring'\ncallMethod\ntrace",
       "ab\n"},
      {7, "push 'Infinity'\ngetVariable\npush 0, 2, 'abcdef', 'substr'\ncallMethod\ntrace", "\n"},
      // A negative length counts from the end, and gives nothing once it reaches the end.
      {7, "push -2, 1, 2, 'abcdef', 'substr'\ncallMethod\ntrace", "bcde\n"},
      {7, "push -1, 1, 2, 'abcdef', 'substr'\ncallMethod\ntrace", "\n"},
      // fromCharCode ends at a code of 0; before SWF 6 a code gives its two bytes.
      {7, "push 66, 0, 65, 3, 'String'\ngetVariable\npush 'fromCharCode'\ncallMethod\ntrace",
       "A\n"},
      {5, "push 16706, 1, 'String'\ngetVariable\npush 'fromCharCode'\ncallMethod\ntrace", "AB\n"},
      // Case changes reach beyond ASCII.
      {7, "push 0, 'äöß', 'toUpperCase'\ncallMethod\ntrace", "ÄÖß\n"},
  });
}

TEST(Avm1CoreClasses, SplitByVersion) {
  auto count = [](const std::string& text, const std::string& args, int n) {
    return "push " + args + ", " + std::to_string(n) + ", '" + text +
           "', 'split'\ncallMethod\npush 'length'\ngetMember\ntrace";
  };
  runCases({
      {7, count("a,b", "0, ','", 2), "0\n"},        // a limit below 1 gives nothing
      {7, count("", "'x'", 1), "1\n"},              // the empty text is [""]...
      {7, count("", "''", 1), "0\n"},               // ...but nothing by the empty separator
      {7, count("a--b", "'--'", 1), "2\n"},         // longer separators split from SWF 6
      {5, count("a--b", "'--'", 1), "1\n"},         // but not before
      {5, count("a,b", "1, undefined", 2), "1\n"},  // SWF 5: undefined with a limit is ","
      {7, count("a,b", "1, undefined", 2), "1\n"},  // SWF 7: no separator, the whole text
  });
}

TEST(Avm1CoreClasses, ObjectsAsText) {
  runCases({
      // Add2 asks for valueOf only: an object without one (a SWF 5 function, whose
      // prototype it cannot see) adds as undefined, whatever toString it has.
      {5,
       "function f()\nend\npush 'f'\ngetVariable\npush 'toString'\nfunction ()\n"
       "push 'f'\nreturn\nend\nsetMember\npush 'x', 'f'\ngetVariable\nadd2\ntrace",
       "x\n"},
      // Only text counts from a toString: anything else reads as the type.
      {7,
       tracingFunction("f", "asked", "5") +
           "push 'o', 'toString', 'f'\ngetVariable\npush 1\ninitObject\nsetVariable\n"
           "push 'o'\ngetVariable\npush 1, 'x', 'concat'\ncallMethod\ntrace",
       "asked\nx[type Object]\n"},
      // A String object gives its own text without asking a replaced toString.
      {7,
       tracingFunction("f", "asked", "'zz'") +
           "push 's', 'ab', 1, 'String'\nnewObject\nsetVariable\n"
           "push 's'\ngetVariable\npush 'toString', 'f'\ngetVariable\nsetMember\n"
           "push 's'\ngetVariable\npush 1, 'x', 'concat'\ncallMethod\ntrace",
       "xab\n"},
      // String.prototype.toString borrowed by an object whose own toString it is: no loop.
      {7,
       "push 'o', 0, 'Object'\nnewObject\nsetVariable\npush 'o'\ngetVariable\n"
       "push 'toString', 'String'\ngetVariable\npush 'prototype'\ngetMember\n"
       "push 'toString'\ngetMember\nsetMember\npush 0, 'o'\ngetVariable\n"
       "push 'toString'\ncallMethod\ntrace",
       "[type Object]\n"},
  });
}

TEST(Avm1CoreClasses, OldFilesTextIsLatin1) {
  // The two bytes of "é" in the file are two characters before SWF 6 and one after.
  runCases({
      {5, "push 'é'\nstringLength\ntrace\npush 'é'\ntrace", "2\nÃ©\n"},
      {6, "push 'é'\nstringLength\ntrace\npush 'é'\ntrace", "1\né\n"},
  });
}

TEST(Avm1CoreClasses, NumbersAndMath) {
  runCases({
      {7, "push 'Number'\ngetVariable\npush 'MAX_VALUE'\ngetMember\ntrace",
       "1.79769313486231e+308\n"},
      {7, "push 1, 0, -1\nmultiply\ndivide\ntrace\npush -1, 0, -1\nmultiply\ndivide\ntrace",
       "Infinity\n-Infinity\n"},
      // Math reads its first two arguments in order, whatever the function uses.
      {7,
       tracingFunction("va", "a", "1") + tracingFunction("vb", "b", "2") +
           "push 'valueOf', 'vb'\ngetVariable\npush 1\ninitObject\n"
           "push 'valueOf', 'va'\ngetVariable\npush 1\ninitObject\n"
           "push 2, 'Math'\ngetVariable\npush 'abs'\ncallMethod\ntrace",
       "a\nb\n1\n"},
      {7, "push 0, 'Boolean'\ncallFunction\ntrace", "undefined\n"},
  });
}

TEST(Avm1CoreClasses, DateFields) {
  auto utc = [](const std::string& args, int n) {
    return "push " + args + ", " + std::to_string(n) +
           ", 'Date'\ngetVariable\npush 'UTC'\ncallMethod\ntrace";
  };
  runCases({
      {7, utc("25, 5, 83", 3), "425347200000\n"},  // two-digit years count from 1900
      {7, utc("1983", 1), "undefined\n"},          // a month is needed
      // A month that is no number takes the year to 0 and is January.
      {7, utc("'NaN'\ngetVariable\npush 1983", 2), "-62167219200000\n"},
      // Setters keep whole milliseconds and stay within 100 million days.
      {7,
       "push 'd', 0, 1, 'Date'\nnewObject\nsetVariable\npush 1.5, 1, 'd'\ngetVariable\n"
       "push 'setTime'\ncallMethod\ntrace\npush 1e16, 1, 'd'\ngetVariable\n"
       "push 'setTime'\ncallMethod\ntrace",
       "1\nNaN\n"},
      // A time below zero with a fraction: the hours and milliseconds come from the whole
      // milliseconds toward zero, the minutes from the time itself.
      {7,
       "push 'd', -0.5, 1, 'Date'\nnewObject\nsetVariable\npush 0, 'd'\ngetVariable\n"
       "push 'getUTCHours'\ncallMethod\ntrace\npush 0, 'd'\ngetVariable\n"
       "push 'getUTCMinutes'\ncallMethod\ntrace\npush 0, 'd'\ngetVariable\n"
       "push 'getUTCMilliseconds'\ncallMethod\ntrace",
       "0\n59\n0\n"},
      // setYear: a year that is no number is year 0; an invalid date stays one (so does
      // setMonth on it), but setYear reads its year all the same.
      {7,
       "push 'd', 0, 1, 'Date'\nnewObject\nsetVariable\npush NaN, 1, 'd'\ngetVariable\n"
       "push 'setYear'\ncallMethod\npop\npush 0, 'd'\ngetVariable\npush 'getFullYear'\n"
       "callMethod\ntrace",
       "0\n"},
      {7,
       "push 'd', NaN, 1, 'Date'\nnewObject\nsetVariable\npush 0, 1, 'd'\ngetVariable\n"
       "push 'setMonth'\ncallMethod\ntrace\n" +
           tracingFunction("f", "asked", "1") +
           "push 'o', 0, 'Object'\nnewObject\nsetVariable\npush 'o'\ngetVariable\n"
           "push 'valueOf', 'f'\ngetVariable\nsetMember\npush 'o'\ngetVariable\n"
           "push 1, 'd'\ngetVariable\npush 'setYear'\ncallMethod\ntrace",
       "NaN\nasked\nNaN\n"},
  });
}

TEST(Avm1CoreClasses, ArraySortAndLength) {
  std::string compare =
      "function cmp(a, b)\npush 'a'\ngetVariable\npush ' '\nadd2\npush 'b'\ngetVariable\n"
      "add2\ntrace\npush 'a'\ngetVariable\npush 'b'\ngetVariable\nsubtract\nreturn\nend\n";
  runCases({
      // The pivot is the first element of a range and the left operand.
      {7,
       compare + "push 2, 1, 3, 3\ninitArray\nstore 1\npop\npush 'cmp'\ngetVariable\n"
                 "push 1, r:1, 'sort'\ncallMethod\ntrace",
       "3 1\n3 2\n2 1\n1,2,3\n"},
      // UNIQUESORT looks at neighbours once sorted; NUMERIC is only for numbers.
      {7,
       "push 'b', 'a', 'b', 3\ninitArray\nstore 1\npop\npush 4, 1, r:1, 'sort'\ncallMethod\n"
       "trace",
       "0\n"},
      {7, "push 9, '10', 2\ninitArray\nstore 1\npop\npush 16, 1, r:1, 'sort'\ncallMethod\ntrace",
       "10,9\n"},
      // An object that is no function stands as the compare function: nothing moves.
      {7,
       "push 1, 3, 2, 3\ninitArray\nstore 1\npop\npush 0, 'Object'\nnewObject\n"
       "push 1, r:1, 'sort'\ncallMethod\ntrace",
       "2,3,1\n"},
      // An undefined for the flags, in any version, sorts nothing and gives nothing.
      {6,
       "push 1, 3, 2, 3\ninitArray\nstore 1\npop\npush undefined, 1, r:1, 'sort'\n"
       "callMethod\ntrace\npush r:1\ntrace",
       "undefined\n2,3,1\n"},
      // A negative count makes splice change nothing and give nothing back.
      {7,
       "push 1, 2, 2\ninitArray\nstore 1\npop\npush 'x', -1, 0, 3, r:1, 'splice'\n"
       "callMethod\ntrace\npush r:1\ntrace",
       "undefined\n2,1\n"},
      // ASnative(252, 0) is Array: called as a function it makes one.
      {6, "push 'b', 'a', 2, 0, 252, 2, 'ASnative'\ncallFunction\ncallFunction\ntrace", "a,b\n"},
      // length is an own, hidden, permanent property; what is stored reads back.
      {7,
       "push 0\ninitArray\nstore 1\npop\npush 'length', 1, r:1, 'hasOwnProperty'\n"
       "callMethod\ntrace\npush r:1, 'length'\ndelete\ntrace\n"
       "push r:1, 'length', 'x'\nsetMember\npush r:1, 'length'\ngetMember\ntrace\n"
       "push 5, 1, r:1, 'push'\ncallMethod\ntrace",
       "true\nfalse\nx\n1\n"},
      // An array literal is as long as it says; Array(n) cuts n to a whole number.
      {7, "push 1, 3\ninitArray\ntrace", "1,undefined,undefined\n"},
      {7, "push 2.5, 1, 'Array'\ncallFunction\npush 'length'\ngetMember\ntrace", "2\n"},
      {7,
       "push 2, 1, 2\ninitArray\nstore 1\npop\npush undefined, 1, r:1, 'join'\ncallMethod\n"
       "trace",
       "1undefined2\n"},
      // Sorting writes back only the places whose element moved, with the values read
      // before: what a compare function cut from the array stays cut elsewhere.
      {6,
       "function cut(a, b)\npush 'x'\ngetVariable\npush 'length', 0\nsetMember\n"
       "push 'a'\ngetVariable\npush 'b'\ngetVariable\nsubtract\nreturn\nend\n"
       "push 'x', 2, 3, 1, 3\ninitArray\nsetVariable\npush 'cut'\ngetVariable\n"
       "push 1, 'x'\ngetVariable\npush 'sort'\ncallMethod\npop\npush 'x'\ngetVariable\ntrace",
       ",2,3\n"},
      // A compare function that gives no number says the two are equal (it used to hang).
      {7,
       "function nan(a, b)\npush NaN\nreturn\nend\npush 'c', 'a', 'b', 3\ninitArray\n"
       "store 1\npop\npush 'nan'\ngetVariable\npush 1, r:1, 'sort'\ncallMethod\ntrace",
       "b,a,c\n"},
      // Flags that are no number leave the array unsorted.
      {7,
       "push 'a', 'b', 2\ninitArray\nstore 1\npop\npush 'x', 1, r:1, 'sort'\ncallMethod\n"
       "trace\npush r:1\ntrace",
       "undefined\nb,a\n"},
      // A length below zero stays as set; elements go under negative names, and the length
      // follows them up.
      {7,
       "push 0\ninitArray\nstore 1\npop\npush r:1, 'length', -3\nsetMember\n"
       "push 'x', 1, r:1, 'push'\ncallMethod\ntrace\npush r:1, -3\ngetMember\ntrace\n"
       "push r:1, '-1', 'y'\nsetMember\npush r:1, 'length'\ngetMember\ntrace",
       "-2\nx\n0\n"},
  });
}

TEST(Avm1CoreClasses, NativesByNumber) {
  runCases({
      // Every ASnative call makes a new function object, unknown numbers included.
      {7, R"(push 2, 5, 2, 'ASnative'
             callFunction
             push 2, 5, 2, 'ASnative'
             callFunction
             strictEquals
             trace
             push 9, 999, 2, 'ASnative'
             callFunction
             typeOf
             trace)",
       "false\nfunction\n"},
      // ASnew (2,0) tells whether the function asking was called by `new`.
      {6, R"(push 't', 0, 2, 2, 'ASnative'
             callFunction
             setVariable
             function f()
               push 0, 't'
               callFunction
               trace
             end
             push 0, 'f'
             callFunction
             pop
             push 0, 'f'
             newObject
             pop)",
       "false\ntrue\n"},
      // ASSetNative names the functions in order; a leading 6 to 9 is their version's mask.
      {6, R"(push 0
             initObject
             store 1
             push 'a,7b', 103, r:1, 3, 'ASSetNative'
             callFunction
             pop
             push r:1, 'a'
             getMember
             typeOf
             trace
             push r:1, 'b'
             getMember
             typeOf
             trace)",
       "function\nundefined\n"},
      // AsBroadcaster.initialize asks _global.ASnative for broadcastMessage, as the original's
      // script does.
      {6, R"(push '_global'
             getVariable
             push 'ASnative', 0
             setMember
             push 'o', 0
             initObject
             setVariable
             push 'o'
             getVariable
             push 1, 'AsBroadcaster'
             getVariable
             push 'initialize'
             callMethod
             pop
             push 'o'
             getVariable
             push 'broadcastMessage'
             getMember
             typeOf
             trace)",
       "undefined\n"},
      // removeListener compares loosely (a listener whose valueOf answers "k" is "k").
      {6, R"(push 'b', 0
             initObject
             setVariable
             push 'b'
             getVariable
             push 1, 'AsBroadcaster'
             getVariable
             push 'initialize'
             callMethod
             pop
             push 'valueOf'
             function ()
               push 'k'
               return
             end
             push 1
             initObject
             push 1, 'b'
             getVariable
             push 'addListener'
             callMethod
             pop
             push 'k', 1, 'b'
             getVariable
             push 'removeListener'
             callMethod
             trace
             push 'b'
             getVariable
             push '_listeners'
             getMember
             push 'length'
             getMember
             trace)",
       "true\n0\n"},
  });
}

TEST(Avm1CoreClasses, BroadcasterListeners) {
  runCases({
      {7,
       "push 'o', 0, 'Object'\nnewObject\nsetVariable\npush 'o'\ngetVariable\npush 1, "
       "'AsBroadcaster'\ngetVariable\npush 'initialize'\ncallMethod\npop\npush 'x', 1, "
       "'o'\ngetVariable\npush 'broadcastMessage'\ncallMethod\ntrace",
       "undefined\n"},
      // Adding a listener again moves it to the end; removing compares with ==.
      {7,
       "push 'o', 0, 'Object'\nnewObject\nsetVariable\npush 'o'\ngetVariable\npush 1, "
       "'AsBroadcaster'\ngetVariable\npush 'initialize'\ncallMethod\npop\n"
       "push 'a', 1, 'o'\ngetVariable\npush 'addListener'\ncallMethod\npop\n"
       "push 'b', 1, 'o'\ngetVariable\npush 'addListener'\ncallMethod\npop\n"
       "push 'a', 1, 'o'\ngetVariable\npush 'addListener'\ncallMethod\ntrace\n"
       "push 'o'\ngetVariable\npush '_listeners'\ngetMember\ntrace\n"
       "push 'x', 1, 'o'\ngetVariable\npush 'removeListener'\ncallMethod\ntrace",
       "true\nb,a\nfalse\n"},
      // Called as a function, Error makes nothing.
      {7, "push 'm', 1, 'Error'\ncallFunction\ntypeof\ntrace", "undefined\n"},
      // Any object with a length and numbered members serves as the list of listeners.
      {7,
       "push 'o', 0, 'Object'\nnewObject\nsetVariable\npush 'o'\ngetVariable\npush 1, "
       "'AsBroadcaster'\ngetVariable\npush 'initialize'\ncallMethod\npop\n"
       "push 'l', 0, 'Object'\nnewObject\nsetVariable\npush 'l'\ngetVariable\npush 'm'\n"
       "function ()\npush 'heard'\ntrace\nend\nsetMember\n"
       "push 'o'\ngetVariable\npush '_listeners', 'length', 1, '0', 'l'\ngetVariable\n"
       "push 2\ninitObject\nsetMember\npush 'm', 1, 'o'\ngetVariable\n"
       "push 'broadcastMessage'\ncallMethod\ntrace",
       "heard\ntrue\n"},
  });
}

}  // namespace

TEST(Avm1CoreClasses, DatesFarOutAndThroughSuper) {
  auto utcField = [](const std::string& ctorArgs, const std::string& getter) {
    return "push " + ctorArgs + ", 'Date'\nnewObject\npush 0\nstackSwap\npush '" + getter +
           "'\ncallMethod\ntrace";
  };
  // Foo runs Date, then Array, on its instance through super, asking getTime after each.
  const std::string superThenTimeType = R"(push 0, 'super'
                                           callFunction
                                           pop
                                           push 0, 'this'
                                           getVariable
                                           push 'getTime'
                                           callMethod
                                           typeOf
                                           trace
)";
  const std::string relay = "function Foo()\n" + superThenTimeType + R"(push 'this'
                                 getVariable
                                 push '__proto__'
                                 getMember
                                 push '__constructor__', 'Array'
                                 getVariable
                                 setMember
)" + superThenTimeType + R"(                               end
                               push 'Foo'
                               getVariable
                               push 'prototype'
                               getMember
                               store 1
                               pop
                               push r:1, '__constructor__', 'Date'
                               getVariable
                               setMember
                               push r:1, 'getTime', 'Date'
                               getVariable
                               push 'prototype'
                               getMember
                               push 'getTime'
                               getMember
                               setMember
                               push 0, 'Foo'
                               newObject
                               pop)";
  runCases({
      // Fields far past the range of dates are kept, and read back exactly.
      {7, utcField("300, 50, 50, 13, 25, 5, 300000, 7", "getUTCFullYear"), "300000\n"},
      {7, utcField("3.0935415006117e+23, 1", "getUTCMilliseconds"), "584\n"},
      // Local fields of such a time take the zone's offset at the end of the range.
      {7, utcField("-1.96e+24, 1", "getMilliseconds"), "488\n"},
      // An infinite time reads as the first day of 1970, a Sunday.
      {7, utcField("'Infinity'\ngetVariable\npush 1", "getUTCDay"), "0\n"},
      {7, utcField("'Infinity'\ngetVariable\npush 1", "getUTCFullYear"), "1970\n"},
      {6, relay, "number\nundefined\n"},
  });
}

TEST(Avm1CoreClasses, StringMembersFollowTheCurrentStringClass) {
  const std::string replaced = R"(push '_global'
                                  getVariable
                                  push 'String'
                                  function (s)
                                    push 'this'
                                    getVariable
                                    push 'length', -1
                                    setMember
                                  end
                                  setMember
                                  push 'hello', 'length'
                                  getMember
                                  trace
                                  push '_global'
                                  getVariable
                                  push 'String', 13
                                  setMember
                                  push 'hello', 'length'
                                  getMember
                                  trace)";
  runCases({
      {6, replaced, "-1\nundefined\n"},
      {5, replaced, "5\n5\n"},
  });
}

TEST(Avm1CoreClasses, ArrayMethodsOnOtherObjects) {
  // `o` borrows Array's methods; each line traces the call's result, o.length and o's elements.
  auto borrowed = [](const std::string& calls) {
    std::string s = "push 'o', 0, 'Object'\nnewObject\nsetVariable\n";
    for (const char* m : {"push", "pop", "shift", "unshift", "join", "sort"})
      s += std::string("push 'o'\ngetVariable\npush '") + m +
           "', 'Array'\ngetVariable\npush 'prototype'\ngetMember\npush '" + m +
           "'\ngetMember\nsetMember\n";
    return s + calls;
  };
  auto call = [](const std::string& pushArgs, int n, const std::string& m) {
    return pushArgs + "push " + std::to_string(n) + ", 'o'\ngetVariable\npush '" + m +
           "'\ncallMethod\ntrace\npush 'o'\ngetVariable\npush 'length'\ngetMember\ntrace\n"
           "push ':', 1, 'o'\ngetVariable\npush 'join'\ncallMethod\ntrace\n";
  };
  runCases({
      // push writes the length; pop, shift and unshift leave it as it was.
      {6, borrowed(call("push 'c', 'b', 'a'\n", 3, "push") + call("", 0, "pop")),
       "3\n3\na:b:c\nc\n3\na:b:\n"},
      {7, borrowed(call("push 'c', 'b', 'a'\n", 3, "push") + call("", 0, "shift")),
       "3\n3\na:b:c\na\n3\nb:c:c\n"},
      {7, borrowed(call("push 'b', 'a'\n", 2, "push") + call("push 'z'\n", 1, "unshift")),
       "2\n2\na:b\n2\n2\nz:a\n"},
      // A compare function that gives nothing leaves the elements where they are.
      {7,
       borrowed(call("push 'a', 'b'\n", 2, "push") + "push 'f'\nfunction ()\nend\nsetVariable\n" +
                call("push 'f'\ngetVariable\n", 1, "sort")),
       "2\n2\nb:a\n[object Object]\n2\nb:a\n"},
  });
}
