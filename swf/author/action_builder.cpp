#include "swf/author/action_builder.h"

namespace swf::author {
namespace {

void appendString(std::vector<uint8_t>& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}

}  // namespace

ActionBuilder& ActionBuilder::op(uint8_t code, const std::vector<uint8_t>& body) {
  bytes_.push_back(code);
  bytes_.push_back(uint8_t(body.size()));
  bytes_.push_back(uint8_t(body.size() >> 8));
  bytes_.insert(bytes_.end(), body.begin(), body.end());
  return *this;
}

ActionBuilder& ActionBuilder::gotoFrame(int frame) {
  return op(0x81, {uint8_t(frame), uint8_t(frame >> 8)});
}

ActionBuilder& ActionBuilder::gotoLabel(const std::string& label) {
  std::vector<uint8_t> b;
  appendString(b, label);
  return op(0x8c, b);
}

ActionBuilder& ActionBuilder::getURL(const std::string& url, const std::string& target) {
  std::vector<uint8_t> b;
  appendString(b, url);
  appendString(b, target);
  return op(0x83, b);
}

ActionBuilder& ActionBuilder::setTarget(const std::string& path) {
  std::vector<uint8_t> b;
  appendString(b, path);
  return op(0x8b, b);
}

ActionBuilder& ActionBuilder::waitForFrame(int frame, int skip) {
  return op(0x8a, {uint8_t(frame), uint8_t(frame >> 8), uint8_t(skip)});
}

ActionBuilder& ActionBuilder::trace(const std::string& text) {
  std::vector<uint8_t> b{0};  // string type
  appendString(b, text);
  op(0x96, b);
  return op(0x26);
}

ActionBuilder& ActionBuilder::raw(const std::vector<uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<uint8_t> ActionBuilder::build() const {
  std::vector<uint8_t> out = bytes_;
  out.push_back(0);
  return out;
}

}  // namespace swf::author
