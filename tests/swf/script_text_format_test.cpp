// TextFormat values as scripts set them (each kind converted as the original player did, by
// version), text with a format per character (ranges, HTML out, replaceText), and the focus
// events Selection.setFocus raises on clips.
#include <cmath>
#include <optional>

#include "script_graphics_support.h"
#include "swf/avm1/function.h"
#include "swf/text/field_document.h"
#include "swf/text/html_text.h"

namespace {

using rvtest::ScriptStage;
using swf::avm1::Object;
using swf::avm1::Value;

TEST(ScriptTextFormat, SettersConvertByKindAndVersion) {
  const double nan = std::nan("");
  struct {
    int version;
    const char* property;
    Value value;
    const char* want;  // typeof and text of what reads back
  } const cases[] = {
      {8, "size", Value(12.7), "number 12"},
      {8, "size", Value(nan), "number -2147483648"},  // out of range: the one indefinite
      {7, "size", Value(nan), "number 0"},            // before 8: a 32-bit integer
      {7, "size", Value(-2147483650.0), "number 2147483646"},
      {8, "indent", Value(-3), "number -3"},
      {7, "indent", Value(-3), "number 0"},  // no negative indents before 8
      {8, "leftMargin", Value(-3), "number 0"},
      {8, "leftMargin", Value(INFINITY), "number -2147483648"},
      {8, "color", Value(-1), "number 4294967295"},
      {8, "letterSpacing", Value(1.5), "number 1.5"},
      {8, "bold", Value(2), "boolean true"},
      {8, "align", Value(), "null null"},  // unknown names keep the old value
      {8, "display", Value(), "string block"},
      {8, "font", Value(1), "string 1"},
      {8, "url", Value::null(), "null null"},
      {8, "tabStops", Value(4), "null null"},
  };
  for (const auto& c : cases) {
    ScriptStage s(c.version);
    Object* f = s.vm->construct(s.vm->get(s.vm->global, s.vm->key("TextFormat")), {}).object();
    ASSERT_NE(f, nullptr);
    s.vm->set(f, s.vm->key(c.property), c.value);
    Value got = s.vm->get(f, s.vm->key(c.property));
    EXPECT_EQ(s.vm->typeOf(got) + " " + s.text(got), c.want) << c.version << " " << c.property;
  }
}

TEST(ScriptTextFormat, AlignMatchesAnyCaseAndKeepsItsValueOtherwise) {
  ScriptStage s;
  Object* f = s.vm->construct(s.vm->get(s.vm->global, s.vm->key("TextFormat")), {}).object();
  const char* const steps[][2] = {
      {"CENTER", "center"}, {"middle", "center"}, {"Right", "right"}, {"", "right"}};
  for (const auto& step : steps) {
    s.vm->set(f, s.vm->key("align"), s.str(step[0]));
    EXPECT_EQ(s.text(s.vm->get(f, s.vm->key("align"))), step[1]) << step[0];
  }
}

TEST(ScriptTextFormat, PrototypeGainsItsAccessorsWithTheFirstInstance) {
  ScriptStage s;
  Object* ctor = s.vm->get(s.vm->global, s.vm->key("TextFormat")).object();
  Object* proto = s.vm->get(ctor, s.vm->key("prototype")).object();
  EXPECT_FALSE(s.vm->hasOwn(proto, s.vm->key("size")));
  s.vm->construct(Value(ctor), {});
  EXPECT_TRUE(s.vm->hasOwn(proto, s.vm->key("size")));
  // On the prototype itself they read nothing and keep nothing.
  s.vm->set(proto, s.vm->key("size"), Value(3));
  EXPECT_TRUE(s.vm->get(proto, s.vm->key("size")).isUndefined());
}

// The focus events of clips, as "<handler>(<argument>) while <focus>".
std::vector<std::string>* gEvents = nullptr;
ScriptStage* gStage = nullptr;

std::string focusNow() {
  Object* sel = gStage->vm->get(gStage->vm->global, gStage->vm->key("Selection")).object();
  return gStage->text(gStage->call(sel, "getFocus"));
}

Value onKill(swf::avm1::Vm& vm, Object*, swf::avm1::Args a) {
  gEvents->push_back("kill(" + vm.toString(a.at(0)) + ") while " + focusNow());
  return Value();
}
Value onSet(swf::avm1::Vm& vm, Object*, swf::avm1::Args a) {
  gEvents->push_back("set(" + vm.toString(a.at(0)) + ") while " + focusNow());
  return Value();
}

TEST(ScriptTextFormat, ClipFocusEventsComeInTheOriginalsOrder) {
  ScriptStage s;
  std::vector<std::string> events;
  gEvents = &events;
  gStage = &s;
  Object* sel = s.vm->get(s.vm->global, s.vm->key("Selection")).object();
  Object* clips[2];
  for (int i = 0; i < 2; ++i) {
    const char* name = i ? "b" : "a";
    clips[i] = s.draw("createEmptyMovieClip", {s.str(name), Value(i + 1)}).object();
    ASSERT_NE(clips[i], nullptr);
    s.vm->set(clips[i], s.vm->key("focusEnabled"), Value(true));
    s.vm->put(clips[i], "onKillFocus", Value(static_cast<Object*>(s.vm->newNative(onKill))));
    s.vm->put(clips[i], "onSetFocus", Value(static_cast<Object*>(s.vm->newNative(onSet))));
  }
  // A clip's focus is given, but the call answers false; no argument answers false too.
  EXPECT_FALSE(s.vm->toBoolean(s.call(sel, "setFocus", {Value(clips[0])})));
  EXPECT_FALSE(s.vm->toBoolean(s.call(sel, "setFocus")));
  s.call(sel, "setFocus", {Value(clips[1])});
  EXPECT_TRUE(s.vm->toBoolean(s.call(sel, "setFocus", {Value::null()})));
  const std::vector<std::string> want = {
      "set(null) while _level0.a",
      "kill(_level0.b) while _level0.a",  // the old clip hears it before the focus moves
      "set(_level0.a) while _level0.b",
      "kill(null) while _level0.b",
  };
  EXPECT_EQ(events, want);
}

}  // namespace

// ---- per-character formats ----

swf::FieldDocument document(const char* html) {
  swf::CharFormat base;
  base.font = "Times New Roman";
  base.kerning = false;
  std::u32string text;
  for (const char* c = html; *c; ++c) text += char32_t(*c);
  return swf::FieldDocument(swf::parseHtmlText(text, base, {}, false));
}

TEST(FieldDocument, FormatsApplyToTheirRangeAndRangesReportWhatTheyShare) {
  swf::FieldDocument d = document("a<b>bc</b>d");
  swf::FormatSpec bullet;
  bullet.bullet = true;
  d.applyFormat(1, 2, bullet);  // paragraph values go to single characters too
  struct {
    size_t begin, end;
    std::optional<bool> bold, bullet;
  } const cases[] = {
      {0, 1, false, false},
      {1, 3, true, std::nullopt},
      {1, 2, true, true},
      {0, 4, std::nullopt, std::nullopt},
      {2, 2, std::nullopt, std::nullopt},  // empty: nothing
  };
  for (const auto& c : cases) {
    swf::FormatSpec s = d.formatOf(c.begin, c.end);
    EXPECT_EQ(s.bold, c.bold) << c.begin << "-" << c.end;
    EXPECT_EQ(s.bullet, c.bullet) << c.begin << "-" << c.end;
  }
}

TEST(FieldDocument, HtmlNestsFontChangesAndWrapsStylesPerRun) {
  struct {
    const char* in;
    const char* want;
  } const cases[] = {
      {"hello<font size='100'>world</font>",
       "<P ALIGN=\"LEFT\"><FONT FACE=\"Times New Roman\" SIZE=\"12\" COLOR=\"#000000\" "
       "LETTERSPACING=\"0\" KERNING=\"0\">hello<FONT SIZE=\"100\">world</FONT></FONT></P>"},
      {"a<u>b</u><b><u>c</u></b>&lt;",
       "<P ALIGN=\"LEFT\"><FONT FACE=\"Times New Roman\" SIZE=\"12\" COLOR=\"#000000\" "
       "LETTERSPACING=\"0\" KERNING=\"0\">a<U>b</U><B><U>c</U></B>&lt;</FONT></P>"},
  };
  for (const auto& c : cases) EXPECT_EQ(document(c.in).html({}), c.want) << c.in;
}

TEST(FieldDocument, BareCarriageReturnsCountButDoNotShow) {
  swf::FieldDocument d = document("a\rb");
  EXPECT_EQ(d.size(), 3u);
  EXPECT_EQ(d.visibleText(), U"ab");
  d.replace(1, 1, U"\nc\rd", d.styleAt(0), true);  // as replaceText inserts
  EXPECT_EQ(d.size(), 7u);
  EXPECT_EQ(d.visibleText(), U"a\rcdb");
  EXPECT_EQ(d.styled().paragraphs.size(), 4u);
}

TEST(FieldDocument, ALineEndTakesTheParagraphItStartsUnlessATagEndedIt) {
  // The \r after a right-aligned paragraph belongs to the left-aligned one that follows.
  swf::FieldDocument d = document("<p align='right'>ab</p>\nc");
  ASSERT_EQ(d.text(), U"ab\rc");
  EXPECT_EQ(d.styleAt(1).paragraph.align, swf::TextAlign::Right);
  EXPECT_EQ(d.styleAt(2).paragraph.align, swf::TextAlign::Left);
  swf::StyledText laid = d.styled();
  ASSERT_EQ(laid.paragraphs.size(), 2u);
  EXPECT_EQ(laid.paragraphs[0].format.align, swf::TextAlign::Right);
  // The end a closing tag makes stays with the paragraph it closes.
  swf::FieldDocument closed(swf::parseHtmlText(U"<p align='right'>ab</p>c", {}, {}, true));
  ASSERT_EQ(closed.text(), U"ab\rc");
  EXPECT_EQ(closed.styleAt(2).paragraph.align, swf::TextAlign::Right);
}

TEST(ScriptTextField, ReplaceTextTakesTheFormatAfterTheRange) {
  ScriptStage s;
  s.draw("createTextField", {s.str("t"), Value(1), Value(0), Value(0), Value(100), Value(20)});
  Object* t = s.vm->get(s.root, s.vm->key("t")).object();
  ASSERT_NE(t, nullptr);
  s.vm->set(t, s.vm->key("html"), Value(true));
  s.vm->set(t, s.vm->key("htmlText"), s.str("ab<font size='20'>cd</font>"));
  auto sizeAt = [&](int i) {
    Object* f = s.call(t, "getTextFormat", {Value(i)}).object();
    return f ? s.number(f, "size") : -1;
  };
  s.call(t, "replaceText", {Value(1), Value(2), s.str("XY")});  // before "c": size 20
  EXPECT_EQ(s.text(s.vm->get(t, s.vm->key("text"))), "aXYcd");
  EXPECT_EQ(sizeAt(1), 20);
  EXPECT_EQ(sizeAt(0), 12);
  s.call(t, "replaceText", {Value(2), Value(1), s.str("no")});  // a reversed range: nothing
  EXPECT_EQ(s.text(s.vm->get(t, s.vm->key("text"))), "aXYcd");
}
