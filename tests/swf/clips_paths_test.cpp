// Variables by path: how GetVariable and SetVariable read "a/b:v", "a.b.v", "..", runs of
// separators and long names, and where the first name of a path is looked for.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runScripts;

// Makes clip `name` at `depth` inside the clip the variable path `parent` names.
std::string makeClip(const std::string& parent, const std::string& name, int depth) {
  return "push " + std::to_string(depth) + ", '" + name + "', 2, '" + parent +
         "'\ngetVariable\npush 'createEmptyMovieClip'\ncallMethod\npop\n";
}

std::string setVar(const std::string& path, const std::string& value) {
  return "push '" + path + "', " + value + "\nsetVariable\n";
}

std::string traceVar(const std::string& path) {
  return "push '" + path + "'\ngetVariable\ntrace\n";
}

// _root.a holds clips named "b.c" and ":"; d is 40 on the root, 41 on a, 42 on a["b.c"] and
// 48 on a[":"].
std::string pathTree() {
  return makeClip("this", "a", 1) + makeClip("a", "b.c", 1) + makeClip("a", ":", 2) +
         setVar("d", "40") + setVar("a:d", "41") + setVar("a/b.c:d", "42") + setVar("a/:/:d", "48");
}

TEST(ClipPaths, GetVariableReadsPaths) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"a.d", "41"},          {"a/b.c:d", "42"},  // after a slash, dots belong to names
      {"a/b.c.d", "42"},                          // the variable follows the last dot
      {"a/..:d", "40"},                           // ".." between separators is the parent
      {"..:d", "undefined"},                      // the root has none
      {":::a:d", "41"},                           // leading colons are skipped
      {"a/:/:d", "48"},                           // ... unless they are the whole name
      {"a//:d", "undefined"},                     // an empty name reaches nothing
      {"a:::d", "48"},                            // trailing colons are a name too
      {"a//d", "undefined"},  {"a./b.c:d", "undefined"},
      {"a.", "undefined"},  // no variable after the separator
      {"/a/", "_level0.a"},
  };
  std::string source = pathTree(), expected;
  for (const Case& c : cases) {
    source += traceVar(c.path);
    expected += std::string(c.expected) + "\n";
  }
  EXPECT_EQ(runScripts(7, {source}).traced, expected);
}

TEST(ClipPaths, NamesAndScopes) {
  const std::string longName(127, 'n');
  struct Case {
    const char* what;
    std::string source;
    std::string expected;
  } cases[] = {
      {"a name longer than 127 bytes is read in pieces",
       makeClip("this", longName, 1) + makeClip(longName, "x", 1) + traceVar(longName + "x:_name"),
       "x\n"},
      {"a slash path that reaches no clip can still name a variable SetVariable made",
       setVar("/q", "5") + traceVar("/q"), "5\n"},
      {"the first name comes from the scope chain, down to the global object",
       traceVar("Math:E") + traceVar("Math.E") + traceVar("Math:nosuch"),
       "2.71828182845905\n2.71828182845905\nundefined\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(runScripts(7, {c.source}).traced, c.expected) << c.what;
}

// What movies of each version see of the player's globals.
TEST(ClipPaths, GlobalsByVersion) {
  const std::string flashType = "push 'flash'\ngetVariable\ntypeof\ntrace\n";
  EXPECT_EQ(runScripts(5, {flashType}).traced, "undefined\n");
  EXPECT_EQ(runScripts(6, {flashType}).traced, "object\n");
  // Stage.align keeps L, T, R and B in that order, whatever the case or order it was given.
  const std::string align =
      "push 'Stage'\ngetVariable\npush 'align', 'tRlB'\nsetMember\npush 'Stage'\ngetVariable\n"
      "push 'align'\ngetMember\ntrace\n";
  EXPECT_EQ(runScripts(7, {align}).traced, "LTRB\n");
}

}  // namespace
