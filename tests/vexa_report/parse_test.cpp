// The report parser against real reports, reports cut at every byte, and
// texts that are not reports.
#include <string>

#include <gtest/gtest.h>

#include "report_fixtures.h"
#include "vexa_report/report_parse.h"

namespace {

const char LLVMPIPE[] = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char MESA_4_5[] = "4.5 (Compatibility Profile) Mesa 22.3.6";

void expect_same_measurement(const measurement& want, const measurement& got, int path, int format)
{
    SCOPED_TRACE("path " + std::to_string(path) + ", format " + std::to_string(format + 1));
    EXPECT_EQ(want.present, got.present);
    EXPECT_EQ(want.red, got.red);
    EXPECT_EQ(want.green, got.green);
    EXPECT_EQ(want.blue, got.blue);
    EXPECT_EQ(want.alpha, got.alpha);
    EXPECT_EQ(want.mtex_per_s, got.mtex_per_s);
    EXPECT_EQ(want.mb_per_s, got.mb_per_s);
    EXPECT_EQ(want.has_error, got.has_error);
    EXPECT_EQ(want.error_code, got.error_code);
}

void expect_same_figures(const report_data& expected, const report_data& actual)
{
    EXPECT_EQ(expected.measurement_count, actual.measurement_count);
    for (int path = 0; path < PATH_COUNT; ++path) {
        for (int format = 0; format < FORMAT_COUNT; ++format)
            expect_same_measurement(expected.results[path][format], actual.results[path][format],
                                    path, format);
    }
}

TEST(ReportParse, ReadsTheRealReports)
{
    struct expected_report {
        const char* name;
        const char* version;
        const char* renderer;
        bool has_extensions;
        int measurement_count;
    };
    const expected_report cases[] = {
        {"linux_llvmpipe.txt", MESA_4_5, LLVMPIPE, true, 42},
        {"linux_llvmpipe_console.txt", MESA_4_5, LLVMPIPE, false, 42},
        {"linux_softpipe.txt", "3.3 (Compatibility Profile) Mesa 22.3.6", "softpipe", true, 42},
        {"linux_escape.txt", MESA_4_5, LLVMPIPE, true, 3},
        {"linux_sigterm.txt", MESA_4_5, LLVMPIPE, true, 17},
        {"windows_wine.txt", MESA_4_5, LLVMPIPE, true, 42},
        {"windows_wine_console.txt", MESA_4_5, LLVMPIPE, false, 42},
    };
    for (const expected_report& want : cases) {
        SCOPED_TRACE(want.name);
        report_data report = fixture_report(want.name);
        EXPECT_EQ(report.source, want.name);
        EXPECT_EQ(report.vendor, "Mesa/X.org");
        EXPECT_EQ(report.version, want.version);
        EXPECT_EQ(report.renderer, want.renderer);
        EXPECT_EQ(report.has_extensions, want.has_extensions);
        EXPECT_EQ(report.measurement_count, want.measurement_count);
        EXPECT_EQ(is_complete(report), want.measurement_count == MEASUREMENT_COUNT);
        for (int index = 0; index < MEASUREMENT_COUNT; ++index) {
            EXPECT_EQ(report.results[index / FORMAT_COUNT][index % FORMAT_COUNT].present,
                      index < want.measurement_count)
                << "measurement " << index;
        }
    }
}

TEST(ReportParse, KeepsEveryFigureAndTheExtensionsExactly)
{
    std::string text = fixture_text("linux_llvmpipe.txt");
    report_data report = fixture_report("linux_llvmpipe.txt");

    size_t start = text.find("OpenGL extensions:\r\n") + 20;
    EXPECT_EQ(report.extensions, text.substr(start, text.find("\r\n", start) - start));
    EXPECT_EQ(report.extensions.rfind("GL_ARB_multisample GL_EXT_abgr ", 0), 0u);

    struct expected_block {
        int path;
        int format;
        measurement result;
    };
    const expected_block blocks[] = {
        {0, 0, {true, 8, 8, 8, 8, 629.976, 2519.9, false, 0}},
        {0, 10, {true, 5, 5, 5, 1, 136.905, 273.809, false, 0}},
        {2, 13, {true, 8, 8, 8, 0, 206.351, 619.053, false, 0}},
    };
    for (const expected_block& want : blocks)
        expect_same_measurement(want.result, report.results[want.path][want.format], want.path,
                                want.format);
}

TEST(ReportParse, EveryCopyOfARunHoldsTheSameFigures)
{
    const report_data linux_file = fixture_report("linux_llvmpipe.txt");
    const report_data windows_console = fixture_report("windows_wine_console.txt");
    struct copy_case {
        const char* what;
        const report_data& expected;
        std::string text;
    };
    std::string lf_only = fixture_text("linux_llvmpipe.txt");
    for (size_t at = lf_only.find('\r'); at != std::string::npos; at = lf_only.find('\r', at))
        lf_only.erase(at, 1);
    const copy_case cases[] = {
        {"Linux console copy", linux_file, fixture_text("linux_llvmpipe_console.txt")},
        {"LF line ends", linux_file, lf_only},
        {"Windows file", windows_console, fixture_text("windows_wine.txt")},
        {"CR CR LF console copy", windows_console,
         with_doubled_cr(fixture_text("windows_wine_console.txt"))},
        {"saved with a UTF-8 byte order mark", windows_console,
         "\xEF\xBB\xBF" + fixture_text("windows_wine.txt")},
    };
    for (const copy_case& copy : cases) {
        SCOPED_TRACE(copy.what);
        report_data report;
        std::string error;
        ASSERT_TRUE(parse_report(copy.text, "copy.txt", report, error)) << error;
        EXPECT_EQ(report.vendor, copy.expected.vendor);
        EXPECT_EQ(report.version, copy.expected.version);
        EXPECT_EQ(report.renderer, copy.expected.renderer);
        expect_same_figures(copy.expected, report);
    }
}

// Whatever byte a run ends at, the report reads as the blocks whose speed
// line is whole, with the same figures as the complete report.
TEST(ReportParse, AReportCutAtAnyByteKeepsItsWholeBlocks)
{
    const char* const names[] = {"linux_llvmpipe.txt", "windows_wine_console.txt"};
    for (const char* name : names) {
        for (bool doubled_cr : {false, true}) {
            std::string text = fixture_text(name);
            if (doubled_cr)
                text = with_doubled_cr(text);
            report_data complete;
            std::string error;
            ASSERT_TRUE(parse_report(text, name, complete, error)) << error;
            const size_t title_end = text.find('\n') + 1;
            for (size_t length = title_end; length <= text.size(); ++length) {
                std::string cut = text.substr(0, length);
                report_data report;
                ASSERT_TRUE(parse_report(cut, name, report, error))
                    << name << " cut at " << length << ": " << error;
                int whole_blocks = occurrences(cut, " MB/s");
                ASSERT_EQ(report.measurement_count, whole_blocks) << name << " cut at " << length;
                for (int index = 0; index < MEASUREMENT_COUNT; ++index) {
                    const measurement& got =
                        report.results[index / FORMAT_COUNT][index % FORMAT_COUNT];
                    const measurement& full =
                        complete.results[index / FORMAT_COUNT][index % FORMAT_COUNT];
                    ASSERT_EQ(got.present, index < whole_blocks);
                    if (got.present) {
                        ASSERT_EQ(got.mtex_per_s, full.mtex_per_s) << "cut at " << length;
                        ASSERT_EQ(got.mb_per_s, full.mb_per_s) << "cut at " << length;
                        ASSERT_EQ(got.alpha, full.alpha) << "cut at " << length;
                    }
                }
            }
        }
    }
}

TEST(ReportParse, ReadsErrorLinesIntoTheirBlocks)
{
    report_data plain = fixture_report("linux_llvmpipe.txt");
    report_data report = fixture_report("linux_errors.txt");
    struct error_case {
        int path;
        int format_number;
        int code;
    };
    const error_case errors[] = {
        {0, 4, 1280}, {0, 8, 1280}, {0, 11, 1280}, {1, 11, 1282}, {2, 14, 1285}};
    for (const error_case& error : errors) {
        measurement& result = report.results[error.path][error.format_number - 1];
        EXPECT_TRUE(result.has_error) << error.path << "/" << error.format_number;
        EXPECT_EQ(result.error_code, error.code);
        result.has_error = false; // what is left must be the plain report
        result.error_code = 0;
    }
    // The failed allocation of the last block reads as zero rates.
    EXPECT_EQ(report.results[2][13].mtex_per_s, 0.0);
    EXPECT_EQ(report.results[2][13].mb_per_s, 0.0);
    report.results[2][13].mtex_per_s = plain.results[2][13].mtex_per_s;
    report.results[2][13].mb_per_s = plain.results[2][13].mb_per_s;
    expect_same_figures(plain, report);
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "the fixture has no " << from;
        return text;
    }
    return text.replace(at, from.size(), to);
}

TEST(ReportParse, SaysWhereATextIsNotAReport)
{
    const std::string report = fixture_text("linux_llvmpipe.txt");
    const std::string title_error =
        "r.txt:1: not a report of the texture speed benchmark: expected its title "
        "\"Vexa's texture/framebuffer speed test\", found ";
    struct bad_case {
        const char* what;
        std::string text;
        std::string error;
    };
    const bad_case cases[] = {
        {"empty", "", "r.txt: empty file, not a report of the texture speed benchmark"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\1\0", 20),
         title_error + "\"\\x89PNG\""},
        {"UTF-16", std::string("\xFF\xFEV\0e\0x\0", 8),
         "r.txt: UTF-16 text; the benchmark writes 8-bit text (save the report as ANSI or UTF-8)"},
        {"another text file", "# Shopping\r\n\r\n- milk\r\n", title_error + "\"# Shopping\""},
        {"the title cut inside", "Vexa's texture/frame", title_error + "\"Vexa's texture/frame\""},
        {"a broken rate", replaced(report, "Speed:  561.25 Mtex/s", "Speed:  56x.25 Mtex/s"),
         "r.txt:24: broken number \"56x.25\" in the speed line"},
        {"a broken MB/s", replaced(report, "  2245 MB/s", "  2245.. MB/s"),
         "r.txt:24: broken number \"2245..\" in the speed line"},
        {"a negative rate", replaced(report, "Speed:  561.25 Mtex/s", "Speed:  -561.25 Mtex/s"),
         "r.txt:24: broken number \"-561.25\" in the speed line"},
        {"a broken size",
         replaced(report, "Format: 11 - Size: R=5 G=5", "Format: 11 - Size: R=5 G=x5"),
         "r.txt:47: broken number \"x5\" in the size line"},
        {"a speed line without its units", replaced(report, "561.25 Mtex/s", "561.25"),
         "r.txt:24: expected the speed line \"Speed:  <n> Mtex/s  <n> MB/s\", found "
         "\"Speed:  561.25  2245 MB/s\""},
        {"a block left out",
         replaced(
             report,
             "Format: 05 - Size: R=8 G=8 B=8 A=8\r\nSpeed:  424.499 Mtex/s  1697.99 MB/s\r\n\r\n",
             ""),
         "r.txt:29: expected the result block of format 05 (\"Format: 05 - Size: R=...\"), found "
         "\"Format: 06 - Size: R=8 G=8 B=8 A=8\""},
        {"an unknown heading", replaced(report, "speed (back)", "speed (side)"),
         "r.txt:61: expected the section heading \"Framebuffer texture speed (back)\", found "
         "\"Framebuffer texture speed (side)\""},
        {"a header line missing", replaced(report, "Vendor: Mesa/X.org\r\n", ""),
         "r.txt:5: expected the vendor line \"Vendor: ...\", found "
         "\"Version: 4.5 (Compatibility Profile) Mesa 22.3.6\""},
        {"text after the end", report + "Notes: rerun on Monday\r\n",
         "r.txt:153: text after the end of the report: \"Notes: rerun on Monday\""},
    };
    for (const bad_case& bad : cases) {
        report_data parsed;
        std::string error;
        EXPECT_FALSE(parse_report(bad.text, "r.txt", parsed, error)) << bad.what;
        EXPECT_EQ(error, bad.error) << bad.what;
    }
}

TEST(ReportParse, BlankLinesAfterACompleteReportAreNoFault)
{
    report_data report;
    std::string error;
    ASSERT_TRUE(parse_report(fixture_text("linux_llvmpipe.txt") + "\r\n\n", "r.txt", report, error))
        << error;
    EXPECT_TRUE(is_complete(report));
}

TEST(ReportParse, SaysWhyAFileCannotBeRead)
{
    report_data report;
    std::string error;
    EXPECT_FALSE(read_report("/nonexistent/VexaTextureSpeed.txt", report, error));
    EXPECT_EQ(error, "/nonexistent/VexaTextureSpeed.txt: cannot open: No such file or directory");
    EXPECT_FALSE(read_report(VEXA_REPORT_TESTS, report, error));
    EXPECT_EQ(error, std::string(VEXA_REPORT_TESTS) + ": cannot read: Is a directory");
    EXPECT_FALSE(read_report("/dev/zero", report, error));
    EXPECT_EQ(error,
              "/dev/zero: over 64 MiB, far larger than any report of the texture speed benchmark");
    ASSERT_TRUE(
        read_report(std::string(VEXA_REPORT_TESTS) + "/fixtures/linux_escape.txt", report, error))
        << error;
    EXPECT_EQ(report.measurement_count, 3);
}

} // namespace
