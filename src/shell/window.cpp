#include "shell/window.h"

#include <cstdlib>

#include "gl_headers.h"
#include "report/report_log.h"

static constexpr unsigned char KEY_ESCAPE = 27;

void reshape(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void keyboard(unsigned char key, int x, int y)
{
    (void)x;
    (void)y;
    if (key == KEY_ESCAPE) {
        report_close();
        exit(0);
    }
    glutPostRedisplay();
}
