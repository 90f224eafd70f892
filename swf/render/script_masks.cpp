#include "swf/render/script_masks.h"

#include <unordered_set>

namespace swf {
namespace {

constexpr int kMaxWalk = 256;

void findTargets(const DisplayObject& obj, std::unordered_set<const DisplayObject*>& out,
                 int nesting) {
  if (nesting > kMaxWalk) return;
  if (const DisplayObject* m = obj.scriptMaskObject(); m && m != &obj) out.insert(m);
  for (const auto& [d, child] : obj.children) findTargets(*child, out, nesting + 1);
}

void place(const DisplayObject& obj, const Matrix& toDevice,
           const std::unordered_set<const DisplayObject*>& targets,
           std::unordered_map<const DisplayObject*, Matrix>& out, int nesting) {
  if (nesting > kMaxWalk) return;
  if (targets.count(&obj)) out[&obj] = toDevice;
  for (const auto& [d, child] : obj.children)
    place(*child, toDevice * child->matrix, targets, out, nesting + 1);
}

}  // namespace

void ScriptMasks::collect(const DisplayObject& root, const Matrix& rootToDevice) {
  masks_.clear();
  std::unordered_set<const DisplayObject*> targets;
  findTargets(root, targets, 0);
  if (!targets.empty()) place(root, rootToDevice, targets, masks_, 0);
}

const DisplayObject* ScriptMasks::maskOf(const DisplayObject& obj, Matrix& toDevice) const {
  const DisplayObject* m = obj.scriptMaskObject();
  if (!m) return nullptr;
  auto it = masks_.find(m);
  if (it == masks_.end()) return nullptr;
  toDevice = it->second;
  return m;
}

}  // namespace swf
