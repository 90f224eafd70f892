#pragma once
// Assembles action bytes for DoAction tags and button actions.

#include <cstdint>
#include <string>
#include <vector>

namespace swf::author {

class ActionBuilder {
 public:
  ActionBuilder& play() { return op(0x06); }
  ActionBuilder& stop() { return op(0x07); }
  ActionBuilder& nextFrame() { return op(0x04); }
  ActionBuilder& previousFrame() { return op(0x05); }
  ActionBuilder& toggleQuality() { return op(0x08); }
  ActionBuilder& gotoFrame(int frame);
  ActionBuilder& gotoLabel(const std::string& label);
  ActionBuilder& getURL(const std::string& url, const std::string& target);
  ActionBuilder& setTarget(const std::string& path);
  ActionBuilder& waitForFrame(int frame, int skip);
  ActionBuilder& trace(const std::string& text);  // Push of a string, then Trace
  ActionBuilder& raw(const std::vector<uint8_t>& bytes);

  // The bytes with the closing end action.
  std::vector<uint8_t> build() const;

 private:
  ActionBuilder& op(uint8_t code) {
    bytes_.push_back(code);
    return *this;
  }
  ActionBuilder& op(uint8_t code, const std::vector<uint8_t>& body);

  std::vector<uint8_t> bytes_;
};

}  // namespace swf::author
