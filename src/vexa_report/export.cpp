// CSV and JSON output. Numbers are written as the report wrote them ("%g"),
// so a figure reads the same in the report, the spreadsheet and the JSON.
#include "vexa_report/export.h"

#include <nlohmann/json.hpp>

#include "vexa_report/format_names.h"
#include "vexa_report/text_encoding.h"
#include "vexa_report/text_report.h"

namespace {

std::string csv_field(const std::string& text)
{
    std::string clean = valid_utf8(text);
    if (clean.find_first_of(",\"\r\n") == std::string::npos)
        return clean;
    std::string out = "\"";
    for (char c : clean) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string render_csv(const std::vector<report_data>& reports)
{
    std::string out = "report,vendor,version,renderer,complete,path,format,name,internal_format,"
                      "client_format,type,bytes_per_texel,red,green,blue,alpha,mtex_per_s,"
                      "mb_per_s,gl_error\n";
    for (const report_data& report : reports) {
        for (int path = 0; path < PATH_COUNT; ++path) {
            for (int format = 0; format < FORMAT_COUNT; ++format) {
                const measurement& result = report.results[path][format];
                if (!result.present)
                    continue;
                std::vector<std::string> fields = {
                    report.source,
                    report.vendor,
                    report.version,
                    report.renderer,
                    is_complete(report) ? "true" : "false",
                    PATH_KEYS[path],
                    std::to_string(format + 1),
                    format_name(format),
                    internal_format_name(format),
                    client_format_name(format),
                    type_name(format),
                    std::to_string(format_table[format].bytes_per_texel),
                    std::to_string(result.red),
                    std::to_string(result.green),
                    std::to_string(result.blue),
                    std::to_string(result.alpha),
                    rate_text(result.mtex_per_s),
                    rate_text(result.mb_per_s),
                    result.has_error ? std::to_string(result.error_code) : "",
                };
                for (size_t i = 0; i < fields.size(); ++i)
                    out += (i ? "," : "") + csv_field(fields[i]);
                out += "\n";
            }
        }
    }
    return out;
}

std::string render_json(const std::vector<report_data>& reports)
{
    using nlohmann::json;
    json list = json::array();
    for (const report_data& report : reports) {
        json measurements = json::array();
        for (int path = 0; path < PATH_COUNT; ++path) {
            for (int format = 0; format < FORMAT_COUNT; ++format) {
                const measurement& result = report.results[path][format];
                if (!result.present)
                    continue;
                measurements.push_back({
                    {"path", PATH_KEYS[path]},
                    {"format", format + 1},
                    {"name", format_name(format)},
                    {"internal_format", internal_format_name(format)},
                    {"client_format", client_format_name(format)},
                    {"type", type_name(format)},
                    {"bytes_per_texel", format_table[format].bytes_per_texel},
                    {"red", result.red},
                    {"green", result.green},
                    {"blue", result.blue},
                    {"alpha", result.alpha},
                    {"mtex_per_s", result.mtex_per_s},
                    {"mb_per_s", result.mb_per_s},
                    {"gl_error", result.has_error ? json(result.error_code) : json(nullptr)},
                });
            }
        }
        list.push_back({
            {"source", report.source},
            {"vendor", report.vendor},
            {"version", report.version},
            {"renderer", report.renderer},
            {"extensions", report.has_extensions ? json(report.extensions) : json(nullptr)},
            {"complete", is_complete(report)},
            {"measurement_count", report.measurement_count},
            {"measurements", measurements},
        });
    }
    json document = {{"reports", list}};
    // GL strings are 8-bit text of no stated encoding: bytes that are not
    // UTF-8 become U+FFFD rather than an exception.
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}
