/* Stand-in for config.exe in the Windows tests: writes the folder it was
   started in to started_in.txt in that folder, and its own command line
   after it. */
#include <stdio.h>
#include <windows.h>

int main(void)
{
    char dir[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    if (n == 0 || n >= sizeof dir) return 1;
    FILE* f = fopen("started_in.txt", "wb");
    if (!f) return 1;
    fprintf(f, "%s\n%s\n", dir, GetCommandLineA());
    return fclose(f) == 0 ? 0 : 1;
}
