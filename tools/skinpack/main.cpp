// skinpack: builds, unpacks and lists skin archives.
//   skinpack pack DIR OUT        a folder of 24-bit .bmp files and one .ini -> archive (format 70000)
//   skinpack unpack ARCHIVE DIR  every member into DIR
//   skinpack list ARCHIVE        format version, then each member's size and name
// --stored selects the stored-skin form (32-bit byte count, then the archive).
// Exit status: 0 success, 1 the operation failed, 2 usage error.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "SkinFolder.h"

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* kHelp =
    "Usage: skinpack [--stored] COMMAND ARGS\n"
    "\n"
    "Commands:\n"
    "  pack DIR OUT         pack a folder of 24-bit .bmp files and exactly one .ini file\n"
    "                       into the skin archive OUT (format version 70000); bitmaps\n"
    "                       are stored in name order, the .ini file last\n"
    "  unpack ARCHIVE DIR   write every member of ARCHIVE into the folder DIR\n"
    "  list ARCHIVE         print the format version and each member's size and name\n"
    "\n"
    "Options:\n"
    "  --stored             the archive is in stored-skin form: a 32-bit little-endian\n"
    "                       byte count followed by the packed archive\n"
    "  -h, --help           show this help\n"
    "\n"
    "Exit status: 0 on success, 1 when the operation fails, 2 on a usage error.\n";

struct UsageError {
  std::string message;
};

struct Command {
  std::string name;
  std::vector<std::string> args;
  bool stored = false;
  bool help = false;
};

Command Parse(int argc, char** argv) {
  Command cmd;
  std::vector<std::string> positional;
  bool optionsDone = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (!optionsDone && a == "--") {
      optionsDone = true;
    } else if (!optionsDone && (a == "-h" || a == "--help")) {
      cmd.help = true;
    } else if (!optionsDone && a == "--stored") {
      cmd.stored = true;
    } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
      throw UsageError{"unknown option " + a};
    } else {
      positional.push_back(a);
    }
  }
  if (cmd.help) return cmd;
  if (positional.empty()) throw UsageError{"no command given"};
  cmd.name = positional[0];
  cmd.args.assign(positional.begin() + 1, positional.end());
  size_t wanted = cmd.name == "pack" || cmd.name == "unpack" ? 2 : cmd.name == "list" ? 1 : 0;
  if (wanted == 0) throw UsageError{"unknown command \"" + cmd.name + "\""};
  if (cmd.args.size() != wanted)
    throw UsageError{cmd.name + " takes " + std::to_string(wanted) + " argument" + (wanted > 1 ? "s" : "") +
                     ", got " + std::to_string(cmd.args.size())};
  return cmd;
}

void Pack(const Command& cmd) {
  std::vector<skin::TSkinMember> members = skinpack::ReadSkinFolder(cmd.args[0]);
  std::vector<uint8_t> out = skinpack::PackArchive(members, cmd.stored);
  skinpack::WriteWholeFile(cmd.args[1], out);
  std::cout << "packed " << members.size() << " files into " << cmd.args[1] << " (" << out.size()
            << " bytes)\n";
}

void Unpack(const Command& cmd) {
  skinpack::UnpackedArchive archive =
      skinpack::UnpackArchive(skinpack::ReadWholeFile(cmd.args[0]), cmd.stored);
  skinpack::WriteSkinFolder(archive, cmd.args[1]);
  std::cout << "unpacked " << archive.members.size() << " files into " << cmd.args[1] << "\n";
}

void List(const Command& cmd) {
  skinpack::UnpackedArchive archive =
      skinpack::UnpackArchive(skinpack::ReadWholeFile(cmd.args[0]), cmd.stored);
  std::cout << "version " << archive.header.Version << ", " << archive.members.size() << " members\n";
  for (const skin::TSkinMember& m : archive.members) {
    char size[32];
    std::snprintf(size, sizeof size, "%10zu", m.data.size());
    std::cout << size << "  " << m.name << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  Command cmd;
  try {
    cmd = Parse(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "skinpack: " << e.message << "\n" << kHelp;
    return kUsage;
  }
  if (cmd.help) {
    std::cout << kHelp;
    return kOk;
  }
  try {
    if (cmd.name == "pack")
      Pack(cmd);
    else if (cmd.name == "unpack")
      Unpack(cmd);
    else
      List(cmd);
  } catch (const std::exception& e) {
    std::cerr << "skinpack: " << cmd.name << ": " << e.what() << "\n";
    return kFailed;
  }
  return kOk;
}
