#pragma once
// The eight values of the main window that outlive a run, and their file:
// eight text lines, in the order of the members below, each value the bytes
// the window holds, unquoted and untrimmed. No toolkit here; what a value
// means for a control is the window's business.

#include <cstddef>
#include <string>

struct TSettings {
  static constexpr const char* kFileName = "korva.ini";  // in the working directory
  static constexpr std::size_t kLines = 8;
  // The most bytes a text entry of the window holds (GTK 2's GtkEntry):
  // more of a line could never be shown, nor written back.
  static constexpr std::size_t kLongestValue = 65534;

  std::string CallSign;      // Edit1
  std::string Position;      // Edit2
  std::string BeaconText;    // Edit3
  std::string Symbol;        // Edit4
  std::string Path;          // Edit5
  std::string TxDelay;       // Edit6
  std::string IntervalCode;  // digit of the checked interval button, empty for none
  std::string Threshold;     // "1" with "THRESH." checked, else "0"

  // The value of line `index` (0 to kLines - 1).
  std::string& Line(std::size_t index);
  const std::string& Line(std::size_t index) const;

  // Reads the file's first kLines lines into the values, in order, and
  // returns how many it set. A line ends at LF, CR LF or a lone CR; the last
  // may have no end; lines the file lacks read as empty, so a whole reading
  // sets all eight; a line longer than kLongestValue bytes gives only its
  // first ones. Only a plain file is read, and only through the symbolic
  // links LinkResolution.h allows: anything else, and a file that cannot be
  // opened or read, sets none; a read that fails part way stops there.
  // Nothing is reported or thrown.
  std::size_t Read(const std::string& path);

  // Writes the eight values, each followed by one LF, so that the file holds
  // either its old bytes or all of the new ones (see FileReplacement.h). A
  // value ends at its first line break, if it holds one: the line after it
  // would be taken for the next value. False when nothing was written;
  // nothing is reported or thrown.
  bool Write(const std::string& path) const;
};
