#include "swf/player/text_field_instance.h"

#include <algorithm>
#include <cmath>

#include "swf/player/input_classes.h"
#include "swf/player/player_context.h"
#include "swf/player/player_input.h"
#include "swf/render/text_metrics.h"
#include "swf/text/field_text.h"
#include "swf/text/html_text.h"
#include "swf/text/text_content.h"

namespace swf {
namespace {

// The Flash key codes the caret keys have.
enum : int {
  kBackspace = 8,
  kEnd = 35,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kDelete = 46
};

std::string escapeHtml(const std::u32string& text) {
  std::u32string out;
  for (char32_t c : text) {
    if (c == U'<')
      out += U"&lt;";
    else if (c == U'>')
      out += U"&gt;";
    else if (c == U'&')
      out += U"&amp;";
    else
      out += c;
  }
  return encodeUtf8(out);
}

// Whether `c` is in a restrict list: ranges "a-z", "\" escapes, "^" toggling exclusion.
bool inRestrict(const std::u32string& list, char32_t c) {
  if (list.empty()) return true;
  bool allowed = false, including = true;
  bool anyInclude = false;
  for (size_t i = 0; i < list.size(); ++i) {
    char32_t a = list[i];
    if (a == U'^') {
      including = !including;
      if (i == 0) allowed = true;  // "^..." starts from everything
      continue;
    }
    if (a == U'\\' && i + 1 < list.size()) a = list[++i];
    char32_t b = a;
    if (i + 2 < list.size() && list[i + 1] == U'-') {
      b = list[i + 2];
      if (b == U'\\' && i + 3 < list.size()) b = list[++i + 2];
      i += 2;
    }
    if (including) anyInclude = true;
    if (c >= a && c <= b) allowed = including;
  }
  (void)anyInclude;
  return allowed;
}

}  // namespace

TextFieldInstance::TextFieldInstance(const EditTextCharacter& def, PlayerContext& ctx,
                                     SpriteInstance* parent, int nesting)
    : PlacedObject(ctx, parent, nesting), def_(std::make_shared<EditTextCharacter>(def)) {
  newStyle_ = firstStyle_ = {fieldCharFormat(*def_), fieldParagraphFormat(*def_)};
  std::u32string initial = decodeText(def.initialText, def.swfVersion);
  fileText = encodeUtf8(initial);
  def_->swfVersion = std::max(def_->swfVersion, 6);  // the text is UTF-8 from here on
  if (def_->html) {
    givenHtml_ = encodeUtf8(initial);
    doc_ = FieldDocument(parseHtmlText(initial, newStyle_.chars, newStyle_.paragraph,
                                       def_->multiline, def.swfVersion));
    newStyle_ = doc_.lastStyle(newStyle_);
  } else {
    doc_.replace(0, 0, initial, newStyle_);
  }
  if (ctx_.input) ctx_.input->fields.push_back(this);
  if (ctx_.vm) addTextFieldAccessors(*ctx_.vm);
}

TextFieldInstance::~TextFieldInstance() {
  if (ctx_.input) {
    auto& f = ctx_.input->fields;
    f.erase(std::remove(f.begin(), f.end(), this), f.end());
    if (ctx_.input->focus == this) ctx_.input->focus = nullptr;
  }
}

void TextFieldInstance::touch() {
  shownValid_ = false;
  ctx_.changed = true;
}

const StyledText& TextFieldInstance::shownText() const {
  if (!shownValid_) {
    shown_ = doc_.styled();
    if (def_->password)
      for (StyledParagraph& p : shown_.paragraphs)
        for (StyledRun& run : p.runs) run.text.assign(run.text.size(), U'*');
    shownValid_ = true;
  }
  return shown_;
}

std::u32string TextFieldInstance::chars() const { return doc_.text(); }

std::string TextFieldInstance::text() const { return encodeUtf8(doc_.visibleText()); }

void TextFieldInstance::setText(const std::string& plain) {
  doc_.replace(0, doc_.size(), decodeText(plain, 6), newStyle_);
  givenHtml_ = escapeHtml(doc_.visibleText());
  touch();
  int n = int(doc_.size());
  caret_ = std::min(caret_, n);
  anchor_ = std::min(anchor_, n);
  applyAutoSize();
  relayout();
  clampScroll();
}

std::string TextFieldInstance::variableText() const { return def_->html ? givenHtml_ : text(); }

std::string TextFieldInstance::htmlText() const {
  return def_->html ? doc_.html(newStyle_) : text();
}

// The format for new text becomes that of the last character.
void TextFieldInstance::setHtmlText(const std::string& html, int version) {
  if (!def_->html) {
    setText(html);
    return;
  }
  givenHtml_ = html;
  const FieldStyle& base = version >= 8 ? newStyle_ : firstStyle_;
  doc_ = FieldDocument(parseHtmlText(decodeText(html, 6), base.chars, base.paragraph,
                                     def_->multiline, version, condenseWhite));
  newStyle_ = doc_.lastStyle(newStyle_);
  int n = int(doc_.size());
  caret_ = std::min(caret_, n);
  anchor_ = std::min(anchor_, n);
  touch();
  applyAutoSize();
  relayout();
  clampScroll();
}

void TextFieldInstance::applyFormat(size_t begin, size_t end, const FormatSpec& spec) {
  doc_.applyFormat(begin, end, spec);
  touch();
  applyAutoSize();
  relayout();
}

void TextFieldInstance::setNewTextFormat(const FormatSpec& spec) {
  spec.applyTo(newStyle_.chars);
  spec.applyTo(newStyle_.paragraph);
}

void TextFieldInstance::replaceText(size_t begin, size_t end, const std::u32string& s,
                                    int version) {
  size_t n = doc_.size();
  begin = std::min(begin, n);
  end = std::min(end, n);
  FieldStyle style = end < n ? doc_.styleAt(end) : newStyle_;
  if (!s.empty() || version >= 8) doc_.replace(begin, end, s, style, true);
  givenHtml_ = escapeHtml(doc_.visibleText());
  if (doc_.size()) newStyle_ = doc_.styleAt(0);
  caret_ = std::min(caret_, int(doc_.size()));
  anchor_ = std::min(anchor_, int(doc_.size()));
  touch();
  applyAutoSize();
  relayout();
  clampScroll();
}

bool TextFieldInstance::allowed(char32_t c) const {
  return !restrictSet || inRestrict(decodeText(restrict, 6), c);
}

bool TextFieldInstance::replaceSelection(const std::u32string& s) {
  std::u32string t = chars();
  int b = std::clamp(selectionBegin(), 0, int(t.size()));
  int e = std::clamp(selectionEnd(), b, int(t.size()));
  std::u32string add;
  for (char32_t c : s) {
    if (c == U'\n') c = U'\r';
    if (c == U'\r' && !def_->multiline) continue;
    if (c != U'\r' && !allowed(c)) continue;
    add += c;
  }
  if (def_->maxLength > 0) {
    size_t room = size_t(std::max(0, def_->maxLength - int(t.size()) + (e - b)));
    if (add.size() > room) add.resize(room);
  }
  if (add.empty() && b == e) return false;
  doc_.replace(size_t(b), size_t(e), add, newStyle_);
  givenHtml_ = escapeHtml(doc_.visibleText());
  caret_ = anchor_ = b + int(add.size());
  touch();
  applyAutoSize();
  relayout();
  clampScroll();
  // Keep the caret's line in view.
  return true;
}

void TextFieldInstance::setSelection(int begin, int end) {
  int n = int(chars().size());
  anchor_ = std::clamp(begin, 0, n);
  caret_ = std::clamp(end, 0, n);
  touch();
}

std::u32string TextFieldInstance::selectedChars() const {
  std::u32string t = chars();
  int b = std::clamp(selectionBegin(), 0, int(t.size()));
  int e = std::clamp(selectionEnd(), b, int(t.size()));
  return t.substr(size_t(b), size_t(e - b));
}

bool TextFieldInstance::editKey(int code, bool shift) {
  std::u32string t = chars();
  int n = int(t.size());
  auto moveTo = [&](int to) {
    caret_ = std::clamp(to, 0, n);
    if (!shift) anchor_ = caret_;
    touch();
    return true;
  };
  auto lineStart = [&](int at) {
    while (at > 0 && !isParagraphEnd(t[size_t(at - 1)])) --at;
    return at;
  };
  auto lineEnd = [&](int at) {
    while (at < n && !isParagraphEnd(t[size_t(at)])) ++at;
    return at;
  };
  switch (code) {
    case kLeft:
      return moveTo(!shift && anchor_ != caret_ ? selectionBegin() : caret_ - 1);
    case kRight:
      return moveTo(!shift && anchor_ != caret_ ? selectionEnd() : caret_ + 1);
    case kHome:
      return moveTo(lineStart(caret_));
    case kEnd:
      return moveTo(lineEnd(caret_));
    case kUp: {
      int start = lineStart(caret_);
      if (start == 0) return moveTo(0);
      int prev = lineStart(start - 1);
      return moveTo(std::min(prev + (caret_ - start), start - 1));
    }
    case kDown: {
      int end = lineEnd(caret_);
      if (end >= n) return moveTo(n);
      int next = end + 1;
      return moveTo(std::min(next + (caret_ - lineStart(caret_)), lineEnd(next)));
    }
    case kBackspace:
    case kDelete:
      if (!editable()) return false;
      if (anchor_ == caret_) {
        if (code == kBackspace && caret_ == 0) return false;
        if (code == kDelete && caret_ >= n) return false;
        anchor_ = code == kBackspace ? caret_ - 1 : caret_ + 1;
      }
      return replaceSelection({});
    default:
      return false;
  }
}

void TextFieldInstance::applyAutoSize() {
  autoSizeDue_ = false;
  if (autoSize == 0) return;
  FieldMetrics m = measureField(*def_, shownText());
  Rect& b = def_->bounds;
  double h = m.textHeight + 2 * kFieldGutter;
  if (!def_->wordWrap) {
    double w = m.textWidth + 2 * kFieldGutter;
    if (autoSize == 1) {
      b.xMax = int(b.xMin + w);
    } else if (autoSize == 3) {
      b.xMin = int(b.xMax - w);
    } else {
      double c = (b.xMin + b.xMax) / 2.0;
      b.xMin = int(c - w / 2);
      b.xMax = int(c + w / 2);
    }
  }
  b.yMax = int(b.yMin + h);
  touch();
  relayout();
}

void TextFieldInstance::settleAutoSize() {
  if (!autoSizeDue_) return;
  applyAutoSize();
  clampScroll();
}

const FieldMetrics& TextFieldInstance::lines() const {
  if (!linesValid_) {
    lines_ = measureField(*def_, shownText());
    linesValid_ = true;
  }
  return lines_;
}

void TextFieldInstance::clampScroll() {
  int s = std::clamp(scroll, 1, maxScroll());
  int h = std::clamp(hscroll, 0, maxHScroll());
  if (s == scroll && h == hscroll) return;
  scroll = s;
  hscroll = h;
  touch();
}

int TextFieldInstance::maxHScroll() const {
  if (def_->wordWrap) return 0;
  double inner = def_->bounds.width() - 2 * kFieldGutter;
  return std::max(0, int(std::round((lines().textWidth - inner) / 20)));
}

int TextFieldInstance::maxScroll() const {
  const FieldMetrics& m = lines();
  // The first scroll position from which the last line is in view.
  double height = def_->bounds.height() - 2 * kFieldGutter;
  for (int s = 1; s <= m.lines; ++s) {
    double top = s >= 2 ? m.lineBottoms[size_t(s - 2)] : 0;
    if (m.lineBottoms.back() - top <= height + 1) return s;
  }
  return std::max(1, m.lines);
}

int TextFieldInstance::bottomScroll() const {
  const FieldMetrics& m = lines();
  double height = def_->bounds.height() - 2 * kFieldGutter;
  double top = scroll >= 2 && size_t(scroll - 2) < m.lineBottoms.size()
                   ? m.lineBottoms[size_t(scroll - 2)]
                   : 0;
  int last = scroll;
  while (size_t(last) < m.lineBottoms.size() && m.lineBottoms[size_t(last)] - top <= height + 1)
    ++last;
  return std::max(last, scroll);
}

}  // namespace swf
