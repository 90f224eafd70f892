#include "swf/render/video_painter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "swf/bitmaps/bitmap.h"
#include "swf/render/bitmap_cxform_cache.h"
#include "swf/render/cairo_util.h"
#include "swf/video/video_instance.h"

namespace swf {

void paintVideo(const DrawState& s, const DisplayObject& obj) {
  auto* v = dynamic_cast<const VideoInstance*>(&obj);
  if (!v) return;
  const VideoPicture* pic = v->picture();
  if (!pic || pic->empty()) return;
  // The object has the stream's declared size; a stream that declares none shows its pictures
  // at their own size.
  double w = v->video().width > 0 ? v->video().width * 20.0 : pic->width * 20.0;
  double h = v->video().height > 0 ? v->video().height * 20.0 : pic->height * 20.0;
  cairo_t* cr = s.cr;
  cairo_save(cr);
  if (!setMatrix(cr, s.toDevice)) {
    cairo_restore(cr);
    return;
  }
  cairo_rectangle(cr, 0, 0, w, h);
  if (s.maskMode) {
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    return;
  }
  cairo_clip(cr);
  const int stride = pic->width * 4;
  double alpha = 1;
  SurfacePtr surface;
  std::vector<uint32_t> transformed;
  const uint32_t* pixels = pic->pixels.data();
  bool alphaOnly = s.cxform.rm == 1 && s.cxform.gm == 1 && s.cxform.bm == 1 && s.cxform.ra == 0 &&
                   s.cxform.ga == 0 && s.cxform.ba == 0 && s.cxform.aa == 0;
  if (alphaOnly) {
    alpha = std::clamp(s.cxform.am, 0.0, 1.0);
  } else {
    transformed = pic->pixels;
    pixels = transformed.data();
  }
  surface.reset(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels)), CAIRO_FORMAT_ARGB32,
      pic->width, pic->height, stride));
  if (!alphaOnly) applyColorTransform(surface.get(), s.cxform);
  if (alpha > 0 && cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS) {
    cairo_scale(cr, w / pic->width, h / pic->height);
    cairo_set_source_surface(cr, surface.get(), 0, 0);
    cairo_pattern_t* p = cairo_get_source(cr);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    bool smooth = v->smoothing() && s.antialias;
    cairo_pattern_set_filter(p, smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    cairo_set_operator(cr, s.fillOperator);
    cairo_paint_with_alpha(cr, alpha);
  }
  cairo_restore(cr);
}

}  // namespace swf
