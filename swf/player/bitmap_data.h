#pragma once
// flash.display.BitmapData: pixels a script makes and changes, shown through attachBitmap and
// bitmap fills. The pixels are a premultiplied ARGB32 surface inside a bitmap character, so the
// renderer draws them like any bitmap of the movie.

#include <memory>

#include "swf/avm1/vm.h"
#include "swf/bitmaps/bitmap.h"

namespace swf {

class ScriptDrawing;

// The original player's largest side.
inline constexpr int kMaxBitmapDataSide = 2880;

class BitmapDataObject : public avm1::Object {
 public:
  std::shared_ptr<BitmapCharacter> bitmap;  // null when refused or disposed
  bool transparent = true;

  int width() const;
  int height() const;
  // Pixels to change: when the renderer still holds the surface, the pixels are copied first
  // so that nothing it keeps sees a half-made change. Call changed() afterwards.
  uint32_t* pixels();
  const uint32_t* pixelsForReading() const;
  int stride() const;  // in pixels
  void changed();

  // Straight (not premultiplied) ARGB, as scripts give and get colours.
  uint32_t get(int x, int y) const;
  void set(int x, int y, uint32_t argb);
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

  bool getNative(avm1::Vm& vm, avm1::String* key, avm1::Value& out) override;
};

BitmapDataObject* bitmapDataOf(const avm1::Value& v);
// Makes a new surface of the size, filled with a straight ARGB colour.
SurfacePtr makeBitmapSurface(int w, int h, uint32_t argb, bool transparent);

// A rectangle of the bitmap's size filled with it, at the origin: what attachBitmap places and
// what an image loaded into a clip shows.
std::shared_ptr<ScriptDrawing> bitmapRectangle(const std::shared_ptr<BitmapCharacter>& c,
                                               bool smooth);

uint32_t premultiply(uint32_t argb);
uint32_t unpremultiply(uint32_t p);

void installBitmapData(avm1::Vm& vm);
// MovieClip.attachBitmap and beginBitmapFill.
void defineBitmapMethods(avm1::Vm& vm, avm1::Object* movieClipProto);

}  // namespace swf
