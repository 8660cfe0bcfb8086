// keepalive: holds a Wine desktop open while the program under test starts
// and ends again; Wine closes a desktop when its last program has gone.
// It shows nothing and waits for messages until it is told to quit.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
