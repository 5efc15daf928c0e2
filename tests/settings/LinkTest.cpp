// Symbolic links to korva.ini in folders that others may write: followed
// only where the kernel's protected_symlinks rule would follow them, so a
// link planted in /tmp by another user reads and overwrites nothing of the
// user's. The machine's own setting plays no part.

#include <unistd.h>

#include "SettingsTesting.h"

using namespace testing_support;

namespace {

constexpr uid_t kUser = 4201, kOther = 4202, kFolderOwner = 4203;
const std::string kOldContent = "OLD1\nOLD2\nOLD3\nO\nOLD5\n9\n3\n1\n";
const std::string kNewContent =
    "MYCALL-3\n5224.12N00823.12E\nMY TEXT max. 64 characters\n-\nAPRS,WIDE2-2\n50\n4\n0\n";

// One link of the chain: the folder it stands in, and who owns what.
struct Hop {
  std::string folder;
  mode_t folderMode;
  uid_t folderOwner, linkOwner;
};

struct LinkCase {
  const char* what;
  std::vector<Hop> chain;  // korva runs in the first folder; the last link names the file
  bool followed;
};

// The file at the end: one of the user's own, like ~/.profile.
std::string MakeUsersFile(const std::string& base) {
  EXPECT_EQ(0, ::mkdir("home", 0755));
  EXPECT_EQ(0, ::chown("home", kUser, kUser));
  WriteFile("home/profile", kOldContent, 0644);
  EXPECT_EQ(0, ::chown("home/profile", kUser, kUser));
  return base + "/home/profile";
}

// Makes the chain's folders and links, the last leading to `file`; the name
// of the first link, which korva opens.
void MakeChain(const std::string& base, const std::vector<Hop>& chain, const std::string& file) {
  for (std::size_t hop = 0; hop < chain.size(); ++hop) {
    const Hop& h = chain[hop];
    ASSERT_EQ(0, ::mkdir(h.folder.c_str(), 0755));
    const std::string link = h.folder + (hop == 0 ? "/korva.ini" : "/hop.ini");
    const std::string target =
        hop + 1 < chain.size() ? base + "/" + chain[hop + 1].folder + "/hop.ini" : file;
    ASSERT_EQ(0, ::symlink(target.c_str(), link.c_str()));
    ASSERT_EQ(0, ::lchown(link.c_str(), h.linkOwner, h.linkOwner));
    ASSERT_EQ(0, ::chown(h.folder.c_str(), h.folderOwner, h.folderOwner));
    ASSERT_EQ(0, ::chmod(h.folder.c_str(), h.folderMode));
  }
}

TEST_F(SettingsFileTest, ALinkIsFollowedOnlyWhereTheKernelsProtectionWouldFollowIt) {
  SKIP_WITHOUT_ROOT_POWERS();
  const LinkCase cases[] = {
      {"/tmp-like, root's: another user's link", {{"tmp", 01777, 0, kOther}}, false},
      {"/tmp-like, root's: the user's own link", {{"tmp", 01777, 0, kUser}}, true},
      {"/tmp-like, root's: root's link", {{"tmp", 01777, 0, 0}}, true},
      {"/tmp-like, a third user's: that user's link",
       {{"tmp", 01777, kFolderOwner, kFolderOwner}}, true},
      {"world-writable, not sticky: another user's link", {{"open", 0777, 0, kOther}}, true},
      {"sticky, writable by its group only: another user's link", {{"team", 01775, 0, kOther}},
       true},
      {"the user's own link, then another user's in /tmp",
       {{"own", 0755, kUser, kUser}, {"tmp", 01777, 0, kOther}}, false},
      {"another user's link in the user's folder, then the user's own in /tmp",
       {{"own", 0755, kUser, kOther}, {"tmp", 01777, 0, kUser}}, true},
  };
  for (const LinkCase& c : cases) {
    EmptyFolder(".");
    const std::string file = MakeUsersFile(folder.Path());
    MakeChain(folder.Path(), c.chain, file);
    const std::string answer = AsUserIn(kUser, c.chain[0].folder, [] {
      TSettings settings = StoredLayoutValues();
      const std::size_t lines = settings.Read(TSettings::kFileName);
      const bool written = StoredLayoutValues().Write(TSettings::kFileName);
      return std::to_string(lines) + " lines read, " + (written ? "written" : "not written");
    });
    EXPECT_EQ(answer, c.followed ? "8 lines read, written" : "0 lines read, not written") << c.what;
    EXPECT_EQ(ReadFile(file), c.followed ? kNewContent : kOldContent) << c.what;
    for (std::size_t hop = 0; hop < c.chain.size(); ++hop)
      EXPECT_EQ(FolderEntries(c.chain[hop].folder),
                std::vector<std::string>{hop == 0 ? "korva.ini" : "hop.ini"})
          << c.what << ": the link is gone, or a file came beside it";
    EXPECT_EQ(FolderEntries("home"), std::vector<std::string>{"profile"}) << c.what;
  }
}

}  // namespace
