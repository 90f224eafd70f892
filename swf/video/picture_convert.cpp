// Decoded pictures to premultiplied ARGB32. Done here rather than through libswscale: the codecs
// of the format give only a few layouts, and this keeps one library fewer.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>

#include "swf/video/video_decoder.h"

namespace swf {
namespace {

inline uint8_t clamp8(int v) { return uint8_t(std::clamp(v, 0, 255)); }

inline uint32_t premultiplied(int r, int g, int b, int a) {
  auto mul = [a](int c) { return uint32_t((c * a + 127) / 255); };
  return uint32_t(a) << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

// BT.601 in 16.16 fixed point; `full` for the JPEG range (0..255 luma) the J layouts use.
void convertYuv(const AVFrame& f, const AVPixFmtDescriptor& d, bool full, int width, int height,
                uint32_t* out) {
  const int ys = full ? 65536 : 76309, yo = full ? 0 : 16;
  const int rv = full ? 91881 : 104597, gv = full ? 46802 : 53279;
  const int gu = full ? 22554 : 25675, bu = full ? 116130 : 132201;
  const bool alpha = (d.flags & AV_PIX_FMT_FLAG_ALPHA) && f.data[3];
  const int cw = d.log2_chroma_w, ch = d.log2_chroma_h;
  for (int y = 0; y < height; ++y) {
    const uint8_t* py = f.data[0] + ptrdiff_t(y) * f.linesize[0];
    const uint8_t* pu = f.data[1] + ptrdiff_t(y >> ch) * f.linesize[1];
    const uint8_t* pv = f.data[2] + ptrdiff_t(y >> ch) * f.linesize[2];
    const uint8_t* pa = alpha ? f.data[3] + ptrdiff_t(y) * f.linesize[3] : nullptr;
    uint32_t* row = out + ptrdiff_t(y) * width;
    for (int x = 0; x < width; ++x) {
      int l = (py[x] - yo) * ys + 32768;
      int u = pu[x >> cw] - 128, v = pv[x >> cw] - 128;
      int r = clamp8((l + rv * v) >> 16);
      int g = clamp8((l - gv * v - gu * u) >> 16);
      int b = clamp8((l + bu * u) >> 16);
      if (pa && pa[x] != 255)
        row[x] = premultiplied(r, g, b, pa[x]);
      else
        row[x] = 0xff000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
    }
  }
}

}  // namespace

bool convertPicture(const AVFrame& f, int width, int height, VideoPicture& out) {
  width = std::min(width, f.width);
  height = std::min(height, f.height);
  if (width <= 0 || height <= 0 || !f.data[0]) return false;
  const auto fmt = AVPixelFormat(f.format);
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(fmt);
  if (!d) return false;
  out.width = width;
  out.height = height;
  out.pixels.assign(size_t(width) * size_t(height), 0);
  uint32_t* px = out.pixels.data();
  switch (fmt) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVA420P:
      convertYuv(f, *d, false, width, height, px);
      return true;
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
      convertYuv(f, *d, true, width, height, px);
      return true;
    case AV_PIX_FMT_BGR24:
    case AV_PIX_FMT_RGB24: {
      const bool bgr = fmt == AV_PIX_FMT_BGR24;
      for (int y = 0; y < height; ++y) {
        const uint8_t* s = f.data[0] + ptrdiff_t(y) * f.linesize[0];
        uint32_t* row = px + ptrdiff_t(y) * width;
        for (int x = 0; x < width; ++x, s += 3) {
          uint32_t r = bgr ? s[2] : s[0], b = bgr ? s[0] : s[2];
          row[x] = 0xff000000u | r << 16 | uint32_t(s[1]) << 8 | b;
        }
      }
      return true;
    }
    default:
      out.clear();
      return false;
  }
}

}  // namespace swf
