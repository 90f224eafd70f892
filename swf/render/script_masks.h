#pragma once
// Masks set by scripts (setMask): unlike a timeline mask, the mask may sit anywhere in the tree,
// so it is drawn where it stands on the stage, and it is not drawn as content itself.

#include <unordered_map>

#include "swf/model/geometry.h"
#include "swf/player/display_object.h"

namespace swf {

class ScriptMasks {
 public:
  // Finds the masks in use under `root` and where each stands (its twips to device pixels).
  // Masks that are not in the tree are left out: what they mask draws unmasked.
  void collect(const DisplayObject& root, const Matrix& rootToDevice);

  bool empty() const { return masks_.empty(); }
  bool isMask(const DisplayObject& obj) const { return masks_.count(&obj) != 0; }
  // The mask of `obj` and its matrix, or null when it has none in the tree.
  const DisplayObject* maskOf(const DisplayObject& obj, Matrix& toDevice) const;

 private:
  std::unordered_map<const DisplayObject*, Matrix> masks_;
};

}  // namespace swf
