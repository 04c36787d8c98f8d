#include "skin/archive/SkinCollection.h"

#include <stdexcept>

namespace skin {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection, int id)
    : fCollection(collection), fID(id), FName("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& value) {
  if (value == FName) return;
  for (int i = 0; i < fCollection.Count(); ++i) {
    const TSkinCollectionItem& other = fCollection.Item(i);
    if (&other != this && other.FName == value)
      throw std::invalid_argument("The name " + value + " is already used.");
  }
  FName = value;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
  if (&other == this) return;
  FName = other.FName;
  FData.Assign(other.FData.Bytes());
}

void TSkinCollectionItem::CopyData(TStream& target) const {
  int64_t saved = FData.Position();
  if (FData.Size() > 0) target.WriteBuffer(FData.Memory(), FData.Size());
  FData.SetPosition(saved);
}

void TSkinCollectionItem::LoadFromFile(const std::string& fileName) {
  FData.Clear();
  FData.LoadFromFile(fileName);
}

void TSkinCollectionItem::WriteDataStream(TStream& target) const {
  target.WriteInt32(static_cast<int32_t>(FData.Size()));
  CopyData(target);
}

void TSkinCollectionItem::ReadDataStream(const std::vector<uint8_t>& bytes) {
  FData.Clear();
  FData.Assign(bytes);
}

TSkinCollectionItem& TSkinCollection::Add() {
  fItems.push_back(std::make_unique<TSkinCollectionItem>(*this, fNextID++));
  return *fItems.back();
}

void TSkinCollection::Assign(const TSkinCollection& other) {
  if (&other == this) return;
  Clear();
  for (int i = 0; i < other.Count(); ++i) Add().Assign(other.Item(i));
}

void TSkinCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  fItems.erase(fItems.begin() + index);
}

void TSkinCollection::Clear() {
  fItems.clear();
}

std::vector<uint8_t> TSkinCollection::WriteItems() const {
  TMemoryStream out;
  for (const auto& item : fItems) {
    out.WriteInt32(static_cast<int32_t>(item->Name().size()));
    out.WriteBuffer(item->Name().data(), static_cast<int64_t>(item->Name().size()));
    item->WriteDataStream(out);
  }
  return out.Bytes();
}

void TSkinCollection::ReadItems(const std::vector<uint8_t>& bytes) {
  struct Parsed {
    std::string name;
    std::vector<uint8_t> data;
  };
  std::vector<Parsed> parsed;
  size_t pos = 0;
  auto readCount = [&](const char* what) {
    if (bytes.size() - pos < 4)
      throw std::invalid_argument(std::string("skin store: ") + what + " cut short");
    uint32_t v = static_cast<uint32_t>(bytes[pos]) | (static_cast<uint32_t>(bytes[pos + 1]) << 8) |
                 (static_cast<uint32_t>(bytes[pos + 2]) << 16) |
                 (static_cast<uint32_t>(bytes[pos + 3]) << 24);
    pos += 4;
    int32_t n = static_cast<int32_t>(v);
    if (n < 0 || static_cast<size_t>(n) > bytes.size() - pos)
      throw std::invalid_argument(std::string("skin store: ") + what + " runs past the stored bytes");
    return static_cast<size_t>(n);
  };
  while (pos < bytes.size()) {
    Parsed p;
    size_t nameLength = readCount("an item name");
    p.name.assign(reinterpret_cast<const char*>(bytes.data() + pos), nameLength);
    pos += nameLength;
    size_t dataLength = readCount("an item's data");
    p.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                  bytes.begin() + static_cast<std::ptrdiff_t>(pos + dataLength));
    pos += dataLength;
    parsed.push_back(std::move(p));
  }
  for (size_t i = 0; i < parsed.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (parsed[i].name == parsed[j].name)
        throw std::invalid_argument("The name " + parsed[i].name + " is already used.");
  // Only a layout read to its end replaces the items.
  Clear();
  for (Parsed& p : parsed) {
    TSkinCollectionItem& item = Add();
    item.SetName(p.name);
    item.ReadDataStream(p.data);
  }
}

}  // namespace skin
