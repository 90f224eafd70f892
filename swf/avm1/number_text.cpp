// Numbers to text and back, by the original player's rules.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "swf/avm1/value.h"

namespace swf::avm1 {

namespace {

// Small numbers in the exponent form are scaled to fifteen integer digits in doubles before
// they round (times 1e14, then divided by their power of ten): a number just below a half there can
// land on it and round up (1.234567891234565e-6 prints as 1.23456789123457e-6, though its exact
// digits after the fifteenth are 4912...). Every other number rounds by its exact digits.
bool scaledTie(double v, int exp) {
  if (exp >= -5) return false;
  double scaled = v * 1e14 / std::pow(10.0, exp);
  return scaled - std::floor(scaled) == 0.5;
}

}  // namespace

std::string numberToString(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  if (d == 0) return "0";
  if (std::fabs(d) < 1e15 && d == std::trunc(d)) return std::to_string(int64_t(d));
  // 15 significant digits, a tie rounding away from zero (printf would round it to even).
  bool neg = d < 0;
  char buf[80];
  std::snprintf(buf, sizeof buf, "%.40e", std::fabs(d));
  char* e = std::strchr(buf, 'e');
  int exp = std::atoi(e + 1);
  std::string all = std::string(1, buf[0]) + std::string(buf + 2, e);
  std::string digits = all.substr(0, 15);
  if (all[15] >= '5' || scaledTie(std::fabs(d), exp)) {
    std::string up = digits;
    int k = 14;
    while (k >= 0 && up[size_t(k)] == '9') up[size_t(k--)] = '0';
    int upExp = exp;
    if (k < 0) {
      up.insert(up.begin(), '1');
      up.pop_back();
      ++upExp;
    } else {
      ++up[size_t(k)];
    }
    // Rounding up past the largest double would print a number that reads back as infinity:
    // the digits are cut there instead (Number.MAX_VALUE prints as 1.79769313486231e+308).
    std::string check = up.substr(0, 1) + "." + up.substr(1) + "e" + std::to_string(upExp);
    if (!std::isinf(std::strtod(check.c_str(), nullptr))) {
      digits = up;
      exp = upExp;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = neg ? "-" : "";
  if (exp < -5 || exp >= 15) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exp < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(exp));
  } else if (exp < 0) {
    out += "0." + std::string(size_t(-exp - 1), '0') + digits;
  } else if (size_t(exp) + 1 >= digits.size()) {
    out += digits + std::string(size_t(exp) + 1 - digits.size(), '0');
  } else {
    out += digits.substr(0, size_t(exp) + 1) + "." + digits.substr(size_t(exp) + 1);
  }
  return out;
}

std::string numberToRadix(double d, int radix) {
  if (radix == 10 || radix < 2 || radix > 36) return numberToString(d);
  if (!std::isfinite(d)) return numberToString(d);
  double t = std::trunc(d);
  if (std::fabs(t) >= 2147483648.0) t = double(int32_t(int64_t(std::fmod(t, 4294967296.0))));
  long long v = (long long)t;
  bool neg = v < 0;
  unsigned long long u = neg ? (unsigned long long)(-v) : (unsigned long long)v;
  std::string s;
  do {
    int digit = int(u % radix);
    s.insert(s.begin(), char(digit < 10 ? '0' + digit : 'a' + digit - 10));
    u /= radix;
  } while (u);
  return neg ? "-" + s : s;
}

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

double stringToNumber(const std::string& s, int swfVersion) {
  size_t i = 0, n = s.size();
  while (i < n && isSpace(s[i])) ++i;
  if (i == n) return swfVersion >= 5 ? NAN : 0;
  // From SWF 6, "0x1F" is hexadecimal (a sign may follow the "0x") and "017" octal (after an
  // optional sign, when every digit is an octal one); both only at the very start of the text.
  if (swfVersion >= 6 && n > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    size_t h = 2;
    bool negHex = false;
    if (h < n && (s[h] == '-' || s[h] == '+')) negHex = s[h++] == '-';
    if (h == n) return NAN;
    double v = 0;
    for (; h < n; ++h) {
      char c = s[h];
      int d = c >= '0' && c <= '9'   ? c - '0'
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                     : -1;
      if (d < 0) return NAN;
      v = v * 16 + d;
    }
    // Eight hex digits wrap to a signed 32-bit value, as the original's conversion did.
    if (v >= 2147483648.0 && v < 4294967296.0) v -= 4294967296.0;
    return negHex ? -v : v;
  }
  if (swfVersion >= 6 && i == 0) {
    size_t k = s[0] == '-' || s[0] == '+' ? 1 : 0;
    if (k + 1 < n && s[k] == '0') {
      double v = 0;
      size_t o = k;
      for (; o < n && s[o] >= '0' && s[o] <= '7'; ++o) v = v * 8 + (s[o] - '0');
      if (o == n) return s[0] == '-' ? -v : v;
    }
  }
  size_t j = i;
  if (j < n && (s[j] == '-' || s[j] == '+')) ++j;
  size_t digits = 0;
  while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++digits;
  if (j < n && s[j] == '.') {
    ++j;
    while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++digits;
  }
  if (digits == 0) return NAN;
  if (j < n && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < n && (s[k] == '-' || s[k] == '+')) ++k;
    size_t expDigits = 0;
    while (k < n && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, ++expDigits;
    if (expDigits) j = k;
  }
  size_t end = j;
  while (end < n && isSpace(s[end])) ++end;
  if (end != n) return NAN;
  return std::strtod(s.substr(i, j - i).c_str(), nullptr);
}

}  // namespace swf::avm1
