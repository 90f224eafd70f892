#include "swf/author/action_assembler.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>

namespace swf::author {
namespace {

const std::map<std::string, uint8_t>& simpleActions() {
  static const std::map<std::string, uint8_t> m = {{"nextframe", 0x04},
                                                   {"previousframe", 0x05},
                                                   {"play", 0x06},
                                                   {"stop", 0x07},
                                                   {"togglequality", 0x08},
                                                   {"stopsounds", 0x09},
                                                   {"add", 0x0A},
                                                   {"subtract", 0x0B},
                                                   {"multiply", 0x0C},
                                                   {"divide", 0x0D},
                                                   {"equals", 0x0E},
                                                   {"less", 0x0F},
                                                   {"and", 0x10},
                                                   {"or", 0x11},
                                                   {"not", 0x12},
                                                   {"stringequals", 0x13},
                                                   {"stringlength", 0x14},
                                                   {"stringextract", 0x15},
                                                   {"pop", 0x17},
                                                   {"tointeger", 0x18},
                                                   {"getvariable", 0x1C},
                                                   {"setvariable", 0x1D},
                                                   {"settarget2", 0x20},
                                                   {"stringadd", 0x21},
                                                   {"getproperty", 0x22},
                                                   {"setproperty", 0x23},
                                                   {"clonesprite", 0x24},
                                                   {"removesprite", 0x25},
                                                   {"trace", 0x26},
                                                   {"startdrag", 0x27},
                                                   {"enddrag", 0x28},
                                                   {"stringless", 0x29},
                                                   {"throw", 0x2A},
                                                   {"castop", 0x2B},
                                                   {"implementsop", 0x2C},
                                                   {"randomnumber", 0x30},
                                                   {"mbstringlength", 0x31},
                                                   {"chartoascii", 0x32},
                                                   {"asciitochar", 0x33},
                                                   {"gettime", 0x34},
                                                   {"mbstringextract", 0x35},
                                                   {"mbchartoascii", 0x36},
                                                   {"mbasciitochar", 0x37},
                                                   {"delete", 0x3A},
                                                   {"delete2", 0x3B},
                                                   {"definelocal", 0x3C},
                                                   {"callfunction", 0x3D},
                                                   {"return", 0x3E},
                                                   {"modulo", 0x3F},
                                                   {"newobject", 0x40},
                                                   {"definelocal2", 0x41},
                                                   {"initarray", 0x42},
                                                   {"initobject", 0x43},
                                                   {"typeof", 0x44},
                                                   {"targetpath", 0x45},
                                                   {"enumerate", 0x46},
                                                   {"add2", 0x47},
                                                   {"less2", 0x48},
                                                   {"equals2", 0x49},
                                                   {"tonumber", 0x4A},
                                                   {"tostring", 0x4B},
                                                   {"pushduplicate", 0x4C},
                                                   {"stackswap", 0x4D},
                                                   {"getmember", 0x4E},
                                                   {"setmember", 0x4F},
                                                   {"increment", 0x50},
                                                   {"decrement", 0x51},
                                                   {"callmethod", 0x52},
                                                   {"newmethod", 0x53},
                                                   {"instanceof", 0x54},
                                                   {"enumerate2", 0x55},
                                                   {"bitand", 0x60},
                                                   {"bitor", 0x61},
                                                   {"bitxor", 0x62},
                                                   {"bitlshift", 0x63},
                                                   {"bitrshift", 0x64},
                                                   {"biturshift", 0x65},
                                                   {"strictequals", 0x66},
                                                   {"greater", 0x67},
                                                   {"stringgreater", 0x68},
                                                   {"extends", 0x69},
                                                   {"end", 0x00}};
  return m;
}

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

void put16(std::vector<uint8_t>& b, unsigned v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void putString(std::vector<uint8_t>& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}

// Splits "a, 'b, c', 3" at the commas outside quotes.
std::vector<std::string> splitList(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  char quote = 0;
  for (char c : s) {
    if (quote) {
      cur += c;
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
      cur += c;
    } else if (c == ',') {
      out.push_back(trim(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!trim(cur).empty() || !out.empty()) out.push_back(trim(cur));
  return out;
}

bool quoted(const std::string& s) {
  return s.size() >= 2 && (s[0] == '\'' || s[0] == '"') && s.back() == s[0];
}

std::string unquote(const std::string& s) {
  if (!quoted(s)) throw std::invalid_argument("expected a quoted string: " + s);
  std::string out;
  for (size_t i = 1; i + 1 < s.size(); ++i) {
    if (s[i] == '\\' && i + 2 < s.size()) {
      char n = s[++i];
      out += n == 'n' ? '\n' : n == 't' ? '\t' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

double number(const std::string& s) {
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (s.empty() || *end) throw std::invalid_argument("expected a number: " + s);
  return d;
}

class Assembler {
 public:
  explicit Assembler(const std::string& src) {
    std::istringstream in(src);
    std::string line;
    while (std::getline(in, line)) {
      size_t hash = std::string::npos;
      char quote = 0;
      for (size_t i = 0; i < line.size(); ++i) {
        if (quote) {
          if (line[i] == quote) quote = 0;
        } else if (line[i] == '\'' || line[i] == '"') {
          quote = line[i];
        } else if (line[i] == '#') {
          hash = i;
          break;
        }
      }
      line = trim(line.substr(0, hash));
      if (!line.empty()) lines_.push_back(line);
    }
  }

  std::vector<uint8_t> all() {
    auto out = block({});
    if (pos_ != lines_.size()) fail("unexpected '" + lines_[pos_] + "'");
    return out;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::invalid_argument("line " + std::to_string(pos_ + 1) + ": " + what);
  }

  static void action(std::vector<uint8_t>& out, uint8_t code, const std::vector<uint8_t>& body) {
    out.push_back(code);
    put16(out, unsigned(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }

  // Assembles lines up to one of `stops` (left unconsumed) or the end.
  std::vector<uint8_t> block(const std::vector<std::string>& stops) {
    std::vector<uint8_t> out;
    std::map<std::string, size_t> labels;
    std::vector<std::pair<size_t, std::string>> fixups;  // offset field position, label
    while (pos_ < lines_.size()) {
      const std::string& line = lines_[pos_];
      std::string word = lower(line.substr(0, line.find_first_of(" \t(")));
      for (const auto& s : stops)
        if (word == s) goto done;
      ++pos_;
      if (line.back() == ':' && line.find(' ') == std::string::npos) {
        labels[line.substr(0, line.size() - 1)] = out.size();
        continue;
      }
      instruction(out, word, trim(line.substr(word.size())), fixups);
    }
  done:
    for (const auto& [at, label] : fixups) {
      auto it = labels.find(label);
      if (it == labels.end()) throw std::invalid_argument("no label '" + label + "'");
      long offset = long(it->second) - long(at + 2);
      out[at] = uint8_t(offset);
      out[at + 1] = uint8_t(offset >> 8);
    }
    return out;
  }

  void instruction(std::vector<uint8_t>& out, const std::string& word, const std::string& rest,
                   std::vector<std::pair<size_t, std::string>>& fixups) {
    std::vector<uint8_t> b;
    std::istringstream args(rest);
    if (word == "push") {
      for (const std::string& item : splitList(rest)) pushItem(b, item);
      action(out, 0x96, b);
    } else if (word == "jump" || word == "if") {
      action(out, word == "jump" ? 0x99 : 0x9D, {0, 0});
      fixups.emplace_back(out.size() - 2, rest);
    } else if (word == "constants") {
      auto items = splitList(rest);
      put16(b, unsigned(items.size()));
      for (const auto& s : items) putString(b, unquote(s));
      action(out, 0x88, b);
    } else if (word == "store") {
      action(out, 0x87, {uint8_t(number(rest))});
    } else if (word == "gotoframe") {
      put16(b, unsigned(number(rest)));
      action(out, 0x81, b);
    } else if (word == "gotolabel" || word == "settarget") {
      putString(b, unquote(rest));
      action(out, word == "gotolabel" ? 0x8C : 0x8B, b);
    } else if (word == "geturl") {
      auto items = splitList(rest);
      if (items.size() != 2) fail("getURL needs an address and a target");
      putString(b, unquote(items[0]));
      putString(b, unquote(items[1]));
      action(out, 0x83, b);
    } else if (word == "geturl2") {
      action(out, 0x9A, {uint8_t(number(rest))});
    } else if (word == "waitforframe") {
      int frame, skip;
      args >> frame >> skip;
      put16(b, unsigned(frame));
      b.push_back(uint8_t(skip));
      action(out, 0x8A, b);
    } else if (word == "waitforframe2") {
      action(out, 0x8D, {uint8_t(number(rest))});
    } else if (word == "gotoframe2") {
      std::string mode;
      int bias = 0;
      args >> mode >> bias;
      b.push_back(uint8_t((mode == "play" ? 1 : 0) | (bias ? 2 : 0)));
      if (bias) put16(b, unsigned(bias));
      action(out, 0x9F, b);
    } else if (word == "raw") {
      std::string byte;
      while (args >> byte) out.push_back(uint8_t(std::stoul(byte, nullptr, 0)));
    } else if (word == "function" || word == "function2") {
      function(out, word == "function2", rest);
    } else if (word == "with") {
      auto body = block({"end"});
      expect("end");
      put16(b, unsigned(body.size()));
      action(out, 0x94, b);
      out.insert(out.end(), body.begin(), body.end());
    } else if (word == "try") {
      tryBlock(out, rest);
    } else if (auto it = simpleActions().find(word); it != simpleActions().end()) {
      out.push_back(it->second);
    } else {
      fail("unknown action '" + word + "'");
    }
  }

  void expect(const std::string& word) {
    if (pos_ >= lines_.size() || lower(lines_[pos_]).rfind(word, 0) != 0) fail("expected " + word);
    ++pos_;
  }

  void pushItem(std::vector<uint8_t>& b, const std::string& item) {
    if (quoted(item)) {
      b.push_back(0);
      putString(b, unquote(item));
    } else if (item == "null") {
      b.push_back(2);
    } else if (item == "undefined") {
      b.push_back(3);
    } else if (item == "true" || item == "false") {
      b.push_back(5);
      b.push_back(item == "true");
    } else if (item.rfind("r:", 0) == 0) {
      b.push_back(4);
      b.push_back(uint8_t(number(item.substr(2))));
    } else if (item.rfind("c:", 0) == 0) {
      unsigned i = unsigned(number(item.substr(2)));
      b.push_back(i < 256 ? 8 : 9);
      if (i < 256)
        b.push_back(uint8_t(i));
      else
        put16(b, i);
    } else if (item.rfind("f:", 0) == 0) {
      float f = float(number(item.substr(2)));
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      b.push_back(1);
      put32(b, bits);
    } else if (item.find_first_of(".eEnN") == std::string::npos) {
      b.push_back(7);
      put32(b, uint32_t(int32_t(number(item))));
    } else {
      double d = item == "NaN" ? NAN : number(item);
      uint64_t bits;
      std::memcpy(&bits, &d, 8);
      b.push_back(6);
      put32(b, uint32_t(bits >> 32));  // high word first
      put32(b, uint32_t(bits));
    }
  }

  // "name(a, b)" or "name(1=a, 0=b) regs=3 flags=0x2"
  void function(std::vector<uint8_t>& out, bool v2, const std::string& rest) {
    size_t open = rest.find('('), close = rest.find(')');
    if (open == std::string::npos || close == std::string::npos) fail("function needs (params)");
    std::string name = trim(rest.substr(0, open));
    auto params = splitList(rest.substr(open + 1, close - open - 1));
    int regs = 0, flags = 0;
    std::istringstream opts(rest.substr(close + 1));
    std::string opt;
    while (opts >> opt) {
      if (opt.rfind("regs=", 0) == 0) regs = int(std::stol(opt.substr(5), nullptr, 0));
      if (opt.rfind("flags=", 0) == 0) flags = int(std::stol(opt.substr(6), nullptr, 0));
    }
    auto body = block({"end"});
    expect("end");
    std::vector<uint8_t> b;
    putString(b, name);
    put16(b, unsigned(params.size()));
    if (v2) {
      b.push_back(uint8_t(regs));
      put16(b, unsigned(flags));
    }
    for (const auto& p : params) {
      if (v2) {
        size_t eq = p.find('=');
        b.push_back(eq == std::string::npos ? 0 : uint8_t(number(p.substr(0, eq))));
        putString(b, eq == std::string::npos ? p : p.substr(eq + 1));
      } else {
        putString(b, p);
      }
    }
    put16(b, unsigned(body.size()));
    action(out, v2 ? 0x8E : 0x9B, b);
    out.insert(out.end(), body.begin(), body.end());
  }

  void tryBlock(std::vector<uint8_t>& out, const std::string& rest) {
    auto tryBody = block({"catch", "finally", "end"});
    std::vector<uint8_t> catchBody, finallyBody;
    bool hasCatch = false, hasFinally = false;
    if (pos_ < lines_.size() && lower(lines_[pos_]) == "catch") {
      ++pos_;
      hasCatch = true;
      catchBody = block({"finally", "end"});
    }
    if (pos_ < lines_.size() && lower(lines_[pos_]) == "finally") {
      ++pos_;
      hasFinally = true;
      finallyBody = block({"end"});
    }
    expect("end");
    std::string target = trim(rest);
    if (lower(target).rfind("catch", 0) == 0) target = trim(target.substr(5));
    bool inRegister = target.rfind("r:", 0) == 0;
    std::vector<uint8_t> b;
    b.push_back(uint8_t((hasCatch ? 1 : 0) | (hasFinally ? 2 : 0) | (inRegister ? 4 : 0)));
    put16(b, unsigned(tryBody.size()));
    put16(b, unsigned(catchBody.size()));
    put16(b, unsigned(finallyBody.size()));
    if (inRegister)
      b.push_back(uint8_t(number(target.substr(2))));
    else
      putString(b, target);
    action(out, 0x8F, b);
    out.insert(out.end(), tryBody.begin(), tryBody.end());
    out.insert(out.end(), catchBody.begin(), catchBody.end());
    out.insert(out.end(), finallyBody.begin(), finallyBody.end());
  }

  std::vector<std::string> lines_;
  size_t pos_ = 0;
};

}  // namespace

std::vector<uint8_t> assembleActions(const std::string& source) { return Assembler(source).all(); }

}  // namespace swf::author
