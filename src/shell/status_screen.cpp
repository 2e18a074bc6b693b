// Status screen. Coordinates are window pixels from the lower-left corner,
// as the reshape projection makes them.
#include "shell/status_screen.h"

#include <cstdio>

#include "bench/measure.h"
#include "gl_headers.h"

bool first_frame = true;

static const char TITLE_TEXT[] = "Vexa's Texture speed test...";
static const char RUNNING_TEXT[] = "Test running...";
static const char WAIT_TEXT[] = "Please wait...";

static void draw_text_at(int x, int y, const char* text)
{
    glRasterPos2i(x, y);
    draw_text(text);
}

static const char* mode_label(int mode)
{
    switch (mode) {
    case MODE_UPLOAD:
        return "Texture upload";
    case MODE_BACK_COPY:
        return "Backbuffer texture";
    case MODE_FRONT_COPY:
        return "Frontbuffer texture";
    }
    return "";
}

void draw_text(const char* text)
{
    for (const char* c = text; *c; c++)
        glutBitmapCharacter(GLUT_BITMAP_8_BY_13, *c);
}

void draw_splash()
{
    first_frame = false;

    // The only place the clear colour is set; it holds for the whole run.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // No colour is set: the text takes GL's initial current colour, white.
    draw_text_at(10, 280, TITLE_TEXT);
    draw_text_at(10, 180, RUNNING_TEXT);
    draw_text_at(10, 10, WAIT_TEXT);

    glutSwapBuffers();
}

void draw_status_screen()
{
    glClear(GL_COLOR_BUFFER_BIT);

    // Texturing is off here: every measurement turns it off again.
    glColor4ub(0, 0, 128, 255);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(0.0f, 200.0f);
    glVertex2f(200.0f, 200.0f);
    glVertex2f(200.0f, 0.0f);
    glEnd();

    // The raster colour is latched from this colour by each glRasterPos.
    glColor4ub(255, 255, 255, 255);

    char text[64];
    draw_text_at(10, 280, TITLE_TEXT);
    draw_text_at(10, 180, RUNNING_TEXT);
    draw_text_at(10, 165, mode_label(test_mode));
    snprintf(text, sizeof text, "Format: %d / 14", format_index + 1);
    draw_text_at(10, 150, text);
    draw_text_at(10, 10, WAIT_TEXT);
}
