// Starts the report viewer on Windows: Notepad on the report, shown
// normally. WinExec does not wait, and its result is ignored.
#include <windows.h>

#include "report/report_log.h"

void show_report()
{
    WinExec("notepad VexaTextureSpeed.txt", SW_SHOW);
}
