// A recording fake of the OpenGL and GLUT entry points the program calls,
// with the real headers' signatures. Each call is kept as one line of text
// ("glBindTexture(GL_TEXTURE_2D, 1)"); the strings, errors, texture sizes
// and the millisecond clock are scripted by the test.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gl_headers.h"

extern std::vector<std::string> fake_calls; // every call, in order
extern bool fake_recording;                 // false: calls are not kept (long loops)

extern const char* fake_vendor;     // glGetString results; nullptr is allowed
extern const char* fake_version;
extern const char* fake_renderer;
extern const char* fake_extensions;

extern std::deque<GLenum> fake_errors;  // glGetError results in turn; then GL_NO_ERROR
extern GLint fake_texture_sizes[4];     // red, green, blue, alpha bits of any texture but 0

// glutGet(GLUT_ELAPSED_TIME): milliseconds for the n-th reading, n from 0.
extern std::function<int(int)> fake_clock;
extern int fake_clock_reads;

// Client pixels read by the latest glTexImage2D or glTexSubImage2D, as many
// bytes as GL would read for its format, type and size.
extern std::vector<unsigned char> fake_last_pixels;

extern void (*fake_display_func)();
extern void (*fake_reshape_func)(int, int);
extern void (*fake_keyboard_func)(unsigned char, int, int);

// Back to a fresh state: no calls, Mesa-like strings, no errors, clock at 0.
void fake_reset();

// Calls recorded from index `from` on whose text starts with `prefix`.
std::vector<std::string> fake_calls_matching(const std::string& prefix, size_t from = 0);
