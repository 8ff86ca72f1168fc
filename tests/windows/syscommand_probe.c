/* Sends the saver's window (SDL's class "SDL_app") WM_SYSCOMMAND with
 * SC_MONITORPOWER and SC_SCREENSAVE, as Windows' power plan and screen saver
 * do, and tells whether the default window procedure was reached (seen by
 * the CBT hook of syscommand_hook.dll inside the saver).
 * Exit 0: both reached; 1: one was swallowed; 2: no window or no hook. */
#include <stdio.h>
#include <windows.h>

#define REACHED_EVENT "GardenlumeSyscommandReached"

static HWND find_saver(void)
{
    for (int tenth = 0; tenth < 300; ++tenth) {
        HWND window = FindWindowA("SDL_app", NULL);
        if (window) return window;
        Sleep(100);
    }
    return NULL;
}

/* True when the default window procedure saw `command`. */
static int reached(HWND window, HANDLE event, WPARAM command)
{
    DWORD_PTR result = 0;
    ResetEvent(event);
    SendMessageTimeoutA(window, WM_SYSCOMMAND, command, 2, SMTO_ABORTIFHUNG, 10000, &result);
    return WaitForSingleObject(event, 2000) == WAIT_OBJECT_0;
}

int main(void)
{
    HWND window = find_saver();
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, REACHED_EVENT);
    HMODULE dll = LoadLibraryA("syscommand_hook.dll");
    HOOKPROC proc = dll ? (HOOKPROC)(void*)GetProcAddress(dll, "on_cbt") : NULL;
    if (!window || !event || !proc) {
        printf("no saver window, event or hook\n");
        return 2;
    }
    HHOOK hook = SetWindowsHookExA(WH_CBT, proc, dll, GetWindowThreadProcessId(window, NULL));
    if (!hook) {
        printf("SetWindowsHookEx failed: %lu\n", GetLastError());
        return 2;
    }
    const int power = reached(window, event, SC_MONITORPOWER);
    const int saver = reached(window, event, SC_SCREENSAVE);
    printf("SC_MONITORPOWER %s, SC_SCREENSAVE %s\n", power ? "reached" : "swallowed",
           saver ? "reached" : "swallowed");
    UnhookWindowsHookEx(hook);
    return power && saver ? 0 : 1;
}
