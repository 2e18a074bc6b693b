// The picture in the window: a splash on the first frame, then on every
// frame the status screen (pass and format under test), drawn into the back
// buffer before the measurement. The back-copy pass copies this picture.
#pragma once

extern bool first_frame; // set at start; the first draw_splash clears it

// Draws text at the current raster position in the 8 x 13 bitmap font.
void draw_text(const char* text);

// Clears to black, draws the splash texts and shows them at once.
void draw_splash();

// Draws the dark blue square and the five status lines for test_mode and
// format_index into the back buffer. Does not swap.
void draw_status_screen();
