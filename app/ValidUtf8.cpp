#include "ValidUtf8.h"

#include <glib.h>

#include <memory>

std::string ValidUtf8(const std::string& bytes) {
  // Given a length, glib counts a NUL as invalid: the result holds none.
  std::unique_ptr<gchar, decltype(&g_free)> valid(
      g_utf8_make_valid(bytes.data(), static_cast<gssize>(bytes.size())), &g_free);
  return valid.get();
}
