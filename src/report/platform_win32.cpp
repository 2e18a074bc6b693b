// The report's Windows side: a console that takes the CR LF line ends as
// they are, and Notepad as the viewer.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "report/report_log.h"

// The C runtime opens stdout in text mode, which writes every "\n" as
// "\r\n": the report's "\r\n" would reach the console as "\r\r\n".
void prepare_console()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

// Notepad on the report, shown normally. WinExec does not wait, and its
// result is ignored.
void show_report()
{
    WinExec("notepad VexaTextureSpeed.txt", SW_SHOW);
}
