#pragma once

// The soak over a week reads the heap's use as glibc reports it; on Windows the C runtime's heap
// is walked for the same figure.
#include <cstddef>
#include <malloc.h>

struct mallinfo2 {
  std::size_t uordblks = 0;  // bytes in blocks in use
};

inline struct mallinfo2 mallinfo2() {
  struct mallinfo2 info;
  _HEAPINFO entry{};
  while (_heapwalk(&entry) == _HEAPOK) {
    if (entry._useflag == _USEDENTRY) info.uordblks += entry._size;
  }
  return info;
}
