#include "swf/io/amf0.h"

#include "swf/io/amf0_cursor.h"

namespace swf {
namespace {

using namespace amf0;

class AmfReader {
 public:
  explicit AmfReader(std::span<const uint8_t> d) : c_(d) {}
  bool atEnd() const { return c_.atEnd(); }

  AmfValue value(int depth) {
    if (depth > kMaxAmfDepth) throw AmfError("AMF data nested too deep");
    AmfValue v;
    uint8_t marker = uint8_t(uint(1));
    switch (marker) {
      case kNumber:
        v.type = AmfValue::Type::Number;
        v.number = number();
        break;
      case kBoolean:
        v.type = AmfValue::Type::Boolean;
        v.boolean = uint(1) != 0;
        break;
      case kString:
      case kLongString:
      case kXmlDocument:
        v.type = AmfValue::Type::String;
        v.string = text(marker == kString ? 2 : 4);
        break;
      case kObject:
      case kTypedObject:
        v.type = AmfValue::Type::Object;
        if (marker == kTypedObject) text(2);  // class name
        properties(v, depth);
        break;
      case kNull:
        v.type = AmfValue::Type::Null;
        break;
      case kUndefined:
        v.type = AmfValue::Type::Undefined;
        break;
      case kEcmaArray:
        v.type = AmfValue::Type::Array;
        uint(4);  // a count writers do not keep to; the end marker decides
        properties(v, depth);
        break;
      case kStrictArray: {
        v.type = AmfValue::Type::StrictArray;
        uint32_t n = uint(4);
        // Each item takes at least a byte, so a count past what is left lies.
        if (n > c_.left()) throw AmfError("AMF array longer than its data");
        for (uint32_t i = 0; i < n; ++i) v.items.push_back(value(depth + 1));
        break;
      }
      case kDate:
        v.type = AmfValue::Type::Date;
        v.number = number();
        uint(2);  // time zone, unused by writers
        break;
      default:
        // References, movie clips, record sets and the like do not occur in FLV files.
        throw AmfError("unsupported AMF type " + std::to_string(marker));
    }
    return v;
  }

 private:
  void properties(AmfValue& v, int depth) {
    for (;;) {
      if (atEnd()) return;
      std::string name = text(2);
      if (name.empty() && c_.take(kObjectEnd)) return;
      // Files cut short often lack the end marker: what was read stands.
      if (atEnd()) return;
      AmfValue item = value(depth + 1);
      v.properties.push_back({std::move(name), std::move(item)});
    }
  }
  [[noreturn]] static void early() { throw AmfError("AMF data ends early"); }
  uint32_t uint(int bytes) {
    uint32_t v;
    if (!c_.uint(bytes, v)) early();
    return v;
  }
  double number() {
    double d;
    if (!c_.number(d)) early();
    return d;
  }
  std::string text(int lengthBytes) {
    std::string s;
    if (!c_.string(lengthBytes, s)) early();
    return s;
  }

  Cursor c_;
};

}  // namespace

const AmfValue* AmfValue::find(const std::string& name) const {
  for (const auto& [k, v] : properties)
    if (k == name) return &v;
  return nullptr;
}

std::vector<AmfValue> readAmf0(std::span<const uint8_t> data) {
  AmfReader r(data);
  std::vector<AmfValue> out;
  while (!r.atEnd()) {
    try {
      out.push_back(r.value(0));
    } catch (const AmfError&) {
      if (out.size() < 2) throw;
      break;
    }
  }
  return out;
}

}  // namespace swf
