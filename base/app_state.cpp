#include "base/app_state.h"

HINSTANCE appInstance = nullptr;

std::atomic<int32_t> picturesLoading{0};
std::atomic<int32_t> pictureLoadsDone{0};
std::atomic<int32_t> handlersRunning{0};
std::atomic<int32_t> handlersDone{0};
std::atomic<HANDLE> handlerStartWake{nullptr};

void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}
