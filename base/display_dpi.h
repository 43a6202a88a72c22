// What the displays' scaling is, read from the system. Calls that older
// systems lack are found at run time.
#pragma once
#include <windows.h>

#include <cstdint>

// The largest DPI among the monitors, and never below the system's DPI: the
// scale at which pictures are sharp on the densest screen.
int32_t LargestDisplayDpi();

// The DPI of the monitor a window is on (the system's where that is unknown).
int32_t WindowDpi(HWND window);

// A system metric (SM_CXSMICON, SM_CXMENUCHECK ...) at the given DPI, as it
// is now: GetSystemMetrics answers at the DPI of the sign-in, which a
// change of the display's scale since leaves behind.
int MetricAtDpi(int index, int32_t dpi);
