// The splash and the status screen, as GL calls with the drawn texts folded
// into one entry per text.
#include <algorithm>

#include "bench/measure.h"
#include "fake_gl.h"
#include "shell/sequencer.h"
#include "shell/status_screen.h"
#include "test_support.h"

// Folds each run of glutBitmapCharacter records into text "...", and checks
// that all of them use the 8 x 13 font.
static std::vector<std::string> folded(const std::vector<std::string>& calls)
{
    static const std::string PREFIX = "glutBitmapCharacter(8_BY_13, '";
    std::vector<std::string> result;
    bool in_text = false;
    for (const std::string& call : calls) {
        if (call.compare(0, PREFIX.size(), PREFIX) == 0) {
            if (!in_text)
                result.push_back("text ");
            result.back() += call[PREFIX.size()];
            in_text = true;
        } else {
            result.push_back(call);
            in_text = false;
        }
    }
    return result;
}

static std::vector<std::string> status_screen_calls(const char* mode_label, const char* counter)
{
    std::vector<std::string> calls = {
        "glClear(GL_COLOR_BUFFER_BIT)", "glColor4ub(0, 0, 128, 255)",
        "glBegin(GL_QUADS)",            "glVertex2f(0, 0)",
        "glVertex2f(0, 200)",           "glVertex2f(200, 200)",
        "glVertex2f(200, 0)",           "glEnd",
        "glColor4ub(255, 255, 255, 255)",
        "glRasterPos2i(10, 280)",       "text Vexa's Texture speed test...",
        "glRasterPos2i(10, 180)",       "text Test running...",
        "glRasterPos2i(10, 165)",       std::string("text ") + mode_label,
        "glRasterPos2i(10, 150)",       std::string("text ") + counter,
        "glRasterPos2i(10, 10)",        "text Please wait...",
    };
    // An empty text draws no characters at all.
    calls.erase(std::remove(calls.begin(), calls.end(), "text "), calls.end());
    return calls;
}

struct StatusCase {
    int mode;
    int index;
    const char* label;
    const char* counter;
};

class StatusScreenTest : public ProgramTest, public testing::WithParamInterface<StatusCase> {};

TEST_P(StatusScreenTest, ShowsThePassAndTheFormatNumberFromOne)
{
    const StatusCase& c = GetParam();
    test_mode = c.mode;
    format_index = c.index;

    draw_status_screen();

    EXPECT_EQ(folded(fake_calls), status_screen_calls(c.label, c.counter));
}

INSTANTIATE_TEST_SUITE_P(
    Passes, StatusScreenTest,
    testing::Values(StatusCase{MODE_UPLOAD, 0, "Texture upload", "Format: 1 / 14"},
                    StatusCase{MODE_BACK_COPY, 8, "Backbuffer texture", "Format: 9 / 14"},
                    StatusCase{MODE_FRONT_COPY, 13, "Frontbuffer texture", "Format: 14 / 14"},
                    StatusCase{3, 4, "", "Format: 5 / 14"}));

TEST_F(ProgramTest, SplashIsDrawnAndShownOnTheFirstFrameOnly)
{
    fake_clock = [](int n) { return n * 3000; };
    testing::internal::CaptureStdout();
    display();
    const size_t second_frame = fake_calls.size();
    display();
    testing::internal::GetCapturedStdout();

    std::vector<std::string> first = folded(fake_calls);
    first.resize(first.size() - folded(std::vector<std::string>(
                                           fake_calls.begin() + second_frame, fake_calls.end()))
                                           .size());
    const std::vector<std::string> splash = {
        "glClearColor(0, 0, 0, 0)", "glClear(GL_COLOR_BUFFER_BIT)",
        "glRasterPos2i(10, 280)",   "text Vexa's Texture speed test...",
        "glRasterPos2i(10, 180)",   "text Test running...",
        "glRasterPos2i(10, 10)",    "text Please wait...",
        "glutSwapBuffers",
    };
    ASSERT_GE(first.size(), splash.size());
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + splash.size()), splash);
    EXPECT_EQ(first[splash.size()], "glClear(GL_COLOR_BUFFER_BIT)") << "then the status screen";
    EXPECT_FALSE(first_frame);
    EXPECT_EQ(fake_calls_matching("glClearColor").size(), 1u);
    EXPECT_EQ(fake_calls[second_frame], "glClear(GL_COLOR_BUFFER_BIT)");
}
