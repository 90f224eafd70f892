// What a clip's names and properties answer: its own variables, children and native
// properties in that order, sizes set through _width and _height, MovieClip's methods on text
// fields and level roots, hit tests and bounds, and the Button class.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runCases;

// Calls `method` of the variable `target` with `args` (assembler operands, in order).
std::string call(const std::string& target, const std::string& method,
                 const std::vector<std::string>& args = {}) {
  std::string s = "push ";
  for (auto it = args.rbegin(); it != args.rend(); ++it) s += *it + ", ";
  return s + std::to_string(args.size()) + ", '" + target + "'\ngetVariable\npush '" + method +
         "'\ncallMethod\n";
}

std::string traceVar(const std::string& path) {
  return "push '" + path + "'\ngetVariable\ntrace\n";
}

std::string setVar(const std::string& path, const std::string& value) {
  return "push '" + path + "', " + value + "\nsetVariable\n";
}

// Clip `name` at `depth` of the root holding a filled 100 × 100 square at the origin, its edge
// stroked `line` pixels wide when given.
std::string square(const std::string& name, int depth, int line = -1) {
  std::string s = call("this", "createEmptyMovieClip", {"'" + name + "'", std::to_string(depth)}) +
                  "pop\n" + call(name, "beginFill", {"255"}) + "pop\n";
  if (line >= 0) s += call(name, "lineStyle", {std::to_string(line)}) + "pop\n";
  s += call(name, "moveTo", {"0", "0"}) + "pop\n";
  for (const char* p : {"100, 0", "100, 100", "0, 100", "0, 0"})
    s += "push " + std::string(p) + ", 2, '" + name +
         "'\ngetVariable\npush 'lineTo'\ncallMethod\npop\n";
  return s;
}

// addProperty(name, getter returning `value`, null) on the object the variable `target` holds.
std::string getter(const std::string& target, const std::string& name, const std::string& value) {
  return "push null\nfunction ()\npush '" + value + "'\nreturn\nend\npush '" + name + "', 3, '" +
         target + "'\ngetVariable\npush 'addProperty'\ncallMethod\npop\n";
}

TEST(ClipProperties, NamesFindVariablesThenChildrenThenNativeProperties) {
  runCases({
      // A child named like a property hides the property from names, not from GetProperty.
      {7,
       call("this", "createEmptyMovieClip", {"'_x'", "1"}) + "pop\n" + traceVar("_x") +
           "push '', 0\ngetProperty\ntrace\n",
       "_level0._x\n0\n"},
      // The clip's own getter comes before a child of the same name.
      {7,
       getter("this", "_y", "own") + call("this", "createEmptyMovieClip", {"'_y'", "1"}) + "pop\n" +
           traceVar("_y"),
       "own\n"},
      // A getter up the prototype chain does not hide the native property.
      {7,
       "push null\nfunction ()\npush 'proto'\nreturn\nend\npush '_xscale', 3, 'this'\n"
       "getVariable\npush '__proto__'\ngetMember\npush 'addProperty'\ncallMethod\npop\n" +
           traceVar("_xscale"),
       "100\n"},
  });
}

TEST(ClipProperties, SizesSetTheScaleOfTheUntransformedExtent) {
  runCases({
      {7,
       square("a", 1) + setVar("a._width", "50") + setVar("a._height", "200") +
           traceVar("a._xscale") + traceVar("a._yscale") + traceVar("a._width"),
       "50\n200\n50\n"},
      // With nothing to measure, either size shrinks the clip to nothing both ways.
      {7,
       call("this", "createEmptyMovieClip", {"'e'", "1"}) + "pop\n" + setVar("e._height", "10") +
           traceVar("e._xscale") + traceVar("e._yscale"),
       "0\n0\n"},
      // Values that are not numbers change nothing.
      {7, square("a", 1) + setVar("a._width", "'x'") + traceVar("a._xscale"), "100\n"},
  });
}

TEST(ClipProperties, MovieClipMethodsOnFieldsAndRoots) {
  const std::string field =
      call("this", "createTextField", {"'t'", "5", "0", "0", "100", "100"}) + "pop\n" +
      "push 't'\ngetVariable\npush 'depth', '_global'\ngetVariable\npush 'MovieClip'\ngetMember\n"
      "push 'prototype'\ngetMember\npush 'getDepth'\ngetMember\nsetMember\n"
      "push 't'\ngetVariable\npush 'remove', '_global'\ngetVariable\npush 'MovieClip'\n"
      "getMember\npush 'prototype'\ngetMember\npush 'removeMovieClip'\ngetMember\nsetMember\n";
  runCases({
      {7,
       field + call("t", "depth") + "trace\n" + call("t", "remove") + "pop\n" +
           "push 't'\ngetVariable\ntypeof\ntrace\n",
       "5\nundefined\n"},
      // A level's root has no siblings: swapDepths only changes the depth it reports.
      {7, call("this", "swapDepths", {"2"}) + "pop\n" + call("this", "getDepth") + "trace\n",
       "2\n"},
  });
}

TEST(ClipProperties, HitTestsAndBounds) {
  runCases({
      // hitTest takes a clip, not a target path in text (getBounds takes both).
      {7,
       square("a", 1) +
           "push 'a'\ngetVariable\npush 1, 'a'\ngetVariable\npush 'hitTest'\ncallMethod\n"
           "trace\n" +
           call("a", "hitTest", {"'a'"}) + "trace\n",
       "true\nfalse\n"},
      // A stroke widens the bounds by its whole width; the object has no prototype.
      {7,
       square("a", 1, 4) + call("a", "getBounds", {"'a'"}) +
           "store 1\ntrace\npush r:1, 'xMin'\ngetMember\ntrace\npush r:1, 'yMax'\ngetMember\n"
           "trace\n",
       "[type Object]\n-4\n104\n"},
  });
}

TEST(ClipProperties, ButtonClassLooksLikeTheOriginals) {
  runCases({
      {6,
       "push 0, 'Button'\nnewObject\nstore 1\npop\n"
       "push r:1, 'Button'\ngetVariable\ninstanceof\ntrace\n"
       "push r:1, 'enabled'\ngetMember\ntrace\n"
       "push r:1, 'useHandCursor'\ngetMember\ntrace\n"
       "push r:1, 'getDepth'\ngetMember\ntypeof\ntrace\n",
       "true\ntrue\ntrue\nfunction\n"},
  });
}

}  // namespace
