// The text tables of vexa-report. Columns are sized to their widest cell,
// counted in characters (format names hold a UTF-8 arrow), and a row may be
// followed by note lines that stand outside the columns. The GL strings are
// printed as valid UTF-8 without control characters: a report is data, and
// must not be able to send escape sequences to the terminal.
#include "vexa_report/text_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "vexa_report/format_names.h"
#include "vexa_report/text_encoding.h"

namespace {

const char FASTEST_MARK[] = "*";
const char ERROR_MARK[] = "!";

struct table_row {
    std::vector<std::string> cells;
    std::vector<std::string> notes; // whole lines under the row
};

size_t display_width(const std::string& text)
{
    size_t width = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) // not a UTF-8 continuation byte
            ++width;
    }
    return width;
}

std::string padded(const std::string& text, size_t width, bool right)
{
    std::string fill(width - std::min(width, display_width(text)), ' ');
    return right ? fill + text : text + fill;
}

// right_aligned has one flag per column; columns are two blanks apart.
std::string render_rows(const std::vector<table_row>& rows, const std::vector<bool>& right_aligned)
{
    std::vector<size_t> widths(right_aligned.size(), 0);
    for (const table_row& row : rows) {
        for (size_t i = 0; i < row.cells.size(); ++i)
            widths[i] = std::max(widths[i], display_width(row.cells[i]));
    }
    std::string out;
    for (const table_row& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.cells.size(); ++i)
            line += (i ? "  " : "") + padded(row.cells[i], widths[i], right_aligned[i]);
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
        for (const std::string& note : row.notes)
            out += note + "\n";
    }
    return out;
}

std::string format_number_cell(int format)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d", format + 1);
    return text;
}

std::string sizes_text(const measurement& result)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", result.red, result.green, result.blue,
                  result.alpha);
    return text;
}

std::string error_text(const measurement& result)
{
    std::string name = gl_error_name(result.error_code);
    return "ERROR " + std::to_string(result.error_code) + (name.empty() ? "" : " (" + name + ")");
}

// A rate with its mark column: "718.777 *", "12.5 !", "62.78  ", "-  ".
std::string marked_rate(const measurement& result, bool fastest)
{
    if (!result.present)
        return "-  ";
    const char* mark = result.has_error ? ERROR_MARK : fastest ? FASTEST_MARK : " ";
    return rate_text(result.mtex_per_s) + " " + mark;
}

// A ratio to three significant digits, trailing zeros kept: "1.00", "0.0873".
std::string ratio_text(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%#.3g", ratio);
    return text;
}

bool rankable(const measurement& result)
{
    return result.present && !result.has_error && result.mtex_per_s > 0;
}

std::string where_it_ends(const report_data& report)
{
    if (is_complete(report))
        return "";
    int path = report.measurement_count / FORMAT_COUNT;
    int format = report.measurement_count % FORMAT_COUNT;
    char text[128];
    std::snprintf(text, sizeof text, " (partial: the report ends before format %02d of the %s)",
                  format + 1, PATH_DESCRIPTIONS[path]);
    return text;
}

std::string results_line(const report_data& report)
{
    return std::to_string(report.measurement_count) + " of " + std::to_string(MEASUREMENT_COUNT) +
           " measurements" + where_it_ends(report);
}

std::string extensions_line(const report_data& report)
{
    if (!report.has_extensions)
        return "not in this copy (a console copy has none)";
    size_t count = 0;
    bool in_word = false;
    for (char c : report.extensions) {
        bool blank = c == ' ';
        if (!blank && !in_word)
            ++count;
        in_word = !blank;
    }
    return std::to_string(count) + " listed";
}

} // namespace

std::string rate_text(double rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", rate);
    return text;
}

bool ratio_usable(const measurement& base, const measurement& other)
{
    return rankable(base) && rankable(other);
}

bool any_gl_error(const std::vector<report_data>& reports)
{
    for (const report_data& report : reports) {
        for (const auto& path : report.results) {
            for (const measurement& result : path) {
                if (result.present && result.has_error)
                    return true;
            }
        }
    }
    return false;
}

std::string render_show(const report_data& report)
{
    std::string out;
    out += "Report:      " + report.source + "\n";
    out += "Vendor:      " + valid_utf8(report.vendor) + "\n";
    out += "Version:     " + valid_utf8(report.version) + "\n";
    out += "Renderer:    " + valid_utf8(report.renderer) + "\n";
    out += "Extensions:  " + extensions_line(report) + "\n";
    out += "Results:     " + results_line(report) + "\n\n";

    double fastest[PATH_COUNT] = {};
    for (int path = 0; path < PATH_COUNT; ++path) {
        for (int format = 0; format < FORMAT_COUNT; ++format) {
            const measurement& result = report.results[path][format];
            if (rankable(result) && result.mtex_per_s > fastest[path])
                fastest[path] = result.mtex_per_s;
        }
    }

    std::vector<table_row> rows;
    // Rate columns end in a mark column ("*", "!"), which their heads leave blank.
    table_row head{{"#", "Format", "R G B A"}, {}};
    table_row unit{{"", "", ""}, {}};
    for (int path = 0; path < PATH_COUNT; ++path) {
        head.cells.push_back(std::string(PATH_TITLES[path]) + "  ");
        unit.cells.push_back("Mtex/s  ");
    }
    rows.push_back(head);
    rows.push_back(unit);
    for (int format = 0; format < FORMAT_COUNT; ++format) {
        table_row row;
        row.cells.push_back(format_number_cell(format));
        row.cells.push_back(format_name(format));
        // The sizes the implementation granted in the first pass that
        // measured this format; a later pass that was granted others is noted.
        const measurement* first = nullptr;
        for (int path = 0; path < PATH_COUNT; ++path) {
            const measurement& result = report.results[path][format];
            if (!result.present)
                continue;
            if (!first)
                first = &result;
            else if (sizes_text(result) != sizes_text(*first))
                row.notes.push_back("      " + std::string(PATH_TITLES[path]) +
                                    ": granted R G B A = " + sizes_text(result));
        }
        row.cells.push_back(first ? sizes_text(*first) : "-");
        for (int path = 0; path < PATH_COUNT; ++path) {
            const measurement& result = report.results[path][format];
            bool is_fastest = rankable(result) && result.mtex_per_s == fastest[path];
            row.cells.push_back(marked_rate(result, is_fastest));
            if (result.present && result.has_error)
                row.notes.push_back("      " + std::string(PATH_TITLES[path]) + ": " +
                                    error_text(result));
        }
        rows.push_back(row);
    }
    out += render_rows(rows, {true, false, false, true, true, true});
    out += "\n* fastest format of its path";
    if (any_gl_error({report}))
        out += "   ! a GL error was reported with this figure";
    return out + "\n";
}

std::string render_compare(const std::vector<report_data>& reports)
{
    std::string out = "Reports:\n";
    for (size_t i = 0; i < reports.size(); ++i) {
        const report_data& report = reports[i];
        out += "  [" + std::to_string(i + 1) + "] " + valid_utf8(report.renderer) + "; " +
               valid_utf8(report.version) + "; " + report.source;
        if (!is_complete(report))
            out += "; " + results_line(report);
        out += "\n";
    }

    for (int path = 0; path < PATH_COUNT; ++path) {
        out += "\n" + std::string(PATH_HEADINGS[path]) + ", Mtex/s\n";

        std::vector<table_row> rows;
        std::vector<bool> right_aligned = {true, false};
        table_row head{{"#", "Format"}, {}};
        for (size_t i = 0; i < reports.size(); ++i) {
            std::string name = "[" + std::to_string(i + 1) + "]";
            head.cells.push_back(name + "  ");
            right_aligned.push_back(true);
            if (i > 0) {
                head.cells.push_back(name + "/[1]");
                right_aligned.push_back(true);
            }
        }
        rows.push_back(head);

        std::vector<double> log_sum(reports.size(), 0.0);
        std::vector<int> used(reports.size(), 0);
        for (int format = 0; format < FORMAT_COUNT; ++format) {
            table_row row{{format_number_cell(format), format_name(format)}, {}};
            const measurement& base = reports[0].results[path][format];
            for (size_t i = 0; i < reports.size(); ++i) {
                const measurement& result = reports[i].results[path][format];
                row.cells.push_back(marked_rate(result, false));
                if (result.present && result.has_error)
                    row.notes.push_back("      [" + std::to_string(i + 1) +
                                        "]: " + error_text(result));
                if (i == 0)
                    continue;
                if (base.present && result.present && base.mtex_per_s > 0)
                    row.cells.push_back(ratio_text(result.mtex_per_s / base.mtex_per_s));
                else
                    row.cells.push_back("-");
                if (ratio_usable(base, result)) {
                    log_sum[i] += std::log(result.mtex_per_s / base.mtex_per_s);
                    ++used[i];
                }
            }
            rows.push_back(row);
        }

        table_row mean{{"", "geometric mean"}, {}};
        bool all_used = true;
        for (size_t i = 0; i < reports.size(); ++i) {
            mean.cells.push_back("");
            if (i == 0)
                continue;
            mean.cells.push_back(used[i] == 0 ? "-" : ratio_text(std::exp(log_sum[i] / used[i])));
            all_used = all_used && used[i] == FORMAT_COUNT;
        }
        if (reports.size() > 1)
            rows.push_back(mean);
        out += render_rows(rows, right_aligned);
        if (!all_used) {
            out += "  Means over the formats with a figure above zero and no GL error in both:";
            for (size_t i = 1; i < reports.size(); ++i)
                out += " [" + std::to_string(i + 1) + "] " + std::to_string(used[i]) + " of " +
                       std::to_string(FORMAT_COUNT) + (i + 1 < reports.size() ? "," : ".");
            out += "\n";
        }
    }
    if (any_gl_error(reports))
        out += "\n! a GL error was reported with this figure\n";
    return out;
}
