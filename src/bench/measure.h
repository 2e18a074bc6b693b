// One timed measurement of texel transfer into a 256 x 256 texture, and the
// run state that the measurement, the status screen and the sequencer share.
// GLUT callbacks take no user data, so this state is file-scope.
#pragma once

#include "gl_headers.h"

constexpr int MODE_UPLOAD = 0;     // glTexSubImage2D from client memory
constexpr int MODE_BACK_COPY = 1;  // glCopyTexSubImage2D from the back buffer
constexpr int MODE_FRONT_COPY = 2; // the same from the front buffer

constexpr double MIN_MEASURE_SECONDS = 3.0; // shortest time one measurement runs
constexpr int COPY_EDGE = 255; // edge of the square region the copy modes copy

extern int test_mode;         // the current pass, MODE_UPLOAD..MODE_FRONT_COPY
extern int format_index;      // row of format_table under test, 0 to 13
extern double transfer_rate;  // texels per second of the latest measurement; 0 if it could not run
extern GLuint bench_texture;  // texture of the latest measurement, 0 before the first

// Measures row format_index in mode test_mode for at least
// MIN_MEASURE_SECONDS and sets transfer_rate. Emits "ERROR n" when GL reports
// an error afterwards. On return bench_texture is bound and texturing is off.
void measure_transfer();
