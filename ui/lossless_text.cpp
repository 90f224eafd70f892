#include "ui/lossless_text.h"

#include <algorithm>

namespace rv::ui {
namespace {

// The length of the valid UTF-8 sequence at p (shortest form, no surrogates, at most U+10FFFF),
// or 0 where the bytes are not one.
std::size_t utf8Sequence(const unsigned char* p, const unsigned char* end) {
  const unsigned char b = *p;
  if (b < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (static_cast<std::size_t>(end - p) < n) return 0;
  if (p[1] < lo || p[1] > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if ((p[i] & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

LosslessText::LosslessText(std::string bytes) : bytes_(std::move(bytes)) {
  const auto* begin = reinterpret_cast<const unsigned char*>(bytes_.data());
  const auto* end = begin + bytes_.size();
  for (const unsigned char* p = begin; p < end;) {
    const std::size_t n = utf8Sequence(p, end);
    const QString c =
        n ? QString::fromUtf8(reinterpret_cast<const char*>(p), static_cast<qsizetype>(n))
          : QString(QChar::ReplacementCharacter);
    for (qsizetype i = 0; i < c.size(); ++i) byteAt_.push_back(static_cast<std::size_t>(p - begin));
    shown_ += c;
    p += n ? n : 1;
  }
  byteAt_.push_back(bytes_.size());
}

std::string LosslessText::bytesOf(const QString& edited) const {
  if (edited == shown_) return bytes_;
  const qsizetype limit = std::min(shown_.size(), edited.size());
  qsizetype head = 0;
  while (head < limit && shown_[head] == edited[head]) ++head;
  qsizetype tail = 0;
  while (tail < limit - head &&
         shown_[shown_.size() - 1 - tail] == edited[edited.size() - 1 - tail])
    ++tail;
  // Never keep half of a character that takes two UTF-16 units.
  if (head > 0 && shown_[head - 1].isHighSurrogate()) --head;
  if (tail > 0 && shown_[shown_.size() - tail].isLowSurrogate()) --tail;

  const qsizetype tailStart = shown_.size() - tail;
  std::string out = bytes_.substr(0, byteAt_[static_cast<std::size_t>(head)]);
  out += edited.mid(head, edited.size() - head - tail).toStdString();
  out += bytes_.substr(byteAt_[static_cast<std::size_t>(tailStart)]);
  return out;
}

}  // namespace rv::ui
