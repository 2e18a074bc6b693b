// Starts the report viewer on POSIX systems: the program "notepad" found on
// PATH, with the report's name as its one argument, in the current
// directory. No shell is involved and nobody waits for it; a missing
// notepad is silent. The child is left to the system: it is reaped when
// this process exits, which happens right after the viewer is started.
// The console needs no setting up here.
#include <spawn.h>
#include <sys/types.h>

#include "report/report_log.h"

extern char** environ;

void show_report()
{
    // posix_spawnp only reads the argument strings; the casts drop a const
    // that its C signature lacks.
    char* argv[] = {const_cast<char*>("notepad"), const_cast<char*>(REPORT_FILE_NAME), nullptr};
    pid_t pid;
    posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ);
}

// POSIX streams never change line ends: nothing to do.
void set_console_binary()
{
}
