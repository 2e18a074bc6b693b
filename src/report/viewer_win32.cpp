// The report's Windows side: Notepad as the viewer, and a console that
// takes the CR LF line ends as they are.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "report/report_log.h"

// Notepad on the report, shown normally. WinExec does not wait, and its
// result is ignored.
void show_report()
{
    WinExec("notepad VexaTextureSpeed.txt", SW_SHOW);
}

// The C runtime opens stdout in text mode, which writes every "\n" as
// "\r\n": the report's "\r\n" would reach the console as "\r\r\n".
void set_console_binary()
{
    _setmode(_fileno(stdout), _O_BINARY);
}
