// The skin store component: its items stored in a definition and read back.
#include "skin/archive/WinSkinStore.h"

#include <gtest/gtest.h>

#include "gui/FormReader.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

TEST(WinSkinStore, DefinitionRoundTripKeepsNamesOrderAndBytes) {
  RegisterSkinComponents();
  TSkinStore original(nullptr);
  original.Store().Add().Data().Assign({1, 2, 3});
  original.Store().Add();  // an empty item is stored too
  TSkinCollectionItem& third = original.Store().Add();
  third.SetName("蓝色");
  third.Data().Assign(std::vector<uint8_t>(300, 0xAB));
  std::string text = "object Holder: TComponent\n  object SkinStore1: TSkinStore\n    Store = {" +
                     Hex(original.WriteStoreProperty()) + "}\n  end\nend\n";
  fw::TComponent root(nullptr);
  fw::ReadDefinition(root, text);
  auto& read = static_cast<TSkinStore&>(*root.FindComponent(L"SkinStore1"));
  ASSERT_EQ(read.Store().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(read.Store().Item(i).Name(), original.Store().Item(i).Name());
    EXPECT_EQ(read.Store().Item(i).Data().Bytes(), original.Store().Item(i).Data().Bytes());
  }
  EXPECT_EQ(read.WriteStoreProperty(), original.WriteStoreProperty());
}

TEST(WinSkinStore, DamagedStoreIsRefusedNamingTheLine) {
  RegisterSkinComponents();
  fw::TComponent root(nullptr);
  // A name length of 9 with only 2 bytes behind it.
  EXPECT_THROW(
      fw::ReadDefinition(root,
                         "object Holder: TComponent\n  object S: TSkinStore\n    Store = {090000004142}\n"
                         "  end\nend\n"),
      std::runtime_error);
}

TEST(WinSkinStore, SettingStoreCopiesTheCollection) {
  TSkinStore store(nullptr);
  TSkinCollection other;
  other.Add().Data().Assign({9});
  store.SetStore(&other);
  ASSERT_EQ(store.Store().Count(), 1);
  EXPECT_EQ(store.Store().Item(0).DataSize(), 1);
  store.SetStore(nullptr);
  EXPECT_EQ(store.Store().Count(), 1);
}

}  // namespace
}  // namespace skin
