// Writing korva.ini: the bytes, and what the file keeps of itself when it is
// replaced; read-only files, links, pipes, directories and a full disk.

#include <sys/mount.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "SettingsTesting.h"

using namespace testing_support;

namespace {

const std::string kNewContent = "MYCALL-3\n5224.12N00823.12E\nMY TEXT max. 64 characters\n-\n"
                                "APRS,WIDE2-2\n50\n4\n0\n";
const std::string kOldContent = "OLD1\nOLD2\nOLD3\nO\nOLD5\n9\n3\n1\n";

bool IsOnly(const std::string& folder, const std::vector<std::string>& names) {
  return FolderEntries(folder) == names;
}

TEST_F(SettingsFileTest, WritesEachValueFollowedByOneLf) {
  struct Case {
    const char* what;
    TSettings settings;
    std::string bytes;
  };
  const Case cases[] = {
      {"the stored layout's values: 76 bytes", StoredLayoutValues(), kNewContent},
      {"blanks and empty values kept", Record({" A ", "", "  ", "-", "", "", "", "0"}),
       " A \n\n  \n-\n\n\n\n0\n"},
      {"bytes as they are", Record({"\x1A", "\xC3\xA4", "x\ty", "", "", "", "1", "1"}),
       "\x1A\n\xC3\xA4\nx\ty\n\n\n\n1\n1\n"},
      // The rest would be read as the next values.
      {"a value ends at its first line break",
       Record({"AB\nCD", "P\rQ", "T\r\nU", "\nX", "A\n\nB", "5\n0", "4\n", "0\r"}),
       "AB\nP\nT\n\nA\n5\n4\n0\n"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.settings.Write(TSettings::kFileName)) << c.what;
    EXPECT_EQ(ReadFile(TSettings::kFileName), c.bytes) << c.what;
  }
}

TEST_F(SettingsFileTest, AFileReadIsWrittenBackWithLfAloneAndEightLines) {
  const std::pair<const char*, std::string> cases[] = {
      {"CR LF", "A\r\nB\r\nC\r\nD\r\nE\r\nF\r\n3\r\n1\r\n"},
      {"lone CR", "A\rB\rC\rD\rE\rF\r3\r1\r"},
      {"more than eight lines", "A\nB\nC\nD\nE\nF\n3\n1\nG\nH\n"},
  };
  for (const auto& [what, content] : cases) {
    WriteFile(TSettings::kFileName, content);
    TSettings settings;
    settings.Read(TSettings::kFileName);
    ASSERT_TRUE(settings.Write(TSettings::kFileName)) << what;
    EXPECT_EQ(ReadFile(TSettings::kFileName), "A\nB\nC\nD\nE\nF\n3\n1\n") << what;
  }
}

TEST_F(SettingsFileTest, ANewFileGetsReadAndWriteForAllLessTheUmask) {
  const std::pair<mode_t, mode_t> cases[] = {{022, 0644}, {077, 0600}, {0, 0666}, {027, 0640}};
  for (const auto& [mask, mode] : cases) {
    ::unlink(TSettings::kFileName);
    const mode_t before = ::umask(mask);
    const bool written = StoredLayoutValues().Write(TSettings::kFileName);
    ::umask(before);
    ASSERT_TRUE(written) << std::oct << mask;
    EXPECT_EQ(LStat(TSettings::kFileName).st_mode & 07777, mode) << std::oct << mask;
    EXPECT_TRUE(IsOnly(".", {TSettings::kFileName})) << std::oct << mask;
  }
}

// The old file is replaced, not rewritten: a new inode with the old one's
// mode, owner and group.
TEST_F(SettingsFileTest, AReplacedFileKeepsItsModeOwnerAndGroup) {
  SKIP_WITHOUT_ROOT_POWERS();
  struct Case {
    mode_t mode;
    uid_t owner;
    gid_t group;
  };
  const Case cases[] = {{0640, kNobody, kNogroup}, {0604, 0, kNogroup}, {02660, kNobody, 0}};
  for (const Case& c : cases) {
    WriteFile(TSettings::kFileName, kOldContent, c.mode);
    ASSERT_EQ(0, ::chown(TSettings::kFileName, c.owner, c.group));
    ASSERT_EQ(0, ::chmod(TSettings::kFileName, c.mode));
    const ino_t oldInode = LStat(TSettings::kFileName).st_ino;
    ASSERT_TRUE(StoredLayoutValues().Write(TSettings::kFileName)) << std::oct << c.mode;
    const struct stat now = LStat(TSettings::kFileName);
    EXPECT_NE(now.st_ino, oldInode) << "rewritten in place";
    EXPECT_EQ(now.st_mode & 07777, c.mode);
    EXPECT_EQ(now.st_uid, c.owner) << std::oct << c.mode;
    EXPECT_EQ(now.st_gid, c.group) << std::oct << c.mode;
    EXPECT_EQ(ReadFile(TSettings::kFileName), kNewContent);
    EXPECT_TRUE(IsOnly(".", {TSettings::kFileName}));
  }
}

// As root every file is writable: these need a user the permissions bind.
TEST_F(SettingsFileTest, PermissionsOfAnUnprivilegedUser) {
  SKIP_WITHOUT_ROOT_POWERS();
  struct Case {
    const char* what;
    void (*make)();
    const char* path;
    bool written, sameInode;
  };
  const Case cases[] = {
      {"a read-only file in a folder the user may write",
       [] {
         WriteFile("korva.ini", kOldContent, 0444);
         ASSERT_EQ(0, ::chown("korva.ini", kNobody, kNogroup));
       },
       "korva.ini", false, true},
      {"a writable file in a folder that takes no new file",
       [] {
         ASSERT_EQ(0, ::mkdir("locked", 0755));
         WriteFile("locked/korva.ini", kOldContent, 0666);
       },
       "locked/korva.ini", true, true},
      {"no file, in a folder that takes no new file", [] { ASSERT_EQ(0, ::mkdir("locked", 0755)); },
       "locked/korva.ini", false, true},
      {"a writable file in a folder the user may write",
       [] { WriteFile("korva.ini", kOldContent, 0666); }, "korva.ini", true, false},
  };
  for (const Case& c : cases) {
    EmptyFolder(".");
    c.make();
    const std::string before = ReadFile(c.path);
    const ino_t oldInode = LStat(c.path).st_ino;
    const std::string answer = AsNobody([&c] {
      TSettings settings;
      const std::size_t lines = settings.Read(c.path);
      const bool written = StoredLayoutValues().Write(c.path);
      return std::to_string(lines) + (written ? " written" : " not written");
    });
    const bool existed = before != "<missing>";
    EXPECT_EQ(answer, (existed ? "8" : "0") + std::string(c.written ? " written" : " not written"))
        << c.what;
    EXPECT_EQ(ReadFile(c.path), c.written ? kNewContent : before) << c.what;
    if (existed) {
      EXPECT_EQ(LStat(c.path).st_ino == oldInode, c.sameInode) << c.what;
    }
    const std::string folder = std::filesystem::path(c.path).parent_path().string();
    EXPECT_EQ(FolderEntries(folder.empty() ? "." : folder).size(), existed ? 1u : 0u)
        << c.what << ": a stray file";
  }
}

TEST_F(SettingsFileTest, AMemberOfTheFilesGroupKeepsItsGroup) {
  SKIP_WITHOUT_ROOT_POWERS();
  const gid_t hams = 4242;
  WriteFile(TSettings::kFileName, kOldContent, 0660);
  ASSERT_EQ(0, ::chown(TSettings::kFileName, kNobody, hams));
  const std::string answer =
      AsNobody([] { return StoredLayoutValues().Write(TSettings::kFileName) ? "written" : "not"; }, {hams});
  EXPECT_EQ(answer, "written");
  EXPECT_EQ(LStat(TSettings::kFileName).st_gid, hams);
  EXPECT_EQ(LStat(TSettings::kFileName).st_mode & 07777, 0660u);
}

TEST_F(SettingsFileTest, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // name, target
    std::string file;  // where the chain ends
    bool fileExists;
    std::vector<std::string> inReal;  // what the subfolder holds afterwards
  };
  const std::string absolute = folder.Path() + "/real/settings.txt";
  const Case cases[] = {
      {"relative, into a subfolder", {{"korva.ini", "real/settings.txt"}}, "real/settings.txt", true,
       {"settings.txt"}},
      {"absolute", {{"korva.ini", absolute}}, "real/settings.txt", true, {"settings.txt"}},
      {"a chain of two", {{"korva.ini", "middle.ini"}, {"middle.ini", "real/settings.txt"}},
       "real/settings.txt", true, {"settings.txt"}},
      {"relative to the link's own folder",
       {{"korva.ini", "real/link.ini"}, {"real/link.ini", "settings.txt"}}, "real/settings.txt", true,
       {"link.ini", "settings.txt"}},
      {"leading nowhere yet", {{"korva.ini", "real/settings.txt"}}, "real/settings.txt", false,
       {"settings.txt"}},
  };
  for (const Case& c : cases) {
    EmptyFolder(".");
    ASSERT_EQ(0, ::mkdir("real", 0777));
    if (c.fileExists) WriteFile(c.file, kOldContent, 0640);
    for (const auto& [name, target] : c.links) ASSERT_EQ(0, ::symlink(target.c_str(), name.c_str()));
    ASSERT_TRUE(StoredLayoutValues().Write(TSettings::kFileName)) << c.what;
    for (const auto& [name, target] : c.links) {
      EXPECT_TRUE(S_ISLNK(LStat(name).st_mode)) << c.what << ": " << name;
      EXPECT_EQ(std::filesystem::read_symlink(name).string(), target) << c.what;
    }
    EXPECT_EQ(ReadFile(c.file), kNewContent) << c.what;
    EXPECT_EQ(LStat(c.file).st_mode & 07777, c.fileExists ? 0640u : 0666u & ~0022u) << c.what;
    EXPECT_TRUE(IsOnly("real", c.inReal)) << c.what << ": a stray file";
  }
}

TEST_F(SettingsFileTest, WhatIsNoPlainFileStaysWhatItIs) {
  // A pipe nobody reads refuses at once instead of holding the close.
  ASSERT_EQ(0, ::mkfifo("pipe.ini", 0666));
  EXPECT_FALSE(StoredLayoutValues().Write("pipe.ini"));
  EXPECT_TRUE(S_ISFIFO(LStat("pipe.ini").st_mode));

  ASSERT_EQ(0, ::mkdir("folder.ini", 0777));
  EXPECT_FALSE(StoredLayoutValues().Write("folder.ini"));
  EXPECT_TRUE(S_ISDIR(LStat("folder.ini").st_mode));
  EXPECT_TRUE(FolderEntries("folder.ini").empty());

  // Both names keep sharing one file.
  WriteFile("linked.ini", kOldContent);
  ASSERT_EQ(0, ::link("linked.ini", "other.ini"));
  EXPECT_TRUE(StoredLayoutValues().Write("linked.ini"));
  EXPECT_EQ(ReadFile("other.ini"), kNewContent);
  EXPECT_EQ(LStat("linked.ini").st_ino, LStat("other.ini").st_ino);

  EXPECT_TRUE(IsOnly(".", {"folder.ini", "linked.ini", "other.ini", "pipe.ini"}));
}

// A tiny tmpfs, filled up: the new content, longer than the old, finds no
// room, and the old file must not have been cut first. A file with a
// second name is rewritten in place, and must be refused before it is cut.
TEST_F(SettingsFileTest, AFullDiskLeavesTheOldFileWhole) {
  const std::pair<const char*, bool> cases[] = {{"one name", false}, {"a second name", true}};
  // Two pages of new content where only the old file's one page is taken.
  const TSettings longer = Record({std::string(3000, 'C'), std::string(3000, 'P'), "T", "-", "",
                                   "50", "4", "0"});
  for (const auto& [what, secondName] : cases) {
    EmptyFolder(".");
    ASSERT_EQ(0, ::mkdir("full", 0777));
    ASSERT_EQ(0, ::mount("korva-full", "full", "tmpfs", 0, "size=16k,mode=0777"))
        << std::strerror(errno);
    WriteFile("full/korva.ini", kOldContent);
    if (secondName) {
      ASSERT_EQ(0, ::link("full/korva.ini", "full/second.ini"));
    }
    const int filler = ::open("full/filler", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(filler, 0);
    const std::string block(4096, 'f');
    for (std::size_t size : {block.size(), std::size_t{1}})
      while (::write(filler, block.data(), size) > 0) {}
    ::close(filler);

    EXPECT_FALSE(longer.Write("full/korva.ini")) << what;
    EXPECT_EQ(ReadFile("full/korva.ini"), kOldContent) << what;
    const std::vector<std::string> names = secondName
                                               ? std::vector<std::string>{"filler", "korva.ini", "second.ini"}
                                               : std::vector<std::string>{"filler", "korva.ini"};
    EXPECT_TRUE(IsOnly("full", names)) << what;
    if (secondName) {
      EXPECT_EQ(LStat("full/korva.ini").st_ino, LStat("full/second.ini").st_ino) << what;
    }
    ::umount2("full", MNT_DETACH);
  }
}

}  // namespace
