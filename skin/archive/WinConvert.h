// TLZH: the skin engine's LZH codec. LZSS matching over a 4096-byte ring with
// binary search trees, an adaptive Huffman code for literals and match lengths,
// and a fixed prefix code for the upper six bits of match positions. The bit
// stream is the one every stored skin is packed with, so the encoder and the
// decoder follow the published scheme step for step.
//
// The codec moves bytes through two callbacks only. Its callers frame the bit
// stream in a packed block: a 4-byte little-endian unpacked size, then the bits
// (PackBlock / UnpackBlock). A packed block is untrusted input: a size the
// stream could not yield, a size above MaxUnpackedSize, or a stream that ends
// before the size is reached raises ElzhException.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "skin/archive/Streams.h"

namespace skin {

class ElzhException : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Fills DTA with up to NBytes bytes and reports how many it gave; 0 = input exhausted.
using TReadProc = std::function<void(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got)>;
// Takes NBytes bytes from DTA and reports how many it took.
using TWriteProc = std::function<void(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Put)>;

class TLZH {
 public:
  static constexpr int N = 4096;
  static constexpr int F = 60;
  static constexpr int THRESHOLD = 2;
  static constexpr int NIL = N;
  static constexpr int N_CHAR = 256 - THRESHOLD + F;
  static constexpr int T = 2 * N_CHAR - 1;
  static constexpr int R = T - 1;
  static constexpr unsigned MAX_FREQ = 0x8000;
  // No skin comes near this; it bounds the work an untrusted block can ask for.
  static constexpr int32_t MaxUnpackedSize = 64 * 1024 * 1024;
  // Incompressible data grows by about an eighth; twice the cap leaves room.
  static constexpr int64_t MaxPackedSize = 2 * int64_t{MaxUnpackedSize};
  // One symbol costs at least one bit and yields at most F bytes.
  static constexpr int64_t MaxBytesPerInputByte = 8 * F;

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Compresses everything GetBytes yields; writes no size header.
  void LZHPack(int32_t& Bytes_Written, const TReadProc& GetBytes, const TWriteProc& PutBytes);
  // Decodes until exactly TextSize bytes are produced; nothing when TextSize <= 0.
  void LZHUnpack(int32_t TextSize, const TReadProc& GetBytes, const TWriteProc& PutBytes);

  // Stream callbacks over StreamIn / StreamOut.
  void GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got);
  void PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got);

  TStream* StreamIn = nullptr;
  TStream* StreamOut = nullptr;

  // The packed-block framing: both streams are used from position 0.
  void PackBlock(TStream& source, TStream& target);
  void UnpackBlock(TStream& source, TStream& target);

 private:
  struct TTables;

  void AllocTables();
  void FreeTables();

  int GetBit();
  int GetByte();
  void FillBitBuffer();
  void ConsumeBits(int count);
  void PutCode(int l, uint16_t c);
  void EncodeEnd();

  void StartHuff();
  void Reconstruct();
  void UpdateModel(int c);
  void EncodeChar(int c);
  void EncodePosition(unsigned p);
  int DecodeChar();
  int DecodePosition();

  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);

  void WriteByte(uint8_t b);

  uint16_t code = 0;
  uint16_t len = 0;
  uint16_t getbuf = 0;
  uint8_t getlen = 0;
  uint8_t putlen = 0;
  uint16_t putbuf = 0;
  int32_t textsize = 0;
  int32_t codesize = 0;
  int16_t match_position = 0;
  int16_t match_length = 0;

  std::unique_ptr<TTables> fTables;
  const TReadProc* fGetBytes = nullptr;
  const TWriteProc* fPutBytes = nullptr;
  // Bits of real input not yet consumed; missing input reads as zero bits, but
  // consuming such a bit means the stream ended early.
  int64_t fBitsAvailable = 0;
};

}  // namespace skin
