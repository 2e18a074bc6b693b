// The report's POSIX side: the console set-up and the viewer start.
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <unistd.h>

#include <csignal>

#include "report/report_log.h"

extern char** environ;

static void ignore_signal(int)
{
}

// A console write that fails is ignored, as every report write is. Two
// kinds of console would otherwise end or derail the run:
// - a pipe whose reader has gone raises SIGPIPE, which ends the process. A
//   handler that does nothing turns that into a failed write; unlike
//   SIG_IGN it is not handed on to the viewer.
// - a standard stream closed before the start: the next file opened (the
//   X connection) would take its number, and the console copy would be
//   written into it. Such a stream is opened on /dev/null instead.
void prepare_console()
{
    signal(SIGPIPE, ignore_signal);
    int fd;
    do {
        fd = open("/dev/null", O_RDWR);
    } while (fd >= 0 && fd <= 2);
    if (fd > 2)
        close(fd);
}

// The program "notepad" found on PATH, with the report's name as its one
// argument, in the current directory. No shell is involved and nobody waits
// for it; a missing notepad is silent. The child is left to the system: it
// is reaped when this process exits, right after the viewer is started.
void show_report()
{
    // posix_spawnp only reads the argument strings; the casts drop a const
    // that its C signature lacks.
    char* argv[] = {const_cast<char*>("notepad"), const_cast<char*>(REPORT_FILE_NAME), nullptr};
    pid_t pid;
    posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ);
}
