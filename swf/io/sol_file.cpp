#include "swf/io/sol_file.h"

namespace swf {
namespace {

void putU16(std::string& out, uint32_t v) {
  out += char(v >> 8);
  out += char(v);
}
void putU32(std::string& out, uint64_t v) {
  for (int s = 24; s >= 0; s -= 8) out += char(v >> s);
}
uint32_t getU(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | uint8_t(s[at + size_t(i)]);
  return v;
}

constexpr char kSignature[] = "TCSO\x00\x04\x00\x00\x00\x00";
constexpr size_t kSignatureLength = 10;

}  // namespace

std::string solHeader(const std::string& name, uint64_t bodyLength) {
  std::string rest(kSignature, kSignatureLength);
  putU16(rest, uint32_t(name.size()));
  rest += name;
  putU32(rest, 0);  // AMF0
  std::string out("\x00\xBF", 2);
  putU32(out, rest.size() + bodyLength);
  return out + rest;
}

bool readSolHeader(const std::string& file, std::string& name, size_t& bodyOffset) {
  if (file.size() < 6 + kSignatureLength + 2 || uint8_t(file[0]) != 0x00 ||
      uint8_t(file[1]) != 0xBF)
    return false;
  if (getU(file, 2, 4) != file.size() - 6) return false;
  if (file.compare(6, 4, "TCSO") != 0) return false;
  size_t at = 6 + kSignatureLength;
  size_t n = getU(file, at, 2);
  at += 2;
  if (at + n + 4 > file.size()) return false;
  name = file.substr(at, n);
  at += n;
  if (getU(file, at, 4) != 0) return false;  // only AMF0 bodies
  bodyOffset = at + 4;
  return true;
}

}  // namespace swf
