// Trevo.exe: the program on the Windows engine.
#include "app/trevo_main.h"
#include "engine/win32/win32_engine.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    win32::Win32Engine engine(instance);
    return static_cast<int>(trevo::RunTrevo(engine));
}
