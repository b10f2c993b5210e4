// Parsing one record of a session file into a series.
//
// A record is "date;time;sample;sample;...": the series is titled "date time" and gets one point
// per sample, spread evenly over [XOffset, XOffset + 1000] (a lone sample sits at XOffset).
#pragma once

#include <string_view>

#include "platform/SysUtils.h"
#include "platform/Types.h"

namespace zel {

class TChartSeries;

// Parses Line into Series (inside the series' update bracket) and adds its points, the first at
// XOffset. Raises EConvertError for a record without a date and a time, for a date and time that
// cannot be read, and for a sample that is not a plain decimal number (the points read before the
// bad sample stay). The series' update bracket is always ended.
void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series);

// Reads a sample: optional blanks, an optional sign, digits with at most one decimal separator
// (FS.DecimalSeparator), an optional exponent. Independent of the machine's locale; infinities,
// NaNs, hexadecimal forms and out-of-range values are refused. Returns false when Text is not
// such a number.
bool TryParseSample(std::string_view Text, const TFormatSettings& FS, double& Value);

}  // namespace zel
