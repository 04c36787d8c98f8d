#include "skin/archive/WinSkinStore.h"

#include "gui/Text.h"

namespace skin {

const fw::TClassInfo& TSkinStore::StaticClass() {
  static const fw::TClassInfo info{L"TSkinStore", &fw::TComponent::StaticClass(), {}};
  return info;
}

TSkinStore::TSkinStore(fw::TComponent* owner) : fw::TComponent(owner) {}

void TSkinStore::SetStore(const TSkinCollection* value) {
  if (value) FStore.Assign(*value);
}

bool TSkinStore::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& bytes) {
  if (!fw::SameTextIgnoreCase(name, L"Store")) return fw::TComponent::ReadBinaryProperty(name, bytes);
  FStore.ReadItems(bytes);  // a damaged layout is reported by the definition reader
  return true;
}

}  // namespace skin
