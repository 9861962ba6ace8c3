#pragma once

// The Windows headers, <windows.h> first: the others build on it, which a sorted include list
// would not keep.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <sddl.h>
#include <shellapi.h>
// clang-format on
