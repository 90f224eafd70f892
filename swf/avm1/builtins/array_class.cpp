// Array and its methods, sort and sortOn with their option flags.

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

enum SortFlags {
  CaseInsensitive = 1,
  Descending = 2,
  UniqueSort = 4,
  ReturnIndexedArray = 8,
  Numeric = 16
};

ArrayObject* arrayOf(Object* self) { return self ? self->asArray() : nullptr; }

Value arrayValue(ArrayObject* a) { return Value(static_cast<Object*>(a)); }

Object* allocateArray(Vm& vm) { return vm.make<ArrayObject>(); }

Value arrayCtor(Vm& vm, Object* self, Args args) {
  // Run on an object through `super`, it is no longer a date.
  if (vm.isConstructing && self) self->dated = false;
  ArrayObject* a = vm.isConstructing ? arrayOf(self) : nullptr;
  if (!a) {
    a = vm.newArray();
    takeCurrentArrayPrototype(vm, a);
  } else if (!a->props.find(vm.key(vm.names().length)))
    vm.put(a, vm.names().length, Value(0.0), Hidden);
  if (args.size() == 1 && args.at(0).isNumber()) {
    // One number is the length, cut to a whole one; a negative one gives an empty array.
    int32_t n = vm.toInt32(args.at(0));
    if (n > 0) a->setLength(size_t(n));
  } else {
    a->items.assign(args.v, args.v + args.n);
  }
  return arrayValue(a);
}

Value push(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a) return Value();
  double below;
  for (size_t i = 0; i < args.size() && a->items.size() < kMaxArrayLength; ++i) {
    if (a->negativeLength(below))  // the length set below zero is where the element goes
      vm.set(a, vm.intern(std::to_string(int64_t(below))), args.at(i));
    else
      a->items.push_back(args.at(i));
  }
  return a->negativeLength(below) ? Value(below) : Value(double(a->items.size()));
}

Value pop(Vm&, Object* self, Args) {
  ArrayObject* a = arrayOf(self);
  if (!a || a->items.empty()) return Value();
  Value v = a->items.back();
  a->items.pop_back();
  return v;
}

Value shift(Vm&, Object* self, Args) {
  ArrayObject* a = arrayOf(self);
  if (!a || a->items.empty()) return Value();
  Value v = a->items.front();
  a->items.erase(a->items.begin());
  return v;
}

Value unshift(Vm&, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a) return Value();
  if (a->items.size() + args.size() <= kMaxArrayLength)
    a->items.insert(a->items.begin(), args.v, args.v + args.n);
  return Value(double(a->items.size()));
}

// A relative index as slice and splice read it: negative counts from the end.
size_t relIndex(Vm& vm, const Value& v, size_t len, size_t fallback) {
  if (v.isUndefined()) return fallback;
  double d = vm.toNumber(v);
  if (std::isnan(d)) return 0;
  d = std::trunc(d);
  if (d < 0) d = std::max(0.0, double(len) + d);
  return size_t(std::min(d, double(len)));
}

Value slice(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  ArrayObject* out = vm.newArray();
  if (!a) return arrayValue(out);
  size_t len = a->items.size();
  size_t s = relIndex(vm, args.at(0), len, 0), e = relIndex(vm, args.at(1), len, len);
  if (s < e) out->items.assign(a->items.begin() + long(s), a->items.begin() + long(e));
  return arrayValue(out);
}

Value splice(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a || args.size() == 0) return Value();
  size_t len = a->items.size();
  size_t s = relIndex(vm, args.at(0), len, 0);
  size_t count = len - s;
  if (args.size() > 1) {
    double d = vm.toNumber(args.at(1));
    if (d < 0) return Value();  // a negative count changes nothing and gives nothing back
    if (std::isnan(d)) d = 0;
    count = size_t(std::min(d, double(len - s)));
  }
  ArrayObject* removed = vm.newArray();
  removed->items.assign(a->items.begin() + long(s), a->items.begin() + long(s + count));
  a->items.erase(a->items.begin() + long(s), a->items.begin() + long(s + count));
  if (args.size() > 2 && a->items.size() + args.size() <= kMaxArrayLength)
    a->items.insert(a->items.begin() + long(s), args.v + 2, args.v + args.n);
  return arrayValue(removed);
}

Value concat(Vm& vm, Object* self, Args args) {
  ArrayObject* out = vm.newArray();
  if (ArrayObject* a = arrayOf(self)) out->items = a->items;
  for (size_t i = 0; i < args.size(); ++i) {
    ArrayObject* b = args.at(i).object() ? args.at(i).o->asArray() : nullptr;
    if (b)
      out->items.insert(out->items.end(), b->items.begin(), b->items.end());
    else
      out->items.push_back(args.at(i));
    if (out->items.size() > kMaxArrayLength) out->setLength(kMaxArrayLength);
  }
  return arrayValue(out);
}

std::string joinItems(Vm& vm, ArrayObject* a, const std::string& sep) {
  std::string out;
  // A cycle (an array holding itself) prints empty the second time round.
  static thread_local std::vector<ArrayObject*> active;
  if (std::find(active.begin(), active.end(), a) != active.end() || active.size() > 64) return "";
  active.push_back(a);
  try {
    for (size_t i = 0; i < a->items.size(); ++i) {
      if (i) out += sep;
      out += vm.toString(a->items[i]);
      if (out.size() > (256u << 20)) break;
    }
  } catch (...) {
    active.pop_back();
    throw;
  }
  active.pop_back();
  return out;
}

Value join(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a) return Value();
  // A separator given as undefined is the text of undefined ("undefined" from SWF 7).
  std::string sep = args.size() > 0 ? vm.toString(args.at(0)) : ",";
  return text(vm, joinItems(vm, a, sep));
}

Value arrayToString(Vm& vm, Object* self, Args) {
  ArrayObject* a = arrayOf(self);
  if (!a) return Value(vm.intern("[object Object]"));
  return text(vm, joinItems(vm, a, ","));
}

Value reverse(Vm&, Object* self, Args) {
  ArrayObject* a = arrayOf(self);
  if (a) std::reverse(a->items.begin(), a->items.end());
  return obj(self);
}

// Compares two values by the flags; <0, 0, >0.
int compareValues(Vm& vm, const Value& x, const Value& y, int flags) {
  // NUMERIC compares two numbers as numbers; anything else still compares as text.
  if ((flags & Numeric) && x.isNumber() && y.isNumber()) {
    double a = vm.toNumber(x), b = vm.toNumber(y);
    if (std::isnan(a) || std::isnan(b)) {
      if (std::isnan(a) && std::isnan(b)) return 0;
      return std::isnan(a) ? 1 : -1;
    }
    return a < b ? -1 : a > b ? 1 : 0;
  }
  std::string a = vm.toString(x), b = vm.toString(y);
  int r = (flags & CaseInsensitive) ? strcasecmp(a.c_str(), b.c_str()) : a.compare(b);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// The original player's quicksort, followed exactly because a compare function sees its
// comparisons: the first element of a range is the pivot and always the left operand; the left
// scan passes elements the pivot is greater than, the right one elements it is not greater
// than, and the scans look again at the elements they have just swapped. Ranges go left first.
// `cmp(x, y)` compares the elements at indexes x and y; it never gives NaN, which would stop
// both scans for good.
void quickSort(std::vector<size_t>& order, const std::function<double(size_t, size_t)>& cmp) {
  std::vector<std::pair<size_t, size_t>> ranges;
  if (order.size() > 1) ranges.push_back({0, order.size() - 1});
  while (!ranges.empty()) {
    auto [lo, hi] = ranges.back();
    ranges.pop_back();
    size_t pivot = order[lo], i = lo + 1, j = hi;
    for (;;) {
      while (i < j && cmp(pivot, order[i]) > 0) ++i;
      while (j > lo && cmp(pivot, order[j]) <= 0) --j;
      if (i >= j) break;
      std::swap(order[i], order[j]);
    }
    std::swap(order[lo], order[j]);
    if (j + 1 < hi) ranges.push_back({j + 1, hi});
    if (j > lo + 1) ranges.push_back({lo, j - 1});
  }
}

// Sorts the indexes of `count` elements; DESCENDING reverses the ascending order. False when
// UNIQUESORT finds two neighbours in that order the same (`same`).
bool sortOrder(size_t count, int flags, const std::function<double(size_t, size_t)>& cmp,
               const std::function<bool(size_t, size_t)>& same, std::vector<size_t>& order) {
  order.resize(count);
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  quickSort(order, cmp);
  if (flags & UniqueSort)
    for (size_t i = 1; i < order.size(); ++i)
      if (same(order[i - 1], order[i])) return false;
  if (flags & Descending) std::reverse(order.begin(), order.end());
  return true;
}

// The sorted values are the ones read before sorting; only the places whose element moved are
// written, so what a compare function did to the array stays elsewhere (elements it added past
// the end, holes where it cut the array and nothing moved in).
Value finishSort(Vm& vm, ArrayObject* a, const std::vector<Value>& keys,
                 const std::vector<size_t>& order, int flags) {
  if (flags & ReturnIndexedArray) {
    ArrayObject* out = vm.newArray();
    for (size_t i : order) out->items.push_back(Value(double(i)));
    return arrayValue(out);
  }
  for (size_t k = 0; k < order.size(); ++k) {
    if (order[k] == k) continue;
    if (k >= a->items.size()) a->items.resize(k + 1);
    a->items[k] = keys[order[k]];
  }
  return arrayValue(a);
}

Value sort(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a) return Value();
  Value fn;
  int flags = 0;
  size_t i = 0;
  // Any object comes in the compare function's place; one that cannot be called answers
  // nothing, so every pair is equal and the array stays as it is (flags with a valueOf count
  // as no flags).
  if (isCallable(args.at(0)) || args.at(0).isObject()) fn = args.at(i++);
  if (args.size() > i) {
    // Flags that are no number at all ("x", or undefined in any version) leave the array as
    // it is.
    if (args.at(i).isUndefined() || std::isnan(vm.toNumber(args.at(i)))) return Value();
    flags = vm.toInt32(args.at(i));
  }
  std::vector<Value> keys = a->items;
  std::vector<size_t> order;
  Vm::Pin pin(vm, fn);
  ArrayObject* holder = vm.newArray();  // keeps the copies alive while comparators run
  holder->items = keys;
  Vm::Pin pin2(vm, arrayValue(holder));
  auto cmp = [&](size_t x, size_t y) -> double {
    if (fn.isObject()) {
      Value pair[2] = {keys[x], keys[y]};
      // A compare function that gives nothing, or no number, says the two are equal, in
      // every version (so one that always gives NaN leaves the array as it is).
      Value r = vm.call(fn, nullptr, pair);
      double d = r.isUndefined() ? 0 : vm.toNumber(r);
      return std::isnan(d) ? 0 : d;
    }
    return compareValues(vm, keys[x], keys[y], flags);
  };
  // Neighbours are told apart by the flags' own comparison, whatever the compare function said.
  auto same = [&](size_t x, size_t y) { return compareValues(vm, keys[x], keys[y], flags) == 0; };
  if (!sortOrder(keys.size(), flags, cmp, same, order)) return Value(0);
  return finishSort(vm, a, keys, order, flags);
}

Value sortOn(Vm& vm, Object* self, Args args) {
  ArrayObject* a = arrayOf(self);
  if (!a || args.size() == 0) return Value();
  std::vector<String*> fields;
  std::vector<int> fieldFlags;
  if (ArrayObject* f = args.at(0).object() ? args.at(0).o->asArray() : nullptr) {
    for (const Value& v : f->items) fields.push_back(vm.intern(vm.toString(v)));
  } else {
    fields.push_back(vm.intern(vm.toString(args.at(0))));
  }
  int flags = 0;
  if (ArrayObject* fl = args.at(1).object() ? args.at(1).o->asArray() : nullptr) {
    for (const Value& v : fl->items) fieldFlags.push_back(vm.toInt32(v));
    if (fieldFlags.size() != fields.size()) fieldFlags.clear();
  } else if (args.size() > 1 && !args.at(1).isObject()) {  // other objects are no flags
    flags = vm.toInt32(args.at(1));
  }
  std::vector<Value> keys = a->items;
  ArrayObject* holder = vm.newArray();  // keeps the elements alive while getters run
  holder->items = keys;
  Vm::Pin pin(vm, arrayValue(holder));
  std::vector<size_t> order;
  auto field = [&](size_t x, size_t k) {
    return keys[x].object() ? vm.get(keys[x], fields[k]) : Value();
  };
  auto cmp = [&](size_t x, size_t y) -> double {
    for (size_t k = 0; k < fields.size(); ++k) {
      int fflags = fieldFlags.empty() ? flags : fieldFlags[k];
      int r = compareValues(vm, field(x, k), field(y, k), fflags);
      if (!fieldFlags.empty() && (fflags & Descending)) r = -r;
      if (r) return r;
    }
    return 0;
  };
  auto same = [&](size_t x, size_t y) {
    for (size_t k = 0; k < fields.size(); ++k) {
      int fflags = fieldFlags.empty() ? flags : fieldFlags[k];
      if (compareValues(vm, field(x, k), field(y, k), fflags) != 0) return false;
    }
    return true;
  };
  // With flags for each field, each descending field compares the other way round instead.
  int first = fieldFlags.empty() ? flags : fieldFlags[0] & ~Descending;
  if (!sortOrder(keys.size(), first, cmp, same, order)) return Value(0);
  return finishSort(vm, a, keys, order, first);
}

// ---- the methods on other objects ----
//
// Given to an object that is no array, the methods work on its numbered properties up to its
// length, as the original does; what each writes back differs: pop clears the last one and
// shift and unshift move the others, all three leaving the length as it was.
enum class WriteBack {
  None,      // reads only
  Elements,  // the elements and the new length (push, splice)
  InPlace,   // the elements, the length kept (reverse, sort)
  Pop,       // the last element is deleted
  Shift,     // each element moves down one; the last stays
  Unshift,   // each element moves up; the length is kept, and is what the call gives
};

// Array-likes longer than this are taken as this long.
constexpr int32_t kMaxArrayLikeLength = 1 << 16;

String* indexName(Vm& vm, size_t i) { return vm.intern(std::to_string(i)); }

template <NativeFn F, WriteBack W>
Value onAnyObject(Vm& vm, Object* self, Args args) {
  if (!self || self->asArray()) return F(vm, self, args);
  String* length = vm.names().length;
  int32_t n = std::clamp(vm.toInt32(vm.get(self, length)), 0, kMaxArrayLikeLength);
  ArrayObject* a = vm.newArray();
  Vm::Pin pin(vm, Value(static_cast<Object*>(a)));
  for (int32_t i = 0; i < n; ++i) a->items.push_back(vm.get(self, indexName(vm, size_t(i))));
  Value r = F(vm, a, args);
  if (r.object() == a) r = Value(self);
  Vm::Pin keep(vm, r);
  size_t len = size_t(n), now = a->items.size();
  auto write = [&](size_t from, size_t to) {
    for (size_t i = from; i < to && i < now; ++i) vm.set(self, indexName(vm, i), a->items[i]);
  };
  switch (W) {
    case WriteBack::None:
      break;
    case WriteBack::Elements:
      write(0, now);
      vm.set(self, length, Value(double(now)));
      break;
    case WriteBack::InPlace:
      write(0, len);
      break;
    case WriteBack::Pop:
      if (len > 0) vm.remove(self, indexName(vm, len - 1));
      break;
    case WriteBack::Shift:
      write(0, len > 0 ? len - 1 : 0);
      break;
    case WriteBack::Unshift:
      write(0, now);
      r = vm.get(self, length);
      break;
  }
  return r;
}

}  // namespace

void installArray(Vm& vm) {
  // The prototype is an ordinary object: it has no length of its own.
  Object* p = vm.newObject();
  vm.arrayProto = p;
  vm.define(p, "push", onAnyObject<push, WriteBack::Elements>);
  vm.define(p, "pop", onAnyObject<pop, WriteBack::Pop>);
  vm.define(p, "shift", onAnyObject<shift, WriteBack::Shift>);
  vm.define(p, "unshift", onAnyObject<unshift, WriteBack::Unshift>);
  vm.define(p, "slice", onAnyObject<slice, WriteBack::None>);
  vm.define(p, "splice", onAnyObject<splice, WriteBack::Elements>);
  vm.define(p, "concat", onAnyObject<concat, WriteBack::None>);
  vm.define(p, "join", onAnyObject<join, WriteBack::None>);
  vm.define(p, "reverse", onAnyObject<reverse, WriteBack::InPlace>);
  vm.define(p, "sort", onAnyObject<sort, WriteBack::InPlace>);
  vm.define(p, "sortOn", sortOn);
  vm.define(p, "toString", onAnyObject<arrayToString, WriteBack::None>);
  Function* ctor = vm.defineClass("Array", arrayCtor, p, allocateArray);
  const std::pair<const char*, int> constants[] = {{"CASEINSENSITIVE", CaseInsensitive},
                                                   {"DESCENDING", Descending},
                                                   {"UNIQUESORT", UniqueSort},
                                                   {"RETURNINDEXEDARRAY", ReturnIndexedArray},
                                                   {"NUMERIC", Numeric}};
  for (auto [name, v] : constants) vm.put(ctor, name, Value(v));
}

}  // namespace swf::avm1
