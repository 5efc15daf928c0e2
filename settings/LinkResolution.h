#pragma once
// Where a file name leads once its symbolic links are followed, following
// only the links the kernel's fs.protected_symlinks would follow, whatever
// the machine has that set to: a link in a sticky, world-writable folder
// (such as /tmp) is followed only if this process's user or the folder's
// owner owns it. Otherwise anyone could plant "korva.ini" there, leading to
// a file of the user's own, and have it read or overwritten.
//
// Each link of the chain is checked, and read, through a descriptor of the
// link itself, and the folder it stands in is held open from the check
// until the caller has done its work, so what is checked is what is used.
// Links among the folders of a target are the kernel's to follow, as in any
// open (the rule above concerns the last name of a path alone).

#include <optional>
#include <string>

#include "TFileHandle.h"

struct TResolvedName {
  TFileHandle folder;  // an O_PATH descriptor of the folder holding `name`
  std::string name;    // no symbolic link when it was looked at, or nothing yet
};

// Nothing when a link on the way may not be followed, the chain is longer
// than the kernel's 40 links, or a folder on the way cannot be opened.
std::optional<TResolvedName> ResolveLinks(const std::string& path);

// The file `path` leads to, opened for reading if it is a plain file: not a
// pipe (which would block), not a device (which may never end), not a
// directory. An empty handle otherwise.
TFileHandle OpenPlainFileForReading(const std::string& path);
