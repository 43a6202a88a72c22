#include "base/display_dpi.h"

#include "base/dpi_scale.h"
#include "base/owned_handles.h"

namespace {

using MonitorDpiCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// shcore's GetDpiForMonitor (Windows 8.1), loaded once and kept.
MonitorDpiCall MonitorDpiFunction() {
  static const MonitorDpiCall call = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore != nullptr ? reinterpret_cast<MonitorDpiCall>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                             : nullptr;
  }();
  return call;
}

int32_t SystemDpi() {
  ScreenDC screen(nullptr);
  return screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : kBaseDpi;
}

int32_t MonitorDpi(HMONITOR monitor) {
  MonitorDpiCall call = MonitorDpiFunction();
  UINT x = 0, y = 0;
  if (call == nullptr || monitor == nullptr || FAILED(call(monitor, kEffectiveDpi, &x, &y))) return 0;
  return static_cast<int32_t>(x);
}

BOOL CALLBACK TakeLargest(HMONITOR monitor, HDC, RECT*, LPARAM largest) {
  int32_t* dpi = reinterpret_cast<int32_t*>(largest);
  int32_t own = MonitorDpi(monitor);
  if (own > *dpi) *dpi = own;
  return TRUE;
}

}  // namespace

int32_t LargestDisplayDpi() {
  int32_t largest = SystemDpi();
  EnumDisplayMonitors(nullptr, nullptr, TakeLargest, reinterpret_cast<LPARAM>(&largest));
  return largest;
}

int MetricAtDpi(int index, int32_t dpi) {
  using MetricCall = int(WINAPI*)(int, UINT);
  static const MetricCall call = reinterpret_cast<MetricCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (call != nullptr && dpi > 0) return call(index, static_cast<UINT>(dpi));
  // Older systems: the sign-in metric, scaled to the DPI asked for.
  const int32_t system = SystemDpi();
  return dpi > 0 && system > 0 ? MulDiv(GetSystemMetrics(index), dpi, system) : GetSystemMetrics(index);
}

int32_t WindowDpi(HWND window) {
  int32_t dpi = MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  return dpi > 0 ? dpi : SystemDpi();
}
