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

// The settings session files are read with: the defaults of TFormatSettings::Create() with '.'
// as the decimal separator, dates "yyyy-MM-dd" with '-' and times "hh:nn:ss" with ':'.
TFormatSettings SessionFormatSettings();

// Parses Line into Series (inside the series' update bracket) and adds its points, the first at
// XOffset. Raises EConvertError for a record without a date and a time, for a date and time that
// cannot be read, and for a sample that is not a plain decimal number (the points read before the
// bad sample stay). Samples are read as StrToFloat reads them (TextToFloat, without a copy of
// the field). The series' update bracket is always ended.
void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series);

}  // namespace zel
