// skingen: draws Quellmark's skin and writes its members.
//   skingen OUT_DIR [--variant main|test] [--expect FILE]
//       every bitmap (24-bit BMP) and the INI definition into OUT_DIR, ready
//       for "skinpack pack"; --expect also lists every value written
//   skingen --contact-sheet OUT.png [--variant main|test]
//   skingen --mock OUT.png [--variant main|test]
//       pictures for looking at the skin: every bitmap at 1x and 4x under a
//       mock window, or the mock window alone at 2x
// The output is the same bytes on every run. Exit status: 0 success,
// 1 a file could not be written, 2 usage error.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "ContactSheet.h"
#include "ImageFiles.h"
#include "SkinDefinition.h"

namespace {

const char* kHelp =
    "Usage: skingen OUT_DIR [--variant main|test] [--expect FILE]\n"
    "       skingen --contact-sheet OUT.png [--variant main|test]\n"
    "       skingen --mock OUT.png [--variant main|test]\n"
    "\n"
    "Draws the skin's bitmaps and writes them with its INI definition into OUT_DIR.\n"
    "  --variant main|test   the production skin (default) or the test skin, which\n"
    "                        sets every key the skin loader reads\n"
    "  --expect FILE         also write every bitmap's size and frame count and\n"
    "                        every INI value, one per line, to FILE\n"
    "  --contact-sheet OUT   a PNG of every bitmap at 1x and 4x under a mock window\n"
    "  --mock OUT            a PNG of the mock window at 2x\n";

struct Options {
  std::string outDir, expectFile, sheetFile, mockFile;
  skingen::Variant variant = skingen::Variant::Main;
};

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "skingen: cannot write " << path.string() << "\n";
  return static_cast<bool>(out);
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string variant;
    if (a == "--variant") {
      if (!value(variant) || (variant != "main" && variant != "test")) return false;
      o.variant = variant == "test" ? skingen::Variant::Test : skingen::Variant::Main;
    } else if (a == "--expect") {
      if (!value(o.expectFile)) return false;
    } else if (a == "--contact-sheet") {
      if (!value(o.sheetFile)) return false;
    } else if (a == "--mock") {
      if (!value(o.mockFile)) return false;
    } else if (!a.empty() && a[0] != '-' && o.outDir.empty()) {
      o.outDir = a;
    } else {
      return false;
    }
  }
  return !o.outDir.empty() || !o.sheetFile.empty() || !o.mockFile.empty();
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "-h" || std::string(argv[i]) == "--help") {
      std::cout << kHelp;
      return 0;
    }
  Options o;
  if (!Parse(argc, argv, o)) {
    std::cerr << "skingen: bad arguments\n" << kHelp;
    return 2;
  }
  skingen::SkinDefinition skin = skingen::BuildSkin(o.variant);
  bool ok = true;
  if (!o.outDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(o.outDir, ec);
    for (const skingen::SkinMember& m : skin.Members())
      ok = WriteFile(std::filesystem::path(o.outDir) / m.name, m.bytes) && ok;
  }
  if (!o.expectFile.empty()) {
    std::string text = skin.Expectations();
    ok = WriteFile(o.expectFile, std::vector<uint8_t>(text.begin(), text.end())) && ok;
  }
  if (!o.sheetFile.empty())
    ok = WriteFile(o.sheetFile, skingen::EncodePng(skingen::RenderContactSheet(skin))) && ok;
  if (!o.mockFile.empty())
    ok = WriteFile(o.mockFile, skingen::EncodePng(skingen::RenderMockWindow(skin).Enlarged(2))) && ok;
  return ok ? 0 : 1;
}
