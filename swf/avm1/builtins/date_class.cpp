// Date: a time in milliseconds since 1970 (UTC), shown in the system's time zone or in UTC.

#include <algorithm>
#include <cmath>
#include <ctime>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

constexpr double kMsPerDay = 86400000.0;

double day(double t) { return std::floor(t / kMsPerDay); }
double daysInYear(double y) {
  if (std::fmod(y, 4) != 0) return 365;
  if (std::fmod(y, 100) != 0) return 366;
  if (std::fmod(y, 400) != 0) return 365;
  return 366;
}
double dayFromYear(double y) {
  return 365 * (y - 1970) + std::floor((y - 1969) / 4) - std::floor((y - 1901) / 100) +
         std::floor((y - 1601) / 400);
}
double yearFromTime(double t) {
  double y = std::floor(t / (kMsPerDay * 365.2425)) + 1970;
  if (!std::isfinite(y)) return y;
  // The estimate is a year or so off at most; the steps are bounded all the same, as far out
  // the doubles are too coarse for them ever to settle.
  for (int i = 0; i < 8 && dayFromYear(y) * kMsPerDay > t; ++i) --y;
  for (int i = 0; i < 8 && dayFromYear(y + 1) * kMsPerDay <= t; ++i) ++y;
  return y;
}
bool leap(double y) { return daysInYear(y) == 366; }
const int kMonthStart[2][13] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
                                {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

struct Parts {
  double year, month, date, hours, minutes, seconds, ms, weekday;
};

double positiveMod(double a, double b) {
  double r = std::fmod(a, b);
  return r < 0 ? r + b : r;
}

// Each field straight from the time, so far out the small ones stay exact. An infinite time
// reads as 1970's first day, at midnight, a Sunday.
Parts split(double t) {
  if (std::isinf(t)) return {1970, 0, 1, 0, 0, 0, 0, 0};
  Parts p;
  p.year = yearFromTime(t);
  double dayInYear = day(t) - dayFromYear(p.year);
  int l = leap(p.year) ? 1 : 0;
  int m = 0;
  while (m < 11 && dayInYear >= kMonthStart[l][m + 1]) ++m;
  p.month = m;
  p.date = dayInYear - kMonthStart[l][m] + 1;
  // The hours and milliseconds are read from the whole milliseconds toward zero, the rest
  // from the time itself, as the original does (it shows the time -0.5 as 00:59:59.000).
  double whole = std::trunc(t);
  p.hours = positiveMod(std::floor(whole / 3600000), 24);
  p.minutes = positiveMod(std::floor(t / 60000), 60);
  p.seconds = positiveMod(std::floor(t / 1000), 60);
  p.ms = positiveMod(whole, 1000) + 0.0;
  p.weekday = positiveMod(day(t) + 4, 7);
  return p;
}

double makeTime(double year, double month, double date, double h, double mi, double s, double ms) {
  if (!std::isfinite(year) || !std::isfinite(month) || !std::isfinite(date) || !std::isfinite(h) ||
      !std::isfinite(mi) || !std::isfinite(s) || !std::isfinite(ms))
    return NAN;
  double y = year + std::floor(month / 12);
  double m = std::fmod(month, 12);
  if (m < 0) m += 12;
  double days = dayFromYear(y) + kMonthStart[leap(y) ? 1 : 0][int(m)] + date - 1;
  return days * kMsPerDay + h * 3600000 + mi * 60000 + s * 1000 + ms;
}

// The local zone's offset from UTC at `t`, in milliseconds.
double localOffset(double t) {
  if (!std::isfinite(t)) return 0;
  // The system's zone rules take whole seconds in a time_t; times beyond the range a date can
  // hold (100 million days either side of 1970) use the zone's rule at that range's end.
  constexpr double kMaxSeconds = 8.64e12;
  time_t secs = time_t(std::clamp(std::floor(t / 1000), -kMaxSeconds, kMaxSeconds));
  struct tm local;
  if (!localtime_r(&secs, &local)) return 0;
  return double(local.tm_gmtoff) * 1000;
}

double now(Vm& vm) { return vm.host().wallClockMs(); }

double timeOf(Object* o) {
  return o && o->hasPrimitive && o->primitive.isNumber() ? o->primitive.n : NAN;
}

void setTime(Object* o, double t, bool whole = true) {
  if (!o) return;
  if (!whole) {  // a time given whole to the constructor keeps its fraction
    o->primitive = Value(t);
    o->hasPrimitive = true;
    return;
  }
  // Whole milliseconds, toward zero, within 100 million days of 1970 (only the constructor
  // goes past, as the original's does).
  t = std::fabs(t) <= 8.64e15 ? std::trunc(t) + 0.0 : NAN;
  o->primitive = Value(t);
  o->hasPrimitive = true;
}

// The time the constructor or Date.UTC make of a year, month, day, hours, minutes, seconds and
// milliseconds, as the original does: the fields end at the first undefined one; a year below
// 100 counts from 1900; every field is cut to a whole number. A year that is no number is 0,
// and so is one pushed there by a month that is no number (the month is then January). A day
// or a time field that is no number makes the time NaN.
struct Fields {
  size_t count = 0;  // how many were given before any undefined
  double time = NAN;
};

size_t fieldCount(Args args) {
  size_t n = 0;
  while (n < 7 && n < args.size() && !args.at(n).isUndefined()) ++n;
  return n;
}

Fields timeFromFields(Vm& vm, Args args) {
  Fields out;
  out.count = fieldCount(args);
  double f[7] = {0, 0, 1, 0, 0, 0, 0};
  for (size_t i = 0; i < out.count; ++i) f[i] = vm.toNumber(args.at(i));
  if (f[0] < 100) f[0] += 1900;
  double month = std::isfinite(f[1]) ? std::trunc(f[1]) : NAN;
  double year = f[0] + std::floor(month / 12);
  month -= 12 * std::floor(month / 12);
  year = std::isfinite(year) ? std::trunc(year) : 0;
  if (!std::isfinite(month)) month = 0;
  double days =
      dayFromYear(year) + kMonthStart[leap(year) ? 1 : 0][int(month)] + std::trunc(f[2]) - 1;
  out.time = days * kMsPerDay + std::trunc(f[3]) * 3600000 + std::trunc(f[4]) * 60000 +
             std::trunc(f[5]) * 1000 + std::trunc(f[6]);
  return out;
}

Object* allocateDate(Vm& vm) {
  Object* d = vm.make<Object>();
  d->dated = true;
  return d;
}

// The time methods answer only for dates: objects the Date constructor made or ran on (through
// `super`, until another class's constructor runs on them there). On any other object (one
// that borrowed getTime) they give undefined.
bool notDate(Object* o) { return !o || !o->dated; }

Value dateToString(Vm& vm, Object* o, Args);

// Called as a function, Date gives the time now as text. Constructed with one field (the ones
// after an undefined do not count), the field is the time in milliseconds, kept as given.
Value dateCtor(Vm& vm, Object* o, Args args) {
  if (!vm.isConstructing || !o) {
    Object* d = allocateDate(vm);
    setTime(d, now(vm));
    return dateToString(vm, d, {});
  }
  o->dated = true;
  if (args.size() == 0) {
    setTime(o, now(vm));
  } else if (fieldCount(args) <= 1) {
    setTime(o, vm.toNumber(args.at(0)), false);
  } else {
    // Fields past the range of dates are kept all the same.
    double t = timeFromFields(vm, args).time;
    setTime(o, t - localOffset(t), false);
  }
  return Value(o);
}

enum Field { Year, Month, Date, Hours, Minutes, Seconds, Ms, Weekday, FullYearShort };

template <Field F, bool Utc>
Value getter(Vm&, Object* o, Args) {
  if (notDate(o)) return Value();
  double t = timeOf(o);
  if (std::isnan(t)) return Value(NAN);
  Parts p = split(Utc ? t : t + localOffset(t));
  switch (F) {
    case Year:
      return Value(p.year);
    case FullYearShort:
      return Value(p.year - 1900);
    case Month:
      return Value(p.month);
    case Date:
      return Value(p.date);
    case Hours:
      return Value(p.hours);
    case Minutes:
      return Value(p.minutes);
    case Seconds:
      return Value(p.seconds);
    case Ms:
      return Value(p.ms);
    case Weekday:
      return Value(p.weekday);
  }
  return Value();
}

// Setters take the field and the ones after it (setHours(h, m, s, ms)).
template <Field F, bool Utc>
Value setter(Vm& vm, Object* o, Args args) {
  if (notDate(o)) return Value();
  double t = timeOf(o);
  double offset = Utc ? 0 : localOffset(std::isnan(t) ? 0 : t);
  Parts p = split(std::isnan(t) ? 0 : t + offset);
  double* fields[] = {&p.year, &p.month, &p.date, &p.hours, &p.minutes, &p.seconds, &p.ms};
  int first = int(F);
  int count = F == Year      ? 3
              : F == Month   ? 2
              : F == Hours   ? 4
              : F == Minutes ? 3
              : F == Seconds ? 2
                             : 1;
  for (int i = 0; i < count && size_t(i) < args.size(); ++i) {
    // Fields are cut to whole numbers; undefined is no number. A month that is no number
    // is January of the same year, an infinite one January of year 0.
    const Value& a = args.at(size_t(i));
    double v = a.isUndefined() ? NAN : std::trunc(vm.toNumber(a));
    if (fields[first + i] == &p.month && !std::isfinite(v)) {
      if (std::isinf(v)) p.year = 0;
      v = 0;
    }
    *fields[first + i] = v;
  }
  // Only the full year gives a date that is no time one again.
  if (std::isnan(t) && F != Year) {
    setTime(o, NAN);
    return Value(timeOf(o));
  }
  double nt = makeTime(p.year, p.month, p.date, p.hours, p.minutes, p.seconds, p.ms);
  if (!Utc) nt -= localOffset(nt);
  setTime(o, nt);
  return Value(timeOf(o));
}

// setYear keeps a date that is no time as it is (having read the year all the same). A year that is
// no number (undefined included) or infinite is year 0; one from 0 to 99 counts from 1900; then it
// is cut to a whole one.
Value setYear(Vm& vm, Object* o, Args args) {
  if (notDate(o)) return Value();
  double y = args.at(0).isUndefined() ? NAN : vm.toNumber(args.at(0));
  double t = timeOf(o);
  if (std::isnan(t)) return Value(t);
  if (!std::isfinite(y))
    y = 0;
  else if (y >= 0 && y < 100)
    y += 1900;
  Parts p = split(t + localOffset(t));
  p.year = std::trunc(y);
  // A month and a day may follow, as for setFullYear.
  if (args.size() > 1) p.month = args.at(1).isUndefined() ? 0 : std::trunc(vm.toNumber(args.at(1)));
  if (!std::isfinite(p.month)) {
    if (std::isinf(p.month)) p.year = 0;
    p.month = 0;
  }
  if (args.size() > 2)
    p.date = args.at(2).isUndefined() ? NAN : std::trunc(vm.toNumber(args.at(2)));
  double nt = makeTime(p.year, p.month, p.date, p.hours, p.minutes, p.seconds, p.ms);
  setTime(o, nt - localOffset(nt));
  return Value(timeOf(o));
}

Value getTime(Vm&, Object* o, Args) { return notDate(o) ? Value() : Value(timeOf(o)); }
Value setTimeFn(Vm& vm, Object* o, Args args) {
  if (notDate(o)) return Value();
  // Nothing or undefined is no time, whatever the version makes of undefined as a number.
  setTime(o, args.at(0).isUndefined() ? NAN : vm.toNumber(args.at(0)));
  return Value(timeOf(o));
}
Value getTimezoneOffset(Vm& vm, Object* o, Args) {
  double t = timeOf(o);
  return Value(-localOffset(std::isnan(t) ? now(vm) : t) / 60000);
}

Value dateToString(Vm& vm, Object* o, Args) {
  double t = timeOf(o);
  double off = localOffset(t);
  Parts p = split(t + off);
  // So far out that the parts are no longer exact is no date either.
  if (std::isnan(t) || !(p.weekday >= 0 && p.weekday < 7) || !(p.month >= 0 && p.month < 12) ||
      !(std::fabs(p.date) < 1e9 && std::fabs(p.hours) < 1e9))
    return Value(vm.intern("Invalid Date"));
  static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  int offMin = int(off / 60000);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %.0f", days[int(p.weekday)],
                months[int(p.month)], int(p.date), int(p.hours), int(p.minutes), int(p.seconds),
                offMin < 0 ? '-' : '+', std::abs(offMin) / 60, std::abs(offMin) % 60, p.year);
  return text(vm, buf);
}

// Date.UTC needs a year and a month at least (the year is read all the same).
Value dateUtc(Vm& vm, Object*, Args args) {
  Fields f = timeFromFields(vm, args);
  if (f.count < 2) return Value();
  return Value(f.time);
}

}  // namespace

bool isDate(const Object* o) { return o && o->dated; }

void installDate(Vm& vm) {
  Object* p = vm.newObject();
  // valueOf is getTime itself, the same function object.
  Function* time = vm.define(p, "getTime", getTime);
  vm.put(p, "valueOf", Value(static_cast<Object*>(time)), Hidden);
  vm.define(p, "setTime", setTimeFn);
  vm.define(p, "toString", dateToString);
  vm.define(p, "getTimezoneOffset", getTimezoneOffset);
  vm.define(p, "getFullYear", getter<Year, false>);
  vm.define(p, "getYear", getter<FullYearShort, false>);
  vm.define(p, "getMonth", getter<Month, false>);
  vm.define(p, "getDate", getter<Date, false>);
  vm.define(p, "getDay", getter<Weekday, false>);
  vm.define(p, "getHours", getter<Hours, false>);
  vm.define(p, "getMinutes", getter<Minutes, false>);
  vm.define(p, "getSeconds", getter<Seconds, false>);
  vm.define(p, "getMilliseconds", getter<Ms, false>);
  vm.define(p, "getUTCFullYear", getter<Year, true>);
  vm.define(p, "getUTCYear", getter<FullYearShort, true>);
  vm.define(p, "getUTCMonth", getter<Month, true>);
  vm.define(p, "getUTCDate", getter<Date, true>);
  vm.define(p, "getUTCDay", getter<Weekday, true>);
  vm.define(p, "getUTCHours", getter<Hours, true>);
  vm.define(p, "getUTCMinutes", getter<Minutes, true>);
  vm.define(p, "getUTCSeconds", getter<Seconds, true>);
  vm.define(p, "getUTCMilliseconds", getter<Ms, true>);
  vm.define(p, "setFullYear", setter<Year, false>);
  vm.define(p, "setYear", setYear);
  vm.define(p, "setMonth", setter<Month, false>);
  vm.define(p, "setDate", setter<Date, false>);
  vm.define(p, "setHours", setter<Hours, false>);
  vm.define(p, "setMinutes", setter<Minutes, false>);
  vm.define(p, "setSeconds", setter<Seconds, false>);
  vm.define(p, "setMilliseconds", setter<Ms, false>);
  vm.define(p, "setUTCFullYear", setter<Year, true>);
  vm.define(p, "setUTCMonth", setter<Month, true>);
  vm.define(p, "setUTCDate", setter<Date, true>);
  vm.define(p, "setUTCHours", setter<Hours, true>);
  vm.define(p, "setUTCMinutes", setter<Minutes, true>);
  vm.define(p, "setUTCSeconds", setter<Seconds, true>);
  vm.define(p, "setUTCMilliseconds", setter<Ms, true>);
  Function* ctor = vm.defineClass("Date", dateCtor, p, allocateDate);
  vm.define(ctor, "UTC", dateUtc);
  vm.setAllFlags(ctor, ReadOnly);
}

}  // namespace swf::avm1
