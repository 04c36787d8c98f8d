// Compares a loaded model with the definition it was loaded from, key by key:
// every section and key the loader reads, stated once more here as a table,
// so that a whole skin (ours, the test variant, or one built in a test) can be
// checked without repeating its values.
#pragma once

#include <string>

#include "skin/archive/SkinRead.h"
#include "skin/archive/WinSkinIni.h"
#include "skin/model/SkinModel.h"

namespace skin::test {

// Opens `packed` (a packed block) the way the loader does and reports through
// gtest every record field that differs from what the INI member says.
void ExpectModelMatchesDefinition(const TSkinModel& model, const TMemoryStream& packed);

// The record an element section (one of the four readers') fills, or null.
const TDataSkinObject* RecordOfSection(const TSkinModel& model, const std::string& section);

}  // namespace skin::test
