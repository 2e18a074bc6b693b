// Program entry and the window's own callbacks.
#include <cstdlib>

#include "fake_gl.h"
#include "report/report_log.h"
#include "shell/sequencer.h"
#include "shell/window.h"
#include "test_support.h"

int program_main(int argc, char** argv); // the program's main, renamed for this test

using WindowTest = ProgramTest;

TEST_F(WindowTest, MainOpensTheWindowWritesTheHeaderAndEntersTheLoop)
{
    char program[] = "./vexa-texture-speed";
    char* argv[] = {program, nullptr};

    testing::internal::CaptureStdout();
    const int status = program_main(1, argv);
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(status, 0);
    const std::vector<std::string> expected = {
        "glutInit(1, ./vexa-texture-speed)",
        "glutInitWindowPosition(0, 0)",
        "glutInitWindowSize(300, 300)",
        "glutInitDisplayMode(18)",
        "glutCreateWindow(./vexa-texture-speed)",
        "glutReshapeFunc",
        "glutKeyboardFunc",
        "glutDisplayFunc",
        "glGetString(GL_VENDOR)",
        "glGetString(GL_VERSION)",
        "glGetString(GL_RENDERER)",
        "glGetString(GL_EXTENSIONS)",
        "glutMainLoop",
    };
    EXPECT_EQ(fake_calls, expected);
    EXPECT_EQ(fake_reshape_func, &reshape);
    EXPECT_EQ(fake_keyboard_func, &keyboard);
    EXPECT_EQ(fake_display_func, &display);
}

TEST_F(WindowTest, ReshapeMakesOneUnitOnePixelFromTheLowerLeft)
{
    reshape(640, 200);

    const std::vector<std::string> expected = {
        "glViewport(0, 0, 640, 200)", "glMatrixMode(GL_PROJECTION)", "glLoadIdentity",
        "glOrtho(0, 640, 0, 200, -1, 1)", "glMatrixMode(GL_MODELVIEW)", "glLoadIdentity",
    };
    EXPECT_EQ(fake_calls, expected);
}

TEST_F(WindowTest, KeysOtherThanEscapeOnlyAskForARedisplay)
{
    const unsigned char keys[] = {'q', ' ', '\r', 26, 28, 155};
    for (unsigned char key : keys) {
        fake_calls.clear();
        keyboard(key, 10, 20);
        EXPECT_EQ(fake_calls, std::vector<std::string>{"glutPostRedisplay"}) << "key " << int(key);
    }
}

TEST_F(WindowTest, EscapeClosesTheReportAndExitsWithStatusZero)
{
    testing::internal::CaptureStdout();
    report_open();
    testing::internal::GetCapturedStdout();
    const std::string header = read_file(REPORT_FILE_NAME);

    EXPECT_EXIT(keyboard(27, 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_file(REPORT_FILE_NAME), header);
}

TEST_F(WindowTest, EscapeWithoutAReportFileStillExitsWithStatusZero)
{
    EXPECT_EXIT(keyboard(27, 0, 0), testing::ExitedWithCode(0), "");
}
