#pragma once
// A control of a form: pictures, click spots, labels, list boxes. The Qt layer draws these from
// the model; the model never asks Qt anything.

#include <cstdint>
#include <string>

namespace rv {

// Colours are 0x00BBGGRR; these two stand for the desktop's window and window-text colours.
inline constexpr uint32_t kSystemWindowColor = 0x80000005;
inline constexpr uint32_t kSystemWindowTextColor = 0x80000008;

struct Control {
  std::string name;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  std::string caption;   // labels
  std::string picture;   // pictures: file path of the loaded picture, empty when none
  std::string hint;      // tool tip
  uint32_t color = kSystemWindowTextColor;  // font colour of labels, background of list boxes
  bool autoSize = false;  // takes the size of its picture

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  void setBounds(int l, int t, int w, int h) {
    left = l;
    top = t;
    width = w;
    height = h;
  }
};

}  // namespace rv
