#pragma once
// Calls the player's graphic classes from C++ as a script would, on a loaded one-frame movie,
// and reads back pixels of the rendered stage.

#include <cairo.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_movies.h"
#include "swf/avm1/array_object.h"
#include "swf/avm1/vm.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace rvtest {

using swf::avm1::Object;
using swf::avm1::Value;

class ScriptStage {
 public:
  explicit ScriptStage(int version = 8) {
    SwfWriter w(version, 100, 100, 10);
    w.showFrame();
    w.showFrame();
    w.end();
    show(player, w.finish());
    vm = player.scripts();
    root = vm->clipFor(player.levelRoot(0));
  }

  Value str(const std::string& s) { return Value(vm->intern(s)); }
  Value call(Object* self, const std::string& method, std::vector<Value> args = {}) {
    return vm->callMethod(self, vm->key(method), args);
  }
  Value draw(const std::string& method, std::vector<Value> args = {}) {
    return call(root, method, std::move(args));
  }
  // `new flash.<package>.<name>(args)`.
  Object* make(const std::string& package, const std::string& name, std::vector<Value> args = {}) {
    Object* p = vm->get(vm->get(vm->global, vm->key("flash")), vm->key(package)).object();
    if (!p) return nullptr;
    return vm->construct(vm->get(p, vm->key(name)), args).object();
  }
  std::string text(const Value& v) { return vm->toString(v); }
  double number(Object* o, const std::string& member) {
    return vm->toNumber(vm->get(o, vm->key(member)));
  }

  // The stage's pixel as 0xRRGGBB after a render.
  uint32_t pixel(int x, int y) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
    cairo_t* cr = cairo_create(s);
    player.render(cr, 100, 100);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    auto* row = cairo_image_surface_get_data(s) + cairo_image_surface_get_stride(s) * y;
    uint32_t p = reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
    cairo_surface_destroy(s);
    return p;
  }

  swf::Player player;
  swf::avm1::Vm* vm = nullptr;
  Object* root = nullptr;
};

}  // namespace rvtest
