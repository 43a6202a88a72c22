#include "base/activity_marks.h"

std::atomic<int32_t> picturesLoading{0};
std::atomic<int32_t> pictureLoadsDone{0};
std::atomic<int32_t> handlersRunning{0};
std::atomic<int32_t> handlersDone{0};
std::atomic<const WatchdogWake*> handlerStartWake{nullptr};
