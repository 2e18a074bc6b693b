// Every figure of one or more reports for spreadsheets and scripts: one CSV
// row or one JSON object per report, path and format that the report holds.
#pragma once

#include <string>
#include <vector>

#include "vexa_report/report_data.h"

// RFC 4180 CSV with a header row; lines end in LF.
std::string render_csv(const std::vector<report_data>& reports);

// {"reports": [{"source", "vendor", "version", "renderer", "extensions",
// "complete", "measurement_count", "measurements": [{"path", "format",
// ...}]}]}; extensions is null for a console copy, gl_error null where the
// report has no error line.
std::string render_json(const std::vector<report_data>& reports);
