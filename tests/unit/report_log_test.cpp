// The report header, the two outputs, and the report file's failure paths.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "fake_gl.h"
#include "report/report_log.h"
#include "test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static const char CONSOLE_HEADER_START[] =
    "Vexa's texture/framebuffer speed test\r\n"
    "Mail: (not set)\r\n"
    "Homepage: (not set)\r\n\r\n";

static const char SECTION_START[] =
    "Texture uploading speed\r\n"
    "---------------------------------\r\n\r\n";

static std::string console_header(const std::string& vendor, const std::string& version,
                                  const std::string& renderer)
{
    return std::string(CONSOLE_HEADER_START) + "Vendor: " + vendor + "\r\nVersion: " + version +
           "\r\nRenderer: " + renderer + "\r\n\r\n" + SECTION_START;
}

static std::string extension_block(const std::string& extensions)
{
    return "---------------------------------\r\n"
           "OpenGL extensions:\r\n" +
           extensions +
           "\r\n"
           "---------------------------------\r\n\r\n";
}

// The file holds the console's text with the extension block after the
// blank line that follows the renderer line.
static std::string file_header(const std::string& vendor, const std::string& version,
                               const std::string& renderer, const std::string& extensions)
{
    std::string console = console_header(vendor, version, renderer);
    return console.insert(console.find(SECTION_START), extension_block(extensions));
}

using ReportLogTest = ProgramTest;

TEST_F(ReportLogTest, HeaderGoesToFileAndConsoleWithExtensionsInFileOnly)
{
    fake_vendor = "Mesa";
    fake_version = "4.5 (Compatibility Profile) Mesa 22.3.6";
    fake_renderer = "llvmpipe (LLVM 15.0.6, 256 bits)";
    fake_extensions = "GL_EXT_abgr GL_EXT_bgra ";

    CaptureStdout();
    report_open();
    const std::string console = GetCapturedStdout();
    report_close();

    EXPECT_EQ(console, console_header(fake_vendor, fake_version, fake_renderer));
    EXPECT_EQ(read_file(REPORT_FILE_NAME),
              file_header(fake_vendor, fake_version, fake_renderer, fake_extensions));
}

struct StringCase {
    const char* vendor;
    const char* version;
    const char* renderer;
    const char* extensions;
};

class ReportStringsTest : public ProgramTest, public testing::WithParamInterface<StringCase> {};

// GL strings of any length and null ones: no overflow, no cut, every byte in
// its place. A null string reads "(null)"; a null extension string leaves
// the block with an empty line.
TEST_P(ReportStringsTest, GlStringsAreCopiedWhole)
{
    const StringCase strings = GetParam();
    fake_vendor = strings.vendor;
    fake_version = strings.version;
    fake_renderer = strings.renderer;
    fake_extensions = strings.extensions;
    auto shown = [](const char* text) { return std::string(text ? text : "(null)"); };

    CaptureStdout();
    report_open();
    const std::string console = GetCapturedStdout();
    report_close();

    EXPECT_EQ(console, console_header(shown(strings.vendor), shown(strings.version),
                                      shown(strings.renderer)));
    EXPECT_EQ(read_file(REPORT_FILE_NAME),
              file_header(shown(strings.vendor), shown(strings.version),
                          shown(strings.renderer), strings.extensions ? strings.extensions : ""));
}

static const std::string LONG_TEXT = [] {
    std::string text;
    while (text.size() < 5000)
        text += "GL_VENDOR_EXTENSION_" + std::to_string(text.size()) + " ";
    return text;
}();

static const std::string PERCENT_TEXT = "100% %s %n %d";

INSTANTIATE_TEST_SUITE_P(
    Strings, ReportStringsTest,
    testing::Values(StringCase{nullptr, nullptr, nullptr, nullptr},
                    StringCase{"V", nullptr, "R", "E"},
                    StringCase{LONG_TEXT.c_str(), "1.1", LONG_TEXT.c_str(), LONG_TEXT.c_str()},
                    StringCase{PERCENT_TEXT.c_str(), PERCENT_TEXT.c_str(), "", ""}));

TEST_F(ReportLogTest, UnwritableReportLeavesEverythingOnTheConsole)
{
    // A directory in the way of the report file makes the open fail.
    ASSERT_EQ(mkdir(REPORT_FILE_NAME, 0755), 0);

    CaptureStdout();
    report_open();
    snprintf(line_buf, LINE_BUF_SIZE, "Format: %02d - ", 1);
    emit_line();
    write_file_only("never shown\r\n");
    report_close();
    report_close();
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(console, console_header("Fake vendor", "1.1 Fake", "Fake renderer") + "Format: 01 - ");
    EXPECT_TRUE(fake_calls_matching("glGetString(GL_EXTENSIONS)").empty())
        << "the extension string is only queried for the file";
}

TEST_F(ReportLogTest, EmittedLinesAreOnDiskAtOnceAndNotReadAsFormats)
{
    CaptureStdout();
    report_open();
    const std::string header = read_file(REPORT_FILE_NAME);
    snprintf(line_buf, LINE_BUF_SIZE, "%s", "100% %d %s\r\n");
    emit_line();
    // Read before the file is closed: a killed run keeps every shown line.
    const std::string on_disk = read_file(REPORT_FILE_NAME);
    const std::string console = GetCapturedStdout();

    EXPECT_EQ(on_disk, header + "100% %d %s\r\n");
    EXPECT_EQ(console.substr(console.size() - 12), "100% %d %s\r\n");
}
