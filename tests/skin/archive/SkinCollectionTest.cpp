// The items of a skin store: numbering, the unique-name rule, copying and
// the stored layout.
#include "skin/archive/SkinCollection.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace skin {
namespace {

TEST(SkinCollection, ItemsAreNumberedInOrderOfCreationNeverReusingANumber) {
  TSkinCollection c;
  c.Add();
  c.Add();
  c.Add();
  EXPECT_EQ(c.Item(0).Name(), "SkinItem0");
  EXPECT_EQ(c.Item(1).Name(), "SkinItem1");
  EXPECT_EQ(c.Item(2).Name(), "SkinItem2");
  c.Delete(1);
  EXPECT_EQ(c.Add().Name(), "SkinItem3");
  EXPECT_EQ(c.Item(2).DisplayName(), "SkinItem3");
  c.Delete(-1);
  c.Delete(3);
  EXPECT_EQ(c.Count(), 3);
}

TEST(SkinCollection, NamesAreUniqueCaseSensitively) {
  TSkinCollection c;
  c.Add();
  c.Add();
  TSkinCollectionItem& third = c.Add();
  try {
    third.SetName("SkinItem0");
    FAIL() << "a duplicate name was taken";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "The name SkinItem0 is already used.");
  }
  EXPECT_EQ(third.Name(), "SkinItem2");
  third.SetName("SkinItem2");
  EXPECT_EQ(third.Name(), "SkinItem2");
  third.SetName("skinitem0");
  EXPECT_EQ(third.Name(), "skinitem0");
  EXPECT_EQ(third.SkinData(), "Load Skin");
}

TEST(SkinCollection, DataSizeCopyAndAssign) {
  TSkinCollection c;
  TSkinCollectionItem& item = c.Add();
  EXPECT_EQ(item.DataSize(), 0);
  item.Data().Assign({1, 2, 3, 4});
  item.Data().SetPosition(2);
  TMemoryStream target;
  target.WriteInt32(7);
  item.CopyData(target);
  EXPECT_EQ(target.Bytes(), (std::vector<uint8_t>{7, 0, 0, 0, 1, 2, 3, 4}));
  EXPECT_EQ(item.Data().Position(), 2);
  TSkinCollection other;
  other.Add().Assign(item);
  EXPECT_EQ(other.Item(0).Name(), "SkinItem0");
  EXPECT_EQ(other.Item(0).Data().Bytes(), item.Data().Bytes());
  c.Add().SetName("second");
  other.Assign(c);
  ASSERT_EQ(other.Count(), 2);
  EXPECT_EQ(other.Item(1).Name(), "second");
}

TEST(SkinCollection, LoadFromFileTakesTheWholeFile) {
  std::string name = testing::TempDir() + "skin_collection_item.bin";
  {
    TFileStream f(name, TFileMode::fmCreate);
    std::vector<uint8_t> bytes(1000, 0x42);
    f.WriteBuffer(bytes.data(), 1000);
  }
  TSkinCollection c;
  TSkinCollectionItem& item = c.Add();
  item.LoadFromFile(name);
  EXPECT_EQ(item.DataSize(), 1000);
  std::remove(name.c_str());
  EXPECT_THROW(item.LoadFromFile(name), EFOpenError);
  EXPECT_EQ(item.DataSize(), 0);
}

TEST(SkinCollection, StoredLayoutRoundTripsAndDamageChangesNothing) {
  TSkinCollection c;
  c.Add().Data().Assign({5, 6});
  c.Add();
  c.Add().SetName("third");
  std::vector<uint8_t> stored = c.WriteItems();
  // name length, name, count, bytes
  EXPECT_EQ(
      std::vector<uint8_t>(stored.begin(), stored.begin() + 19),
      (std::vector<uint8_t>{9, 0, 0, 0, 'S', 'k', 'i', 'n', 'I', 't', 'e', 'm', '0', 2, 0, 0, 0, 5, 6}));
  TSkinCollection read;
  read.ReadItems(stored);
  EXPECT_EQ(read.WriteItems(), stored);
  for (size_t cut = 1; cut < stored.size(); ++cut) {
    std::vector<uint8_t> damaged(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(cut));
    if (cut == 19 || cut == 36) continue;  // ends between two whole items: a shorter valid store
    EXPECT_THROW(read.ReadItems(damaged), std::invalid_argument) << cut;
    EXPECT_EQ(read.Count(), 3) << cut;
  }
  TSkinCollection twice;
  twice.Add();
  std::vector<uint8_t> one = twice.WriteItems();
  one.insert(one.end(), one.begin(), one.end());
  EXPECT_THROW(read.ReadItems(one), std::invalid_argument);
  EXPECT_EQ(read.Count(), 3);
}

}  // namespace
}  // namespace skin
