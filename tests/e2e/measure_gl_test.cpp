// The timed measurement against the real GL implementation, in a real
// window. The GLUT clock is wrapped at link time to run 100 times fast, so a
// measurement takes 30 ms instead of 3 s; the program itself has no such
// setting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/format_table.h"
#include "bench/measure.h"
#include "shell/status_screen.h"
#include "shell/window.h"

extern "C" int __real_glutGet(GLenum query);
extern "C" int __wrap_glutGet(GLenum query)
{
    const int value = __real_glutGet(query);
    return query == GLUT_ELAPSED_TIME ? value * 100 : value;
}

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static std::vector<unsigned char> ramp(size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (size_t k = 0; k < size; k++)
        bytes[k] = static_cast<unsigned char>(k % 256);
    return bytes;
}

static GLint texture_size(GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

// Runs one measurement as a frame would: status screen, measurement, swap.
static std::string measure(int mode, int index)
{
    test_mode = mode;
    format_index = index;
    draw_status_screen();
    CaptureStdout();
    measure_transfer();
    const std::string console = GetCapturedStdout();
    return console;
}

TEST(MeasureGl, EveryRowInEveryModeGivesARateAndNoError)
{
    for (int mode = MODE_UPLOAD; mode <= MODE_FRONT_COPY; mode++) {
        for (int index = 0; index < FORMAT_COUNT; index++) {
            const std::string console = measure(mode, index);
            const GLint red = texture_size(GL_TEXTURE_RED_SIZE);
            const GLint green = texture_size(GL_TEXTURE_GREEN_SIZE);
            const GLint blue = texture_size(GL_TEXTURE_BLUE_SIZE);
            const GLint alpha = texture_size(GL_TEXTURE_ALPHA_SIZE);
            glutSwapBuffers();
            SCOPED_TRACE("mode " + std::to_string(mode) + " row " + std::to_string(index + 1));
            EXPECT_EQ(console, "") << "Mesa supports every row";
            EXPECT_GT(transfer_rate, 0.0);
            EXPECT_GT(red, 0);
            EXPECT_GT(green, 0);
            EXPECT_GT(blue, 0);
            EXPECT_GE(alpha, 0);
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(static_cast<GLuint>(bound), bench_texture);
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
            testing::Test::RecordProperty("sizes", std::to_string(red) + " " + std::to_string(green) +
                                                       " " + std::to_string(blue) + " " +
                                                       std::to_string(alpha));
        }
    }
}

struct RowBits {
    int index;
    int bits[4]; // stored bits per client component, in client order; 8 = exact
};

class UploadGl : public testing::TestWithParam<RowBits> {};

// After an upload the texture holds the client ramp; reading it back in the
// row's own format and type gives the same bytes, within the rounding of
// the 16-bit formats.
TEST_P(UploadGl, TextureHoldsTheRamp)
{
    const RowBits row = GetParam();
    measure(MODE_UPLOAD, row.index);
    const format_entry& entry = format_table[row.index];
    const size_t size = 256 * 256 * texel_bytes(row.index);
    std::vector<unsigned char> texels(size);
    glGetTexImage(GL_TEXTURE_2D, 0, entry.format, entry.type, texels.data());
    const std::vector<unsigned char> expected = ramp(size);

    const int components = texel_bytes(row.index) == 3 ? 3 : 4;
    for (size_t k = 0; k < size; k++) {
        const int bits = texel_bytes(row.index) == 2 ? 8 : row.bits[k % components];
        const int tolerance = bits >= 8 ? 0 : (255 / ((1 << bits) - 1) + 1) / 2 + 1;
        ASSERT_LE(std::abs(texels[k] - expected[k]), tolerance) << "byte " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, UploadGl,
                         testing::Values(RowBits{0, {8, 8, 8, 8}}, RowBits{4, {8, 8, 8, 8}},
                                         RowBits{8, {8, 8, 8, 8}}, RowBits{9, {5, 5, 5, 1}},
                                         RowBits{10, {8, 8, 8, 8}}, RowBits{11, {4, 4, 4, 4}},
                                         RowBits{12, {8, 8, 8, 8}}, RowBits{13, {8, 8, 8, 8}}));

// After a back-buffer copy the texture holds the frame's lower-left pixels:
// the status screen, left of where the triangles are drawn.
TEST(MeasureGl, BackCopyHoldsTheLowerLeftOfTheBackBuffer)
{
    measure(MODE_BACK_COPY, 1);
    std::vector<unsigned char> texels(256 * 256 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    std::vector<unsigned char> frame(COPY_EDGE * COPY_EDGE * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, COPY_EDGE, COPY_EDGE, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());

    int blue = 0;
    for (int y = 0; y < COPY_EDGE; y++) {
        for (int x = 0; x < 200; x++) {
            const unsigned char* texel = &texels[(y * 256 + x) * 4];
            const unsigned char* pixel = &frame[(y * COPY_EDGE + x) * 4];
            for (int c = 0; c < 3; c++)
                ASSERT_EQ(texel[c], pixel[c]) << "x " << x << " y " << y << " component " << c;
            blue += pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 128;
        }
    }
    EXPECT_GT(blue, 150 * 150) << "the dark blue square was copied";
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(300, 300);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(argv[0]);
    reshape(300, 300);
    glClearColor(0, 0, 0, 0);
    return RUN_ALL_TESTS();
}
