#pragma once
// AMF0 values, as FLV script tags carry them (onMetaData, onCuePoint). Reading is bounded:
// nesting deeper than kMaxAmfDepth or data that runs short ends the value with an error.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace swf {

inline constexpr int kMaxAmfDepth = 64;

struct AmfProperty;

struct AmfValue {
  enum class Type { Number, Boolean, String, Object, Null, Undefined, Array, StrictArray, Date };
  Type type = Type::Undefined;
  double number = 0;  // Number, Date (milliseconds)
  bool boolean = false;
  std::string string;
  std::vector<AmfProperty> properties;  // Object, Array (ECMA)
  std::vector<AmfValue> items;                               // StrictArray

  const AmfValue* find(const std::string& name) const;
};

struct AmfProperty {
  std::string name;
  AmfValue value;
};

struct AmfError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads values one after another from `data` until it ends (a script tag: a name, then its
// argument). Throws AmfError when the data lies before a name and its argument were read;
// anything after those two that cannot be read is dropped.
std::vector<AmfValue> readAmf0(std::span<const uint8_t> data);

}  // namespace swf
