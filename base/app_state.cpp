#include "base/app_state.h"

HINSTANCE appInstance = nullptr;
HANDLE instanceMutex = nullptr;
HWND mainWindow = nullptr;
HCURSOR starCursor = nullptr;

volatile LONG reactionEnabled = 0;
volatile LONG settingsDialogOpen = 0;
volatile LONG versionBoxOpen = 0;
HWND settingsDialog = nullptr;

volatile LONG picturesLoading = 0;
volatile LONG pictureLoadsDone = 0;
volatile LONG handlersRunning = 0;
volatile LONG handlersDone = 0;
