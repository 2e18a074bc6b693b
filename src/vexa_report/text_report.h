// The tables vexa-report prints for people: one report, or several side by
// side. Both are UTF-8 text, one line per format, columns padded with blanks.
#pragma once

#include <string>
#include <vector>

#include "vexa_report/report_data.h"

// One report: its identity, then per format the granted sizes and the
// Mtex/s of the three paths; the fastest format of each path marked, and
// each GL error noted under the row where it happened.
std::string render_show(const report_data& report);

// Several reports, each set against the first: per path, every report's
// Mtex/s and its ratio to the first, and the geometric mean of the ratios.
std::string render_compare(const std::vector<report_data>& reports);

// "%g" of a rate, as the benchmark prints it.
std::string rate_text(double rate);

// Whether any measurement of the reports came with a GL error.
bool any_gl_error(const std::vector<report_data>& reports);

// Number of the first report's rate over the others' that a geometric mean
// may use: both present, both above zero, neither with a GL error.
bool ratio_usable(const measurement& base, const measurement& other);
