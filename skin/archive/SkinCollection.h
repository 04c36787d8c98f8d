// The items of a skin store: named in-memory copies of whole skin archive
// files, numbered in order of creation, and the byte layout they are stored
// in inside a window definition.
//
// Stored layout of a collection, little-endian: for each item in order a
// 32-bit byte length and the UTF-8 name, then the item's DataStream as
// binary properties hold data: a 32-bit byte count and the bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/archive/Streams.h"

namespace skin {

class TSkinCollection;

class TSkinCollectionItem {
 public:
  TSkinCollectionItem(TSkinCollection& collection, int id);

  int ID() const { return fID; }
  const std::string& Name() const { return FName; }
  // Refuses (std::invalid_argument) a name another item of the collection
  // has, compared case-sensitively; the item keeps its old name then.
  void SetName(const std::string& value);
  // A designer's handle for choosing a file; always this text.
  std::string SkinData() const { return "Load Skin"; }
  int64_t DataSize() const { return FData.Size(); }
  std::string DisplayName() const { return FName; }

  // Name (without the unique-name check) and every byte of `other`.
  void Assign(const TSkinCollectionItem& other);
  // Appends every byte to `target` at its position; our own position is kept.
  void CopyData(TStream& target) const;
  // Replaces the bytes with the whole file (EFOpenError / EReadError pass on, leaving it empty).
  void LoadFromFile(const std::string& fileName);
  const TMemoryStream& Data() const { return FData; }
  TMemoryStream& Data() { return FData; }

  // The DataStream property: the whole of FData, and reading it back.
  void WriteDataStream(TStream& target) const;
  void ReadDataStream(const std::vector<uint8_t>& bytes);

 private:
  TSkinCollection& fCollection;
  int fID;
  std::string FName;
  mutable TMemoryStream FData;
};

class TSkinCollection {
 public:
  TSkinCollection() = default;
  TSkinCollection(const TSkinCollection&) = delete;
  TSkinCollection& operator=(const TSkinCollection&) = delete;

  TSkinCollectionItem& Add();
  // Every item replaced by a copy of the other's items.
  void Assign(const TSkinCollection& other);
  int Count() const { return static_cast<int>(fItems.size()); }
  // Callers keep 0 <= index < Count().
  TSkinCollectionItem& Item(int index) { return *fItems[static_cast<size_t>(index)]; }
  const TSkinCollectionItem& Item(int index) const { return *fItems[static_cast<size_t>(index)]; }
  // Nothing for an index outside 0..Count()-1.
  void Delete(int index);
  void Clear();

  // The stored layout of every item (see above), and reading it back; a
  // damaged layout throws std::invalid_argument and leaves the items as they were.
  std::vector<uint8_t> WriteItems() const;
  void ReadItems(const std::vector<uint8_t>& bytes);

 private:
  std::vector<std::unique_ptr<TSkinCollectionItem>> fItems;
  int fNextID = 0;
};

}  // namespace skin
