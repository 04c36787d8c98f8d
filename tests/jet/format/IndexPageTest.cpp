#include <gtest/gtest.h>

#include <random>

#include "jet/core/Error.h"
#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"

namespace jet::format {
namespace {

IndexEntry entry(uint32_t id, uint32_t page, uint8_t row) {
  KeyColumn c;
  c.type = DataType::Long;
  Bytes key;
  appendKeyColumn(key, c, Value::longInt(static_cast<int32_t>(id)), KeyOwner{"t", "i"});
  return IndexEntry{key, page, row, 0};
}

IndexPage leafWith(size_t n) {
  IndexPage p;
  p.tdefPage = 7;
  for (size_t i = 0; i < n; ++i) p.entries.push_back(entry(static_cast<uint32_t>(i), 0x123456, uint8_t(i)));
  p.prefixLength = commonPrefixLength(p.entries);
  return p;
}

TEST(IndexPageCodec, LeafRoundTripWithPrefixCompression) {
  IndexPage p = leafWith(40);
  p.prevPage = 3;
  p.nextPage = 9;
  EXPECT_EQ(p.prefixLength, 4u);  // 7F 80 00 00 shared by ids 0..39
  Bytes bytes = encodeIndexPage(p, IndexPageLayout::jet4());
  EXPECT_EQ(bytes[0], kIndexLeafPage);
  EXPECT_EQ(bytes[1], 0x01);
  // 40 entries of 9 bytes, all but the first without their 4-byte prefix.
  EXPECT_EQ(entryAreaBytes(p), 9u + 39u * 5u);
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), 4096 - 480 - int(entryAreaBytes(p)));
  IndexPage back = decodeIndexPage(bytes, IndexPageLayout::jet4(), 5);
  EXPECT_TRUE(back.leaf);
  EXPECT_EQ(back.entries, p.entries);
  EXPECT_EQ(back.prefixLength, 4u);
  EXPECT_EQ(back.prevPage, 3u);
  EXPECT_EQ(back.nextPage, 9u);
  EXPECT_EQ(back.tdefPage, 7u);
  EXPECT_EQ(encodeIndexPage(back, IndexPageLayout::jet4()), bytes);
}

TEST(IndexPageCodec, IntermediateAndJet3) {
  IndexPage child = leafWith(3);
  IndexPage node;
  node.leaf = false;
  node.flags = 1;
  node.tailPage = 77;
  node.entries.push_back(nodeEntryFor(child, 55));
  EXPECT_EQ(node.entries[0].key, child.entries.back().key);
  EXPECT_EQ(node.entries[0].childPage, 55u);
  for (IndexPageLayout layout : {IndexPageLayout::jet4(), IndexPageLayout::jet3()}) {
    Bytes bytes = encodeIndexPage(node, layout);
    ASSERT_EQ(bytes.size(), layout.pageSize);
    IndexPage back = decodeIndexPage(bytes, layout, 1);
    EXPECT_FALSE(back.leaf);
    EXPECT_EQ(back.tailPage, 77u);
    EXPECT_EQ(back.flags, 1);
    EXPECT_EQ(back.entries, node.entries);
  }
}

TEST(IndexPageCodec, EmptyRootPage) {
  IndexPage p;
  Bytes bytes = encodeIndexPage(p, IndexPageLayout::jet4());
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), 4096 - 480);
  EXPECT_TRUE(decodeIndexPage(bytes, IndexPageLayout::jet4(), 1).entries.empty());
}

TEST(IndexPageSplit, OverfullPageSplitsIntoTwoThatFit) {
  for (IndexPageLayout layout : {IndexPageLayout::jet4(), IndexPageLayout::jet3()}) {
    // Long text keys so that the page overflows with a few dozen entries.
    IndexPage p;
    KeyColumn c;
    c.type = DataType::Text;
    for (int i = 0; i < 60; ++i) {
      Bytes key;
      appendKeyColumn(key, c, Value::text(std::string(60, 'a') + std::to_string(1000 + i)),
                      KeyOwner{"t", "i"});
      p.entries.push_back(IndexEntry{key, 10, uint8_t(i), 0});
    }
    p.prefixLength = 0;  // without compression they do not fit
    EXPECT_FALSE(fitsOnPage(p, layout));
    EXPECT_THROW(encodeIndexPage(p, layout), FormatError);
    size_t at = chooseSplit(p, layout);
    auto [left, right] = splitPage(p, at);
    EXPECT_TRUE(fitsOnPage(left, layout));
    EXPECT_TRUE(fitsOnPage(right, layout));
    EXPECT_EQ(left.entries.size() + right.entries.size(), p.entries.size());
    EXPECT_EQ(left.entries.back(), p.entries[at - 1]);
    EXPECT_EQ(right.entries.front(), p.entries[at]);
    EXPECT_GT(left.prefixLength, 60u);  // the halves compress their shared "aaa..."
    // Balanced to within one entry's bytes.
    EXPECT_NEAR(double(left.entries.size()), double(right.entries.size()), 2.0);
    EXPECT_NO_THROW(encodeIndexPage(left, layout));
    EXPECT_NO_THROW(encodeIndexPage(right, layout));
  }
}

TEST(IndexPageSplit, CapacityIsThePageOrTheBitmap) {
  EXPECT_EQ(IndexPageLayout::jet4().entryCapacity(), 4096u - 480u);
  EXPECT_EQ(IndexPageLayout::jet3().entryCapacity(), 2048u - 248u);
  IndexPage one;
  one.entries.push_back(IndexEntry{Bytes(3616 - 4, 0x7F), 1, 1, 0});
  EXPECT_TRUE(fitsOnPage(one, IndexPageLayout::jet4()));
  one.entries[0].key.push_back(0);
  EXPECT_FALSE(fitsOnPage(one, IndexPageLayout::jet4()));
  EXPECT_THROW(chooseSplit(one, IndexPageLayout::jet4()), FormatError);
}

TEST(IndexPageCodec, RefusesAPrefixTheEntriesDoNotShare) {
  IndexPage p = leafWith(2);
  p.entries[1].key[0] = 0x00;
  p.prefixLength = 3;
  EXPECT_THROW(encodeIndexPage(p, IndexPageLayout::jet4()), FormatError);
}

TEST(IndexPageCodec, DamagedPagesAreErrorsNotCrashes) {
  const IndexPageLayout layout = IndexPageLayout::jet4();
  Bytes good = encodeIndexPage(leafWith(10), layout);
  Bytes wrongType = good;
  wrongType[0] = 0x01;
  EXPECT_THROW(decodeIndexPage(wrongType, layout, 1), FormatError);
  Bytes pastEnd = good;
  pastEnd[layout.maskOffset + layout.maskSize - 1] = 0x80;  // an entry ending beyond the page
  EXPECT_THROW(decodeIndexPage(pastEnd, layout, 1), FormatError);
  Bytes longPrefix = good;
  longPrefix[layout.prefixOffset] = 200;
  EXPECT_THROW(decodeIndexPage(longPrefix, layout, 1), FormatError);
  EXPECT_THROW(decodeIndexPage(std::span(good).first(100), layout, 1), FormatError);
  // Random damage: decoding either succeeds or reports the page as corrupt.
  std::mt19937 rng(1);
  for (int i = 0; i < 500; ++i) {
    Bytes b = good;
    for (int k = 0; k < 20; ++k) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    b[0] = kIndexLeafPage;
    try {
      IndexPage p = decodeIndexPage(b, layout, 1);
      for (const IndexEntry& e : p.entries) EXPECT_LE(e.key.size(), layout.entryCapacity());
    } catch (const FormatError& e) {
      EXPECT_EQ(e.code(), ErrorCode::Corrupt);
    }
  }
}

}  // namespace
}  // namespace jet::format
