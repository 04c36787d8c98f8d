#include <gtest/gtest.h>

#include <random>

#include "LzhTestUtil.h"

namespace skin::test {
namespace {

// ---- known answers ---------------------------------------------------------------
//
// Worked out by hand from the algorithm. At the start the Huffman tree pairs
// nodes in index order: node n (n < 626) has parent 314 + n / 2, the root is
// 626 and a node's bit is 1 when its index is odd. A symbol's code is the path
// from the root down to its leaf.
//   'A' (leaf 65): 625 623 619 610 592 557 487 346 65 -> 1 1 1 0 0 1 1 0 1
//   0   (leaf 0):  625 623 618 608 588 549 471 314 0  -> 1 1 0 0 0 1 1 0 0
//   256 (match of 3, leaf 256): 625 622 616 604 581 535 442 256 -> 1 0 0 0 1 1 0 0
//   313 (match of 60, leaf 313): 625 623 618 608 588 549 470 313 -> 1 1 0 0 0 1 0 1
// Position p is 3 prefix bits 000 for p < 64, then the low six bits of p.

TEST(LzhKnownAnswer, EmptyInputCodesOneSymbol) {
  // No input: the encoder still codes the first look-ahead byte, which starts
  // as 0: symbol 0 = 110001100, padded with zeros -> C6 00.
  EXPECT_EQ(PackBytes({}), (Bytes{0x00, 0x00, 0x00, 0x00, 0xC6, 0x00}));
}

TEST(LzhKnownAnswer, OneLiteral) {
  // 'A' = 111001101, then 7 padding bits: 11100110 1|0000000 -> E6 80.
  EXPECT_EQ(PackBytes(ToBytes("A")), (Bytes{0x01, 0x00, 0x00, 0x00, 0xE6, 0x80}));
}

TEST(LzhKnownAnswer, RepeatedLiteralUsesTheUpdatedTree) {
  // After the first 'A' its leaf (freq 2) swaps with node 313, the last node of
  // frequency 1; its new path is 625 623 618 608 588 549 470 313 -> 11000101.
  // Bits: 111001101 11000101 -> 11100110 11100010 1|0000000 -> E6 E2 80.
  // "AA" is two literals: a match needs at least three bytes.
  EXPECT_EQ(PackBytes(ToBytes("AA")), (Bytes{0x02, 0x00, 0x00, 0x00, 0xE6, 0xE2, 0x80}));
}

TEST(LzhKnownAnswer, SpacesMatchThePrefilledRing) {
  // The ring starts filled with spaces, so three spaces are one match of
  // length 3 (symbol 256 = 10001100) at distance code 0 (000 000000):
  // 10001100 00000000 0|0000000 -> 8C 00 00.
  EXPECT_EQ(PackBytes(ToBytes("   ")), (Bytes{0x03, 0x00, 0x00, 0x00, 0x8C, 0x00, 0x00}));
  // Sixty spaces are one longest match, symbol 313 = 11000101. While the ring
  // is primed, each of the positions 4035 down to 3976 matches its predecessor
  // in all 60 bytes and takes its place in the tree, so only 3976 is left to
  // match: distance code 4036 - 3976 - 1 = 59 = 000 111011.
  // 11000101 00011101 1|0000000 -> C5 1D 80.
  EXPECT_EQ(PackBytes(Bytes(60, ' ')), (Bytes{0x3C, 0x00, 0x00, 0x00, 0xC5, 0x1D, 0x80}));
}

TEST(LzhKnownAnswer, LiteralsThenAMatch) {
  // "abcabc": literals a, b, c, then a match of 3 three bytes back (code 2).
  //   'a' leaf 97: 625 623 619 611 594 561 495 362 97  -> 111101101
  //   'b' leaf 98: 625 623 619 611 594 561 495 363 98  -> 111101110
  //   'c' leaf 99: 625 623 619 611 594 561 495 363 99  -> 111101111
  //   (each update only swaps leaves with nodes 313, 312, 311; these paths
  //   and that of leaf 256 stay as they were)
  //   match of 3: 10001100, position 2: 000 000010
  // 111101101 111101110 111101111 10001100 000000010 (44 bits)
  // -> 11110110 11111011 10111101 11110001 10000000 0010|0000
  EXPECT_EQ(PackBytes(ToBytes("abcabc")),
            (Bytes{0x06, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0xBD, 0xF1, 0x80, 0x20}));
}

TEST(LzhKnownAnswer, NearerOfTwoEqualMatchesIsCoded) {
  // "abcXabcYabcZ": a b c X, match 3 (distance code 3), Y, match 3, Z. For the
  // second match both earlier "abc" are visited in the tree ("abcZ" sorts
  // after "abcX" and "abcY"); they tie at length 3 and the nearer one wins:
  // code 3, not 7.
  // Each literal's first update swaps its leaf with the last node of
  // frequency 1 (a->313, b->312, c->311, X->310, match 3->309, Y->308), so
  // the paths of the later symbols are those of the initial tree:
  //   'X' leaf 88: 625 623 619 611 594 560 493 358 88 -> 111100100
  //   'Y' leaf 89: 625 623 619 611 594 560 493 358 89 -> 111100101
  //   'Z' leaf 90: 625 623 619 611 594 560 493 359 90 -> 111100110
  //   second match 3, now at node 309: 625 623 618 608 588 548 468 309 -> 11000001
  // a b c X: 111101101 111101110 111101111 111100100
  // match: 10001100 000000011, Y: 111100101, match: 11000001 000000011, Z: 111100110
  // 88 bits -> F6 FB BD FE 48 C0 1F 97 04 07 E6
  EXPECT_EQ(PackBytes(ToBytes("abcXabcYabcZ")), (Bytes{0x0C, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0xBD, 0xFE, 0x48,
                                                       0xC0, 0x1F, 0x97, 0x04, 0x07, 0xE6}));
}

TEST(LzhKnownAnswer, DecodesTheHandWorkedStreams) {
  EXPECT_EQ(UnpackBytes({0x01, 0x00, 0x00, 0x00, 0xE6, 0x80}), ToBytes("A"));
  EXPECT_EQ(UnpackBytes({0x02, 0x00, 0x00, 0x00, 0xE6, 0xE2, 0x80}), ToBytes("AA"));
  EXPECT_EQ(UnpackBytes({0x03, 0x00, 0x00, 0x00, 0x8C, 0x00, 0x00}), ToBytes("   "));
  EXPECT_EQ(UnpackBytes({0x06, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0xBD, 0xF1, 0x80, 0x20}), ToBytes("abcabc"));
  // A shorter size stops early: only the first literal of "AA".
  EXPECT_EQ(UnpackBytes({0x01, 0x00, 0x00, 0x00, 0xE6, 0xE2, 0x80}), ToBytes("A"));
}

TEST(LzhKnownAnswer, MatchPastTheSizeStopsAtTheSize) {
  // The three-space match of 8C 00 00 with a size of 2 yields two spaces.
  EXPECT_EQ(UnpackBytes({0x02, 0x00, 0x00, 0x00, 0x8C, 0x00, 0x00}), ToBytes("  "));
}

// ---- round trips --------------------------------------------------------------------------

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

void ExpectRoundTrip(const Bytes& plain) {
  Bytes packed = PackBytes(plain);
  ASSERT_GE(packed.size(), 4u);
  uint32_t size = packed[0] | packed[1] << 8 | packed[2] << 16 | static_cast<uint32_t>(packed[3]) << 24;
  EXPECT_EQ(size, plain.size());
  EXPECT_EQ(UnpackBytes(packed), plain);
}

TEST(LzhRoundTrip, SmallInputs) {
  ExpectRoundTrip({});
  ExpectRoundTrip({0x00});
  ExpectRoundTrip({0xFF});
  ExpectRoundTrip(ToBytes("ab"));
  ExpectRoundTrip(ToBytes("abcXabcYabcZabc"));
  for (size_t n = 55; n <= 65; ++n) ExpectRoundTrip(RandomBytes(n, static_cast<uint32_t>(n)));
}

TEST(LzhRoundTrip, Runs) {
  ExpectRoundTrip(Bytes(100000, 'x'));
  ExpectRoundTrip(Bytes(5000, ' '));
  Bytes mixed;
  for (int i = 0; i < 300; ++i)
    mixed.insert(mixed.end(), static_cast<size_t>(i % 97 + 1), static_cast<uint8_t>(i));
  ExpectRoundTrip(mixed);
  Bytes runs(100000, 'x');
  EXPECT_LT(PackBytes(runs).size(), 2500u);
}

TEST(LzhRoundTrip, Text) {
  std::string text;
  for (int i = 0; text.size() < 200000; ++i)
    text += "[Button" + std::to_string(i % 37) + "]\r\nImage=btn" + std::to_string(i) +
            ".bmp\r\nFrames=3\r\nTile=0\r\n";
  Bytes plain = ToBytes(text);
  ExpectRoundTrip(plain);
  EXPECT_LT(PackBytes(plain).size(), plain.size() / 4);
}

TEST(LzhRoundTrip, RandomData) {
  for (uint32_t seed = 1; seed <= 5; ++seed) ExpectRoundTrip(RandomBytes(10000 + seed * 777, seed));
}

TEST(LzhRoundTrip, OneMegabyteMixed) {
  // Random stretches, copies of earlier stretches and runs: every code path
  // of the match trees, and several rebuilds of the Huffman tree.
  std::mt19937 rng(42);
  Bytes data;
  while (data.size() < 1024 * 1024) {
    switch (rng() % 3) {
      case 0:
        for (int i = 0; i < 200; ++i) data.push_back(static_cast<uint8_t>(rng() % 16));
        break;
      case 1:
        if (data.size() > 5000) {
          size_t from = data.size() - 1 - rng() % 4000;
          size_t n = 3 + rng() % 100;
          for (size_t i = 0; i < n; ++i) data.push_back(data[from + i]);
        }
        break;
      default:
        data.insert(data.end(), 1 + rng() % 150, static_cast<uint8_t>(rng()));
        break;
    }
  }
  data.resize(1024 * 1024);
  ExpectRoundTrip(data);
}

TEST(LzhRoundTrip, OneCodecServesSeveralCalls) {
  TLZH lzh;
  for (const Bytes& plain : {ToBytes("first call"), RandomBytes(3000, 9), Bytes()}) {
    TMemoryStream in, packed, out;
    in.Assign(plain);
    lzh.PackBlock(in, packed);
    lzh.UnpackBlock(packed, out);
    EXPECT_EQ(out.Bytes(), plain);
  }
}

// ---- the callback interface -------------------------------------------------------------------

TEST(LzhCallbacks, SizeZeroReadsNothing) {
  TLZH lzh;
  int reads = 0, writes = 0;
  TReadProc get = [&](uint8_t*, uint16_t, uint16_t& got) {
    ++reads;
    got = 0;
  };
  TWriteProc put = [&](const uint8_t*, uint16_t n, uint16_t& taken) {
    ++writes;
    taken = n;
  };
  lzh.LZHUnpack(0, get, put);
  lzh.LZHUnpack(-5, get, put);
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(writes, 0);
}

TEST(LzhCallbacks, PackReportsSourceBytesAndUsesOneByteCalls) {
  Bytes plain = ToBytes("hello hello hello hello");
  size_t next = 0;
  Bytes stream;
  TReadProc get = [&](uint8_t* d, uint16_t n, uint16_t& got) {
    EXPECT_EQ(n, 1);
    got = next < plain.size() ? 1 : 0;
    if (got) *d = plain[next++];
  };
  TWriteProc put = [&](const uint8_t* d, uint16_t n, uint16_t& taken) {
    EXPECT_EQ(n, 1);
    stream.push_back(*d);
    taken = n;
  };
  TLZH lzh;
  int32_t written = -1;
  lzh.LZHPack(written, get, put);
  EXPECT_EQ(written, static_cast<int32_t>(plain.size()));

  Bytes block = {static_cast<uint8_t>(plain.size()), 0, 0, 0};
  block.insert(block.end(), stream.begin(), stream.end());
  EXPECT_EQ(block, PackBytes(plain));
}

TEST(LzhCallbacks, OutputErrorsPassToTheCaller) {
  TLZH lzh;
  Bytes packed = PackBytes(ToBytes("some text to unpack"));
  size_t next = 4;
  TReadProc get = [&](uint8_t* d, uint16_t, uint16_t& got) {
    got = next < packed.size() ? 1 : 0;
    if (got) *d = packed[next++];
  };
  TWriteProc put = [](const uint8_t*, uint16_t, uint16_t&) { throw EWriteError("disk full"); };
  EXPECT_THROW(lzh.LZHUnpack(19, get, put), EWriteError);
}

// ---- damaged blocks ---------------------------------------------------------------------------

TEST(LzhDamaged, BlockShorterThanItsSize) {
  EXPECT_THROW(UnpackBytes({}), ElzhException);
  EXPECT_THROW(UnpackBytes({0x01, 0x00}), ElzhException);
}

TEST(LzhDamaged, SizeAboveTheCap) {
  Bytes block = {0x01, 0x00, 0x00, 0x05};  // 80 MiB
  block.resize(1 << 20, 0);
  EXPECT_THROW(UnpackBytes(block), ElzhException);
}

TEST(LzhDamaged, SizeTheStreamCannotYield) {
  // Three stream bytes are at most 24 symbols of at most 60 bytes each.
  EXPECT_THROW(UnpackBytes({0xA1, 0x05, 0x00, 0x00, 0x8C, 0x00, 0x00}), ElzhException);
  EXPECT_THROW(UnpackBytes({0x10, 0x00, 0x00, 0x00}), ElzhException);
}

TEST(LzhDamaged, StreamEndsEarly) {
  Bytes plain = RandomBytes(20000, 7);
  Bytes packed = PackBytes(plain);
  for (size_t keep : {packed.size() / 2, packed.size() - 2, size_t{5}}) {
    Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(keep));
    EXPECT_THROW(UnpackBytes(cut), ElzhException) << "kept " << keep;
  }
}

TEST(LzhDamaged, GarbageNeverCrashes) {
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    Bytes block = RandomBytes(4 + rng() % 300, static_cast<uint32_t>(round));
    uint32_t size = rng() % 20000;
    for (int i = 0; i < 4; ++i) block[static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    try {
      Bytes out = UnpackBytes(block);
      EXPECT_EQ(out.size(), size);
    } catch (const ElzhException&) {
    }
  }
}

TEST(LzhDamaged, PackRefusesInputAboveTheCap) {
  // A stream that claims to be larger than a packed block may describe.
  struct HugeStream : TStream {
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Size() const override { return int64_t{TLZH::MaxUnpackedSize} + 1; }
    int64_t Position() const override { return 0; }
    void SetPosition(int64_t) override {}
  } huge;
  TMemoryStream out;
  TLZH lzh;
  EXPECT_THROW(lzh.PackBlock(huge, out), ElzhException);
}

}  // namespace
}  // namespace skin::test
