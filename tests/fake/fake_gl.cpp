#include "fake_gl.h"

#include <cstdarg>
#include <cstdio>
#include <map>

std::vector<std::string> fake_calls;
bool fake_recording = true;
const char* fake_vendor;
const char* fake_version;
const char* fake_renderer;
const char* fake_extensions;
std::deque<GLenum> fake_errors;
GLint fake_texture_sizes[4];
std::function<int(int)> fake_clock;
int fake_clock_reads;
std::vector<unsigned char> fake_last_pixels;
void (*fake_display_func)();
void (*fake_reshape_func)(int, int);
void (*fake_keyboard_func)(unsigned char, int, int);

void* glutBitmap8By13; // GLUT_BITMAP_8_BY_13 is its address

static GLuint next_texture_name;
static GLuint bound_texture; // texture 0, the default one, has no image and no sizes

void fake_reset()
{
    fake_calls.clear();
    fake_recording = true;
    fake_vendor = "Fake vendor";
    fake_version = "1.1 Fake";
    fake_renderer = "Fake renderer";
    fake_extensions = "GL_EXT_abgr GL_EXT_bgra GL_EXT_packed_pixels";
    fake_errors.clear();
    for (GLint& size : fake_texture_sizes)
        size = 0;
    fake_clock = [](int) { return 0; };
    fake_clock_reads = 0;
    fake_last_pixels.clear();
    fake_display_func = nullptr;
    fake_reshape_func = nullptr;
    fake_keyboard_func = nullptr;
    next_texture_name = 1;
    bound_texture = 0;
}

std::vector<std::string> fake_calls_matching(const std::string& prefix, size_t from)
{
    std::vector<std::string> matching;
    for (size_t i = from; i < fake_calls.size(); i++)
        if (fake_calls[i].compare(0, prefix.size(), prefix) == 0)
            matching.push_back(fake_calls[i]);
    return matching;
}

static void record(const char* format, ...)
{
    if (!fake_recording)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fake_calls.push_back(text);
}

// Enumerant names for the values the program passes; anything else prints
// as a number, so an unexpected value shows up as itself.
static std::string name(GLenum value)
{
    static const std::map<GLenum, const char*> names = {
        {GL_TEXTURE_2D, "GL_TEXTURE_2D"},
        {GL_PROJECTION, "GL_PROJECTION"},
        {GL_MODELVIEW, "GL_MODELVIEW"},
        {GL_VENDOR, "GL_VENDOR"},
        {GL_VERSION, "GL_VERSION"},
        {GL_RENDERER, "GL_RENDERER"},
        {GL_EXTENSIONS, "GL_EXTENSIONS"},
        {GL_COLOR_BUFFER_BIT, "GL_COLOR_BUFFER_BIT"},
        {GL_QUADS, "GL_QUADS"},
        {GL_TRIANGLES, "GL_TRIANGLES"},
        {GL_UNPACK_ALIGNMENT, "GL_UNPACK_ALIGNMENT"},
        {GL_PACK_ALIGNMENT, "GL_PACK_ALIGNMENT"},
        {GL_RED_SCALE, "GL_RED_SCALE"},
        {GL_GREEN_SCALE, "GL_GREEN_SCALE"},
        {GL_BLUE_SCALE, "GL_BLUE_SCALE"},
        {GL_RED_BIAS, "GL_RED_BIAS"},
        {GL_GREEN_BIAS, "GL_GREEN_BIAS"},
        {GL_BLUE_BIAS, "GL_BLUE_BIAS"},
        {GL_TEXTURE_WRAP_S, "GL_TEXTURE_WRAP_S"},
        {GL_TEXTURE_WRAP_T, "GL_TEXTURE_WRAP_T"},
        {GL_TEXTURE_MAG_FILTER, "GL_TEXTURE_MAG_FILTER"},
        {GL_TEXTURE_MIN_FILTER, "GL_TEXTURE_MIN_FILTER"},
        {GL_CLAMP, "GL_CLAMP"},
        {GL_NEAREST, "GL_NEAREST"},
        {GL_FRONT, "GL_FRONT"},
        {GL_BACK, "GL_BACK"},
        {GL_TEXTURE_RED_SIZE, "GL_TEXTURE_RED_SIZE"},
        {GL_TEXTURE_GREEN_SIZE, "GL_TEXTURE_GREEN_SIZE"},
        {GL_TEXTURE_BLUE_SIZE, "GL_TEXTURE_BLUE_SIZE"},
        {GL_TEXTURE_ALPHA_SIZE, "GL_TEXTURE_ALPHA_SIZE"},
        {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"},
        {0x8033, "GL_UNSIGNED_SHORT_4_4_4_4"},
        {0x8034, "GL_UNSIGNED_SHORT_5_5_5_1"},
        {GL_RGB, "GL_RGB"},
        {GL_RGBA, "GL_RGBA"},
        {0x8000, "GL_ABGR_EXT"},
        {0x80E1, "GL_BGRA_EXT"},
        {GL_RGBA8, "GL_RGBA8"},
        {GL_RGB5_A1, "GL_RGB5_A1"},
        {GL_RGBA4, "GL_RGBA4"},
    };
    auto found = names.find(value);
    return found != names.end() ? found->second : std::to_string(value);
}

static const char* n(GLenum value)
{
    // Several names may appear in one call: keep each in its own slot.
    static std::string slots[8];
    static int next;
    std::string& slot = slots[next++ % 8];
    slot = name(value);
    return slot.c_str();
}

// Bytes of client data per pixel, as GL reads them.
static size_t pixel_bytes(GLenum format, GLenum type)
{
    if (type != GL_UNSIGNED_BYTE)
        return 2; // the packed 16-bit types
    return format == GL_RGB ? 3 : 4;
}

static void keep_pixels(GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* pixels)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
    fake_last_pixels.assign(bytes, bytes + width * height * pixel_bytes(format, type));
}

// GLUT

void glutInit(int* argc, char** argv)
{
    record("glutInit(%d, %s)", *argc, argv[0]);
}
void glutInitWindowPosition(int x, int y) { record("glutInitWindowPosition(%d, %d)", x, y); }
void glutInitWindowSize(int width, int height) { record("glutInitWindowSize(%d, %d)", width, height); }
void glutInitDisplayMode(unsigned int mode) { record("glutInitDisplayMode(%u)", mode); }
int glutCreateWindow(const char* title)
{
    record("glutCreateWindow(%s)", title);
    return 1;
}
void glutReshapeFunc(void (*callback)(int, int))
{
    record("glutReshapeFunc");
    fake_reshape_func = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int))
{
    record("glutKeyboardFunc");
    fake_keyboard_func = callback;
}
void glutDisplayFunc(void (*callback)(void))
{
    record("glutDisplayFunc");
    fake_display_func = callback;
}
void glutMainLoop(void) { record("glutMainLoop"); }
void glutPostRedisplay(void) { record("glutPostRedisplay"); }
void glutSwapBuffers(void) { record("glutSwapBuffers"); }
int glutGet(GLenum query)
{
    if (query != GLUT_ELAPSED_TIME) {
        record("glutGet(%d)", query);
        return 0;
    }
    const int now = fake_clock(fake_clock_reads++);
    record("glutGet(GLUT_ELAPSED_TIME) = %d", now);
    return now;
}
void glutBitmapCharacter(void* font, int character)
{
    record("glutBitmapCharacter(%s, '%c')", font == GLUT_BITMAP_8_BY_13 ? "8_BY_13" : "?", character);
}

// GL

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    record("glViewport(%d, %d, %d, %d)", x, y, width, height);
}
void glMatrixMode(GLenum mode) { record("glMatrixMode(%s)", n(mode)); }
void glLoadIdentity(void) { record("glLoadIdentity"); }
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
             GLdouble far_val)
{
    record("glOrtho(%g, %g, %g, %g, %g, %g)", left, right, bottom, top, near_val, far_val);
}
const GLubyte* glGetString(GLenum name_value)
{
    record("glGetString(%s)", n(name_value));
    const char* text = nullptr;
    switch (name_value) {
    case GL_VENDOR: text = fake_vendor; break;
    case GL_VERSION: text = fake_version; break;
    case GL_RENDERER: text = fake_renderer; break;
    case GL_EXTENSIONS: text = fake_extensions; break;
    }
    return reinterpret_cast<const GLubyte*>(text);
}
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    record("glClearColor(%g, %g, %g, %g)", red, green, blue, alpha);
}
void glClear(GLbitfield mask) { record("glClear(%s)", n(mask)); }
void glRasterPos2i(GLint x, GLint y) { record("glRasterPos2i(%d, %d)", x, y); }
void glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
{
    record("glColor4ub(%d, %d, %d, %d)", red, green, blue, alpha);
}
void glBegin(GLenum mode) { record("glBegin(%s)", n(mode)); }
void glEnd(void) { record("glEnd"); }
void glVertex2f(GLfloat x, GLfloat y) { record("glVertex2f(%g, %g)", x, y); }
void glTexCoord2f(GLfloat s, GLfloat t) { record("glTexCoord2f(%g, %g)", s, t); }
void glDeleteTextures(GLsizei count, const GLuint* textures)
{
    record("glDeleteTextures(%d, %u)", count, textures[0]);
}
void glGenTextures(GLsizei count, GLuint* textures)
{
    for (GLsizei i = 0; i < count; i++)
        textures[i] = next_texture_name++;
    record("glGenTextures(%d) = %u", count, textures[0]);
}
void glBindTexture(GLenum target, GLuint texture)
{
    record("glBindTexture(%s, %u)", n(target), texture);
    bound_texture = texture;
}
void glPixelStorei(GLenum pname, GLint param) { record("glPixelStorei(%s, %d)", n(pname), param); }
void glPixelTransferf(GLenum pname, GLfloat param)
{
    record("glPixelTransferf(%s, %g)", n(pname), param);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    record("glTexParameteri(%s, %s, %s)", n(target), n(pname), n(param));
}
void glEnable(GLenum cap) { record("glEnable(%s)", n(cap)); }
void glDisable(GLenum cap) { record("glDisable(%s)", n(cap)); }
void glTexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width,
                  GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid* pixels)
{
    // Internal formats 1 to 4 are component counts, not enumerants.
    const std::string internal_text =
        internal_format <= 4 ? std::to_string(internal_format) : name(internal_format);
    record("glTexImage2D(%s, %d, %s, %d, %d, %d, %s, %s)", n(target), level, internal_text.c_str(),
           width, height, border, n(format), n(type));
    keep_pixels(width, height, format, type, pixels);
}
void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                     GLsizei height, GLenum format, GLenum type, const GLvoid* pixels)
{
    record("glTexSubImage2D(%s, %d, %d, %d, %d, %d, %s, %s)", n(target), level, x, y, width,
           height, n(format), n(type));
    keep_pixels(width, height, format, type, pixels);
}
void glCopyTexSubImage2D(GLenum target, GLint level, GLint x_offset, GLint y_offset, GLint x,
                         GLint y, GLsizei width, GLsizei height)
{
    record("glCopyTexSubImage2D(%s, %d, %d, %d, %d, %d, %d, %d)", n(target), level, x_offset,
           y_offset, x, y, width, height);
}
void glReadBuffer(GLenum mode) { record("glReadBuffer(%s)", n(mode)); }
GLenum glGetError(void)
{
    GLenum error = GL_NO_ERROR;
    if (!fake_errors.empty()) {
        error = fake_errors.front();
        fake_errors.pop_front();
    }
    record("glGetError = %u", error);
    return error;
}
void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params)
{
    record("glGetTexLevelParameteriv(%s, %d, %s)", n(target), level, n(pname));
    if (bound_texture == 0) {
        *params = 0;
        return;
    }
    switch (pname) {
    case GL_TEXTURE_RED_SIZE: *params = fake_texture_sizes[0]; break;
    case GL_TEXTURE_GREEN_SIZE: *params = fake_texture_sizes[1]; break;
    case GL_TEXTURE_BLUE_SIZE: *params = fake_texture_sizes[2]; break;
    case GL_TEXTURE_ALPHA_SIZE: *params = fake_texture_sizes[3]; break;
    }
}
