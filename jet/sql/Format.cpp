#include "jet/sql/Format.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "jet/core/Text.h"
#include "jet/sql/DateTime.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

namespace {

std::string lower(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// ---- dates ----

std::string two(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

std::string formatDate(double serial, const std::string& f);

std::string shortDate(double s) {
  return formatDate(s, "yyyy/m/d");
}
std::string longDate(double s) {
  return formatDate(s, "yyyy\"年\"m\"月\"d\"日\"");
}
std::string longTime(double s) {
  return formatDate(s, "h:nn:ss");
}

std::string formatDate(double serial, const std::string& f) {
  DateParts p = splitDate(serial);
  std::string out;
  size_t i = 0;
  bool lastWasHour = false;
  auto run = [&](char c) {
    size_t j = i;
    while (j < f.size() && std::tolower(static_cast<unsigned char>(f[j])) == c) ++j;
    size_t n = j - i;
    i = j;
    return n;
  };
  while (i < f.size()) {
    char c = f[i];
    char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"') {
      size_t j = f.find('"', i + 1);
      if (j == std::string::npos) j = f.size();
      out += f.substr(i + 1, j - i - 1);
      i = j + 1;
      continue;
    }
    if (c == '\\') {
      if (i + 1 < f.size()) out += f[i + 1];
      i += 2;
      continue;
    }
    if (lower(f.substr(i, 5)) == "am/pm") {
      bool upper = f[i] == 'A';
      out += p.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    if (lower(f.substr(i, 3)) == "a/p") {
      bool upper = f[i] == 'A';
      out += p.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
      i += 3;
      continue;
    }
    if (lower(f.substr(i, 4)) == "ampm") {
      out += p.hour < 12 ? "上午" : "下午";
      i += 4;
      continue;
    }
    bool twelve = lower(f).find("am/pm") != std::string::npos || lower(f).find("a/p") != std::string::npos ||
                  lower(f).find("ampm") != std::string::npos;
    switch (lc) {
      case 'y': {
        size_t n = run('y');
        if (n >= 3)
          out += std::to_string(p.year);
        else if (n == 2)
          out += two(p.year % 100);
        else
          out += std::to_string(p.dayOfYear);
        lastWasHour = false;
        continue;
      }
      case 'q':
        run('q');
        out += std::to_string((p.month - 1) / 3 + 1);
        continue;
      case 'm': {
        size_t n = run('m');
        if (lastWasHour && n <= 2) {
          out += n == 2 ? two(p.minute) : std::to_string(p.minute);
        } else if (n >= 4) {
          out += monthName(p.month, false);
        } else if (n == 3) {
          out += monthName(p.month, true);
        } else {
          out += n == 2 ? two(p.month) : std::to_string(p.month);
        }
        lastWasHour = false;
        continue;
      }
      case 'd': {
        size_t n = run('d');
        if (n >= 6)
          out += longDate(serial);
        else if (n == 5)
          out += shortDate(serial);
        else if (n == 4)
          out += weekdayName(p.weekday, false);
        else if (n == 3)
          out += weekdayName(p.weekday, true);
        else
          out += n == 2 ? two(p.day) : std::to_string(p.day);
        lastWasHour = false;
        continue;
      }
      case 'w': {
        size_t n = run('w');
        if (n >= 2) {
          DateParts jan1 = splitDate(dateSerial(p.year, 1, 1));
          out += std::to_string((p.dayOfYear - 1 + jan1.weekday - 1) / 7 + 1);
        } else {
          out += std::to_string(p.weekday);
        }
        continue;
      }
      case 'h': {
        size_t n = run('h');
        int h = p.hour;
        if (twelve) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += n >= 2 ? two(h) : std::to_string(h);
        lastWasHour = true;
        continue;
      }
      case 'n': {
        size_t n = run('n');
        out += n >= 2 ? two(p.minute) : std::to_string(p.minute);
        lastWasHour = false;
        continue;
      }
      case 's': {
        size_t n = run('s');
        out += n >= 2 ? two(p.second) : std::to_string(p.second);
        lastWasHour = false;
        continue;
      }
      case 't': {
        size_t n = run('t');
        if (n >= 5)
          out += longTime(serial);
        else
          out += std::string(n, c);
        continue;
      }
      case 'c':
        ++i;
        out += dateText(serial);
        continue;
      default:
        if (c != ':' && c != ' ') lastWasHour = lastWasHour && false;
        out += c;
        ++i;
    }
  }
  return out;
}

// ---- numbers ----

struct Section {
  std::string text;
};

std::vector<std::string> splitSections(const std::string& f) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"') quoted = !quoted;
    if (c == '\\' && i + 1 < f.size()) {
      out.back() += c;
      out.back() += f[++i];
      continue;
    }
    if (c == ';' && !quoted) {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

enum class ItemKind { Zero, Hash, Point, Comma, Percent, Exp, Literal };
struct Item {
  ItemKind kind;
  std::string text;  // Literal text; Exp: "E+", "e-", ...
};

std::vector<Item> parseNumberPattern(const std::string& f) {
  std::vector<Item> items;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"') {
      size_t j = f.find('"', i + 1);
      if (j == std::string::npos) j = f.size();
      items.push_back({ItemKind::Literal, f.substr(i + 1, j - i - 1)});
      i = j;
    } else if (c == '\\') {
      if (i + 1 < f.size()) items.push_back({ItemKind::Literal, std::string(1, f[++i])});
    } else if (c == '0') {
      items.push_back({ItemKind::Zero, ""});
    } else if (c == '#') {
      items.push_back({ItemKind::Hash, ""});
    } else if (c == '.') {
      items.push_back({ItemKind::Point, ""});
    } else if (c == ',') {
      items.push_back({ItemKind::Comma, ""});
    } else if (c == '%') {
      items.push_back({ItemKind::Percent, ""});
    } else if ((c == 'E' || c == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
      items.push_back({ItemKind::Exp, f.substr(i, 2)});
      ++i;
    } else {
      items.push_back({ItemKind::Literal, std::string(1, c)});
    }
  }
  return items;
}

bool isDigitItem(const Item& it) {
  return it.kind == ItemKind::Zero || it.kind == ItemKind::Hash;
}

// Rounds half away from zero at `decimals`, giving the integer and fraction digits.
void digitsOf(double mag, int decimals, std::string& intPart, std::string& fracPart) {
  char buf[512];
  if (mag < 1e15) {
    double scale = std::pow(10.0, decimals);
    double scaled = std::round(mag * scale * 1e6) / 1e6;
    double r = std::floor(scaled + 0.5);
    std::snprintf(buf, sizeof buf, "%.0f", r);
    std::string all = buf;
    if (static_cast<int>(all.size()) <= decimals) all = std::string(decimals - all.size() + 1, '0') + all;
    intPart = all.substr(0, all.size() - decimals);
    fracPart = all.substr(all.size() - decimals);
  } else {
    std::snprintf(buf, sizeof buf, "%.*f", decimals, mag);
    std::string all = buf;
    size_t dot = all.find('.');
    intPart = dot == std::string::npos ? all : all.substr(0, dot);
    fracPart = dot == std::string::npos ? "" : all.substr(dot + 1);
  }
}

std::string group(const std::string& digits) {
  std::string out;
  int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    out += digits[i];
    int rest = n - 1 - i;
    if (rest > 0 && rest % 3 == 0) out += ',';
  }
  return out;
}

std::string formatNumberSection(double v, const std::string& pattern, bool withSign) {
  std::vector<Item> items = parseNumberPattern(pattern);
  int point = -1, exp = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].kind == ItemKind::Point && point < 0 && exp < 0) point = static_cast<int>(i);
    if (items[i].kind == ItemKind::Exp && exp < 0) exp = static_cast<int>(i);
  }
  size_t intEnd = point >= 0 ? point : (exp >= 0 ? exp : items.size());
  size_t fracEnd = exp >= 0 ? exp : items.size();
  int intSlots = 0, intZeros = 0, fracSlots = 0, fracZeros = 0, expZeros = 0;
  bool thousands = false, percent = false, anyDigit = false;
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    if (it.kind == ItemKind::Percent) percent = true;
    if (!isDigitItem(it)) continue;
    anyDigit = true;
    if (i < intEnd) {
      ++intSlots;
      if (it.kind == ItemKind::Zero) ++intZeros;
    } else if (i < fracEnd) {
      ++fracSlots;
      if (it.kind == ItemKind::Zero) ++fracZeros;
    } else if (it.kind == ItemKind::Zero) {
      ++expZeros;
    }
  }
  for (size_t i = 1; i < intEnd; ++i)
    if (items[i].kind == ItemKind::Comma && isDigitItem(items[i - 1]) && i + 1 < intEnd &&
        isDigitItem(items[i + 1]))
      thousands = true;
  double mag = std::fabs(v);
  if (percent) mag *= 100;
  int exponent = 0;
  if (exp >= 0 && mag != 0) {
    int lead = std::max(intSlots, 1);
    exponent = static_cast<int>(std::floor(std::log10(mag))) - (lead - 1);
    mag /= std::pow(10.0, exponent);
    std::string ip, fp;
    digitsOf(mag, fracSlots, ip, fp);
    if (static_cast<int>(ip.size()) > lead) {
      ++exponent;
      mag /= 10;
    }
  }
  std::string ip, fp;
  digitsOf(mag, fracSlots, ip, fp);
  while (static_cast<int>(fp.size()) > fracZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
  if (ip == "0" && intZeros == 0) ip.clear();
  while (static_cast<int>(ip.size()) < intZeros) ip = "0" + ip;
  bool negative = v < 0 && withSign &&
                  ((!ip.empty() && ip.find_first_not_of('0') != std::string::npos) ||
                   fp.find_first_not_of('0') != std::string::npos || exp >= 0);
  std::string out;
  if (negative) out += '-';
  if (!anyDigit) {
    for (const Item& it : items)
      if (it.kind == ItemKind::Literal)
        out += it.text;
      else if (it.kind == ItemKind::Percent)
        out += '%';
    return out;
  }
  // Integer digits fill the placeholders from the right; the leftmost takes the excess.
  std::string intText = thousands ? group(ip) : ip;
  bool intEmitted = false;
  int slotIndex = 0;
  int fracIndex = 0;
  int expSlot = 0;
  std::string expDigits;
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    if (i < intEnd) {
      if (isDigitItem(it)) {
        if (thousands) {
          if (!intEmitted) out += intText;
          intEmitted = true;
        } else {
          int fromRight = intSlots - slotIndex;  // 1-based from the right
          int len = static_cast<int>(ip.size());
          if (slotIndex == 0 && len > intSlots)
            out += ip.substr(0, len - intSlots + 1);
          else if (fromRight <= len)
            out += ip[len - fromRight];
        }
        ++slotIndex;
      } else if (it.kind == ItemKind::Literal) {
        out += it.text;
      } else if (it.kind == ItemKind::Percent) {
        out += '%';
      } else if (it.kind == ItemKind::Comma && !thousands) {
        // A comma that does not separate digits scales in Jet; we show nothing.
      }
      continue;
    }
    if (static_cast<int>(i) == point) {
      out += '.';
      continue;
    }
    if (i < fracEnd) {
      if (isDigitItem(it)) {
        if (fracIndex < static_cast<int>(fp.size())) out += fp[fracIndex];
        ++fracIndex;
      } else if (it.kind == ItemKind::Literal) {
        out += it.text;
      } else if (it.kind == ItemKind::Percent) {
        out += '%';
      }
      continue;
    }
    if (static_cast<int>(i) == exp) {
      out += it.text[0];
      if (exponent < 0)
        out += '-';
      else if (it.text[1] == '+')
        out += '+';
      std::string e = std::to_string(std::abs(exponent));
      while (static_cast<int>(e.size()) < expZeros) e = "0" + e;
      expDigits = e;
      continue;
    }
    if (isDigitItem(it)) {
      if (expSlot == 0) out += expDigits;
      ++expSlot;
    } else if (it.kind == ItemKind::Literal) {
      out += it.text;
    } else if (it.kind == ItemKind::Percent) {
      out += '%';
    }
  }
  if (point >= 0 && out.size() && out.back() == '.' && fracSlots == 0) {
    // "0." keeps its point, as VBA does.
  }
  return out;
}

std::string formatNumber(double v, const std::string& f) {
  std::vector<std::string> sections = splitSections(f);
  if (v < 0 && sections.size() >= 2 && !sections[1].empty())
    return formatNumberSection(v, sections[1], false);
  if (v == 0 && sections.size() >= 3 && !sections[2].empty())
    return formatNumberSection(v, sections[2], false);
  std::string s = formatNumberSection(v, sections[0], true);
  return s;
}

std::string formatText(const std::string& s, const std::string& f) {
  std::u32string text = utf8ToUtf32(s);
  std::string pattern;
  bool toLower = false, toUpper = false;
  for (char c : f) {
    if (c == '<')
      toLower = true;
    else if (c == '>')
      toUpper = true;
    else
      pattern += c;
  }
  if (toLower)
    for (char32_t& c : text) c = foldCase(c);
  if (toUpper)
    for (char32_t& c : text)
      if (c >= U'a' && c <= U'z') c -= 32;
  size_t slots = 0;
  for (char c : pattern)
    if (c == '@' || c == '&') ++slots;
  if (slots == 0) return utf32ToUtf8(text) + pattern;
  // Placeholders fill from the right; extra characters go before the first.
  std::u32string out;
  size_t n = text.size();
  size_t slot = 0;
  for (char c : pattern) {
    if (c == '@' || c == '&') {
      size_t fromRight = slots - slot;
      if (slot == 0 && n > slots)
        out += text.substr(0, n - slots + 1);
      else if (fromRight <= n)
        out += text[n - fromRight];
      else if (c == '@')
        out += U' ';
      ++slot;
    } else {
      out += static_cast<char32_t>(static_cast<unsigned char>(c));
    }
  }
  return utf32ToUtf8(out);
}

bool hasDateTokens(const std::string& f) {
  bool quoted = false;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\\') {
      ++i;
      continue;
    }
    char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 'n' || lc == 's' || lc == 'q' ||
        lc == 'w' || lc == 'c' || lc == 't')
      return true;
  }
  return false;
}

bool hasNumberTokens(const std::string& f) {
  bool quoted = false;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\\') {
      ++i;
      continue;
    }
    if (c == '0' || c == '#') return true;
  }
  return false;
}

}  // namespace

std::string formatValue(const Value& v, const std::string& format, const std::string& where) {
  if (format.empty()) return toText(v);
  std::string named = foldCase(format);
  auto asDate = [&]() { return toDate(v, where); };
  auto asNumber = [&]() {
    if (v.type() == DataType::Boolean) return v.asBool() ? -1.0 : 0.0;
    return toNumber(v, where);
  };
  if (named == "general date") return dateText(asDate());
  if (named == "long date") return longDate(asDate());
  if (named == "medium date") return formatDate(asDate(), "yy-mm-dd");
  if (named == "short date") return shortDate(asDate());
  if (named == "long time") return longTime(asDate());
  if (named == "medium time") return formatDate(asDate(), "hh:nn AM/PM");
  if (named == "short time") return formatDate(asDate(), "hh:nn");
  if (named == "general number") return numberText(asNumber());
  if (named == "currency") return formatNumber(asNumber(), "\"¥\"#,##0.00;\"¥-\"#,##0.00");
  if (named == "fixed") return formatNumber(asNumber(), "0.00");
  if (named == "standard") return formatNumber(asNumber(), "#,##0.00");
  if (named == "percent") return formatNumber(asNumber(), "0.00%");
  if (named == "scientific") return formatNumber(asNumber(), "0.00E+00");
  if (named == "yes/no") return asNumber() != 0 ? "Yes" : "No";
  if (named == "true/false") return asNumber() != 0 ? "True" : "False";
  if (named == "on/off") return asNumber() != 0 ? "On" : "Off";

  bool textPattern = format.find('@') != std::string::npos || format.find('&') != std::string::npos ||
                     ((format.find('<') != std::string::npos || format.find('>') != std::string::npos) &&
                      !hasNumberTokens(format));
  if (textPattern) return formatText(toText(v), format);
  if (hasNumberTokens(format)) {
    if (v.isText() && !parseNumber(v.asText())) return v.asText();
    return formatNumber(v.type() == DataType::DateTime ? v.asDouble() : asNumber(), format);
  }
  if (hasDateTokens(format)) {
    if (v.isText() && !parseDateText(v.asText(), DateOrder::MonthFirst) && !parseNumber(v.asText()))
      return v.asText();
    return formatDate(asDate(), format);
  }
  if (v.isText()) return v.asText();
  return formatNumber(asNumber(), format);
}

}  // namespace jet::sql
