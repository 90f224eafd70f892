#include "swf/player/clip_events.h"

#include "swf/io/bit_reader.h"

namespace swf {

std::vector<ClipEvent> readClipEvents(std::span<const uint8_t> data, int swfVersion) {
  std::vector<ClipEvent> out;
  if (data.empty()) return out;
  BitReader r(data);
  bool wide = swfVersion >= 6;
  try {
    r.u16();                   // reserved
    wide ? r.u32() : r.u16();  // every event used
    while (!r.atEnd()) {
      uint32_t flags = wide ? r.u32() : r.u16();
      if (flags == 0) break;
      uint32_t size = r.u32();
      ClipEvent e;
      e.flags = flags;
      if ((flags & kEventKeyPress) && size > 0) {
        e.keyCode = r.u8();
        --size;
      }
      e.actions = r.bytes(size);
      out.push_back(e);
    }
  } catch (const ReadError&) {
  }
  return out;
}

}  // namespace swf
