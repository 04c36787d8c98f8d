// The compact key sets behind grouping, DISTINCT and IN, and packed values.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "jet/sql/KeyTable.h"
#include "jet/sql/PackedValues.h"

namespace jet::sql {
namespace {

TEST(KeyTable, NumbersKeysInOrderOfFirstInsertionAndFindsThemByWholeBytes) {
  KeyTable table;
  const std::string prefix(300, 'k');  // long keys: lengths of two bytes in the arena
  for (int i = 0; i < 100000; ++i) {
    auto [number, added] = table.insert(prefix + std::to_string(i));
    ASSERT_TRUE(added);
    ASSERT_EQ(number, static_cast<size_t>(i));
  }
  EXPECT_EQ(table.insert(prefix + "4711"), std::make_pair(size_t{4711}, false));
  EXPECT_EQ(table.find(prefix + "99999"), 99999u);
  EXPECT_EQ(table.find(prefix + "100000"), KeyTable::npos);
  EXPECT_EQ(table.find(prefix), KeyTable::npos);  // a prefix of keys is not a key
  EXPECT_EQ(table.size(), 100000u);
  table.clear();
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(table.contains(prefix + "1"));
}

TEST(KeyTable, EmptyKeysEmbeddedZerosAndHugeKeysAreKeysLikeAnyOther) {
  KeyTable table;
  EXPECT_TRUE(table.insert("").second);
  EXPECT_TRUE(table.insert(std::string("a\0b", 3)).second);
  EXPECT_TRUE(table.insert(std::string("a\0c", 3)).second);
  EXPECT_TRUE(table.insert("a").second);
  const std::string huge(3 << 20, 'x');  // more than an arena block
  EXPECT_TRUE(table.insert(huge).second);
  EXPECT_FALSE(table.insert(huge).second);
  EXPECT_FALSE(table.insert("").second);
  EXPECT_EQ(table.find(std::string("a\0c", 3)), 2u);
  EXPECT_EQ(table.size(), 5u);
}

TEST(NumberSet, DenseWholeNumbersAsABitmap) {
  NumberSet set;
  for (int i = -500; i <= 5000; i += 2) set.add(i);
  set.add(-0.0);
  set.finish();
  EXPECT_TRUE(set.contains(-500));
  EXPECT_TRUE(set.contains(4998.0));
  EXPECT_TRUE(set.contains(0.0));
  EXPECT_TRUE(set.contains(-0.0));
  EXPECT_FALSE(set.contains(-499));
  EXPECT_FALSE(set.contains(-502));  // below the range
  EXPECT_FALSE(set.contains(4999));
  EXPECT_FALSE(set.contains(5002));  // past the range, still inside the bitmap's last word
  EXPECT_FALSE(set.contains(1e12));  // far above
  EXPECT_FALSE(set.contains(2.5));   // not a whole number
  EXPECT_FALSE(set.contains(std::nan("")));
  EXPECT_FALSE(set.contains(std::numeric_limits<double>::infinity()));
}

TEST(NumberSet, SparseOrFractionalNumbersAsAHashSet) {
  NumberSet set;
  const double freeBits = std::bit_cast<double>(0x7ff8dead0000beefULL);
  for (int i = 0; i < 1000; ++i) set.add(i * 1e9 + 0.5);
  set.add(-0.0);
  set.add(9007199254740993.0 * 4);  // beyond exact whole numbers
  set.add(freeBits);                // the bit pattern that marks a free slot
  set.finish();
  EXPECT_TRUE(set.contains(999e9 + 0.5));
  EXPECT_TRUE(set.contains(0.0));
  EXPECT_TRUE(set.contains(9007199254740993.0 * 4));
  EXPECT_TRUE(set.contains(freeBits));
  EXPECT_FALSE(set.contains(1e9));
  EXPECT_FALSE(set.contains(std::nan("")));
  set.clear();
  set.finish();
  EXPECT_FALSE(set.contains(0.0));
  NumberSet withoutFree;
  withoutFree.add(1.5);
  withoutFree.finish();
  EXPECT_FALSE(withoutFree.contains(freeBits));
}

TEST(NumberSet, WholeNumbersFollowedByOthersKeepEveryNumber) {
  NumberSet set;
  for (int i = 1; i <= 1000; ++i) set.add(i);
  set.add(2.5);  // no longer all 32-bit whole numbers
  set.add(3e9);
  set.add(-7);
  set.finish();
  for (double d : {1.0, 1000.0, 2.5, 3e9, -7.0}) EXPECT_TRUE(set.contains(d)) << d;
  for (double d : {0.0, 1001.0, 3.5, -3e9}) EXPECT_FALSE(set.contains(d)) << d;
}

TEST(PackedValues, EveryTypeComesBackAsItWent) {
  Decimal dec;
  dec.magnitude = (static_cast<unsigned __int128>(1) << 90) + 7;
  dec.scale = 4;
  dec.negative = true;
  Guid guid;
  for (size_t i = 0; i < 16; ++i) guid.bytes[i] = static_cast<uint8_t>(i * 17);
  const Row values = {Value(),
                      Value::boolean(true),
                      Value::boolean(false),
                      Value::byte(255),
                      Value::integer(-32768),
                      Value::longInt(-2147483647 - 1),
                      Value::currency(-922337203685477580LL),
                      Value::single(1.25f),
                      Value::dbl(-0.0),
                      Value::dateTime(45000.75),
                      Value::text(""),
                      Value::text("张伟 Ünïcode"),
                      Value::memo(std::string(70000, 'm')),
                      Value::binary({0, 1, 2}),
                      Value::longBinary(Bytes(5000, 0xAB)),
                      Value::guid(guid),
                      Value::decimal(dec)};
  std::string packed;
  for (const Value& v : values) packValue(packed, v);
  const char* at = packed.data();
  for (const Value& v : values) {
    Value back = unpackValue(at);
    EXPECT_EQ(back, v) << dataTypeName(v.type());
  }
  EXPECT_EQ(at, packed.data() + packed.size());
  at = packed.data();
  for (size_t i = 0; i < 8; ++i) unpackValue(at);
  EXPECT_TRUE(std::signbit(unpackValue(at).asDouble()));  // -0 is kept, not folded into 0
}

}  // namespace
}  // namespace jet::sql
