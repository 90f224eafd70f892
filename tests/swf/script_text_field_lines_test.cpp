// Text fields as scripts of each version see them: what their names stand for in SWF 5, and
// when their lines are laid out again for scroll, maxscroll and autoSize.
#include "avm1_support.h"

namespace {

// A field called t at depth 0 of the movie's root, 40 pixels wide and one line high.
const std::string kMakeField =
    "push 20, 40, 0, 0, 0, 't', 6, 'createTextField'\ncallFunction\npop\n";

std::string setT(const std::string& name, const std::string& value) {
  return "push 't'\ngetVariable\npush '" + name + "', " + value + "\nsetMember\n";
}

std::string traceT(const std::string& name) {
  return "push 't'\ngetVariable\npush '" + name + "'\ngetMember\ntrace\n";
}

TEST(ScriptTextFieldLines, Swf5NamesAFieldAsTheClipHoldingIt) {
  rvtest::runCases({
      {5, kMakeField + setT("v", "1") + "push 'v'\ngetVariable\ntrace\n", "1\n"},
      {5, kMakeField + "push 't'\ngetVariable\ntypeof\ntrace\n", "movieclip\n"},
      {6, kMakeField + "push 't'\ngetVariable\ntypeof\ntrace\n", "object\n"},
  });
}

TEST(ScriptTextFieldLines, ScrollFollowsTheLinesAsLastLaidOut) {
  const std::string fourLines = setT("text", "'a\rb\rc\rd'");
  const std::string wrapped = setT("wordWrap", "true") + setT("text", "'aaaa bbbb cccc dddd'");
  const std::string format =
      "push 0, 'TextFormat'\nnewObject\npush 1, 't'\ngetVariable\npush 'setTextFormat'\n"
      "callMethod\npop\n";
  rvtest::runCases({
      // New text brings scroll within its lines.
      {6,
       kMakeField + fourLines + setT("scroll", "4") + traceT("scroll") + setT("text", "'a\rb'") +
           traceT("scroll"),
       "4\n2\n"},
      // Turning wordWrap off keeps the wrapped lines until the text or its format changes,
      // and a new format does not move scroll.
      {6,
       kMakeField + wrapped + setT("scroll", "4") + setT("wordWrap", "false") +
           traceT("maxscroll") + format + traceT("maxscroll") + traceT("scroll"),
       "4\n1\n4\n"},
      // autoSize resizes the field once its geometry is asked for, and scroll follows then.
      {6,
       kMakeField + wrapped + setT("scroll", "4") + setT("wordWrap", "false") +
           setT("autoSize", "true") + traceT("scroll") + traceT("_x") + traceT("scroll"),
       "4\n0\n1\n"},
  });
}

}  // namespace
