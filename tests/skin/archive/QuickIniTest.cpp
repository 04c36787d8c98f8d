#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "LzhTestUtil.h"
#include "skin/archive/WinSkinIni.h"

namespace skin::test {
namespace {

using Lines = std::vector<std::string>;

TQuickIni Loaded(const std::string& text) {
  TMemoryStream stream;
  stream.Assign(ToBytes(text));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

std::string Saved(const TQuickIni& ini) {
  TMemoryStream out;
  ini.SaveToStream(&out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

Lines Sections(const TQuickIni& ini) {
  Lines list;
  ini.ReadSections(&list);
  return list;
}

const char* kSample = "[A]\r\n  x = 1  \r\n; a comment\r\n\r\n[b]\ny=";

TEST(QuickIniLoad, KeepsOnlySignificantTrimmedLines) {
  TQuickIni ini = Loaded(kSample);
  EXPECT_EQ(ini.IniFile(), (Lines{"[A]", "x = 1", "[b]", "y="}));
  EXPECT_EQ(ini.ReadString("a", "X", "default"), "1");
  EXPECT_EQ(ini.ReadString("B", "y", "default"), "default");  // empty value
  EXPECT_EQ(Sections(ini), (Lines{"A", "b"}));
}

TEST(QuickIniLoad, LineEndsAndTheFirstNulEndTheText) {
  std::string text = "[s]\ra=1\n\rb=2\r\r\nc=3";
  text += '\0';
  text += "\r\nd=4";
  TQuickIni ini = Loaded(text);
  EXPECT_EQ(ini.IniFile(), (Lines{"[s]", "a=1", "b=2", "c=3"}));
  EXPECT_EQ(ini.ReadString("s", "d", "none"), "none");
}

TEST(QuickIniLoad, ReadsFromTheStreamPositionAndReplacesTheContent) {
  TMemoryStream stream;
  stream.Assign(ToBytes("[skip]\r\n[keep]\r\nk=v"));
  stream.SetPosition(8);
  TQuickIni ini = Loaded("[old]\r\nold=1");
  ini.LoadFromStream(&stream);
  EXPECT_EQ(ini.IniFile(), (Lines{"[keep]", "k=v"}));
  EXPECT_EQ(ini.ReadString("old", "old", "gone"), "gone");
  ini.LoadFromStream(nullptr);
  EXPECT_EQ(ini.IniFile(), (Lines{"[keep]", "k=v"}));
}

TEST(QuickIniRead, KeysAndSectionsIgnoreCase) {
  TQuickIni ini = Loaded("[Personality]\r\nSkinName = Blue Steel\r\nFrames=3\r\n");
  EXPECT_EQ(ini.ReadString("PERSONALITY", "skinname", ""), "Blue Steel");
  EXPECT_EQ(ini.ReadString("personality", "SKINNAME", ""), "Blue Steel");
  EXPECT_EQ(ini.ReadString("Personality", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Nowhere", "Frames", "dflt"), "dflt");
}

TEST(QuickIniRead, FirstOccurrenceOfAKeyWinsEvenWhenEmpty) {
  TQuickIni ini = Loaded("[s]\r\nk=first\r\nk=second\r\ne=\r\ne=later\r\n");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "first");
  EXPECT_EQ(ini.ReadString("s", "e", "dflt"), "dflt");
}

TEST(QuickIniRead, KeyBeforeTheFirstHeaderIsNeverFound) {
  TQuickIni ini = Loaded("orphan=1\r\n[s]\r\nk=2\r\n");
  EXPECT_EQ(ini.ReadString("", "orphan", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("s", "orphan", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("s", "k", "dflt"), "2");
}

TEST(QuickIniRead, ValueKeepsEverythingAfterTheFirstEquals) {
  TQuickIni ini = Loaded("[s]\r\nk=a=b\r\n  spaced  =  x = y  \r\n");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "a=b");
  EXPECT_EQ(ini.ReadString("s", "spaced", ""), "x = y");
}

TEST(QuickIniRead, SectionEndsAtTheNextHeader) {
  TQuickIni ini = Loaded("[one]\r\na=1\r\n[two]\r\nb=2\r\n");
  EXPECT_EQ(ini.ReadString("one", "b", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("two", "a", "dflt"), "dflt");
}

TEST(QuickIniRead, FirstOfEqualHeadersWins) {
  TQuickIni ini = Loaded("[s]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n");
  EXPECT_EQ(ini.ReadString("s", "a", ""), "1");
  EXPECT_EQ(ini.ReadString("s", "b", "dflt"), "dflt");
  EXPECT_EQ(Sections(ini), (Lines{"s", "S"}));
}

TEST(QuickIniRead, Integers) {
  TQuickIni ini = Loaded(
      "[n]\r\nhex1=0xFF\r\nhex2=0XFF\r\nhex3=$FF\r\nbare=ff\r\ndec=-42\r\nplus=+7\r\nshort=0x\r\n"
      "big=2147483648\r\nmin=-2147483648\r\nall=$FFFFFFFF\r\ntail=12a\r\nempty=\r\n");
  EXPECT_EQ(ini.ReadInteger("n", "hex1", -1), 255);
  EXPECT_EQ(ini.ReadInteger("n", "hex2", -1), 255);
  EXPECT_EQ(ini.ReadInteger("n", "hex3", -1), 255);
  EXPECT_EQ(ini.ReadInteger("n", "bare", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "dec", 0), -42);
  EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("n", "short", 9), 9);
  EXPECT_EQ(ini.ReadInteger("n", "big", 9), 9);
  EXPECT_EQ(ini.ReadInteger("n", "min", 9), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("n", "all", 9), -1);
  EXPECT_EQ(ini.ReadInteger("n", "tail", 9), 9);
  EXPECT_EQ(ini.ReadInteger("n", "empty", 9), 9);
  EXPECT_EQ(ini.ReadInteger("n", "missing", 5), 5);
}

TEST(QuickIniRead, Booleans) {
  TQuickIni ini = Loaded("[b]\r\non=1\r\noff=0\r\nfive=5\r\nword=yes\r\n");
  EXPECT_TRUE(ini.ReadBool("b", "on", false));
  EXPECT_FALSE(ini.ReadBool("b", "off", true));
  EXPECT_TRUE(ini.ReadBool("b", "five", false));
  EXPECT_TRUE(ini.ReadBool("b", "word", true));
  EXPECT_FALSE(ini.ReadBool("b", "word", false));
  EXPECT_TRUE(ini.ReadBool("b", "missing", true));
}

TEST(QuickIniRead, SectionListings) {
  TQuickIni ini = Loaded("[ Spaced ]\r\nKey One=1\r\nnovalue\r\n=x\r\nTwo=2\r\n[other]\r\nz=9\r\n");
  EXPECT_EQ(Sections(ini), (Lines{"Spaced", "other"}));
  Lines keys = {"stale"};
  ini.ReadSection(" Spaced ", &keys);
  EXPECT_EQ(keys, (Lines{"key one", "two"}));
  Lines values;
  ini.ReadSectionValues(" Spaced ", &values);
  EXPECT_EQ(values, (Lines{"Key One=1", "novalue", "=x", "Two=2"}));
  ini.ReadSection("missing", &keys);
  EXPECT_TRUE(keys.empty());
  ini.ReadSectionValues("missing", &values);
  EXPECT_TRUE(values.empty());
}

TEST(QuickIniRead, ListOperationsNeedAList) {
  TQuickIni ini = Loaded(kSample);
  EXPECT_THROW(ini.ReadSections(nullptr), EAssertionFailed);
  EXPECT_THROW(ini.ReadSection("a", nullptr), EAssertionFailed);
  try {
    ini.ReadSectionValues("a", nullptr);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "The parameter Strings is unassigned!");
  }
}

TEST(QuickIniWrite, IntoAnEarlierSectionKeepsLaterSectionsReadable) {
  TQuickIni ini = Loaded("[one]\r\na=1\r\n[two]\r\nb=2\r\n[three]\r\nc=3\r\n");
  ini.WriteString("one", "NewKey", "v");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "a=1", "NewKey=v", "[two]", "b=2", "[three]", "c=3"}));
  EXPECT_EQ(ini.ReadString("two", "b", ""), "2");
  EXPECT_EQ(ini.ReadString("three", "c", ""), "3");
  EXPECT_EQ(ini.ReadString("one", "newkey", ""), "v");
}

TEST(QuickIniWrite, ReplacesAppendsAndCreates) {
  TQuickIni ini = Loaded("[s]\r\nKey=old\r\n");
  ini.WriteString("S", "KEY", " new ");
  EXPECT_EQ(ini.IniFile(), (Lines{"[s]", "KEY= new "}));
  ini.WriteString("s", "more", "1");
  ini.WriteInteger("fresh", "n", -12);
  ini.WriteBool("fresh", "yes", true);
  ini.WriteBool("fresh", "no", false);
  ini.WriteString("bare", "", "ignored");
  EXPECT_EQ(ini.IniFile(),
            (Lines{"[s]", "KEY= new ", "more=1", "[fresh]", "n=-12", "yes=1", "no=0", "[bare]"}));
  EXPECT_EQ(ini.ReadInteger("fresh", "n", 0), -12);
  EXPECT_TRUE(ini.ReadBool("fresh", "yes", false));
  EXPECT_EQ(Sections(ini), (Lines{"s", "fresh", "bare"}));
}

TEST(QuickIniWrite, DeleteKeyKeepsTheIndexCorrect) {
  TQuickIni ini = Loaded("[one]\r\na=1\r\nb=2\r\n[two]\r\nc=3\r\n");
  ini.DeleteKey("one", "A");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "b=2", "[two]", "c=3"}));
  EXPECT_EQ(ini.ReadString("two", "c", ""), "3");
  ini.WriteString("two", "d", "4");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "b=2", "[two]", "c=3", "d=4"}));
  ini.WriteString("one", "e", "5");
  EXPECT_EQ(ini.ReadString("two", "d", ""), "4");
  ini.DeleteKey("one", "missing");
  ini.DeleteKey("missing", "b");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "b=2", "e=5", "[two]", "c=3", "d=4"}));
}

TEST(QuickIniWrite, EraseSectionKeepsTheIndexCorrect) {
  TQuickIni ini = Loaded("[one]\r\na=1\r\n[two]\r\nb=2\r\nb2=3\r\n[three]\r\nc=3\r\n");
  ini.EraseSection("TWO");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "a=1", "", "[three]", "c=3"}));
  EXPECT_EQ(ini.ReadString("three", "c", ""), "3");
  EXPECT_EQ(ini.ReadString("two", "b", "gone"), "gone");
  EXPECT_EQ(Sections(ini), (Lines{"one", "three"}));
  ini.WriteString("three", "d", "4");
  ini.WriteString("one", "z", "9");
  EXPECT_EQ(ini.IniFile(), (Lines{"[one]", "a=1", "", "z=9", "[three]", "c=3", "d=4"}));
  // At the very top no empty line takes its place.
  ini.EraseSection("one");
  EXPECT_EQ(ini.IniFile(), (Lines{"[three]", "c=3", "d=4"}));
  EXPECT_EQ(ini.ReadString("three", "d", ""), "4");
}

TEST(QuickIniWrite, EraseTheFirstOfEqualHeadersUncoversTheSecond) {
  TQuickIni ini = Loaded("[s]\r\na=1\r\n[s]\r\na=2\r\n");
  ini.EraseSection("s");
  EXPECT_EQ(ini.ReadString("s", "a", ""), "2");
}

TEST(QuickIniStore, AssigningLinesRebuildsTheIndex) {
  TQuickIni ini;
  ini.SetIniFile({"[x]", "k=1", " [notheader]", "[y]", "k=2"});
  EXPECT_EQ(ini.ReadString("y", "k", ""), "2");
  EXPECT_EQ(Sections(ini), (Lines{"x", "y"}));
  ini.Clear();
  EXPECT_TRUE(ini.IniFile().empty());
  EXPECT_EQ(ini.ReadString("x", "k", "dflt"), "dflt");
}

TEST(QuickIniStore, SaveWritesCrLfLines) {
  TQuickIni ini = Loaded(kSample);
  EXPECT_EQ(Saved(ini), "[A]\r\nx = 1\r\n[b]\r\ny=\r\n");
  ini.SaveToStream(nullptr);
  EXPECT_EQ(Saved(TQuickIni()), "");
}

class QuickIniFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("quickini_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Path(const char* name) { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(QuickIniFiles, PlainAndPackedRoundTrips) {
  TQuickIni ini = Loaded("[Personality]\r\nName=Steel\r\n[Colors]\r\nc3=0xC0C0C0\r\n");
  ini.SaveToFile(Path("plain.ini"));
  ini.SavetoZip(Path("packed.ini"));

  TQuickIni plain;
  plain.LoadFromFile(Path("plain.ini"));
  EXPECT_EQ(plain.IniFile(), ini.IniFile());

  TQuickIni packed;
  packed.LoadFromZip(Path("packed.ini"));
  EXPECT_EQ(packed.IniFile(), ini.IniFile());
  EXPECT_EQ(packed.ReadInteger("colors", "C3", 0), 0xC0C0C0);

  // The packed file is a packed block of the saved text.
  TMemoryStream file;
  file.LoadFromFile(Path("packed.ini"));
  EXPECT_EQ(UnpackBytes(file.Bytes()), ToBytes(Saved(ini)));
}

TEST_F(QuickIniFiles, FileErrorsPassToTheCaller) {
  TQuickIni ini = Loaded(kSample);
  EXPECT_THROW(ini.LoadFromFile(Path("missing.ini")), EFOpenError);
  EXPECT_THROW(ini.LoadFromZip(Path("missing.ini")), EFOpenError);
  EXPECT_THROW(ini.SaveToFile(Path("no/such/dir.ini")), EFCreateError);
  EXPECT_EQ(ini.IniFile(), (Lines{"[A]", "x = 1", "[b]", "y="}));

  TMemoryStream bad;
  bad.Assign({0x40, 0x00, 0x00, 0x00, 0x12});
  bad.SaveToFile(Path("bad.ini"));
  EXPECT_THROW(ini.LoadFromZip(Path("bad.ini")), ElzhException);
}

}  // namespace
}  // namespace skin::test
