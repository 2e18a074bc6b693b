#include "report_fixtures.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "vexa_report/report_parse.h"

namespace {

std::string file_text(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot open " << path;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

} // namespace

std::string fixture_text(const std::string& name)
{
    return file_text(std::string(VEXA_REPORT_TESTS) + "/fixtures/" + name);
}

std::string golden_text(const std::string& name)
{
    return file_text(std::string(VEXA_REPORT_TESTS) + "/golden/" + name);
}

report_data fixture_report(const std::string& name)
{
    report_data report;
    std::string error;
    EXPECT_TRUE(parse_report(fixture_text(name), name, report, error)) << error;
    return report;
}

std::string with_doubled_cr(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

int occurrences(const std::string& text, const std::string& piece)
{
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}
