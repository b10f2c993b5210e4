#include "viewer/SessionParser.h"

#include "platform/Exceptions.h"
#include "zelgraph/engine/Series.h"

namespace zel {

namespace {

[[noreturn]] void InvalidFloat(std::string_view Text) {
  throw EConvertError("'" + String(Text) + "' is not a valid floating point value");
}

// The fields of a record: every ';' separates, an empty line has none.
class TFieldSplitter {
 public:
  explicit TFieldSplitter(std::string_view Line) : FLine(Line), FDone(Line.empty()) {}
  bool Next(std::string_view& Field) {
    if (FDone) return false;
    std::size_t End = FLine.find(';', FPos);
    if (End == std::string_view::npos) {
      Field = FLine.substr(FPos);
      FDone = true;
    } else {
      Field = FLine.substr(FPos, End - FPos);
      FPos = End + 1;
    }
    return true;
  }
  // Number of fields still to come.
  std::size_t Remaining() const {
    if (FDone) return 0;
    std::size_t N = 1;
    for (std::size_t I = FPos; I < FLine.size(); ++I)
      if (FLine[I] == ';') ++N;
    return N;
  }

 private:
  std::string_view FLine;
  std::size_t FPos = 0;
  bool FDone;
};

}  // namespace

TFormatSettings SessionFormatSettings() {
  TFormatSettings FS = TFormatSettings::Create();
  FS.DecimalSeparator = '.';
  FS.DateSeparator = '-';
  FS.TimeSeparator = ':';
  FS.ShortDateFormat = "yyyy-MM-dd";
  FS.ShortTimeFormat = "hh:nn:ss";
  FS.LongTimeFormat = FS.ShortTimeFormat;
  return FS;
}

void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series) {
  if (!Series) throw EArgumentException("No series to parse the record into");
  TFieldSplitter Fields(Line);
  const std::size_t M = Fields.Remaining();
  std::string_view Date, Time;
  if (M < 2 || !Fields.Next(Date) || !Fields.Next(Time)) {
    String Shown = Line.size() > 60 ? Line.substr(0, 60) + "..." : Line;
    throw EConvertError("'" + Shown + "' is not a valid record: a date and a time separated by ';' are expected");
  }
  String Title;
  Title.reserve(Date.size() + 1 + Time.size());
  Title.append(Date).append(" ").append(Time);
  StrToDateTime(Title, FS);  // only rejects a record whose date and time cannot be read

  WithinUpdate(*Series, [&] {
    Series->SetTitle(Title);
    if (M >= 3) {
      const double Span = static_cast<double>(M - 3);
      std::string_view Field;
      for (std::size_t I = 2; Fields.Next(Field); ++I) {
        double Y;
        if (!TextToFloat(Field, Y, FS)) InvalidFloat(Field);
        // A lone sample has no spacing: it sits at the start of the record's span.
        const double X = Span > 0 ? (static_cast<double>(I - 2) * 1000.0) / Span + XOffset : XOffset;
        Series->AddXY(X, Y, String(), 0x00FFFFFF);
      }
    }
  });
}

}  // namespace zel
