#pragma once
// A movie clip as scripts see it: an object holding the timeline's variables, reaching its
// sprite through DisplayNode while the sprite lives. Afterwards it is a dead reference that
// finds a clip of the same path again, as the original player's references did.

#include <memory>
#include <string>

#include "swf/avm1/display_node.h"
#include "swf/avm1/object.h"

namespace swf::avm1 {

class ClipObject : public Object {
 public:
  ClipObject(DisplayNode* node)
      : node_(node), life_(node->nodeLife()), plainNative_(node->hasPlainNodeProperties()) {}

  // The sprite; once it is gone, a clip now at the same path, else null.
  DisplayNode* node() const { return life_.expired() ? refind() : node_; }
  bool alive() const { return !life_.expired(); }
  // "_level0.a.b"
  std::string targetPath() const { return path_; }
  void setPath(std::string p) { path_ = std::move(p); }

  const char* typeName() const override { return "movieclip"; }
  ClipObject* asClip() override { return this; }
  bool getNative(Vm& vm, String* key, Value& out) override;
  bool setNative(Vm& vm, String* key, const Value& v) override;
  void enumerateNative(Vm& vm, std::vector<String*>& names) override;

  Vm* vm = nullptr;  // set by the machine that made it: a dead reference looks itself up there
  // ASSetPropFlags(clip, null, ...) with DontEnum hides the children from `for..in` as well.
  bool childrenHidden = false;

 private:
  DisplayNode* refind() const;

  DisplayNode* node_;
  std::weak_ptr<const char> life_;
  std::string path_;
  bool plainNative_;  // the node answers names without '_' (a video's width)
};

// The clip property number of a name such as "_x" (any case); -1 for other names.
int clipPropertyIndex(const std::string& name);

}  // namespace swf::avm1
