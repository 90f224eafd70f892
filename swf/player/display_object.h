#pragma once
// The display list: what is on the stage now. The root timeline and every sprite or button
// instance hold their children ordered by depth. Scripts address objects by name through this
// tree; the renderer walks it.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "swf/model/geometry.h"
#include "swf/movie/character.h"
#include "swf/movie/filters.h"

namespace swf {

class ScriptDrawing;

struct DisplayObject {
  virtual ~DisplayObject() = default;

  int depth = 0;
  uint16_t characterId = 0;
  std::shared_ptr<const Character> character;  // null for the root
  Matrix matrix;
  ColorTransform cxform;
  int ratio = 0;      // morph position 0..65535
  int clipDepth = 0;  // non-zero: this object masks the depths above it up to clipDepth
  std::string name;
  bool visible = true;
  int blendMode =
      0;  // PlaceObject3 blend mode: 0 and 1 normal, 2 layer, 3 multiply ... 14 hard light
  FilterListPtr filters;  // PlaceObject3 filters, applied in order; null or empty: none
  std::shared_ptr<ScriptDrawing> drawing;  // drawn by script, under the children; may be null

  // The object a script set as this one's mask (setMask): this one shows only where that one
  // draws. Null: none.
  virtual const DisplayObject* scriptMaskObject() const { return nullptr; }

  // Children by depth (sprites, buttons and the root have them).
  std::map<int, std::unique_ptr<DisplayObject>> children;
};

}  // namespace swf
