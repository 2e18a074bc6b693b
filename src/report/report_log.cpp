// Report log. The file is opened in binary mode so the CR LF line ends reach
// it unchanged, and it is flushed after every write: a run that is killed
// leaves on disk every line that the console has shown.
#include "report/report_log.h"

#include <cstdio>
#include <cstring>

#include "gl_headers.h"

#ifndef VEXA_CONTACT_MAIL
#define VEXA_CONTACT_MAIL "(not set)"
#endif
#ifndef VEXA_HOMEPAGE
#define VEXA_HOMEPAGE "(not set)"
#endif

char line_buf[LINE_BUF_SIZE];
const char REPORT_FILE_NAME[] = "VexaTextureSpeed.txt";

static FILE* report_file = nullptr; // open from report_open to report_close, or never

const char RULE_LINE[] = "---------------------------------\r\n\r\n";

static const char RULE[] = "---------------------------------\r\n"; // 33 hyphens

// Writes text to the file (if open) and then to the console, unchanged.
static void emit_text(const char* text)
{
    write_file_only(text);
    fwrite(text, 1, strlen(text), stdout);
    fflush(stdout);
}

// A header line that carries a text from outside the program (a GL string or
// a build setting). It is written in pieces, not through line_buf, so a text
// of any length arrives whole and is never read as a format.
static void emit_labelled(const char* label, const char* text, const char* line_end)
{
    emit_text(label);
    emit_text(text ? text : "(null)");
    emit_text(line_end);
}

static const char* gl_string(GLenum name)
{
    return reinterpret_cast<const char*>(glGetString(name));
}

void report_open()
{
    report_file = fopen(REPORT_FILE_NAME, "wb");

    emit_text("Vexa's texture/framebuffer speed test\r\n");
    emit_labelled("Mail: ", VEXA_CONTACT_MAIL, "\r\n");
    emit_labelled("Homepage: ", VEXA_HOMEPAGE, "\r\n\r\n");
    emit_labelled("Vendor: ", gl_string(GL_VENDOR), "\r\n");
    emit_labelled("Version: ", gl_string(GL_VERSION), "\r\n");
    emit_labelled("Renderer: ", gl_string(GL_RENDERER), "\r\n");
    emit_text("\r\n");

    if (report_file) {
        write_file_only(RULE);
        write_file_only("OpenGL extensions:\r\n");
        const char* extensions = gl_string(GL_EXTENSIONS);
        if (extensions)
            write_file_only(extensions);
        write_file_only("\r\n");
        write_file_only(RULE_LINE);
    }

    emit_text("Texture uploading speed\r\n");
    emit_text(RULE_LINE);
}

void emit_line()
{
    emit_text(line_buf);
}

void write_file_only(const char* text)
{
    if (!report_file)
        return;
    fwrite(text, 1, strlen(text), report_file);
    fflush(report_file);
}

void report_close()
{
    if (report_file) {
        fclose(report_file);
        report_file = nullptr;
    }
}
