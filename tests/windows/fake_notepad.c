/* A stand-in for Notepad, copied next to the Windows program under test:
   WinExec looks in the program's folder first. In the current directory it
   keeps a copy of the report as it found it (notepad-saw.txt), then appends
   its command line to notepad-starts.txt, one line a start, and ends. */
#include <stdio.h>
#include <windows.h>

int main(void)
{
    FILE* report = fopen("VexaTextureSpeed.txt", "rb");
    FILE* copy = fopen("notepad-saw.txt", "wb");
    if (report && copy) {
        char buffer[65536];
        size_t length;
        while ((length = fread(buffer, 1, sizeof buffer, report)) > 0)
            fwrite(buffer, 1, length, copy);
    }
    if (report)
        fclose(report);
    if (copy)
        fclose(copy);

    FILE* starts = fopen("notepad-starts.txt", "ab");
    if (starts) {
        fprintf(starts, "%s\n", GetCommandLineA());
        fclose(starts);
    }
    return 0;
}
