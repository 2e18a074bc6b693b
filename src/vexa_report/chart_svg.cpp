// The SVG chart. Plain SVG 1.1 with no script and no external reference,
// so that a browser, an image viewer or librsvg shows it the same way.
// Each panel has its own scale, from zero to a round number above its
// highest bar; a bar whose figure came with a GL error is drawn pale and
// marked "!".
#include "vexa_report/chart_svg.h"

#include <cmath>
#include <cstdio>

#include "vexa_report/format_names.h"
#include "vexa_report/text_encoding.h"
#include "vexa_report/text_report.h"

namespace {

const double WIDTH = 1000;
const double MARGIN_LEFT = 80; // room for the tick labels and axis title
const double MARGIN_RIGHT = 20;
const double TITLE_HEIGHT = 40;
const double LEGEND_ROW = 20;
const double PANEL_TITLE = 28;
const double PLOT_HEIGHT = 180;
const double AXIS_LABELS = 30; // format numbers under the groups
const double KEY_ROW = 18;     // the format key at the bottom
const double GROUP_FILL = 0.8; // share of a group's width that its bars take
const double ERROR_OPACITY = 0.35;

const char* const COLOURS[] = {
    "#4e79a7", "#f28e2b", "#59a14f", "#e15759", "#76b7b2",
    "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac",
};
const size_t COLOUR_COUNT = sizeof COLOURS / sizeof COLOURS[0];

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A round step (1, 2 or 5 times a power of ten) that splits 0..top into at
// most five intervals.
double tick_step(double top)
{
    double raw = top / 5;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw)
            return factor * power;
    }
    return 10 * power;
}

std::string text_element(double x, double y, const std::string& anchor, const std::string& text,
                         const std::string& extra = "")
{
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" + anchor + "\"" +
           extra + ">" + xml_escaped(text) + "</text>\n";
}

// The legend's name for each report: its renderer, and its file where two
// reports share a renderer.
std::vector<std::string> legend_names(const std::vector<report_data>& reports)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < reports.size(); ++i) {
        bool shared = false;
        for (size_t k = 0; k < reports.size(); ++k)
            shared = shared || (k != i && reports[k].renderer == reports[i].renderer);
        std::string name = reports[i].renderer.empty() ? "(no renderer)" : reports[i].renderer;
        if (shared)
            name += " (" + reports[i].source + ")";
        if (!is_complete(reports[i]))
            name += ", partial";
        names.push_back(name);
    }
    return names;
}

std::string panel(const std::vector<report_data>& reports, int path, double top)
{
    const double plot_left = MARGIN_LEFT;
    const double plot_width = WIDTH - MARGIN_LEFT - MARGIN_RIGHT;
    const double plot_top = top + PANEL_TITLE;
    const double plot_bottom = plot_top + PLOT_HEIGHT;

    double highest = 0;
    for (const report_data& report : reports) {
        for (const measurement& result : report.results[path])
            if (result.present)
                highest = std::max(highest, result.mtex_per_s);
    }
    double step = highest > 0 ? tick_step(highest) : 1;
    double scale_top = highest > 0 ? std::ceil(highest / step) * step : 5;
    if (scale_top < highest * 1.0001) // room for the "!" over the highest bar
        scale_top += step;

    std::string out = "<g class=\"panel\" id=\"panel-" + std::string(PATH_KEYS[path]) + "\">\n";
    out +=
        text_element(plot_left, top + 18, "start", PATH_HEADINGS[path], " class=\"panel-title\"");

    // Grid lines and tick labels.
    for (double tick = 0; tick <= scale_top * 1.0000001; tick += step) {
        double y = plot_bottom - tick / scale_top * PLOT_HEIGHT;
        out += "<line x1=\"" + number(plot_left) + "\" y1=\"" + number(y) + "\" x2=\"" +
               number(plot_left + plot_width) + "\" y2=\"" + number(y) + "\" stroke=\"" +
               (tick == 0 ? "#333333" : "#dddddd") + "\"/>\n";
        char label[32];
        std::snprintf(label, sizeof label, "%g", tick);
        out += text_element(plot_left - 6, y + 4, "end", label, " class=\"tick\"");
    }
    double middle = (plot_top + plot_bottom) / 2;
    out += text_element(plot_left - 56, middle, "middle", "Mtex/s",
                        " class=\"axis-title\" transform=\"rotate(-90 " + number(plot_left - 56) +
                            " " + number(middle) + ")\"");

    const double group_width = plot_width / FORMAT_COUNT;
    const double bar_width = group_width * GROUP_FILL / static_cast<double>(reports.size());
    for (int format = 0; format < FORMAT_COUNT; ++format) {
        double group_left = plot_left + format * group_width + group_width * (1 - GROUP_FILL) / 2;
        for (size_t i = 0; i < reports.size(); ++i) {
            const measurement& result = reports[i].results[path][format];
            if (!result.present)
                continue;
            double height = result.mtex_per_s / scale_top * PLOT_HEIGHT;
            double x = group_left + static_cast<double>(i) * bar_width;
            std::string id = "bar-r" + std::to_string(i + 1) + "-" + PATH_KEYS[path] + "-f" +
                             std::to_string(format + 1);
            std::string tip = reports[i].renderer + ", format " + std::to_string(format + 1) +
                              " (" + format_name(format) + "): " + rate_text(result.mtex_per_s) +
                              " Mtex/s";
            if (result.has_error)
                tip += ", GL error " + std::to_string(result.error_code);
            out += "<rect id=\"" + id + "\" x=\"" + number(x) + "\" y=\"" +
                   number(plot_bottom - height) + "\" width=\"" + number(bar_width) +
                   "\" height=\"" + number(height) + "\" fill=\"" + report_colour(i) + "\"" +
                   (result.has_error ? " fill-opacity=\"" + number(ERROR_OPACITY) + "\"" : "") +
                   "><title>" + xml_escaped(tip) + "</title></rect>\n";
            if (result.has_error)
                out += text_element(x + bar_width / 2, plot_bottom - height - 3, "middle", "!",
                                    " class=\"error-mark\"");
        }
        out += text_element(plot_left + (format + 0.5) * group_width, plot_bottom + 18, "middle",
                            std::to_string(format + 1), " class=\"tick\"");
    }
    out += "</g>\n";
    return out;
}

} // namespace

std::string report_colour(size_t index)
{
    return COLOURS[index % COLOUR_COUNT];
}

std::string render_chart(const std::vector<report_data>& reports)
{
    const double legend_height = LEGEND_ROW * static_cast<double>(reports.size()) + 10;
    const double panel_height = PANEL_TITLE + PLOT_HEIGHT + AXIS_LABELS;
    const int key_rows = (FORMAT_COUNT + 1) / 2;
    const bool errors = any_gl_error(reports);
    const double height = TITLE_HEIGHT + legend_height + PATH_COUNT * panel_height + 24 +
                          (key_rows + (errors ? 2 : 0)) * KEY_ROW + 10;

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + number(WIDTH) +
           "\" height=\"" + number(height) + "\" viewBox=\"0 0 " + number(WIDTH) + " " +
           number(height) + "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\" " +
           "font-size=\"12\">\n";
    out += "<style>.title{font-size:18px;font-weight:bold}.panel-title{font-size:14px;"
           "font-weight:bold}.tick{fill:#444444}.axis-title{fill:#444444}"
           ".error-mark{fill:#cc0000;font-weight:bold}</style>\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + number(WIDTH) + "\" height=\"" + number(height) +
           "\" fill=\"#ffffff\"/>\n";
    out += text_element(MARGIN_LEFT, 26, "start",
                        "Texture transfer speed, million texels per second", " class=\"title\"");

    std::vector<std::string> names = legend_names(reports);
    out += "<g class=\"legend\">\n";
    for (size_t i = 0; i < reports.size(); ++i) {
        double y = TITLE_HEIGHT + LEGEND_ROW * static_cast<double>(i);
        out += "<rect x=\"" + number(MARGIN_LEFT) + "\" y=\"" + number(y + 3) +
               "\" width=\"14\" height=\"14\" fill=\"" + report_colour(i) + "\"/>\n";
        out += text_element(MARGIN_LEFT + 22, y + 15, "start", names[i]);
    }
    out += "</g>\n";

    double top = TITLE_HEIGHT + legend_height;
    for (int path = 0; path < PATH_COUNT; ++path, top += panel_height)
        out += panel(reports, path, top);

    out += "<g class=\"format-key\">\n";
    out += text_element(
        MARGIN_LEFT, top + 14, "start",
        "Formats (internal format \u2190 client format/type):", " font-weight=\"bold\"");
    for (int format = 0; format < FORMAT_COUNT; ++format) {
        int column = format / key_rows;
        int row = format % key_rows;
        double x = MARGIN_LEFT + column * 440;
        double y = top + 24 + (row + 1) * KEY_ROW;
        out += text_element(x + 20, y, "end", std::to_string(format + 1));
        out += text_element(x + 30, y, "start", format_name(format));
    }
    if (errors)
        out += text_element(MARGIN_LEFT, top + 24 + (key_rows + 2) * KEY_ROW, "start",
                            "Pale bars marked \"!\" came with a GL error: the transfer may not "
                            "have happened.");
    out += "</g>\n</svg>\n";
    return out;
}
