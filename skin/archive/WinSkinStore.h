// TSkinStore: a component that keeps several whole skin archives inside a
// window definition (property Store, the collection's stored layout), for a
// program that offers a choice of skins; the skin data component loads one
// of them by number (TSkinData::LoadFromCollection).
#pragma once

#include <cstdint>
#include <vector>

#include "gui/Component.h"
#include "skin/archive/SkinCollection.h"

namespace skin {

class TSkinStore : public fw::TComponent {
  FW_CLASS(TSkinStore)
 public:
  explicit TSkinStore(fw::TComponent* owner);

  TSkinCollection& Store() { return FStore; }
  const TSkinCollection& Store() const { return FStore; }
  // Copies the given collection's items; nothing for nullptr.
  void SetStore(const TSkinCollection* value);

  // "Store" = the items with their DataStream bytes.
  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& bytes) override;
  std::vector<uint8_t> WriteStoreProperty() const { return FStore.WriteItems(); }

 private:
  TSkinCollection FStore;
};

}  // namespace skin
