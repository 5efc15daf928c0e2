// The port list's seven fixed rows: which device each row stands for and the
// text it shows, by the /dev entries present.
#pragma once

#include <string>
#include <vector>

constexpr int kPortRowCount = 7;

// Row 0 one blank; row 1 "USB0" when /dev/ttyUSB0 exists, else "---"; rows 2
// to 6 "COM1" to "COM5" for /dev/ttyS0 to /dev/ttyS4 where the entry exists,
// else empty. An entry of any kind counts, a symbolic link even when it
// leads nowhere; a path that cannot be examined counts as absent. Opens nothing.
std::vector<std::string> PortListTexts();

// The device a pick of `row` opens: rows 0 and 1 /dev/ttyUSB0 (so an adapter
// plugged in after start is reached too), rows 2 to 6 /dev/ttyS0 to
// /dev/ttyS4, whatever the row shows. Throws std::out_of_range for any other.
std::string PortRowDevice(int row);
