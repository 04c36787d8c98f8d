// The names the batch tools take on the command line (a table, an ID field,
// key fields) are names, never SQL: each is looked up in the database the
// way Jet matches names (ignoring case), refused with a clear message when it
// names nothing usable, and put into statements in square brackets under its
// stored spelling. The window keeps sending its typed texts as they stand.
#pragma once

#include <string>
#include <vector>

#include "jet/storage/Store.h"

namespace qm::db {

// "[name]". Jet cannot quote a name holding "]", so such a name is refused.
std::string bracketed(const std::string& name);
// "[a],[b]".
std::string bracketedList(const std::vector<std::string>& names);

// The stored name of the user table `typed` names. Refuses, naming it, an
// unknown name, a saved query, a linked table and Jet's own tables; all of
// these before anything is changed.
std::string userTableName(jet::storage::Store& store, const std::string& typed);
// The same for reading only: Jet's own tables are allowed.
std::string readableTableName(jet::storage::Store& store, const std::string& typed);

// The stored name of the field `typed` names in `table`; refuses an empty or unknown name.
std::string fieldName(const jet::storage::TableSchema& table, const std::string& typed);
// Each name of a comma-separated list ("a,b", spaces around a name ignored);
// refuses an empty entry ("a,,b", a trailing comma) and an unknown name.
std::vector<std::string> fieldNames(const jet::storage::TableSchema& table, const std::string& typedList);

}  // namespace qm::db
