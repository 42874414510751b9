// A stand-in for a DLL planted beside a downloaded program. If it is ever loaded, it
// leaves a named event behind for the test to find.
#define WIN32_LEAN_AND_MEAN  // keeps the real dialog declarations out
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) CreateEventW(nullptr, TRUE, TRUE, L"Local\\TinteloPlantedDllLoaded");
  return TRUE;
}

// The entry the colour dialog is looked up by, so a wrong load would also be used.
extern "C" __declspec(dllexport) BOOL WINAPI ChooseColorW(void*) { return FALSE; }
