#include "platform/win32/win32_clock.h"

#include "platform/win32/windows_headers.h"

// The precise time, not GetLocalTime's, whose milliseconds move in steps of the system tick: the
// tick timer lays its wakes by them.
LocalDateTime Win32Clock::now() const {
  FILETIME utc{};
  GetSystemTimePreciseAsFileTime(&utc);
  FILETIME local{};
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME t{};
  FileTimeToSystemTime(&local, &t);
  return {.year = t.wYear,
          .month = t.wMonth,
          .day = t.wDay,
          .weekday = t.wDayOfWeek,
          .hour = t.wHour,
          .minute = t.wMinute,
          .second = t.wSecond,
          .millisecond = t.wMilliseconds};
}
