// One timed measurement against the recording fake and a scripted clock.
#include <vector>

#include "bench/format_table.h"
#include "bench/measure.h"
#include "fake_gl.h"
#include "test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// A clock that reads the given milliseconds in turn.
static std::function<int(int)> readings(std::vector<int> ms)
{
    return [ms](int n) { return ms.at(n); };
}

static const std::vector<std::string> TRIANGLE = {
    "glBegin(GL_TRIANGLES)", "glTexCoord2f(0, 0)", "glVertex2f(200, 50)", "glTexCoord2f(1, 0)",
    "glVertex2f(300, 50)",   "glTexCoord2f(0.5, 1)", "glVertex2f(250, 150)", "glEnd",
};

struct ModeCase {
    int mode;
    int index;
    std::vector<std::string> first_transfer;
    std::vector<std::string> later_transfer;
};

class MeasureModeTest : public ProgramTest, public testing::WithParamInterface<ModeCase> {};

// The whole call sequence of a first measurement with two iterations.
TEST_P(MeasureModeTest, PreparesThenTransfersAndDrawsUntilTheClockSaysStop)
{
    const ModeCase& c = GetParam();
    test_mode = c.mode;
    format_index = c.index;
    fake_clock = readings({5000, 6000, 8000});

    measure_transfer();

    std::vector<std::string> expected = {
        "glGenTextures(1) = 1",
        "glBindTexture(GL_TEXTURE_2D, 1)",
        "glPixelStorei(GL_UNPACK_ALIGNMENT, 1)",
        "glPixelStorei(GL_PACK_ALIGNMENT, 1)",
        "glPixelTransferf(GL_RED_SCALE, 1)",
        "glPixelTransferf(GL_GREEN_SCALE, 1)",
        "glPixelTransferf(GL_BLUE_SCALE, 1)",
        "glPixelTransferf(GL_RED_BIAS, 0)",
        "glPixelTransferf(GL_GREEN_BIAS, 0)",
        "glPixelTransferf(GL_BLUE_BIAS, 0)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST)",
        "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST)",
        "glColor4ub(255, 255, 255, 255)",
        "glEnable(GL_TEXTURE_2D)",
        "glutGet(GLUT_ELAPSED_TIME) = 5000",
    };
    auto append = [&](const std::vector<std::string>& calls) {
        expected.insert(expected.end(), calls.begin(), calls.end());
    };
    append(c.first_transfer);
    append(TRIANGLE);
    append({"glutGet(GLUT_ELAPSED_TIME) = 6000"});
    append(c.later_transfer);
    append(TRIANGLE);
    append({"glutGet(GLUT_ELAPSED_TIME) = 8000", "glDisable(GL_TEXTURE_2D)", "glGetError = 0"});

    EXPECT_EQ(fake_calls, expected);
    // Two iterations of 256 x 256 texels in 3 s, in every mode.
    EXPECT_DOUBLE_EQ(transfer_rate, 2.0 * 256 * 256 / 3.0);
    EXPECT_EQ(bench_texture, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MeasureModeTest,
    testing::Values(
        ModeCase{MODE_UPLOAD,
                 10,
                 {"glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB5_A1, 256, 256, 0, GL_RGBA, "
                  "GL_UNSIGNED_SHORT_5_5_5_1)"},
                 {"glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 256, GL_RGBA, "
                  "GL_UNSIGNED_SHORT_5_5_5_1)"}},
        ModeCase{MODE_BACK_COPY,
                 13,
                 {"glTexImage2D(GL_TEXTURE_2D, 0, 3, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE)"},
                 {"glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 255, 255)"}},
        ModeCase{MODE_FRONT_COPY,
                 3,
                 {"glTexImage2D(GL_TEXTURE_2D, 0, 4, 256, 256, 0, GL_ABGR_EXT, GL_UNSIGNED_BYTE)"},
                 {"glReadBuffer(GL_FRONT)",
                  "glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 255, 255)",
                  "glReadBuffer(GL_BACK)"}}));

struct ClockCase {
    std::vector<int> ms;
    long iterations;
    double seconds;
};

class MeasureClockTest : public ProgramTest, public testing::WithParamInterface<ClockCase> {};

// The loop ends at the first reading at least 3 s after the start; one
// iteration always runs.
TEST_P(MeasureClockTest, StopsAtTheFirstReadingThreeSecondsOnAndCountsEveryIteration)
{
    const ClockCase& c = GetParam();
    test_mode = MODE_BACK_COPY;
    fake_clock = readings(c.ms);

    measure_transfer();

    EXPECT_EQ(fake_clock_reads, static_cast<int>(c.ms.size()));
    EXPECT_EQ(fake_calls_matching("glTexImage2D").size(), 1u);
    EXPECT_EQ(fake_calls_matching("glCopyTexSubImage2D").size(), size_t(c.iterations - 1));
    EXPECT_EQ(fake_calls_matching("glBegin").size(), size_t(c.iterations));
    EXPECT_DOUBLE_EQ(transfer_rate, c.iterations * 65536.0 / c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Edges, MeasureClockTest,
                         testing::Values(ClockCase{{0, 3000}, 1, 3.0},
                                         ClockCase{{0, 7250}, 1, 7.25},
                                         ClockCase{{0, 2999, 3000}, 2, 3.0},
                                         ClockCase{{0, 0, 1, 2998, 2999, 3001}, 5, 3.001}));

TEST_F(ProgramTest, TexelCountDoesNotOverflowPastTwoToThe31)
{
    // 40,001 iterations of 65,536 texels: 2,621,505,536 texels, past 2^31 - 1.
    fake_clock = [](int n) { return n <= 40000 ? 0 : 3000; };
    fake_recording = false;

    measure_transfer();

    EXPECT_EQ(fake_clock_reads, 40002);
    EXPECT_DOUBLE_EQ(transfer_rate, 2621505536.0 / 3.0);
}

TEST_F(ProgramTest, EachMeasurementReplacesThePreviousTexture)
{
    fake_clock = [](int n) { return n * 3000; };
    measure_transfer();
    fake_calls.clear();

    measure_transfer();

    const std::vector<std::string> expected = {"glDeleteTextures(1, 1)", "glGenTextures(1) = 2",
                                               "glBindTexture(GL_TEXTURE_2D, 2)"};
    EXPECT_EQ(std::vector<std::string>(fake_calls.begin(), fake_calls.begin() + 3), expected);
    EXPECT_EQ(bench_texture, 2u);
}

class MeasureRampTest : public ProgramTest, public testing::WithParamInterface<int> {};

// The client buffer holds the byte ramp k mod 256, as big as the row needs.
TEST_P(MeasureRampTest, UploadsTheByteRampOfTheRowsSize)
{
    format_index = GetParam();
    fake_clock = [](int n) { return n * 1500; };

    measure_transfer();

    const size_t size = 256 * 256 * texel_bytes(format_index);
    ASSERT_EQ(fake_last_pixels.size(), size);
    for (size_t k = 0; k < size; k++)
        ASSERT_EQ(fake_last_pixels[k], k % 256) << "byte " << k;
    EXPECT_EQ(fake_calls_matching("glTexSubImage2D").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Rows, MeasureRampTest, testing::Values(0, 10, 12, 13));

TEST_F(ProgramTest, FailedAllocationGivesZeroRateAndTouchesNothing)
{
    fake_clock = [](int n) { return n * 3000; };
    measure_transfer();
    transfer_rate = 12345.0;
    fake_calls.clear();
    fake_errors = {GL_INVALID_ENUM};
    fail_allocation(1);

    CaptureStdout();
    measure_transfer();
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(transfer_rate, 0.0);
    EXPECT_TRUE(fake_calls.empty()) << "first call: " << fake_calls.front();
    EXPECT_EQ(bench_texture, 1u);
    EXPECT_EQ(console, "");
}

TEST_F(ProgramTest, GlErrorIsReadOnceAndReportedAsAnErrorLine)
{
    fake_clock = [](int n) { return n * 3000; };
    fake_errors = {GL_INVALID_ENUM, GL_INVALID_OPERATION};

    CaptureStdout();
    measure_transfer();
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(console, "ERROR 1280\r\n");
    EXPECT_EQ(fake_calls_matching("glGetError").size(), 1u);
    EXPECT_EQ(fake_errors.size(), 1u);
}

TEST(FormatTable, RowsAreNumberedInOrderAndSizedByTheirClientData)
{
    for (int i = 0; i < FORMAT_COUNT; i++)
        EXPECT_EQ(format_table[i].number, i + 1);
    const int expected_bytes[FORMAT_COUNT] = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 4, 2, 3};
    for (int i = 0; i < FORMAT_COUNT; i++)
        EXPECT_EQ(texel_bytes(i), expected_bytes[i]) << "row " << i + 1;
}
