#pragma once
// The clip events of a PlaceObject2/3 record (onClipEvent handlers), read once per placement.

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

enum ClipEventFlag : uint32_t {
  kEventLoad = 0x1,
  kEventEnterFrame = 0x2,
  kEventUnload = 0x4,
  kEventMouseMove = 0x8,
  kEventMouseDown = 0x10,
  kEventMouseUp = 0x20,
  kEventKeyDown = 0x40,
  kEventKeyUp = 0x80,
  kEventData = 0x100,
  kEventInitialize = 0x200,
  kEventPress = 0x400,
  kEventRelease = 0x800,
  kEventReleaseOutside = 0x1000,
  kEventRollOver = 0x2000,
  kEventRollOut = 0x4000,
  kEventDragOver = 0x8000,
  kEventDragOut = 0x10000,
  kEventKeyPress = 0x20000,
  kEventConstruct = 0x40000,
};

struct ClipEvent {
  uint32_t flags = 0;
  int keyCode = 0;
  std::span<const uint8_t> actions;
};

// Reads the records; a record cut short ends the list with what was read before it.
std::vector<ClipEvent> readClipEvents(std::span<const uint8_t> data, int swfVersion);

}  // namespace swf
