// The report parser. The benchmark's report has one fixed shape (a header,
// an optional extension block, three sections of fourteen result blocks),
// so it is read as a sequence of expected lines, and the first line that
// differs is reported with its number. The end of the text before the end
// of that shape means the run was cut short; a line without its line end at
// the very end of the text is a piece of a line and counts as not there.
#include "vexa_report/report_parse.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char TITLE[] = "Vexa's texture/framebuffer speed test";
const char RULE[] = "---------------------------------";
const char EXTENSIONS_LABEL[] = "OpenGL extensions:";
const char* const SECTION_HEADINGS[PATH_COUNT] = {
    "Texture uploading speed",
    "Framebuffer texture speed (back)",
    "Framebuffer texture speed (front)",
};

struct text_line {
    std::string text; // without its line end
    int number;       // counted from 1
};

struct line_cursor {
    std::vector<text_line> lines;
    size_t next = 0;
};

// Thrown when the text ends before the report does.
struct report_ends {};

// Thrown at the first line that does not belong to a report.
struct not_a_report {
    int line;
    std::string message;
};

// Quotes a line for a message: printable ASCII as it is, other bytes as
// \xNN, long lines cut.
std::string quoted(const std::string& text)
{
    const size_t MAX_SHOWN = 60;
    std::string out = "\"";
    for (size_t i = 0; i < text.size() && i < MAX_SHOWN; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    if (text.size() > MAX_SHOWN)
        out += "...";
    return out + "\"";
}

std::string title_mismatch(const std::string& first_line)
{
    return std::string("not a report of the texture speed benchmark: expected its title \"") +
           TITLE + "\", found " + quoted(first_line);
}

bool is_speed_line_whole(const std::string& text)
{
    const std::string suffix = " MB/s";
    return text.rfind("Speed:", 0) == 0 && text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<text_line> split_lines(const std::string& text)
{
    std::vector<text_line> lines;
    size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        bool terminated = end != std::string::npos;
        if (!terminated)
            end = text.size();
        size_t stop = end;
        while (stop > start && text[stop - 1] == '\r')
            --stop;
        std::string line = text.substr(start, stop - start);
        // A last line without its line end was cut inside. Only a speed line
        // that reaches its final " MB/s" is whole without one: its numbers
        // cannot have lost digits.
        if (terminated || is_speed_line_whole(line))
            lines.push_back({line, number});
        start = terminated ? end + 1 : end;
        ++number;
    }
    return lines;
}

const text_line& take(line_cursor& cursor)
{
    if (cursor.next == cursor.lines.size())
        throw report_ends{};
    return cursor.lines[cursor.next++];
}

const text_line* peek(const line_cursor& cursor)
{
    return cursor.next == cursor.lines.size() ? nullptr : &cursor.lines[cursor.next];
}

[[noreturn]] void fail(const text_line& line, const std::string& message)
{
    throw not_a_report{line.number, message};
}

[[noreturn]] void fail_expected(const text_line& line, const std::string& expected)
{
    fail(line, "expected " + expected + ", found " + quoted(line.text));
}

void expect_exact(line_cursor& cursor, const char* text, const std::string& what)
{
    const text_line& line = take(cursor);
    if (line.text != text)
        fail_expected(line, what);
}

void expect_blank(line_cursor& cursor)
{
    expect_exact(cursor, "", "an empty line");
}

// The text after label, which the line must start with.
std::string labelled(line_cursor& cursor, const std::string& label, const std::string& what)
{
    const text_line& line = take(cursor);
    if (line.text.compare(0, label.size(), label) != 0)
        fail_expected(line, what + " " + quoted(label + "..."));
    return line.text.substr(label.size());
}

// Splits text into the fields between fixed pieces: pieces[0] starts the
// text, the last piece ends it, and the others separate the fields. False
// when a piece is missing.
bool split_fields(const std::string& text, const std::vector<std::string>& pieces,
                  std::vector<std::string>& fields)
{
    fields.clear();
    if (text.compare(0, pieces[0].size(), pieces[0]) != 0)
        return false;
    size_t pos = pieces[0].size();
    for (size_t i = 1; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        size_t found;
        if (i + 1 == pieces.size()) {
            if (text.size() < pos + piece.size() ||
                text.compare(text.size() - piece.size(), piece.size(), piece) != 0)
                return false;
            found = text.size() - piece.size();
        } else {
            found = text.find(piece, pos);
            if (found == std::string::npos)
                return false;
        }
        fields.push_back(text.substr(pos, found - pos));
        pos = found + piece.size();
    }
    return true;
}

int to_int(const text_line& line, const std::string& field, const char* what, bool allow_negative)
{
    int value = 0;
    const char* first = field.data();
    const char* last = first + field.size();
    auto [end, status] = std::from_chars(first, last, value);
    if (field.empty() || status != std::errc() || end != last || (!allow_negative && value < 0))
        fail(line, "broken number " + quoted(field) + " in the " + what);
    return value;
}

double to_rate(const text_line& line, const std::string& field)
{
    double value = 0;
    const char* first = field.data();
    const char* last = first + field.size();
    auto [end, status] = std::from_chars(first, last, value, std::chars_format::general);
    if (field.empty() || status != std::errc() || end != last || !std::isfinite(value) || value < 0)
        fail(line, "broken number " + quoted(field) + " in the speed line");
    return value;
}

void read_header(line_cursor& cursor, report_data& report)
{
    const text_line& title = take(cursor);
    if (title.text != TITLE)
        fail(title, title_mismatch(title.text));
    labelled(cursor, "Mail: ", "the contact line");
    labelled(cursor, "Homepage: ", "the homepage line");
    expect_blank(cursor);
    report.vendor = labelled(cursor, "Vendor: ", "the vendor line");
    report.version = labelled(cursor, "Version: ", "the version line");
    report.renderer = labelled(cursor, "Renderer: ", "the renderer line");
    expect_blank(cursor);
    // The extension block is in the file only; a console copy goes on with
    // the first section heading.
    const text_line* next = peek(cursor);
    if (next && next->text == RULE) {
        take(cursor);
        expect_exact(cursor, EXTENSIONS_LABEL, std::string("\"") + EXTENSIONS_LABEL + "\"");
        report.extensions = take(cursor).text;
        report.has_extensions = true;
        expect_exact(cursor, RULE, "the rule line that closes the extension block");
        expect_blank(cursor);
    }
}

void read_section_heading(line_cursor& cursor, int path)
{
    if (path > 0) {
        expect_blank(cursor);
        expect_blank(cursor);
    }
    expect_exact(cursor, SECTION_HEADINGS[path],
                 std::string("the section heading \"") + SECTION_HEADINGS[path] + "\"");
    expect_exact(cursor, RULE, "the rule line under the section heading");
    expect_blank(cursor);
}

void read_block(line_cursor& cursor, int path, int format, report_data& report)
{
    measurement result;
    std::vector<std::string> fields;

    const text_line* line = &take(cursor);
    if (split_fields(line->text, {"ERROR ", ""}, fields)) {
        result.has_error = true;
        result.error_code = to_int(*line, fields[0], "error line", true);
        line = &take(cursor);
    }

    char expected_format[64];
    std::snprintf(expected_format, sizeof expected_format,
                  "the result block of format %02d (\"Format: %02d - Size: R=...\")", format + 1,
                  format + 1);
    if (!split_fields(line->text, {"Format: ", " - Size: R=", " G=", " B=", " A=", ""}, fields))
        fail_expected(*line, expected_format);
    if (fields[0].size() != 2 || to_int(*line, fields[0], "format line", false) != format + 1)
        fail_expected(*line, expected_format);
    result.red = to_int(*line, fields[1], "size line", false);
    result.green = to_int(*line, fields[2], "size line", false);
    result.blue = to_int(*line, fields[3], "size line", false);
    result.alpha = to_int(*line, fields[4], "size line", false);

    line = &take(cursor);
    if (!split_fields(line->text, {"Speed:  ", " Mtex/s  ", " MB/s"}, fields))
        fail_expected(*line, "the speed line \"Speed:  <n> Mtex/s  <n> MB/s\"");
    result.mtex_per_s = to_rate(*line, fields[0]);
    result.mb_per_s = to_rate(*line, fields[1]);

    // The block is whole with its speed line; the blank line after it may
    // be where the text ends.
    result.present = true;
    report.results[path][format] = result;
    ++report.measurement_count;
    expect_blank(cursor);
}

} // namespace

bool parse_report(const std::string& text, const std::string& source, report_data& report,
                  std::string& error)
{
    report = report_data();
    report.source = source;
    if (text.empty()) {
        error = source + ": empty file, not a report of the texture speed benchmark";
        return false;
    }
    // An editor that saved the report may have put a byte order mark first.
    const std::string UTF8_BOM = "\xEF\xBB\xBF";
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
        error = source + ": UTF-16 text; the benchmark writes 8-bit text (save the report as "
                         "ANSI or UTF-8)";
        return false;
    }
    const bool has_bom = text.rfind(UTF8_BOM, 0) == 0;
    line_cursor cursor;
    cursor.lines = split_lines(has_bom ? text.substr(UTF8_BOM.size()) : text);
    if (cursor.lines.empty() || cursor.lines[0].number != 1) {
        error = source + ":1: " + title_mismatch(text.substr(0, text.find('\n')));
        return false;
    }
    try {
        read_header(cursor, report);
        for (int path = 0; path < PATH_COUNT; ++path) {
            read_section_heading(cursor, path);
            for (int format = 0; format < FORMAT_COUNT; ++format)
                read_block(cursor, path, format, report);
        }
        // Nothing follows a complete report but, perhaps, blank lines that
        // an editor added.
        for (const text_line* line = peek(cursor); line; line = peek(cursor)) {
            if (!line->text.empty())
                fail(*line, "text after the end of the report: " + quoted(line->text));
            take(cursor);
        }
    } catch (const report_ends&) {
        // Cut short: what was read so far is the report.
    } catch (const not_a_report& failure) {
        error = source + ":" + std::to_string(failure.line) + ": " + failure.message;
        return false;
    }
    return true;
}

bool read_report(const std::string& path, report_data& report, std::string& error)
{
    const bool from_stdin = path == "-";
    std::FILE* file = from_stdin ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    // A report is tens of kilobytes; a file far larger (or endless, such as
    // /dev/zero) is not read to its end.
    const size_t MAX_REPORT_BYTES = 64u << 20;
    std::string text;
    char chunk[65536];
    size_t count;
    while (text.size() <= MAX_REPORT_BYTES &&
           (count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, count);
    const bool failed = std::ferror(file);
    const int read_errno = errno;
    if (!from_stdin)
        std::fclose(file);
    const std::string source = from_stdin ? "(standard input)" : path;
    if (failed) {
        error = source + ": cannot read: " + std::strerror(read_errno);
        return false;
    }
    if (text.size() > MAX_REPORT_BYTES) {
        error = source + ": over 64 MiB, far larger than any report of the texture speed benchmark";
        return false;
    }
    return parse_report(text, source, report, error);
}
