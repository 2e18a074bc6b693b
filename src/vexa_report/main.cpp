// vexa-report: reads reports of the texture speed benchmark and shows what
// they say, compares them, charts them and exports every figure.
//   exit status 0: done; 1: a report could not be read, or the output not
//   written; 2: the command line was wrong.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "vexa_report/chart_svg.h"
#include "vexa_report/export.h"
#include "vexa_report/report_parse.h"
#include "vexa_report/text_report.h"

namespace {

const char PROGRAM[] = "vexa-report";
const int EXIT_BAD_INPUT = 1;
const int EXIT_USAGE = 2;

// Reads every report, saying what is wrong with each one that fails.
bool read_all(const std::vector<std::string>& paths, std::vector<report_data>& reports)
{
    bool all_read = true;
    for (const std::string& path : paths) {
        report_data report;
        std::string error;
        if (read_report(path, report, error)) {
            reports.push_back(report);
        } else {
            std::fprintf(stderr, "%s: %s\n", PROGRAM, error.c_str());
            all_read = false;
        }
    }
    return all_read;
}

// Writes text to path, or to standard output for "-".
bool write_output(const std::string& path, const std::string& text)
{
    if (path == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int error = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        std::fprintf(stderr, "%s: %s: cannot write: %s\n", PROGRAM, path.c_str(),
                     std::strerror(error));
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Reads reports (VexaTextureSpeed.txt) of the texture speed benchmark: shows "
                 "one, compares several, charts them, or exports every figure as CSV or JSON.",
                 PROGRAM};
    app.set_version_flag("--version", std::string(PROGRAM) + " 1.0");
    app.require_subcommand(1);
    app.footer("A report may be the benchmark's file or a saved console copy, from Linux or "
               "Windows, complete or cut short; \"-\" reads standard input. Tables, CSV and JSON "
               "go to standard output.\nExit status: 0 done, 1 a report could not be read or the "
               "output not written, 2 usage.");

    // The reports of whichever command was given.
    std::vector<std::string> paths;
    std::string show_path;
    CLI::App* show = app.add_subcommand("show", "One report as a table, a line per format");
    show->footer("Per format: the component sizes the implementation granted and the Mtex/s of "
                 "the three paths, the fastest format of each path marked \"*\". A GL error is "
                 "marked \"!\" and named under its row.");
    show->add_option("REPORT", show_path, "The report to show")->required();

    CLI::App* compare =
        app.add_subcommand("compare", "Two or more reports side by side, set against the first");
    compare->footer("Per path and format: each report's Mtex/s and its ratio to the first; per "
                    "path the geometric mean of the ratios, over the formats with a figure above "
                    "zero and no GL error in both reports.");
    compare->add_option("REPORTS", paths, "The reports; the first is the baseline")
        ->required()
        ->expected(2, CLI::detail::expected_max_vector_size);

    std::string chart_output;
    CLI::App* chart = app.add_subcommand("chart", "A bar chart of one or more reports, as SVG");
    chart->footer("A panel per path, a group of bars per format, a colour per report, and a "
                  "legend of renderer names. Bars with a GL error are pale and marked \"!\".");
    chart->add_option("REPORTS", paths, "The reports to chart")->required();
    chart->add_option("-o,--output", chart_output, "The SVG file to write (\"-\": standard output)")
        ->required();

    CLI::App* csv =
        app.add_subcommand("csv", "Every figure as CSV, a row per report, path and format");
    csv->add_option("REPORTS", paths, "The reports")->required();

    CLI::App* json =
        app.add_subcommand("json", "Every figure as JSON, an object per report, path and format");
    json->add_option("REPORTS", paths, "The reports")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : EXIT_USAGE;
    }

    if (show->parsed())
        paths = {show_path};
    std::vector<report_data> reports;
    if (!read_all(paths, reports))
        return EXIT_BAD_INPUT;
    const std::string output = show->parsed()      ? render_show(reports[0])
                               : compare->parsed() ? render_compare(reports)
                               : chart->parsed()   ? render_chart(reports)
                               : csv->parsed()     ? render_csv(reports)
                                                   : render_json(reports);
    return write_output(chart->parsed() ? chart_output : "-", output) ? 0 : EXIT_BAD_INPUT;
}
