// A grouped bar chart of one or more reports, as a standalone SVG file.
#pragma once

#include <string>
#include <vector>

#include "vexa_report/report_data.h"

// One panel per path, one group of bars per format, one colour per report,
// a legend of renderer names and Mtex/s axes. Each bar is a rect with the
// id "bar-rR-PATH-fF" (R and F counted from 1, PATH as in PATH_KEYS).
std::string render_chart(const std::vector<report_data>& reports);

// The fill colour of report index's bars, "#rrggbb".
std::string report_colour(size_t index);
