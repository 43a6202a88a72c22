// Display scaling: every size and distance of the stars is made for 96 dots
// per inch and multiplied out to the DPI the process draws at. One DPI holds
// for the whole process, chosen from the monitors at each start of the star
// field, so a burst looks alike on every screen and the worker that loads
// pictures reads the same value as the main thread.
#pragma once
#include <cstdint>

constexpr int32_t kBaseDpi = 96;
// What a DPI is held to: 50 % to 500 % of kBaseDpi.
constexpr int32_t kMinDpi = 48;
constexpr int32_t kMaxDpi = 480;

// value * dpi / 96, rounded half away from zero (10 at 120 DPI is 13, -10
// is -13); value itself at 96 or a DPI outside kMinDpi..kMaxDpi.
int32_t ScaleToDpi(int32_t value, int32_t dpi);

// The DPI the process draws at: kBaseDpi until set.
int32_t ProcessDpi();
// A DPI outside kMinDpi..kMaxDpi (a failed query's 0) sets kBaseDpi.
void SetProcessDpi(int32_t dpi);
// value at the process's DPI.
inline int32_t Scaled(int32_t value) { return ScaleToDpi(value, ProcessDpi()); }
