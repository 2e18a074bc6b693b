// GLUT callbacks of the window itself.
#pragma once

// Pixel-exact projection: one unit is one window pixel, origin lower-left.
void reshape(int width, int height);

// Escape closes the report and exits with status 0; any other key only asks
// for a redisplay. Keys are handled between frames.
void keyboard(unsigned char key, int x, int y);
