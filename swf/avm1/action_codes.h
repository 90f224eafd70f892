#pragma once
// Action codes. Codes 0x80 and above carry a 16-bit length and a body.

namespace swf::avm1::op {

enum : int {
  End = 0x00,
  NextFrame = 0x04,
  PreviousFrame = 0x05,
  Play = 0x06,
  Stop = 0x07,
  ToggleQuality = 0x08,
  StopSounds = 0x09,
  Pop = 0x17,
  Trace = 0x26,
  GotoFrame = 0x81,
  GetURL = 0x83,
  ConstantPool = 0x88,
  WaitForFrame = 0x8A,
  SetTarget = 0x8B,
  GotoLabel = 0x8C,
  Push = 0x96,
};

}  // namespace swf::avm1::op
