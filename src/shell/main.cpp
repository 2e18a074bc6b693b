// Entry point: one 300 x 300 double-buffered window, the report header, and
// GLUT's event loop, in which the display callback runs the whole benchmark.
#include "gl_headers.h"
#include "report/report_log.h"
#include "shell/sequencer.h"
#include "shell/window.h"

int main(int argc, char** argv)
{
    prepare_console();
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
