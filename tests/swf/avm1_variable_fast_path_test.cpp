// Variables read and written more than once by name: the action loop reads an ordinary value of
// the innermost scope object directly, and everything else must still go the general way.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

// Sets v to 1 and 2 (so the second write and later ones may take the short way).
const char* kTwoWrites = "push 'v', 1\nsetVariable\npush 'v', 2\nsetVariable\n";

TEST(Avm1VariableFastPath, RepeatedNamesStillHonourWhatTheGeneralWayDoes) {
  rvtest::runCases({
      // A watchpoint set after the variable was written sees the next write.
      {6, std::string(kTwoWrites) + R"(function (name, old, nu)
               push 'nu'
               getVariable
               trace
               push 'nu'
               getVariable
               push 1
               add2
               return
             end
             store 1
             pop
             push r:1, 'v', 2, 'this'
             getVariable
             push 'watch'
             callMethod
             pop
             push 'v', 3
             setVariable
             push 'v'
             getVariable
             trace)",
       "3\n4\n"},
      // A variable made read-only keeps its value.
      {6, std::string(kTwoWrites) + R"(push 0, 4, 'v', 'this'
             getVariable
             push 4, 'ASSetPropFlags'
             callFunction
             pop
             push 'v', 3
             setVariable
             push 'v'
             getVariable
             trace)",
       "2\n"},
      // A version mask (SWF 8's) hides it from older code until it is written again.
      {6, std::string(kTwoWrites) + R"(push 0, 4096, 'v', 'this'
             getVariable
             push 4, 'ASSetPropFlags'
             callFunction
             pop
             push 'v'
             getVariable
             trace
             push 'v', 5
             setVariable
             push 'v'
             getVariable
             trace)",
       "undefined\n5\n"},
      // A getter and a setter on the timeline run at every read and write.
      {6, R"(function ()
               push 42
               return
             end
             store 1
             pop
             function (x)
               push 'set ', 'x'
               getVariable
               add2
               trace
             end
             store 2
             pop
             push r:2, r:1, 'p', 3, 'this'
             getVariable
             push 'addProperty'
             callMethod
             pop
             push 'p'
             getVariable
             trace
             push 'p'
             getVariable
             trace
             push 'p', 7
             setVariable
             push 'p', 8
             setVariable)",
       "42\n42\nset 7\nset 8\n"},
      // Names ignore case below SWF 7 only.
      {6, "push 'I', 1\nsetVariable\npush 'i', 2\nsetVariable\npush 'i', 3\nsetVariable\n"
          "push 'I'\ngetVariable\ntrace\npush 'I'\ngetVariable\ntrace\n",
       "3\n3\n"},
      {7, "push 'I', 1\nsetVariable\npush 'i', 2\nsetVariable\npush 'i', 3\nsetVariable\n"
          "push 'I'\ngetVariable\ntrace\npush 'I'\ngetVariable\ntrace\n",
       "1\n1\n"},
      // Inside `with`, the object's own variable is read and written, the timeline's kept.
      {6, R"(push 'x', 1
             setVariable
             push 'x', 9, 1
             initObject
             store 1
             pop
             push r:1
             with
               push 'x', 5
               setVariable
               push 'x', 6
               setVariable
               push 'x'
               getVariable
               trace
               push 'x'
               getVariable
               trace
             end
             push 'x'
             getVariable
             trace
             push r:1, 'x'
             getMember
             trace)",
       "6\n6\n1\n6\n"},
  });
}

}  // namespace
