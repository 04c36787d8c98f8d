#include "skin/archive/WinConvert.h"

#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace skin {

namespace {

// Upper six bits of a match position -> prefix code, left-aligned in 8 bits.
constexpr std::array<uint8_t, 64> p_len = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
};
constexpr std::array<uint8_t, 64> p_code = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

struct DecodeTables {
  std::array<uint8_t, 256> d_code{};
  std::array<uint8_t, 256> d_len{};
};

// The inverse of the position prefix code: the entry whose code matches the
// top p_len bits of each byte value. The codes form a complete prefix code,
// so every byte value has exactly one entry.
constexpr DecodeTables MakeDecodeTables() {
  DecodeTables t;
  for (int v = 0; v < 256; ++v) {
    for (int i = 0; i < 64; ++i) {
      int shift = 8 - p_len[i];
      if ((v >> shift) == (p_code[i] >> shift)) {
        t.d_code[v] = static_cast<uint8_t>(i);
        t.d_len[v] = p_len[i];
        break;
      }
    }
  }
  return t;
}
constexpr DecodeTables kDecode = MakeDecodeTables();
static_assert(kDecode.d_len[0x00] == 3 && kDecode.d_code[0x1F] == 0 && kDecode.d_code[0x20] == 1);
static_assert(kDecode.d_code[0xFF] == 63 && kDecode.d_len[0xEF] == 7 && kDecode.d_code[0xEF] == 47);

// Ring positions: a non-negative modulo, since N is a power of two.
constexpr int Ring(int v) {
  return v & (TLZH::N - 1);
}

// Number of equal leading bytes of two look-ahead windows, counted from the
// second byte (the first is equal by construction); F when all are equal.
// Eight bytes at a time: this comparison is where the encoder spends its time.
int CommonPrefix(const uint8_t* a, const uint8_t* b) {
  int i = 1;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= TLZH::F; i += 8) {
      uint64_t x, y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) return i + std::countr_zero(x ^ y) / 8;
    }
  }
  while (i < TLZH::F && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

struct TLZH::TTables {
  uint8_t text_buf[N + F - 1];
  uint16_t lson[N + 1];
  uint16_t dad[N + 1];
  uint16_t rson[N + 257];
  uint16_t freq[T + 1];
  uint16_t prnt[T + N_CHAR];
  uint16_t son[T];
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocTables() {
  // Value-initialised: the ring's look-ahead area starts as zeros, which fixes
  // the encoder's output for inputs shorter than the look-ahead.
  fTables.reset(new (std::nothrow) TTables());
  if (!fTables) throw ElzhException("LZH : Cannot get memory for dictionary tables");
}

void TLZH::FreeTables() {
  fTables.reset();
}

// ---- bit input --------------------------------------------------------------

void TLZH::FillBitBuffer() {
  while (getlen <= 8) {
    uint8_t b = 0;
    uint16_t got = 0;
    (*fGetBytes)(&b, 1, got);
    if (got == 0) {
      b = 0;
    } else {
      fBitsAvailable += 8;
    }
    getbuf = static_cast<uint16_t>(getbuf | (b << (8 - getlen)));
    getlen = static_cast<uint8_t>(getlen + 8);
  }
}

void TLZH::ConsumeBits(int count) {
  if (fBitsAvailable < count)
    throw ElzhException("LZH : Packed data ends before the unpacked size is reached");
  fBitsAvailable -= count;
}

int TLZH::GetBit() {
  FillBitBuffer();
  ConsumeBits(1);
  int bit = getbuf >> 15;
  getbuf = static_cast<uint16_t>(getbuf << 1);
  getlen = static_cast<uint8_t>(getlen - 1);
  return bit;
}

int TLZH::GetByte() {
  FillBitBuffer();
  ConsumeBits(8);
  int byte = getbuf >> 8;
  getbuf = static_cast<uint16_t>(getbuf << 8);
  getlen = static_cast<uint8_t>(getlen - 8);
  return byte;
}

// ---- bit output -------------------------------------------------------------

void TLZH::WriteByte(uint8_t b) {
  uint16_t put = 0;
  (*fPutBytes)(&b, 1, put);
}

// c holds l bits (l <= 16) left-aligned; fewer than 8 bits are pending on entry.
void TLZH::PutCode(int l, uint16_t c) {
  putbuf = static_cast<uint16_t>(putbuf | (c >> putlen));
  putlen = static_cast<uint8_t>(putlen + l);
  if (putlen >= 8) {
    WriteByte(static_cast<uint8_t>(putbuf >> 8));
    putlen = static_cast<uint8_t>(putlen - 8);
    if (putlen >= 8) {
      WriteByte(static_cast<uint8_t>(putbuf));
      codesize += 2;
      putlen = static_cast<uint8_t>(putlen - 8);
      putbuf = static_cast<uint16_t>(static_cast<uint32_t>(c) << (l - putlen));
    } else {
      putbuf = static_cast<uint16_t>(putbuf << 8);
      codesize += 1;
    }
  }
}

void TLZH::EncodeEnd() {
  if (putlen > 0) {
    WriteByte(static_cast<uint8_t>(putbuf >> 8));
    codesize += 1;
  }
}

// ---- adaptive Huffman model ----------------------------------------------------

void TLZH::StartHuff() {
  TTables& t = *fTables;
  for (int i = 0; i < N_CHAR; ++i) {
    t.freq[i] = 1;
    t.son[i] = static_cast<uint16_t>(i + T);
    t.prnt[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    t.freq[j] = static_cast<uint16_t>(t.freq[i] + t.freq[i + 1]);
    t.son[j] = static_cast<uint16_t>(i);
    t.prnt[i] = t.prnt[i + 1] = static_cast<uint16_t>(j);
  }
  t.freq[T] = 0xFFFF;
  t.prnt[R] = 0;
}

void TLZH::Reconstruct() {
  TTables& t = *fTables;
  // Leaves to the front, in their order, with halved frequencies.
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (t.son[i] >= T) {
      t.freq[j] = static_cast<uint16_t>((t.freq[i] + 1) / 2);
      t.son[j] = t.son[i];
      ++j;
    }
  }
  // Pair them again, keeping the frequencies sorted.
  for (int i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
    unsigned f = static_cast<unsigned>(t.freq[i]) + t.freq[i + 1];
    int k = jj - 1;
    while (f < t.freq[k]) --k;
    ++k;
    size_t moved = static_cast<size_t>(jj - k) * sizeof(uint16_t);
    std::memmove(&t.freq[k + 1], &t.freq[k], moved);
    t.freq[k] = static_cast<uint16_t>(f);
    std::memmove(&t.son[k + 1], &t.son[k], moved);
    t.son[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    int k = t.son[i];
    t.prnt[k] = static_cast<uint16_t>(i);
    if (k < T) t.prnt[k + 1] = static_cast<uint16_t>(i);
  }
}

void TLZH::UpdateModel(int c) {
  TTables& t = *fTables;
  if (t.freq[R] == MAX_FREQ) Reconstruct();
  c = t.prnt[c + T];
  do {
    unsigned k = ++t.freq[c];
    // Keep frequencies sorted: swap with the last node of a lower frequency.
    if (k > t.freq[c + 1]) {
      int l = c + 1;
      while (k > t.freq[l + 1]) ++l;  // freq[T] = 0xFFFF stops the scan
      t.freq[c] = t.freq[l];
      t.freq[l] = static_cast<uint16_t>(k);

      int i = t.son[c];
      t.prnt[i] = static_cast<uint16_t>(l);
      if (i < T) t.prnt[i + 1] = static_cast<uint16_t>(l);

      int j = t.son[l];
      t.son[l] = static_cast<uint16_t>(i);
      t.prnt[j] = static_cast<uint16_t>(c);
      if (j < T) t.prnt[j + 1] = static_cast<uint16_t>(c);
      t.son[c] = static_cast<uint16_t>(j);
      c = l;
    }
    c = t.prnt[c];
  } while (c != 0);
}

void TLZH::EncodeChar(int c) {
  TTables& t = *fTables;
  // The path from the leaf up to (not including) the root, collected so that
  // the root's branch ends up in the top bit.
  uint64_t path = 0;
  int steps = 0;
  int k = t.prnt[c + T];
  do {
    path >>= 1;
    if (k & 1) path |= uint64_t{1} << 63;
    ++steps;
    k = t.prnt[k];
  } while (k != R);
  // A sorted tree whose root weight stays below MAX_FREQ is far shallower.
  if (steps > 64) throw ElzhException("LZH : Huffman tree is deeper than 64 levels");
  code = static_cast<uint16_t>(path >> 48);
  len = static_cast<uint16_t>(steps);
  // Codes of up to 16 bits are written in one step, as the published coder
  // does; a deeper leaf (possible only for extreme frequency patterns) is
  // written in 16-bit pieces so that its code stays complete.
  for (int done = 0; done < steps; done += 16) {
    int piece = steps - done < 16 ? steps - done : 16;
    PutCode(piece, static_cast<uint16_t>((path << done) >> 48));
  }
  UpdateModel(c);
}

int TLZH::DecodeChar() {
  TTables& t = *fTables;
  unsigned c = t.son[R];
  while (c < static_cast<unsigned>(T)) c = t.son[c + GetBit()];
  int symbol = static_cast<int>(c) - T;
  UpdateModel(symbol);
  return symbol;
}

void TLZH::EncodePosition(unsigned p) {
  unsigned i = (p >> 6) & 0x3F;
  PutCode(p_len[i], static_cast<uint16_t>(p_code[i] << 8));
  PutCode(6, static_cast<uint16_t>((p & 0x3F) << 10));
}

int TLZH::DecodePosition() {
  unsigned i = static_cast<unsigned>(GetByte());
  unsigned c = static_cast<unsigned>(kDecode.d_code[i]) << 6;
  int j = kDecode.d_len[i] - 2;
  while (j-- > 0) i = (i << 1) + static_cast<unsigned>(GetBit());
  return static_cast<int>(c | (i & 0x3F));
}

// ---- match trees (encoder) ----------------------------------------------------------

void TLZH::InitTree() {
  TTables& t = *fTables;
  for (int i = N + 1; i <= N + 256; ++i) t.rson[i] = NIL;
  for (int i = 0; i <= N; ++i) t.dad[i] = NIL;
}

void TLZH::InsertNode(int r) {
  TTables& t = *fTables;
  const uint8_t* key = &t.text_buf[r];
  int cmp = 1;
  int p = N + 1 + key[0];
  t.rson[r] = t.lson[r] = NIL;
  match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (t.rson[p] != NIL) {
        p = t.rson[p];
      } else {
        t.rson[p] = static_cast<uint16_t>(r);
        t.dad[r] = static_cast<uint16_t>(p);
        return;
      }
    } else {
      if (t.lson[p] != NIL) {
        p = t.lson[p];
      } else {
        t.lson[p] = static_cast<uint16_t>(r);
        t.dad[r] = static_cast<uint16_t>(p);
        return;
      }
    }
    int i = CommonPrefix(key, &t.text_buf[p]);
    cmp = i < F ? key[i] - t.text_buf[p + i] : 0;
    if (i > THRESHOLD) {
      int position = Ring(r - p) - 1;
      if (i > match_length) {
        match_position = static_cast<int16_t>(position);
        match_length = static_cast<int16_t>(i);
        if (i >= F) break;
      } else if (i == match_length && position < match_position) {
        match_position = static_cast<int16_t>(position);  // the nearer match wins a tie
      }
    }
  }
  // A full match: r takes p's place in the tree.
  t.dad[r] = t.dad[p];
  t.lson[r] = t.lson[p];
  t.rson[r] = t.rson[p];
  t.dad[t.lson[p]] = static_cast<uint16_t>(r);
  t.dad[t.rson[p]] = static_cast<uint16_t>(r);
  if (t.rson[t.dad[p]] == p)
    t.rson[t.dad[p]] = static_cast<uint16_t>(r);
  else
    t.lson[t.dad[p]] = static_cast<uint16_t>(r);
  t.dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
  TTables& t = *fTables;
  if (t.dad[p] == NIL) return;
  int q;
  if (t.rson[p] == NIL) {
    q = t.lson[p];
  } else if (t.lson[p] == NIL) {
    q = t.rson[p];
  } else {
    q = t.lson[p];
    if (t.rson[q] != NIL) {
      do {
        q = t.rson[q];
      } while (t.rson[q] != NIL);
      t.rson[t.dad[q]] = t.lson[q];
      t.dad[t.lson[q]] = t.dad[q];
      t.lson[q] = t.lson[p];
      t.dad[t.lson[p]] = static_cast<uint16_t>(q);
    }
    t.rson[q] = t.rson[p];
    t.dad[t.rson[p]] = static_cast<uint16_t>(q);
  }
  t.dad[q] = t.dad[p];
  if (t.rson[t.dad[p]] == p)
    t.rson[t.dad[p]] = static_cast<uint16_t>(q);
  else
    t.lson[t.dad[p]] = static_cast<uint16_t>(q);
  t.dad[p] = NIL;
}

// ---- pack / unpack ----------------------------------------------------------------------

void TLZH::LZHPack(int32_t& Bytes_Written, const TReadProc& GetBytes, const TWriteProc& PutBytes) {
  fGetBytes = &GetBytes;
  fPutBytes = &PutBytes;
  AllocTables();
  try {
    TTables& t = *fTables;
    auto readByte = [&](uint8_t& c) {
      uint16_t got = 0;
      GetBytes(&c, 1, got);
      return got != 0;
    };
    textsize = 0;
    codesize = 0;
    putbuf = 0;
    putlen = 0;
    StartHuff();
    InitTree();
    int s = 0;
    int r = N - F;
    std::memset(t.text_buf, ' ', static_cast<size_t>(r));
    int len = 0;
    uint8_t c = 0;
    while (len < F && readByte(c)) t.text_buf[r + len++] = c;
    textsize = len;
    for (int i = 1; i <= F; ++i) InsertNode(r - i);
    InsertNode(r);
    do {
      if (match_length > len) match_length = static_cast<int16_t>(len);
      if (match_length <= THRESHOLD) {
        match_length = 1;
        EncodeChar(t.text_buf[r]);
      } else {
        EncodeChar(255 - THRESHOLD + match_length);
        EncodePosition(static_cast<unsigned>(match_position));
      }
      int last = match_length;
      int i = 0;
      for (; i < last && readByte(c); ++i) {
        DeleteNode(s);
        t.text_buf[s] = c;
        if (s < F - 1) t.text_buf[s + N] = c;
        s = Ring(s + 1);
        r = Ring(r + 1);
        InsertNode(r);
      }
      if (textsize > std::numeric_limits<int32_t>::max() - i)
        throw ElzhException("LZH : Input is larger than 2 GB");
      textsize += i;
      while (i++ < last) {
        DeleteNode(s);
        s = Ring(s + 1);
        r = Ring(r + 1);
        if (--len) InsertNode(r);
      }
    } while (len > 0);
    EncodeEnd();
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
  Bytes_Written = textsize;
}

void TLZH::LZHUnpack(int32_t TextSize, const TReadProc& GetBytes, const TWriteProc& PutBytes) {
  if (TextSize <= 0) return;
  if (TextSize > MaxUnpackedSize)
    throw ElzhException("LZH : Unpacked size " + std::to_string(TextSize) + " exceeds the 64 MiB limit");
  fGetBytes = &GetBytes;
  fPutBytes = &PutBytes;
  AllocTables();
  try {
    TTables& t = *fTables;
    getbuf = 0;
    getlen = 0;
    fBitsAvailable = 0;
    StartHuff();
    std::memset(t.text_buf, ' ', N - F);
    int r = N - F;
    int32_t count = 0;
    while (count < TextSize) {
      int c = DecodeChar();
      if (c < 256) {
        uint8_t b = static_cast<uint8_t>(c);
        WriteByte(b);
        t.text_buf[r] = b;
        r = Ring(r + 1);
        ++count;
      } else {
        int i = Ring(r - DecodePosition() - 1);
        int j = c - 255 + THRESHOLD;
        // A damaged stream may code a match past the end; stop at the size.
        for (int k = 0; k < j && count < TextSize; ++k) {
          uint8_t b = t.text_buf[Ring(i + k)];
          WriteByte(b);
          t.text_buf[r] = b;
          r = Ring(r + 1);
          ++count;
        }
      }
    }
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
}

void TLZH::GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  Bytes_Got = static_cast<uint16_t>(StreamIn->Read(DTA, NBytes));
}

void TLZH::PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  StreamOut->WriteBuffer(DTA, NBytes);
  Bytes_Got = NBytes;
}

void TLZH::PackBlock(TStream& source, TStream& target) {
  StreamIn = &source;
  StreamOut = &target;
  source.SetPosition(0);
  target.SetPosition(0);
  int64_t size = source.Size();
  if (size > MaxUnpackedSize)
    throw ElzhException("LZH : Input of " + std::to_string(size) + " bytes exceeds the 64 MiB limit");
  target.WriteInt32(static_cast<int32_t>(size));
  TReadProc get = [this](uint8_t* d, uint16_t n, uint16_t& got) { GetBlockStream(d, n, got); };
  TWriteProc put = [this](const uint8_t* d, uint16_t n, uint16_t& put) { PutBlockStream(d, n, put); };
  int32_t written = 0;
  LZHPack(written, get, put);
}

void TLZH::UnpackBlock(TStream& source, TStream& target) {
  StreamIn = &source;
  StreamOut = &target;
  source.SetPosition(0);
  target.SetPosition(0);
  if (source.Size() < 4) throw ElzhException("LZH : Packed block is shorter than its 4-byte size");
  int32_t size = source.ReadInt32();
  if (size > MaxUnpackedSize)
    throw ElzhException("LZH : Unpacked size " + std::to_string(size) + " exceeds the 64 MiB limit");
  if (size > source.Remaining() * MaxBytesPerInputByte)
    throw ElzhException("LZH : Unpacked size " + std::to_string(size) + " is more than " +
                        std::to_string(source.Remaining()) + " bytes of packed data can hold");
  TReadProc get = [this](uint8_t* d, uint16_t n, uint16_t& got) { GetBlockStream(d, n, got); };
  TWriteProc put = [this](const uint8_t* d, uint16_t n, uint16_t& put) { PutBlockStream(d, n, put); };
  LZHUnpack(size, get, put);
}

}  // namespace skin
