#pragma once
// Giving a small file new content so that a full disk, a crash or a power
// cut leaves either the old bytes or the new ones, never a torn file.
//
// The new content goes into a fresh file beside the old one, reaches the
// disk, and is renamed over it; the directory is then synced. Beyond that:
// - a symbolic link stays a link: the file at the end of its chain is the
//   one replaced (created, if the chain ends nowhere); a chain holding a
//   link LinkResolution.h will not follow is left alone, and so is its end;
// - a new file gets 0666 less the umask (or the directory's default ACL);
// - a file replaced keeps its permission bits, and its owner and group as
//   far as this process may set them;
// - a file this process may not write is left alone;
// - where the directory takes no new file, or no rename over this one, but
//   the file itself is writable, it is rewritten in place;
// - a plain file with more than one hard link is rewritten in place too, so
//   all its names keep sharing it; so is what is not a plain file (a
//   device, a pipe), so it stays what it is;
// - a plain file rewritten in place first gets room for the new content
//   and only then is overwritten and cut to length, so a full disk refuses
//   before any old byte is touched, and the file is never empty;
// - a directory is left alone.
// The stray file of a replacement cut short by a crash (".NAME-XXXXXX")
// stays behind: a live one of another process looks just the same.

#include <string>

// True when `content` is now the file's whole content; errors are silent.
bool ReplaceFileContent(const std::string& path, const std::string& content);
