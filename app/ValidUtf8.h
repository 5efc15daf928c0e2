#pragma once
// Text for the toolkit, which takes only UTF-8.

#include <string>

// `bytes` with every byte that is not part of valid UTF-8, NUL included,
// replaced by U+FFFD; valid text comes back unchanged and never cut short.
std::string ValidUtf8(const std::string& bytes);
