#include "platform/common/debug_wanted.h"

#include <cstdlib>
#include <string_view>

bool debugWanted() {
  const char* debug = std::getenv("LURVENDEL_DEBUG");
  return debug && std::string_view(debug) == "1";
}
