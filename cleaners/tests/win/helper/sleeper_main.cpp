// A program that only waits: the cleaner tests start copies of it under a
// browser's name ("chrome.exe") and end them.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Sleep(60000);
    return 0;
}
