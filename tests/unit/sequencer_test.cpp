// The sequencer driving the whole run against the fake: the report's bytes,
// the pass changes, and the end of the run.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "bench/measure.h"
#include "fake_gl.h"
#include "report/report_log.h"
#include "shell/sequencer.h"
#include "test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static const std::string FIXTURES = VEXA_UNIT_FIXTURES;

// Measurement m (counted over those that ran) starts at 10 s * m and ends
// after one iteration, 3 s + m * 250 ms later.
static int scripted_clock(int n)
{
    const int m = n / 2;
    return n % 2 == 0 ? 10000 * m : 10000 * m + 3000 + 250 * m;
}

static void dump_calls()
{
    std::ofstream out("calls.txt");
    for (const std::string& call : fake_calls)
        out << call << "\n";
}

// A complete run: 42 frames, every report byte, the viewer started on the
// closed report, exit status 0 and no swap after the last measurement.
// Frame 5 meets a GL error; frame 20's buffer cannot be allocated.
TEST_F(ProgramTest, CompleteRunWritesTheWholeReportThenShowsItAndExits)
{
    fake_clock = scripted_clock;
    fake_texture_sizes[0] = 8;
    fake_texture_sizes[1] = 8;
    fake_texture_sizes[2] = 8;
    fake_texture_sizes[3] = 8;
    fake_vendor = "Fake vendor";
    fake_version = "1.1 Fake";
    fake_renderer = "Fake renderer";
    fake_extensions = "GL_EXT_abgr GL_EXT_bgra GL_EXT_packed_pixels";
    fake_errors = {0, 0, 0, 0, GL_INVALID_ENUM};
    ASSERT_EQ(mkdir("bin", 0755), 0);
    write_file("bin/notepad",
               "#!/bin/sh\n"
               "cat VexaTextureSpeed.txt > saw.tmp\n"
               "{ pwd; printf '%s\\n' \"$@\"; } > args.tmp\n"
               "mv saw.tmp notepad.saw && mv args.tmp notepad.args\n",
               true);

    EXPECT_EXIT(
        {
            setenv("PATH", (dir + "/bin:" + getenv("PATH")).c_str(), 1);
            if (!freopen("console.txt", "wb", stdout))
                _exit(2);
            atexit(dump_calls);
            fail_allocation(20);
            report_open();
            for (int frame = 1; frame <= 43; frame++)
                display();
            _exit(3); // the 42nd frame must not return
        },
        testing::ExitedWithCode(0), "");

    const std::string expected_file = read_file(FIXTURES + "/complete_report.txt");
    ASSERT_FALSE(expected_file.empty());
    EXPECT_EQ(read_file(REPORT_FILE_NAME), expected_file);
    std::string expected_console = expected_file;
    const size_t block = expected_console.find("---------------------------------\r\nOpenGL");
    const size_t block_end = expected_console.find("Texture uploading speed");
    expected_console.erase(block, block_end - block);
    EXPECT_EQ(read_file("console.txt"), expected_console);

    // No swap and no redisplay after the last result block.
    std::vector<std::string> calls;
    {
        std::ifstream in("calls.txt");
        for (std::string line; std::getline(in, line);)
            calls.push_back(line);
    }
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE)");
    fake_calls = calls;
    EXPECT_EQ(fake_calls_matching("glutSwapBuffers").size(), 42u) << "the splash and 41 frames";
    EXPECT_EQ(fake_calls_matching("glutPostRedisplay").size(), 41u);

    // The viewer is started once the report is closed: it sees all of it.
    for (int tries = 0; tries < 100 && access("notepad.args", F_OK) != 0; tries++)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(read_file("notepad.args"), dir + "\nVexaTextureSpeed.txt\n");
    EXPECT_EQ(read_file("notepad.saw"), expected_file);
}

TEST_F(ProgramTest, FourteenthFrameStartsTheBackPass)
{
    fake_clock = scripted_clock;
    CaptureStdout();
    for (int frame = 1; frame <= 14; frame++)
        display();
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(test_mode, MODE_BACK_COPY);
    EXPECT_EQ(format_index, 0);
    const std::string ending = "Speed:  0.0104858 Mtex/s  0.0314573 MB/s\r\n\r\n"
                               "\r\n\r\nFramebuffer texture speed (back)\r\n"
                               "---------------------------------\r\n\r\n";
    ASSERT_GE(console.size(), ending.size());
    EXPECT_EQ(console.substr(console.size() - ending.size()), ending);
}

TEST_F(ProgramTest, FailedAllocationOnTheFirstFramePrintsZeroSizesAndSpeeds)
{
    fake_texture_sizes[0] = 8;
    fail_allocation(1);
    CaptureStdout();
    display();
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(console, "Format: 01 - Size: R=0 G=0 B=0 A=0\r\nSpeed:  0 Mtex/s  0 MB/s\r\n\r\n");
    EXPECT_EQ(format_index, 1);
}
