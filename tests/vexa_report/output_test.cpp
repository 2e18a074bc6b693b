// What vexa-report makes of parsed reports: the tables against goldens that
// were checked by eye, the compare arithmetic, and the CSV, JSON and SVG.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "report_fixtures.h"
#include "vexa_report/chart_svg.h"
#include "vexa_report/export.h"
#include "vexa_report/text_report.h"

namespace {

std::vector<report_data> fixture_reports(const std::vector<std::string>& names)
{
    std::vector<report_data> reports;
    for (const std::string& name : names)
        reports.push_back(fixture_report(name));
    return reports;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The lines of text that start with prefix.
std::vector<std::string> lines_starting(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : lines_of(text)) {
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    }
    return found;
}

// line's words, one blank apart.
std::string words_of(const std::string& line)
{
    std::string words;
    for (char c : line) {
        if (c != ' ' || (!words.empty() && words.back() != ' '))
            words += c;
    }
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    return words;
}

TEST(ReportOutput, ShowMatchesItsGoldens)
{
    const char* const cases[][2] = {
        {"linux_llvmpipe.txt", "show_linux_llvmpipe.txt"},
        {"linux_errors.txt", "show_linux_errors.txt"},
        {"linux_sigterm.txt", "show_linux_sigterm.txt"},
        {"linux_escape.txt", "show_linux_escape.txt"},
    };
    for (const auto& names : cases)
        EXPECT_EQ(render_show(fixture_report(names[0])), golden_text(names[1])) << names[1];
}

TEST(ReportOutput, TablesSendNoControlCharactersToTheTerminal)
{
    report_data report = fixture_report("linux_escape.txt");
    report.vendor = "Vexa\x1b]0;owned\x07";
    report.renderer = "fast\x1b[2J\r";
    report.version = "1.1 \xff";
    for (const std::string& text : {render_show(report), render_compare({report, report})}) {
        EXPECT_EQ(text.find('\x1b'), std::string::npos) << text;
        EXPECT_EQ(text.find('\r'), std::string::npos) << text;
        EXPECT_NE(text.find("fast[2J"), std::string::npos) << text;
        EXPECT_NE(text.find("1.1 \xEF\xBF\xBD"), std::string::npos) << text;
    }
}

// The sizes column holds the first pass's; a pass granted other sizes is
// named under the row.
TEST(ReportOutput, ShowNotesSizesThatDifferBetweenPasses)
{
    report_data report = fixture_report("linux_llvmpipe.txt");
    report.results[2][11].red = 8;
    std::vector<std::string> lines = lines_of(render_show(report));
    auto row = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("12  RGBA4 ", 0) == 0;
    });
    ASSERT_NE(row, lines.end());
    EXPECT_NE(row->find("  4 4 4 4  "), std::string::npos) << *row;
    ASSERT_NE(row + 1, lines.end());
    EXPECT_EQ(*(row + 1), "      Front copy: granted R G B A = 8 4 4 4");
}

TEST(ReportOutput, CompareMatchesItsGoldens)
{
    EXPECT_EQ(render_compare(fixture_reports(
                  {"linux_llvmpipe.txt", "linux_softpipe.txt", "windows_wine.txt"})),
              golden_text("compare_llvmpipe_softpipe_wine.txt"));
    EXPECT_EQ(render_compare(
                  fixture_reports({"linux_llvmpipe.txt", "linux_errors.txt", "linux_sigterm.txt"})),
              golden_text("compare_errors_and_partial.txt"));
}

// A report against itself, and against itself made faster by known factors:
// every ratio and the geometric mean follow from those factors alone.
TEST(ReportOutput, CompareRatiosAndTheirGeometricMean)
{
    report_data base = fixture_report("linux_softpipe.txt");
    report_data faster = base;
    for (auto& path : faster.results) {
        for (measurement& result : path)
            result.mtex_per_s *= 2;
    }
    faster.results[1][4].mtex_per_s *= 4; // one format of the back copy 8 times as fast

    std::string text = render_compare({base, base, faster});
    std::vector<std::string> means = lines_starting(text, "    geometric mean");
    ASSERT_EQ(means.size(), 3u) << text;
    // 2 for every format; in the back copy 2 * 4^(1/14) = 2.208.
    EXPECT_EQ(words_of(means[0]), "geometric mean 1.00 2.00");
    EXPECT_EQ(words_of(means[1]), "geometric mean 1.00 2.21");
    EXPECT_EQ(words_of(means[2]), "geometric mean 1.00 2.00");
    EXPECT_EQ(occurrences(text, " 8.00\n"), 1) << text;
    EXPECT_EQ(text.find("Means over"), std::string::npos) << "every format was usable";
}

const char CSV_HEADER[] =
    "report,vendor,version,renderer,complete,path,format,name,internal_format,client_format,"
    "type,bytes_per_texel,red,green,blue,alpha,mtex_per_s,mb_per_s,gl_error";

TEST(ReportOutput, CsvHasARowPerMeasurementWithEveryFigure)
{
    std::vector<std::string> lines = lines_of(render_csv(
        fixture_reports({"linux_llvmpipe.txt", "linux_errors.txt", "linux_escape.txt"})));
    ASSERT_EQ(lines.size(), 1u + 42 + 42 + 3);
    EXPECT_EQ(lines[0], CSV_HEADER);
    const std::string identity = ",Mesa/X.org,4.5 (Compatibility Profile) Mesa 22.3.6,"
                                 "\"llvmpipe (LLVM 15.0.6, 256 bits)\",";
    EXPECT_EQ(lines[1],
              "linux_llvmpipe.txt" + identity +
                  "true,upload,1,4 \u2190 RGBA/ubyte,4,RGBA,ubyte,4,8,8,8,8,629.976,2519.9,");
    EXPECT_EQ(lines[42], "linux_llvmpipe.txt" + identity +
                             "true,front_copy,14,3 \u2190 RGB/ubyte,3,RGB,ubyte,3,8,8,8,0,206.351,"
                             "619.053,");
    EXPECT_EQ(lines[43 + 10], "linux_errors.txt" + identity +
                                  "true,upload,11,RGB5_A1 \u2190 RGBA/ushort_5_5_5_1,RGB5_A1,RGBA,"
                                  "ushort_5_5_5_1,2,5,5,5,1,136.905,273.809,1280");
    EXPECT_EQ(lines[84],
              "linux_errors.txt" + identity +
                  "true,front_copy,14,3 \u2190 RGB/ubyte,3,RGB,ubyte,3,8,8,8,0,0,0,1285");
    EXPECT_EQ(lines[85].rfind("linux_escape.txt" + identity + "false,upload,1,", 0), 0u);
}

TEST(ReportOutput, CsvQuotesWhatNeedsIt)
{
    report_data report = fixture_report("linux_escape.txt");
    report.vendor = "Vexa \"Fast\" Graphics";
    report.renderer = "plain";
    report.version = "1.1\xff"; // not UTF-8
    std::vector<std::string> lines = lines_of(render_csv({report}));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(
        lines[1].rfind("linux_escape.txt,\"Vexa \"\"Fast\"\" Graphics\",1.1\xEF\xBF\xBD,plain,"
                       "false,",
                       0),
        0u)
        << lines[1];
}

TEST(ReportOutput, JsonHoldsEveryReportAndMeasurement)
{
    report_data odd = fixture_report("linux_escape.txt");
    odd.renderer = "R\xe9nder"; // Latin-1, not UTF-8
    nlohmann::json document = nlohmann::json::parse(render_json(
        {fixture_report("linux_errors.txt"), fixture_report("linux_llvmpipe_console.txt"), odd}));
    const nlohmann::json& reports = document.at("reports");
    ASSERT_EQ(reports.size(), 3u);

    const nlohmann::json& errors = reports[0];
    EXPECT_EQ(errors.at("source"), "linux_errors.txt");
    EXPECT_EQ(errors.at("renderer"), "llvmpipe (LLVM 15.0.6, 256 bits)");
    EXPECT_EQ(errors.at("complete"), true);
    EXPECT_EQ(errors.at("extensions").get<std::string>().rfind("GL_ARB_multisample ", 0), 0u);
    ASSERT_EQ(errors.at("measurements").size(), 42u);
    const nlohmann::json& packed = errors.at("measurements")[10];
    EXPECT_EQ(packed, nlohmann::json::parse(R"({"path": "upload", "format": 11,
        "name": "RGB5_A1 \u2190 RGBA/ushort_5_5_5_1", "internal_format": "RGB5_A1",
        "client_format": "RGBA", "type": "ushort_5_5_5_1", "bytes_per_texel": 2, "red": 5,
        "green": 5, "blue": 5, "alpha": 1, "mtex_per_s": 136.905, "mb_per_s": 273.809,
        "gl_error": 1280})"));
    EXPECT_TRUE(errors.at("measurements")[0].at("gl_error").is_null());

    EXPECT_TRUE(reports[1].at("extensions").is_null()) << "a console copy has no extension block";
    EXPECT_EQ(reports[1].at("measurements").size(), 42u);

    EXPECT_EQ(reports[2].at("renderer"), "R\xEF\xBF\xBDnder");
    EXPECT_EQ(reports[2].at("complete"), false);
    EXPECT_EQ(reports[2].at("measurement_count"), 3);
    EXPECT_EQ(reports[2].at("measurements").size(), 3u);
}

TEST(ReportOutput, ChartHasABarPerMeasurementInItsReportsColour)
{
    std::string svg = render_chart(fixture_reports({"linux_llvmpipe.txt", "linux_sigterm.txt"}));
    EXPECT_EQ(occurrences(svg, "<rect id=\"bar-r1-"), 42);
    EXPECT_EQ(occurrences(svg, "<rect id=\"bar-r2-"), 17) << "a partial report has fewer bars";
    EXPECT_NE(svg.find("<rect id=\"bar-r2-back_copy-f3\""), std::string::npos);
    EXPECT_EQ(svg.find("<rect id=\"bar-r2-back_copy-f4\""), std::string::npos);
    EXPECT_NE(report_colour(0), report_colour(1));
    EXPECT_EQ(occurrences(svg, "fill=\"" + report_colour(0) + "\""), 42 + 1); // and the legend
    EXPECT_EQ(occurrences(svg, "fill=\"" + report_colour(1) + "\""), 17 + 1);
    // Two reports of one renderer are told apart by their files.
    EXPECT_NE(svg.find(">llvmpipe (LLVM 15.0.6, 256 bits) (linux_sigterm.txt), partial</text>"),
              std::string::npos);
}

TEST(ReportOutput, ChartEscapesTheImplementationsStrings)
{
    report_data report = fixture_report("linux_escape.txt");
    report.renderer = "A&B <fast> \"x\" \xff\x01";
    std::string svg = render_chart({report});
    EXPECT_NE(svg.find(">A&amp;B &lt;fast&gt; &quot;x&quot; \xEF\xBF\xBD, partial</text>"),
              std::string::npos);
    EXPECT_EQ(svg.find("<fast>"), std::string::npos);
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
}

} // namespace
