#include "swf/avm1/action_runner.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "swf/avm1/action_codes.h"
#include "swf/io/bit_reader.h"

namespace swf::avm1 {
namespace {

// A stand-in for the value type of the full engine: enough for Push and Trace.
struct Value {
  enum Kind { Undefined, Null, Bool, Number, String } kind = Undefined;
  double number = 0;
  std::string text;

  std::string toString(int swfVersion) const {
    switch (kind) {
      case Undefined:
        return swfVersion >= 7 ? "undefined" : "";
      case Null:
        return "null";
      case Bool:
        return number != 0 ? "true" : "false";
      case String:
        return text;
      case Number:
        break;
    }
    if (std::isnan(number)) return "NaN";
    if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
    if (number == std::floor(number) && std::fabs(number) < 1e15) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.0f", number);
      return buf;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", number);
    return buf;
  }
};

struct Block {
  std::vector<Value> stack;
  std::vector<std::string> constants;

  Value pop() {
    if (stack.empty()) return {};
    Value v = std::move(stack.back());
    stack.pop_back();
    return v;
  }
};

void push(BitReader& r, Block& b) {
  while (!r.atEnd()) {
    Value v;
    int type = r.u8();
    switch (type) {
      case 0:
        v.kind = Value::String;
        v.text = r.cstring();
        break;
      case 1:
        v.kind = Value::Number;
        v.number = r.f32();
        break;
      case 2:
        v.kind = Value::Null;
        break;
      case 3:
        v.kind = Value::Undefined;
        break;
      case 4:
        r.u8();
        break;  // register: the full engine has them
      case 5:
        v.kind = Value::Bool;
        v.number = r.u8() ? 1 : 0;
        break;
      case 6: {
        // Doubles are stored as two little-endian words, high word first.
        uint64_t hi = r.u32(), lo = r.u32();
        uint64_t bits = (hi << 32) | lo;
        double d;
        __builtin_memcpy(&d, &bits, sizeof d);
        v.kind = Value::Number;
        v.number = d;
        break;
      }
      case 7:
        v.kind = Value::Number;
        v.number = r.s32();
        break;
      case 8:
      case 9: {
        unsigned index = type == 8 ? r.u8() : r.u16();
        if (index < b.constants.size()) {
          v.kind = Value::String;
          v.text = b.constants[index];
        }
        break;
      }
      default:
        return;  // an unknown type ends the list
    }
    b.stack.push_back(std::move(v));
  }
}

}  // namespace

void runActions(std::span<const uint8_t> code, ActionHost& host, int swfVersion) {
  BitReader r(code);
  Block block;
  int skip = 0;  // actions still to skip after a WaitForFrame whose frame is missing
  try {
    while (!r.atEnd()) {
      int op = r.u8();
      if (op == op::End) break;
      std::span<const uint8_t> body;
      if (op >= 0x80) body = r.bytes(r.u16());
      if (skip > 0) {
        --skip;
        continue;
      }
      BitReader b(body);
      switch (op) {
        case op::NextFrame:
          host.nextFrame();
          break;
        case op::PreviousFrame:
          host.previousFrame();
          break;
        case op::Play:
          host.play();
          break;
        case op::Stop:
          host.stop();
          break;
        case op::ToggleQuality:
          host.toggleQuality();
          break;
        case op::StopSounds:
          host.stopSounds();
          break;
        case op::GotoFrame:
          host.gotoFrame(b.u16());
          break;
        case op::GotoLabel:
          host.gotoLabel(b.cstring());
          break;
        case op::GetURL: {
          std::string url = b.cstring();
          std::string target = b.cstring();
          host.getURL(url, target);
          break;
        }
        case op::WaitForFrame: {
          int frame = b.u16();
          int count = b.u8();
          if (!host.frameLoaded(frame)) skip = count;
          break;
        }
        case op::SetTarget:
          host.setTarget(b.cstring());
          break;
        case op::ConstantPool: {
          block.constants.clear();
          unsigned n = b.u16();
          for (unsigned i = 0; i < n; ++i) block.constants.push_back(b.cstring());
          break;
        }
        case op::Push:
          push(b, block);
          break;
        case op::Pop:
          block.pop();
          break;
        case op::Trace:
          host.trace(block.pop().toString(swfVersion));
          break;
        default:
          break;  // not yet: skipped by its length
      }
    }
  } catch (const ReadError&) {
    // A block cut short stops where it is cut; what ran before stays done.
  }
}

}  // namespace swf::avm1
