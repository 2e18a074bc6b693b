// Test sequencer. The only writer of test_mode and format_index.
#include "shell/sequencer.h"

#include <cstdio>
#include <cstdlib>

#include "bench/format_table.h"
#include "bench/measure.h"
#include "gl_headers.h"
#include "report/report_log.h"
#include "shell/status_screen.h"

static void emit_fixed(const char* text)
{
    snprintf(line_buf, LINE_BUF_SIZE, "%s", text);
    emit_line();
}

static void emit_result()
{
    snprintf(line_buf, LINE_BUF_SIZE, "Format: %02d - ", format_index + 1);
    emit_line();

    // The sizes the implementation really gave the texture, which may differ
    // from what the row asked for.
    GLint red = 0, green = 0, blue = 0, alpha = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &red);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_GREEN_SIZE, &green);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_BLUE_SIZE, &blue);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alpha);
    snprintf(line_buf, LINE_BUF_SIZE, "Size: R=%d G=%d B=%d A=%d\r\n", red, green, blue, alpha);
    emit_line();

    // Mtex/s and MB/s, where MB are 10^6 client bytes of the row's format.
    snprintf(line_buf, LINE_BUF_SIZE, "Speed:  %g Mtex/s  %g MB/s\r\n\r\n",
             transfer_rate * 0.000001, (texel_bytes(format_index) * transfer_rate) * 0.000001);
    emit_line();
}

void display()
{
    if (first_frame)
        draw_splash();
    draw_status_screen();
    measure_transfer();
    emit_result();

    format_index++;
    if (format_index == FORMAT_COUNT) {
        format_index = 0;
        test_mode++;
        if (test_mode == MODE_BACK_COPY) {
            emit_fixed("\r\n\r\nFramebuffer texture speed (back)\r\n");
            emit_fixed(RULE_LINE);
        } else if (test_mode == MODE_FRONT_COPY) {
            emit_fixed("\r\n\r\nFramebuffer texture speed (front)\r\n");
            emit_fixed(RULE_LINE);
        } else {
            report_close();
            show_report();
            exit(0);
        }
    }

    glutSwapBuffers();
    glutPostRedisplay();
}
