#pragma once

#include <unistd.h>

#include "platform/common/unique_resource.h"

struct DescriptorTraits {
  using Handle = int;
  static constexpr int empty() { return -1; }
  static bool holds(int fd) { return fd >= 0; }
  static void free(int fd) { close(fd); }
};

// An open file descriptor, closed when it goes.
using UniqueFd = UniqueResource<DescriptorTraits>;
