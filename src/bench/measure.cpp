// The timed transfer loop. Everything that is not the transfer itself (the
// client buffer, the texture object, pixel and texture state) is prepared
// before the clock is first read. Each iteration moves one texture's worth of
// texels and draws one textured triangle, so the implementation cannot skip
// a transfer whose result is never used. No glFinish: the time covers issuing
// the commands, up to the first clock reading at or past the minimum.
#include "bench/measure.h"

#include <cstdio>
#include <new>

#include "bench/format_table.h"
#include "report/report_log.h"

int test_mode = MODE_UPLOAD;
int format_index = 0;
double transfer_rate = 0.0;
GLuint bench_texture = 0;

static int tex_width = 256;  // texels
static int tex_height = 256; // texels

static double clock_seconds()
{
    return glutGet(GLUT_ELAPSED_TIME) * 0.001;
}

static void transfer(const format_entry& row, const unsigned char* buffer, long long iteration)
{
    if (iteration == 0) {
        glTexImage2D(GL_TEXTURE_2D, 0, row.internal_format, tex_width, tex_height, 0,
                     row.format, row.type, buffer);
        return;
    }
    switch (test_mode) {
    case MODE_UPLOAD:
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tex_width, tex_height, row.format, row.type,
                        buffer);
        break;
    case MODE_BACK_COPY:
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, COPY_EDGE, COPY_EDGE);
        break;
    case MODE_FRONT_COPY:
        glReadBuffer(GL_FRONT);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, COPY_EDGE, COPY_EDGE);
        glReadBuffer(GL_BACK);
        break;
    }
}

static void draw_triangle()
{
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(200.0f, 50.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(300.0f, 50.0f);
    glTexCoord2f(0.5f, 1.0f);
    glVertex2f(250.0f, 150.0f);
    glEnd();
}

void measure_transfer()
{
    const format_entry& row = format_table[format_index];
    const int size = tex_height * tex_width * texel_bytes(format_index);

    unsigned char* buffer = new (std::nothrow) unsigned char[size];
    if (!buffer) {
        transfer_rate = 0.0;
        return;
    }
    for (int k = 0; k < size; k++)
        buffer[k] = static_cast<unsigned char>(k % 256);

    if (bench_texture != 0)
        glDeleteTextures(1, &bench_texture);
    glGenTextures(1, &bench_texture);
    glBindTexture(GL_TEXTURE_2D, bench_texture);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelTransferf(GL_RED_SCALE, 1.0f);
    glPixelTransferf(GL_GREEN_SCALE, 1.0f);
    glPixelTransferf(GL_BLUE_SCALE, 1.0f);
    glPixelTransferf(GL_RED_BIAS, 0.0f);
    glPixelTransferf(GL_GREEN_BIAS, 0.0f);
    glPixelTransferf(GL_BLUE_BIAS, 0.0f);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    glColor4ub(255, 255, 255, 255);
    glEnable(GL_TEXTURE_2D);

    // The iteration count is 64-bit, and so is the texel count made from it:
    // a fast implementation passes 2^31 texels within the three seconds.
    long long iterations = 0;
    double elapsed;
    const double start = clock_seconds();
    do {
        transfer(row, buffer, iterations);
        draw_triangle();
        const double now = clock_seconds();
        iterations++;
        elapsed = now - start;
    } while (elapsed < MIN_MEASURE_SECONDS);

    glDisable(GL_TEXTURE_2D);

    // Every iteration counts as a full texture, also in the copy modes, whose
    // copies move COPY_EDGE x COPY_EDGE texels.
    const long long texels = iterations * tex_height * tex_width;
    transfer_rate = static_cast<double>(texels) / elapsed;

    delete[] buffer;

    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        snprintf(line_buf, LINE_BUF_SIZE, "ERROR %d\r\n", static_cast<int>(error));
        emit_line();
    }
}
