#pragma once
// A small form for input tests: a 40×40 pixel button at the stage's top left whose release
// counts `clicks`, and an input field bound to the variable `typed` at (60, 0), 100×20 pixels.
// `frameScript` runs in the first frame.

#include <string>
#include <vector>

#include "swf/author/action_assembler.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/button.h"

namespace rvtest {

inline std::vector<uint8_t> inputFormMovie(int version, const std::string& frameScript = "") {
  using namespace swf::author;
  SwfWriter w(version, 200, 100, 10);
  ShapeBuilder s;
  s.setFill1(s.solidFill({0, 0, 255, 255}));
  s.rectangle(0, 0, 800, 800);
  w.defineShape(1, s);
  auto release = assembleActions(
      "push 'clicks', 'clicks'\ngetVariable\npush 1\nadd2\nsetVariable\n"
      "push 'clicked'\ntrace");
  release.push_back(0);
  w.defineButton2(
      2, {{swf::kButtonUp | swf::kButtonOver | swf::kButtonDown | swf::kButtonHit, 1, 1, {}, {}}},
      {{swf::kCondOverDownToOverUp, release}});
  EditTextDef field;
  field.bounds = swf::Rect{0, 2000, 0, 400};
  field.readOnly = false;
  field.noSelect = false;
  field.border = true;
  field.variable = "typed";
  w.defineEditText(3, field);
  w.placeObject2(placeNew(1, 2));
  swf::Matrix m;
  m.tx = 1200;
  PlaceParams p = placeNew(2, 3, m);
  p.name = "entry";
  w.placeObject2(p);
  if (!frameScript.empty()) {
    auto code = assembleActions(frameScript);
    code.push_back(0);
    w.doAction(code);
  }
  w.showFrame();
  w.showFrame();
  w.end();
  return w.finish();
}

}  // namespace rvtest
