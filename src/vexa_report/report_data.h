// What vexa-report knows of one report of the texture speed benchmark: the
// implementation's identity and, for each of the three transfer paths and
// fourteen formats, the result block if the report holds it.
#pragma once

#include <string>

#include "bench/format_table.h"

constexpr int PATH_COUNT = 3; // upload, back-buffer copy, front-buffer copy; run in this order
constexpr int MEASUREMENT_COUNT = PATH_COUNT * FORMAT_COUNT;

struct measurement {
    bool present = false; // false where the report ends before this block
    int red = 0;          // component bits the implementation gave the texture
    int green = 0;
    int blue = 0;
    int alpha = 0;
    double mtex_per_s = 0;  // million texels per second
    double mb_per_s = 0;    // million client bytes per second
    bool has_error = false; // an "ERROR n" line came before the block
    int error_code = 0;     // the GL error, as the report prints it
};

struct report_data {
    std::string source; // the file name as the user gave it
    std::string vendor; // GL strings, as the implementation returned them
    std::string version;
    std::string renderer;
    bool has_extensions = false; // false for a console copy
    std::string extensions;
    measurement results[PATH_COUNT][FORMAT_COUNT];
    int measurement_count = 0; // complete blocks, counted in run order
};

inline bool is_complete(const report_data& report)
{
    return report.measurement_count == MEASUREMENT_COUNT;
}
