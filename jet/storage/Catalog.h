// The catalogue of a Jet file, read from MSysObjects (whose definition is
// always on page 2): every table, system table, linked table and saved query
// with what is needed to open it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/storage/JetContext.h"
#include "jet/storage/Store.h"

namespace jet::storage {

struct CatalogObject {
  std::string name;
  ObjectKind kind = ObjectKind::Table;
  int32_t id = 0;
  int16_t type = 0;  // MSysObjects.Type
  uint32_t flags = 0;
  uint32_t tdefPage() const { return static_cast<uint32_t>(id) & 0x00ffffffu; }
};

// MSysObjects.Type values.
constexpr int16_t kObjectTable = 1;
constexpr int16_t kObjectLinkedOdbc = 4;
constexpr int16_t kObjectQuery = 5;
constexpr int16_t kObjectLinkedTable = 6;

// MSysObjects.Flags: Jet's own system objects, and the ones Access keeps
// for itself (which the Jet provider lists as "ACCESS TABLE").
constexpr uint32_t kSystemObject = 0x80000000u;
constexpr uint32_t kAccessSystemObject = 0x00000002u;

constexpr uint32_t kCatalogPage = 2;
constexpr char kCatalogTable[] = "MSysObjects";
constexpr char kQueryTable[] = "MSysQueries";

// Reads the catalogue. Queries come out as Procedure; the caller refines
// select queries to View once it has looked at their definition.
std::vector<CatalogObject> readCatalog(const std::shared_ptr<JetContext>& context);

}  // namespace jet::storage
