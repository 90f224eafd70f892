#include "ui/model_colors.h"

#include <QPalette>

#include "app/control.h"

namespace rv::ui {

QColor toQColor(uint32_t c, const QPalette& palette) {
  if (c == kSystemWindowColor) return palette.color(QPalette::Base);
  if (c == kSystemWindowTextColor) return palette.color(QPalette::WindowText);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

namespace {
QFont pixelFont(const QStringList& families, int pixels) {
  QFont f;
  f.setFamilies(families);
  f.setPixelSize(pixels);
  return f;
}
}  // namespace

QFont nameLabelFont() {
  QFont f = pixelFont({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                       QStringLiteral("DejaVu Serif"), QStringLiteral("serif")},
                      13);
  f.setStyleHint(QFont::Serif);
  return f;
}

QFont readoutFont() {
  QFont f = pixelFont({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                       QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                       QStringLiteral("serif")},
                      11);
  f.setStyleHint(QFont::Serif);
  return f;
}

QFont playlistFont() {
  QFont f = pixelFont({QStringLiteral("sans-serif")}, 11);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

}  // namespace rv::ui
