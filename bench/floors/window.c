// A program that registers a window class and creates one (hidden) window, then ends.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous, (void)commandLine, (void)show;
    WNDCLASSEXA wc = {0};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "FloorWindow";
    if (!RegisterClassExA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(0, "FloorWindow", "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                200, 100, NULL, NULL, instance, NULL);
    if (!hwnd)
        return 1;
    DestroyWindow(hwnd);
    return 0;
}
