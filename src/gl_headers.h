// The one place that includes the OpenGL and GLUT headers. A static
// freeglut (the Windows build) is selected by the build, not here.
#pragma once

#include <GL/glut.h>
