// The operating-system services the setup logic calls, by their Windows names (ANSI entry points,
// code page 932 text). On Windows they are the real API; everywhere else the simulated Windows host
// of this folder provides the same names.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#else
#include "host/sim_api.h"
#endif
