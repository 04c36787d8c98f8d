// mdbgen: writes a new Jet 4 database of generated rows for tests, demos and
// benchmarks.
//   mdbgen OUT.mdb --rows N [--dup-share 0.25] [--seed 1] [--keyless] [--table NAME]
//                  [--no-memos] [--short-memos] [--key-indexes] [--keyless-table NAME] [--jet3]
// --short-memos leaves out the long memos (a tenth of the rows otherwise),
// for files sized like the ones people keep, about 400 bytes a row.
// --key-indexes indexes the key fields Name and Phone as well.
// --keyless-table adds a second, keyless table with the same number of rows
// and duplicate share (whole rows repeated), for the keyless rebuild.
// --jet3 writes an Access 97 file, its text in GBK (code page 936) as a
// Chinese system's Access 97 keeps it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Generator.h"
#include "jet/core/Error.h"
#include "jet/storage/NewDatabase.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "用法: mdbgen OUT.mdb --rows N [--dup-share 0.25] [--seed 1] [--keyless] [--table NAME] "
               "[--no-memos] [--short-memos] [--key-indexes] [--keyless-table NAME] [--jet3]\n");
  return 2;
}

bool parseNumber(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end && *end == '\0' && end != text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string out = argv[1];
  mdbgen::Options o;
  std::string keylessTable;
  jet::storage::NewDatabaseOptions options;
  bool haveRows = false;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    double v = 0;
    bool hasValue = i + 1 < argc;
    if (a == "--rows" && hasValue && parseNumber(argv[i + 1], v) && v >= 0) {
      o.rows = static_cast<uint64_t>(v);
      haveRows = true;
      ++i;
    } else if (a == "--dup-share" && hasValue && parseNumber(argv[i + 1], v) && v >= 0 && v <= 1) {
      o.duplicateShare = v;
      ++i;
    } else if (a == "--seed" && hasValue && parseNumber(argv[i + 1], v) && v >= 0) {
      o.seed = static_cast<uint64_t>(v);
      ++i;
    } else if (a == "--table" && hasValue) {
      o.table = argv[++i];
    } else if (a == "--keyless-table" && hasValue) {
      keylessTable = argv[++i];
    } else if (a == "--keyless") {
      o.keyless = true;
    } else if (a == "--no-memos") {
      o.memos = false;
    } else if (a == "--short-memos") {
      o.longMemos = false;
    } else if (a == "--key-indexes") {
      o.keyIndexes = true;
    } else if (a == "--jet3") {
      options.version = jet::file::JetVersion::Jet3;
      options.codePage = 936;
      o.gbkText = true;
    } else {
      return usage();
    }
  }
  if (!haveRows) return usage();
  std::vector<jet::storage::NewTable> tables{mdbgen::newTable(o)};
  if (!keylessTable.empty()) {
    mdbgen::Options k = o;
    k.table = keylessTable;
    k.keyless = true;
    k.seed = o.seed + 1;
    tables.push_back(mdbgen::newTable(k));
  }
  try {
    jet::storage::writeNewDatabase(out, std::move(tables), options);
  } catch (const jet::Error& e) {
    std::fprintf(stderr, "mdbgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
