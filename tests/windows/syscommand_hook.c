/* Loaded into the saver by syscommand_probe.exe as a CBT hook. Windows'
 * default window procedure calls CBT hooks with HCBT_SYSCOMMAND before it
 * carries out a system command: seeing SC_MONITORPOWER or SC_SCREENSAVE here
 * means the saver's window passed the command on instead of swallowing it.
 * The hook then cancels the command, so the test blanks nothing. */
#include <windows.h>

#define REACHED_EVENT "GardenlumeSyscommandReached"

__declspec(dllexport) LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam)
{
    const WPARAM command = wparam & 0xFFF0;
    if (code == HCBT_SYSCOMMAND && (command == SC_MONITORPOWER || command == SC_SCREENSAVE)) {
        HANDLE reached = OpenEventA(EVENT_MODIFY_STATE, FALSE, REACHED_EVENT);
        if (reached) {
            SetEvent(reached);
            CloseHandle(reached);
        }
        return 1;
    }
    return CallNextHookEx(NULL, code, wparam, lparam);
}
