#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "skin/archive/Streams.h"

namespace skin {
namespace {

TEST(MemoryStream, ReadsWritesAndSeeks) {
  TMemoryStream s;
  s.WriteInt32(-2);
  s.WriteBuffer("abc", 3);
  EXPECT_EQ(s.Size(), 7);
  EXPECT_EQ(s.Bytes()[0], 0xFE);
  EXPECT_EQ(s.Bytes()[3], 0xFF);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadInt32(), -2);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 3);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(s.Read(buf, 1), 0);
  // Writing past the end grows the stream with zeros in between.
  s.SetPosition(9);
  s.WriteBuffer("z", 1);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Bytes()[8], 0);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ShortReadsAreErrors) {
  TMemoryStream s;
  s.Assign({1, 2, 3});
  uint8_t buf[4];
  EXPECT_THROW(s.ReadBuffer(buf, 4), EReadError);
  s.SetPosition(0);
  EXPECT_THROW(s.ReadInt32(), EReadError);
}

TEST(MemoryStream, CopyFrom) {
  TMemoryStream source, target;
  source.Assign({1, 2, 3, 4, 5});
  source.SetPosition(3);
  EXPECT_EQ(target.CopyFrom(source, 0), 5);  // 0 copies everything from the start
  EXPECT_EQ(target.Bytes(), source.Bytes());
  source.SetPosition(1);
  target.Clear();
  EXPECT_EQ(target.CopyFrom(source, 2), 2);
  EXPECT_EQ(target.Bytes(), (std::vector<uint8_t>{2, 3}));
  EXPECT_THROW(target.CopyFrom(source, 10), EReadError);
}

TEST(FileStream, RoundTripAndErrors) {
  auto dir = std::filesystem::temp_directory_path() /
             ("skinstreams_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  std::string file = (dir / "data.bin").string();
  TMemoryStream out;
  out.Assign({9, 8, 7});
  out.SaveToFile(file);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.string()));
  TMemoryStream in;
  in.LoadFromFile(file);
  EXPECT_EQ(in.Bytes(), out.Bytes());
  {
    TFileStream f(file, TFileMode::fmOpenRead);
    EXPECT_EQ(f.Size(), 3);
    f.SetPosition(1);
    uint8_t b = 0;
    EXPECT_EQ(f.Read(&b, 1), 1);
    EXPECT_EQ(b, 8);
    EXPECT_EQ(f.Position(), 2);
  }
  EXPECT_THROW(TFileStream((dir / "missing").string(), TFileMode::fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir.string(), TFileMode::fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream((dir / "no" / "such").string(), TFileMode::fmCreate), EFCreateError);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace skin
