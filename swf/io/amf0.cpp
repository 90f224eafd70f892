#include "swf/io/amf0.h"

#include <cstring>

namespace swf {
namespace {

class AmfReader {
 public:
  explicit AmfReader(std::span<const uint8_t> d) : d_(d) {}
  bool atEnd() const { return pos_ >= d_.size(); }

  AmfValue value(int depth) {
    if (depth > kMaxAmfDepth) throw AmfError("AMF data nested too deep");
    AmfValue v;
    uint8_t marker = u8();
    switch (marker) {
      case 0:
        v.type = AmfValue::Type::Number;
        v.number = f64();
        break;
      case 1:
        v.type = AmfValue::Type::Boolean;
        v.boolean = u8() != 0;
        break;
      case 2:
        v.type = AmfValue::Type::String;
        v.string = text(u16());
        break;
      case 3:
        v.type = AmfValue::Type::Object;
        properties(v, depth);
        break;
      case 5:
        v.type = AmfValue::Type::Null;
        break;
      case 6:
        v.type = AmfValue::Type::Undefined;
        break;
      case 8:
        v.type = AmfValue::Type::Array;
        u32();  // a count writers do not keep to; the end marker decides
        properties(v, depth);
        break;
      case 10: {
        v.type = AmfValue::Type::StrictArray;
        uint32_t n = u32();
        // Each item takes at least a byte, so a count past what is left lies.
        if (n > d_.size() - pos_) throw AmfError("AMF array longer than its data");
        for (uint32_t i = 0; i < n; ++i) v.items.push_back(value(depth + 1));
        break;
      }
      case 11:
        v.type = AmfValue::Type::Date;
        v.number = f64();
        u16();  // time zone, unused by writers
        break;
      case 12:
      case 15:
        v.type = AmfValue::Type::String;
        v.string = text(u32());
        break;
      case 16:
        v.type = AmfValue::Type::Object;
        text(u16());  // class name
        properties(v, depth);
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
      std::string name = text(u16());
      if (name.empty() && pos_ < d_.size() && d_[pos_] == 9) {
        ++pos_;
        return;
      }
      // Files cut short often lack the end marker: what was read stands.
      if (atEnd()) return;
      AmfValue item = value(depth + 1);
      v.properties.push_back({std::move(name), std::move(item)});
    }
  }
  void need(size_t n) {
    if (n > d_.size() - pos_) throw AmfError("AMF data ends early");
  }
  uint8_t u8() {
    need(1);
    return d_[pos_++];
  }
  uint16_t u16() {
    need(2);
    uint16_t v = uint16_t(d_[pos_] << 8 | d_[pos_ + 1]);
    pos_ += 2;
    return v;
  }
  uint32_t u32() {
    need(4);
    uint32_t v = uint32_t(d_[pos_]) << 24 | uint32_t(d_[pos_ + 1]) << 16 |
                 uint32_t(d_[pos_ + 2]) << 8 | d_[pos_ + 3];
    pos_ += 4;
    return v;
  }
  double f64() {
    need(8);
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | d_[pos_ + size_t(i)];
    pos_ += 8;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  std::string text(size_t n) {
    need(n);
    std::string s(reinterpret_cast<const char*>(d_.data() + pos_), n);
    pos_ += n;
    return s;
  }

  std::span<const uint8_t> d_;
  size_t pos_ = 0;
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
