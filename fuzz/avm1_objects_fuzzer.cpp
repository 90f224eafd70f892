// Fuzzes the player's objects as scripts reach them: every class and package found on _global
// (whatever the player installs, so new classes are fuzzed without being listed here) is
// constructed and its methods called with arguments the input picks, on a small playing movie
// that is advanced and drawn between the calls.
#include <cairo.h>
#include <stdlib.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/fuzz_movie.h"
#include "swf/avm1/array_object.h"
#include "swf/avm1/vm.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace {

using swf::avm1::Args;
using swf::avm1::Function;
using swf::avm1::Object;
using swf::avm1::Value;
using swf::avm1::Vm;

// Arguments worth trying: limits, sizes past the engine's bounds, names the classes switch on.
const double kNumbers[] = {0,    1,    -1,   0.5,  2,      3,      7,        10,         100,
                           255,  256,  2880, 2881, 1e5,    -1e5,   16777215, 4294967295, 1e300,
                           -0.0, 1e-9, 45,   360,  0x7FFF, -32768, 8191};
const char* const kStrings[] = {"",      "linear",   "radial",  "box",    "none",      "miter",
                                "bevel", "square",   "reflect", "repeat", "linearRGB", "normal",
                                "layer", "multiply", "_root",   "a",      "..",        "/",
                                "x",     "alpha",    "red",     "inner",  "full",      "outer",
                                "rgb",   "0",        "-1",      "NaN",    "toString"};

struct Call {
  uint32_t fn;    // index into the rooted function array
  int32_t klass;  // for methods: the class whose instances they suit (-1: a static)
  uint32_t holder;
};

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t byte() {
    if (!n) return 0;
    --n;
    return *p++;
  }
  bool done() const { return n == 0; }
};

class Session {
 public:
  Session(swf::Player& player, Vm& vm) : player_(player), vm_(vm) {
    fns_ = vm.newArray();
    pool_ = vm.newArray();
    holders_ = vm.newArray();
    vm.put(vm.global, "__fuzzFns", Value(static_cast<Object*>(fns_)), swf::avm1::DontEnum);
    vm.put(vm.global, "__fuzzPool", Value(static_cast<Object*>(pool_)), swf::avm1::DontEnum);
    vm.put(vm.global, "__fuzzHolders", Value(static_cast<Object*>(holders_)), swf::avm1::DontEnum);
    if (auto* root = player.levelRoot(0))
      pool_->items.push_back(Value(static_cast<Object*>(vm.clipFor(root))));
    gather(vm.global, 0);
    if (getenv("RV_FUZZ_LIST"))
      fprintf(stderr, "%zu classes, %zu calls\n", classes_.size(), calls_.size());
  }

  void run(Reader& in) {
    for (int step = 0; step < 48 && !in.done(); ++step) {
      uint8_t op = in.byte();
      try {
        switch (op % 6) {
          case 0:
          case 1:
            construct(in);
            break;
          case 2:
          case 3:
            callMethod(in);
            break;
          case 4:
            setMember(in);
            break;
          default:
            player_.advance(1000.0 / 30);
            if (op & 0x80) draw();
            break;
        }
      } catch (const swf::avm1::ScriptThrow&) {
      } catch (const swf::avm1::ScriptAbort&) {
      }
    }
    draw();
  }

 private:
  // Classes are functions with a prototype; packages and singletons (Math, Key, flash.geom) are
  // plain objects searched a few levels deep.
  void gather(Object* o, int depth) {
    if (depth > 3 || seen_.size() > 512) return;
    for (Object* s : seen_)
      if (s == o) return;
    seen_.push_back(o);
    std::vector<swf::avm1::Property> props = o->props.list();
    for (const auto& p : props) {
      Object* v = p.value.object();
      if (!v || p.getter) continue;
      if (v->isFunction()) {
        Object* proto = vm_.get(v, vm_.names().prototype).object();
        if (proto && proto != vm_.objectProto && proto != vm_.functionProto) {
          int32_t k = int32_t(classes_.size());
          classes_.push_back(add(v));
          for (const auto& m : proto->props.list())
            if (Object* f = m.value.object(); f && f->isFunction() && !m.getter)
              calls_.push_back({add(f), k, 0});
        }
        holders_->items.push_back(Value(o));
        calls_.push_back({add(v), -1, uint32_t(holders_->items.size() - 1)});
      } else if (depth < 3 && v != vm_.objectProto && v != vm_.functionProto) {
        gather(v, depth + 1);
      }
    }
  }

  uint32_t add(Object* f) {
    fns_->items.push_back(Value(f));
    return uint32_t(fns_->items.size() - 1);
  }

  Value fn(uint32_t i) { return i < fns_->items.size() ? fns_->items[i] : Value(); }

  Value instance(uint8_t b) {
    if (pool_->items.empty()) return Value();
    return pool_->items[b % pool_->items.size()];
  }

  Value argument(Reader& in, int depth = 0) {
    uint8_t t = in.byte();
    uint8_t v = in.byte();
    switch (t % 10) {
      case 0:
        return Value(kNumbers[v % std::size(kNumbers)]);
      case 1:
        return Value(double(int8_t(v)));
      case 2:
        return Value(vm_.intern(kStrings[v % std::size(kStrings)]));
      case 3:
        return Value(bool(v & 1));
      case 4:
        return (v & 1) ? Value::null() : Value();
      case 5:
        return Value(std::numeric_limits<double>::quiet_NaN());
      case 6:
      case 7:
        return instance(v);
      default: {
        if (depth > 1) return Value(double(v));
        // An array or a plain object of a few members: colour lists, matrices, rectangles.
        bool array = t & 0x10;
        Object* o = array ? vm_.newArray() : vm_.newObject();
        Vm::Pin pin(vm_, Value(o));
        static const char* const kMembers[] = {"a",     "b",      "c",      "d", "tx", "ty",
                                               "x",     "y",      "w",      "h", "r",  "matrixType",
                                               "width", "height", "length", "0", "1"};
        for (int i = 0; i < (v % 5); ++i) {
          Value item = argument(in, depth + 1);
          std::string name = array ? std::to_string(i) : kMembers[in.byte() % std::size(kMembers)];
          vm_.set(o, vm_.intern(name), item);
        }
        return Value(o);
      }
    }
  }

  std::vector<Value> arguments(Reader& in) {
    std::vector<Value> args;
    int n = in.byte() % 9;
    for (int i = 0; i < n; ++i) args.push_back(argument(in));
    return args;
  }

  void keep(const Value& v) {
    if (!v.object()) return;
    constexpr size_t kPool = 12;
    if (pool_->items.size() < kPool)
      pool_->items.push_back(v);
    else
      pool_->items[1 + next_++ % (kPool - 1)] = v;  // the root clip stays
  }

  void construct(Reader& in) {
    if (classes_.empty()) return;
    Value ctor = fn(classes_[in.byte() % classes_.size()]);
    std::vector<Value> args = arguments(in);
    Vm::Pin pin(vm_, ctor);
    keep(vm_.construct(ctor, args));
  }

  void callMethod(Reader& in) {
    if (calls_.empty()) return;
    uint16_t pick = uint16_t(in.byte() | in.byte() << 8);
    const Call& c = calls_[pick % calls_.size()];
    Object* self = c.klass < 0 ? holders_->items[c.holder].object() : instance(in.byte()).object();
    std::vector<Value> args = arguments(in);
    Value f = fn(c.fn);
    Vm::Pin pin(vm_, f);
    keep(vm_.call(f, self, args));
  }

  void setMember(Reader& in) {
    Object* o = instance(in.byte()).object();
    if (!o) return;
    static const char* const kProps[] = {"_x",
                                         "_y",
                                         "_xscale",
                                         "_rotation",
                                         "_alpha",
                                         "_visible",
                                         "filters",
                                         "blendMode",
                                         "transform",
                                         "matrix",
                                         "colorTransform",
                                         "x",
                                         "width",
                                         "cacheAsBitmap",
                                         "scale9Grid",
                                         "text"};
    std::string name = kProps[in.byte() % std::size(kProps)];
    Value v = argument(in);
    vm_.set(o, vm_.intern(name), v);
  }

  void draw() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 48);
    cairo_t* cr = cairo_create(s);
    player_.render(cr, 64, 48);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
  }

  swf::Player& player_;
  Vm& vm_;
  swf::avm1::ArrayObject* fns_;
  swf::avm1::ArrayObject* pool_;
  swf::avm1::ArrayObject* holders_;
  std::vector<uint32_t> classes_;
  std::vector<Call> calls_;
  std::vector<Object*> seen_;
  size_t next_ = 0;
};

// Whatever a class keeps on disk goes to a scratch directory, never the user's.
bool useScratchHome() {
  char dir[] = "/tmp/rv-fuzz-objects-XXXXXX";
  if (!mkdtemp(dir)) return false;
  setenv("XDG_DATA_HOME", dir, 1);
  setenv("HOME", dir, 1);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool scratch = useScratchHome();
  if (size < 2 || !scratch) return 0;
  int version = 6 + data[0] % 3;
  swf::author::SwfWriter w(version, 64, 48, 30);
  w.showFrame();
  w.showFrame();
  w.end();
  swf::Player player;
  if (!rv::fuzz::startMovie(player, w, "/tmp/rv-fuzz-objects/fuzz.swf")) return 0;
  player.advance(1000.0 / 30);
  Vm* vm = player.scripts();
  if (!vm) return 0;
  Session session(player, *vm);
  Reader in{data + 1, size - 1};
  session.run(in);
  return 0;
}
