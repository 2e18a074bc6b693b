// Reads a report of the texture speed benchmark: the file it writes, on
// Linux or Windows, complete or cut short, or a saved console copy of it.
#pragma once

#include <string>

#include "vexa_report/report_data.h"

// Reads the report in text, which came from source (a file name, used in
// messages). Line ends may be LF, CR LF, or CR CR LF (a console copy that
// went through a text-mode C runtime). A report that ends early - Escape, a
// killed run - is read up to its last complete block: a block counts once
// its speed line is whole. Returns false for anything that is not such a
// report, with error set to "SOURCE:LINE: what was wrong".
bool parse_report(const std::string& text, const std::string& source, report_data& report,
                  std::string& error);

// Reads and parses the file at path; "-" reads standard input.
bool read_report(const std::string& path, report_data& report, std::string& error);
