// Entry point: one 300 x 300 double-buffered window, the report header, and
// GLUT's event loop, in which the display callback runs the whole benchmark.
#include "gl_headers.h"
#include "report/report_log.h"
#include "shell/sequencer.h"
#include "shell/window.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <csignal>

// A console write that fails is ignored, as every report write is. On POSIX
// systems two kinds of console would otherwise end or derail the run:
// - a pipe whose reader has gone raises SIGPIPE, which ends the process. A
//   handler that does nothing turns that into a failed write; unlike
//   SIG_IGN it is not handed on to the viewer.
// - a standard stream closed before the start: the next file opened (the
//   X connection) would take its number, and the console copy would be
//   written into it. Such a stream is opened on /dev/null instead.
static void ignore_signal(int)
{
}

static void make_console_harmless()
{
    signal(SIGPIPE, ignore_signal);
    int fd;
    do {
        fd = open("/dev/null", O_RDWR);
    } while (fd >= 0 && fd <= 2);
    if (fd > 2)
        close(fd);
}
#endif

int main(int argc, char** argv)
{
#ifndef _WIN32
    make_console_harmless();
#endif
    glutInit(&argc, argv);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(300, 300);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(argv[0]);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutDisplayFunc(display);
    report_open(); // the header reads GL strings: needs the window's context
    glutMainLoop();
    return 0;
}
