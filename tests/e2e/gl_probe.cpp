// Prints what the GL implementation says of itself, one string a line
// (vendor, version, renderer, extensions), from a window like the
// benchmark's: the end-to-end tests compare the report header with it.
#include <cstdio>

#include "gl_headers.h"

static void print_string(GLenum name)
{
    const GLubyte* text = glGetString(name);
    printf("%s\n", text ? reinterpret_cast<const char*>(text) : "(null)");
}

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitWindowSize(300, 300);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(argv[0]);
    print_string(GL_VENDOR);
    print_string(GL_VERSION);
    print_string(GL_RENDERER);
    print_string(GL_EXTENSIONS);
    return 0;
}
