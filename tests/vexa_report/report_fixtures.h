// Shared by the vexa-report unit tests: the fixture reports and goldens.
#pragma once

#include <string>

#include "vexa_report/report_data.h"

// The bytes of fixtures/NAME or golden/NAME.
std::string fixture_text(const std::string& name);
std::string golden_text(const std::string& name);

// fixture NAME parsed, with NAME as its source; the test fails if it is not
// a report.
report_data fixture_report(const std::string& name);

// text with every CR LF written as CR CR LF, as a text-mode C runtime
// writes a console copy that already holds CR LF.
std::string with_doubled_cr(const std::string& text);

// How many times piece occurs in text, overlaps counted.
int occurrences(const std::string& text, const std::string& piece);
