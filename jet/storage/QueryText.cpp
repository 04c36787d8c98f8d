#include "jet/storage/QueryText.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace jet::storage {

namespace {

// Select flags (flag of the attribute-3 row).
constexpr int16_t kSelectStar = 0x01;
constexpr int16_t kDistinct = 0x02;
constexpr int16_t kOwnerAccess = 0x04;
constexpr int16_t kDistinctRow = 0x08;
constexpr int16_t kTop = 0x10;
constexpr int16_t kPercent = 0x20;
// Column rows of an append query that are VALUES, not SELECT output.
constexpr int16_t kAppendValue = static_cast<int16_t>(0x8000);
// Column and group rows of a crosstab.
constexpr int16_t kCrossTabPivot = 0x01;
constexpr int16_t kCrossTabNormal = 0x02;
// Union flag: set for UNION, clear for UNION ALL.
constexpr int16_t kUnionDistinct = 0x02;
constexpr char kUnionPart1[] = "X7YZ_____1";
constexpr char kUnionPart2[] = "X7YZ_____2";
// MSysObjects.Flags of a query, high nibble of the low byte.
constexpr uint32_t kObjectTypeMask = 0xf0;

bool isIdentifierChar(unsigned char c) {
  return c == '_' || std::isalnum(c) || c >= 0x80;
}

// Brackets a name that holds anything but letters, digits and underscores.
std::string quoteName(const std::string& name) {
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return name;
  for (unsigned char c : name) {
    if (!isIdentifierChar(c)) return "[" + name + "]";
  }
  return name;
}

// A dotted name quotes each part on its own.
std::string quoteDotted(const std::string& name) {
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t dot = name.find('.', start);
    out += quoteName(name.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    out += '.';
    start = dot + 1;
  }
  return out;
}

std::string joinList(const std::vector<std::string>& parts, const char* sep = ", ") {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

std::string text(const std::optional<std::string>& s) {
  return s ? *s : std::string();
}

struct Source {
  std::vector<std::string> names;  // tables and aliases inside
  std::string sql;
  bool isJoin = false;
  bool contains(const std::string& n) const {
    for (const auto& x : names) {
      if (x == n) return true;
    }
    return false;
  }
};

class Builder {
 public:
  explicit Builder(const std::vector<QueryRow>& rows) : rows_(rows) {}

  std::vector<const QueryRow*> all(uint8_t attribute) const {
    std::vector<const QueryRow*> out;
    for (const auto& r : rows_) {
      if (r.attribute == attribute) out.push_back(&r);
    }
    return out;
  }
  const QueryRow* one(uint8_t attribute) const {
    for (const auto& r : rows_) {
      if (r.attribute == attribute) return &r;
    }
    return nullptr;
  }
  int16_t selectFlags() const {
    const QueryRow* r = one(kQueryFlags);
    return r ? r->flag : 0;
  }

  std::string parameters() const {
    std::vector<std::string> out;
    for (const QueryRow* r : all(kQueryParameter)) {
      std::string p = quoteName(text(r->name1)) + " " + parameterType(r->flag);
      if (r->flag == 10 && r->extra > 0) {
        p += '(';
        p += std::to_string(r->extra);
        p += ')';
      }
      out.push_back(p);
    }
    return out.empty() ? std::string() : "PARAMETERS " + joinList(out) + ";\n";
  }

  std::string selectPrefix() const {
    int16_t f = selectFlags();
    std::string s = "SELECT ";
    if (f & kDistinct) {
      s += "DISTINCT ";
    } else if (f & kDistinctRow) {
      s += "DISTINCTROW ";
    }
    if (f & kTop) {
      const QueryRow* r = one(kQueryFlags);
      s += "TOP " + text(r->name1) + ((f & kPercent) ? " PERCENT " : " ");
    }
    return s;
  }

  std::string columns(int16_t requireFlag, int16_t excludeFlag) const {
    std::vector<std::string> out;
    for (const QueryRow* r : all(kQueryColumn)) {
      if (requireFlag && !(r->flag & requireFlag)) continue;
      if (excludeFlag && (r->flag & excludeFlag)) continue;
      std::string c = text(r->expression);
      if (r->name1) c += " AS " + quoteName(*r->name1);
      out.push_back(c);
    }
    if (selectFlags() & kSelectStar) out.push_back("*");
    return joinList(out);
  }

  std::string from() const {
    std::vector<Source> sources;
    for (const QueryRow* r : all(kQuerySource)) {
      Source s;
      if (r->expression) s.sql = quoteName(*r->expression) + ".";
      if (r->name1) s.sql += quoteDotted(*r->name1);
      if (r->name2) s.sql += " AS " + quoteName(*r->name2);
      s.names.push_back(r->name2 ? *r->name2 : text(r->name1));
      sources.push_back(std::move(s));
    }
    for (const QueryRow* j : all(kQueryJoin)) {
      std::string left = text(j->name1), right = text(j->name2);
      int li = find(sources, left), ri = find(sources, right);
      const char* kind = j->flag == 2 ? " LEFT JOIN " : j->flag == 3 ? " RIGHT JOIN " : " INNER JOIN ";
      if (li >= 0 && li == ri) {
        // Another condition between two tables already joined.
        sources[li].sql += " AND " + text(j->expression);
        continue;
      }
      Source l = li >= 0 ? sources[li] : Source{{left}, quoteName(left), false};
      Source r = ri >= 0 ? sources[ri] : Source{{right}, quoteName(right), false};
      for (int idx : {std::max(li, ri), std::min(li, ri)}) {
        if (idx >= 0) sources.erase(sources.begin() + idx);
      }
      Source joined;
      joined.isJoin = true;
      joined.names = l.names;
      joined.names.insert(joined.names.end(), r.names.begin(), r.names.end());
      joined.sql = (l.isJoin ? "(" + l.sql + ")" : l.sql) + kind + (r.isJoin ? "(" + r.sql + ")" : r.sql) +
                   " ON " + text(j->expression);
      sources.push_back(std::move(joined));
    }
    std::vector<std::string> parts;
    for (const auto& s : sources) parts.push_back(s.sql);
    std::string out = parts.empty() ? std::string() : "\nFROM " + joinList(parts);
    return out + remoteDb(one(kQueryRemoteDb));
  }

  std::string tail(bool withGroups, int16_t groupFlag) const {
    std::string out;
    if (const QueryRow* w = one(kQueryWhere); w && w->expression) out += "\nWHERE " + *w->expression;
    if (withGroups) {
      std::vector<std::string> groups;
      for (const QueryRow* g : all(kQueryGroupBy)) {
        if (groupFlag && !(g->flag & groupFlag)) continue;
        groups.push_back(text(g->expression));
      }
      if (!groups.empty()) out += "\nGROUP BY " + joinList(groups);
      if (const QueryRow* h = one(kQueryHaving); h && h->expression) out += "\nHAVING " + *h->expression;
    }
    return out + orderBy();
  }

  std::string orderBy() const {
    std::vector<std::string> orders;
    for (const QueryRow* o : all(kQueryOrderBy)) {
      std::string e = text(o->expression);
      if (o->name1 && (*o->name1 == "D" || *o->name1 == "d")) e += " DESC";
      orders.push_back(e);
    }
    return orders.empty() ? std::string() : "\nORDER BY " + joinList(orders);
  }

  std::string ownerAccess() const {
    return (selectFlags() & kOwnerAccess) ? "\nWITH OWNERACCESS OPTION" : "";
  }

  static std::string remoteDb(const QueryRow* r) {
    if (!r || (!r->name1 && !r->expression)) return "";
    std::string out = " IN '" + text(r->name1) + "'";
    if (r->expression) out += " [" + *r->expression + "]";
    return out;
  }

  std::string unionPart(const char* id) const {
    for (const QueryRow* r : all(kQuerySource)) {
      if (r->name2 && *r->name2 == id) return trimmed(text(r->expression));
    }
    return "";
  }

 private:
  static int find(const std::vector<Source>& sources, const std::string& name) {
    for (size_t i = 0; i < sources.size(); ++i) {
      if (sources[i].contains(name)) return static_cast<int>(i);
    }
    return -1;
  }
  // Union parts are whole statements as typed; line ends become "\n".
  static std::string trimmed(std::string s) {
    std::string lf;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\r') {
        if (i + 1 < s.size() && s[i + 1] == '\n') continue;
        lf += '\n';
      } else {
        lf += s[i];
      }
    }
    s = std::move(lf);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    size_t b = 0;
    while (b < s.size() && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    return s.substr(b);
  }
  static std::string parameterType(int16_t type) {
    switch (type) {
      case 1:
        return "Bit";
      case 2:
        return "Byte";
      case 3:
        return "Short";
      case 4:
        return "Long";
      case 5:
        return "Currency";
      case 6:
        return "IEEESingle";
      case 7:
        return "IEEEDouble";
      case 8:
        return "DateTime";
      case 9:
        return "Binary";
      case 10:
        return "Text";
      case 11:
        return "LongBinary";
      case 12:
        return "Text";
      case 15:
        return "Guid";
      default:
        return "Value";
    }
  }

  const std::vector<QueryRow>& rows_;
};

QueryType typeFromObjectFlags(uint32_t flags) {
  switch (flags & kObjectTypeMask) {
    case 0x00:
      return QueryType::Select;
    case 0x10:
      return QueryType::CrossTab;
    case 0x20:
      return QueryType::Delete;
    case 0x30:
      return QueryType::Update;
    case 0x40:
      return QueryType::Append;
    case 0x50:
      return QueryType::MakeTable;
    case 0x60:
      return QueryType::DataDefinition;
    case 0x70:
      return QueryType::PassThrough;
    case 0x80:
      return QueryType::Union;
    default:
      return QueryType::Unknown;
  }
}

}  // namespace

QueryText rebuildQuery(const std::vector<QueryRow>& rows, uint32_t objectFlags) {
  Builder b(rows);
  QueryText q;
  q.type = typeFromObjectFlags(objectFlags);
  // A select by its object flags may still say otherwise in its type row.
  if (const QueryRow* t = b.one(kQueryType);
      t && q.type == QueryType::Select && t->flag >= 1 && t->flag <= 9) {
    q.type = static_cast<QueryType>(t->flag);
  }
  q.hasParameters = !b.all(kQueryParameter).empty();
  const QueryRow* typeRow = b.one(kQueryType);
  std::string target = typeRow ? quoteDotted(text(typeRow->name1)) : std::string();
  std::string targetDb = typeRow && typeRow->name2 ? " IN '" + *typeRow->name2 + "'" : std::string();

  std::string sql;
  switch (q.type) {
    case QueryType::Select:
      sql = b.selectPrefix() + b.columns(0, 0) + b.from() + b.tail(true, 0);
      break;
    case QueryType::MakeTable:
      sql = b.selectPrefix() + b.columns(0, 0) + " INTO " + target + targetDb + b.from() + b.tail(true, 0);
      break;
    case QueryType::Append: {
      sql = "INSERT INTO " + target + targetDb + "\n";
      std::vector<std::string> values;
      for (const QueryRow* r : b.all(kQueryColumn)) {
        if (r->flag & kAppendValue) values.push_back(text(r->expression));
      }
      if (!values.empty()) {
        sql += "VALUES (" + joinList(values) + ")";
      } else {
        std::vector<std::string> targets, exprs;
        for (const QueryRow* r : b.all(kQueryColumn)) {
          exprs.push_back(text(r->expression) + (r->name1 ? " AS " + quoteName(*r->name1) : std::string()));
          if (r->name2) targets.push_back(quoteDotted(*r->name2));
        }
        if (!targets.empty() && targets.size() == exprs.size()) {
          sql = "INSERT INTO " + target + targetDb + " (" + joinList(targets) + ")\n";
          std::vector<std::string> plain;
          for (const QueryRow* r : b.all(kQueryColumn)) plain.push_back(text(r->expression));
          exprs = plain;
        }
        sql += b.selectPrefix() + joinList(exprs) + b.from() + b.tail(true, 0);
      }
      break;
    }
    case QueryType::Update: {
      std::vector<std::string> sets;
      for (const QueryRow* r : b.all(kQueryColumn))
        sets.push_back(quoteDotted(text(r->name2)) + " = " + text(r->expression));
      std::string from = b.from();
      const std::string prefix = "\nFROM ";
      if (from.rfind(prefix, 0) == 0) from = from.substr(prefix.size());
      sql = "UPDATE " + from + "\nSET " + joinList(sets) + b.tail(false, 0);
      break;
    }
    case QueryType::Delete:
      sql = "DELETE " + b.columns(0, 0) + b.from() + b.tail(false, 0);
      break;
    case QueryType::CrossTab: {
      std::string transform, pivot;
      for (const QueryRow* r : b.all(kQueryColumn)) {
        if (r->flag & kCrossTabPivot) {
          pivot = text(r->expression);
        } else if (!(r->flag & kCrossTabNormal)) {
          transform = text(r->expression) + (r->name1 ? " AS " + quoteName(*r->name1) : std::string());
        }
      }
      if (!transform.empty()) sql = "TRANSFORM " + transform + "\n";
      sql += b.selectPrefix() + b.columns(kCrossTabNormal, 0) + b.from() + b.tail(true, kCrossTabNormal) +
             "\nPIVOT " + pivot;
      break;
    }
    case QueryType::DataDefinition:
    case QueryType::PassThrough:
      q.sql = typeRow ? text(typeRow->expression) : std::string();
      return q;
    case QueryType::Union: {
      const QueryRow* flags = b.one(kQueryFlags);
      bool distinct = flags && (flags->flag & kUnionDistinct);
      sql = b.unionPart(kUnionPart1) + "\nUNION " + (distinct ? "" : "ALL ") + b.unionPart(kUnionPart2) +
            b.orderBy();
      q.sql = b.parameters() + sql + ";";
      return q;
    }
    case QueryType::Unknown:
      return q;
  }
  q.sql = b.parameters() + sql + b.ownerAccess() + ";";
  return q;
}

}  // namespace jet::storage
