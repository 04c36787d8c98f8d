#include "jet/sql/DateTime.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "jet/core/Text.h"

namespace jet::sql {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's algorithm).
long daysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long kEpochOffset = 25569;  // 1970-01-01 as a Jet day number

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kMonthsShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kDaysShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace

double dateSerial(long year, long month, long day) {
  if (year >= 0 && year < 30)
    year += 2000;
  else if (year >= 30 && year < 100)
    year += 1900;
  long m0 = month - 1;
  year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
  m0 = ((m0 % 12) + 12) % 12;
  long days = daysFromCivil(year, m0 + 1, 1) + (day - 1);
  return static_cast<double>(days + kEpochOffset);
}

double timeSerial(long hour, long minute, long second) {
  return static_cast<double>(hour * 3600 + minute * 60 + second) / 86400.0;
}

double makeDate(double days, double timeFraction) {
  // Jet's encoding: the sign belongs to the day, the fraction counts forward.
  double t = days + timeFraction;
  double whole = std::floor(t);
  double frac = t - whole;
  if (whole >= 0) return t;
  return whole - frac;
}

double datePart(double serial) {
  return std::trunc(serial);
}

double timePart(double serial) {
  return std::fabs(serial - std::trunc(serial));
}

bool validDate(double serial) {
  return serial >= -657434.0 && serial < 2958466.0;
}

DateParts splitDate(double serial) {
  DateParts p;
  double whole = std::trunc(serial);
  double frac = std::fabs(serial - whole);
  long secs = std::lround(frac * 86400.0);
  long days = static_cast<long>(whole);
  if (secs >= 86400) {
    secs -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  civilFromDays(days - kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>(secs / 60 % 60);
  p.second = static_cast<int>(secs % 60);
  long wd = ((days - kEpochOffset) % 7 + 7 + 4) % 7;  // 1970-01-01 was a Thursday
  p.weekday = static_cast<int>(wd) + 1;
  p.dayOfYear = static_cast<int>(days - kEpochOffset - daysFromCivil(p.year, 1, 1) + 1);
  return p;
}

std::optional<double> parseDateText(std::string_view text, DateOrder order) {
  // Split into numbers, words and the separators between them.
  struct Part {
    bool number;
    long value;
    std::string word;
    char sepAfter;
  };
  std::vector<Part> parts;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) {
      long v = 0;
      size_t digits = 0;
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (++digits > 9) return std::nullopt;
        v = v * 10 + (text[i] - '0');
        ++i;
      }
      parts.push_back({true, v, std::to_string(digits), ' '});
    } else if (std::isalpha(c)) {
      std::string w;
      while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) w += text[i++];
      parts.push_back({false, 0, foldCase(w), ' '});
    } else if (c == '/' || c == '-' || c == ':' || c == '.' || c == ',' || c == ' ' || c == '\t') {
      if (!parts.empty() && (parts.back().sepAfter == ' ' || c != ' ')) {
        if (c != ' ' && c != '\t') parts.back().sepAfter = static_cast<char>(c);
      } else if (parts.empty() && c != ' ' && c != '\t') {
        return std::nullopt;
      }
      ++i;
    } else {
      return std::nullopt;
    }
  }
  if (parts.empty()) return std::nullopt;

  std::vector<long> dateNums;
  int monthFromName = 0;
  std::vector<long> timeNums;
  int ampm = 0;  // 1 AM, 2 PM
  size_t k = 0;
  // Date section: numbers joined by / - . or a month name.
  for (; k < parts.size(); ++k) {
    const Part& p = parts[k];
    if (p.number && p.sepAfter == ':') break;
    if (p.number) {
      if (dateNums.size() + (monthFromName ? 1 : 0) >= 3) return std::nullopt;
      dateNums.push_back(p.value);
      if (p.word == "4" && dateNums.size() == 1) dateNums.back() = p.value + 100000;  // mark a 4-digit year
    } else {
      if (p.word == "am" || p.word == "pm") break;
      int found = 0;
      for (int m = 0; m < 12; ++m) {
        std::string full = foldCase(kMonths[m]);
        if (p.word == full || (p.word.size() >= 3 && full.compare(0, p.word.size(), p.word) == 0))
          found = m + 1;
      }
      if (!found || monthFromName) return std::nullopt;
      monthFromName = found;
    }
  }
  // Time section: h:m[:s] [AM|PM]
  for (; k < parts.size(); ++k) {
    const Part& p = parts[k];
    if (p.number) {
      if (timeNums.size() >= 3) return std::nullopt;
      timeNums.push_back(p.value);
    } else if (p.word == "am" || p.word == "pm") {
      if (ampm || timeNums.empty()) return std::nullopt;
      ampm = p.word == "am" ? 1 : 2;
    } else {
      return std::nullopt;
    }
  }
  if (!timeNums.empty() && timeNums.size() < 2 && !ampm) return std::nullopt;

  double day = 0;
  bool haveDate = !dateNums.empty() || monthFromName;
  if (haveDate) {
    long y = 0, m = 0, d = 0;
    bool fourDigitFirst = !dateNums.empty() && dateNums[0] >= 100000;
    if (fourDigitFirst) dateNums[0] -= 100000;
    if (monthFromName) {
      m = monthFromName;
      if (dateNums.size() == 2) {
        if (fourDigitFirst) {
          y = dateNums[0];
          d = dateNums[1];
        } else {
          d = dateNums[0];
          y = dateNums[1];
        }
      } else {
        return std::nullopt;
      }
    } else if (dateNums.size() == 3) {
      if (fourDigitFirst) {
        y = dateNums[0];
        m = dateNums[1];
        d = dateNums[2];
      } else if (order == DateOrder::MonthFirst) {
        m = dateNums[0];
        d = dateNums[1];
        y = dateNums[2];
        if (m > 12 && d <= 12) std::swap(m, d);  // Jet accepts 14/3/2013 as d/m/y
      } else {
        d = dateNums[0];
        m = dateNums[1];
        y = dateNums[2];
      }
    } else {
      return std::nullopt;
    }
    if (y >= 100000) y -= 100000;
    if (m < 1 || m > 12 || d < 1 || d > 31 || y > 9999) return std::nullopt;
    if (y < 100) y = y < 30 ? y + 2000 : y + 1900;
    double serial = dateSerial(y, m, d);
    if (splitDate(serial).day != d) return std::nullopt;  // 2/30 is not a date
    day = serial;
  }
  double time = 0;
  if (!timeNums.empty()) {
    long h = timeNums[0], mi = timeNums.size() > 1 ? timeNums[1] : 0,
         s = timeNums.size() > 2 ? timeNums[2] : 0;
    if (ampm) {
      if (h < 1 || h > 12) return std::nullopt;
      if (ampm == 1 && h == 12) h = 0;
      if (ampm == 2 && h != 12) h += 12;
    }
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    time = timeSerial(h, mi, s);
  }
  if (!haveDate && timeNums.empty()) return std::nullopt;
  return makeDate(day, time);
}

const char* monthName(int month, bool abbreviated) {
  if (month < 1 || month > 12) return "";
  return abbreviated ? kMonthsShort[month - 1] : kMonths[month - 1];
}

const char* weekdayName(int weekday, bool abbreviated) {
  if (weekday < 1 || weekday > 7) return "";
  return abbreviated ? kDaysShort[weekday - 1] : kDays[weekday - 1];
}

}  // namespace jet::sql
