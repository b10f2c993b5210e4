#include "viewer/SessionParser.h"

#include <charconv>
#include <cstring>

#include "platform/Exceptions.h"
#include "zelgraph/engine/Series.h"

namespace zel {

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\v' || C == '\f'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

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

bool TryParseSample(std::string_view Text, const TFormatSettings& FS, double& Value) {
  std::size_t B = 0, E = Text.size();
  while (B < E && IsBlank(Text[B])) ++B;
  while (E > B && IsBlank(Text[E - 1])) --E;
  const char* P = Text.data() + B;
  const char* End = Text.data() + E;
  bool Negative = false;
  if (P < End && (*P == '+' || *P == '-')) Negative = *P++ == '-';
  // from_chars reads digits with '.', an exponent, and also "inf" and "nan": a number must start
  // with a digit or the separator, which leaves only the plain decimal forms.
  if (P == End || !(IsDigit(*P) || *P == FS.DecimalSeparator)) return false;
  char Buffer[128];
  if (FS.DecimalSeparator != '.') {
    // from_chars reads '.' only: hand it a copy with the separator replaced, and a '.' is no
    // separator here.
    const std::size_t N = std::size_t(End - P);
    if (N > sizeof(Buffer)) return false;
    for (std::size_t I = 0; I < N; ++I) {
      const char C = P[I];
      if (C == '.') return false;
      Buffer[I] = C == FS.DecimalSeparator ? '.' : C;
    }
    P = Buffer;
    End = Buffer + N;
  }
  double V = 0;
  auto [Ptr, Ec] = std::from_chars(P, End, V, std::chars_format::general);
  if (Ec != std::errc() || Ptr != End) return false;
  Value = Negative ? -V : V;
  return true;
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

  Series->BeginUpdate();
  try {
    Series->SetTitle(Title);
    if (M >= 3) {
      const double Span = static_cast<double>(M - 3);
      std::string_view Field;
      for (std::size_t I = 2; Fields.Next(Field); ++I) {
        double Y;
        if (!TryParseSample(Field, FS, Y)) InvalidFloat(Field);
        // A lone sample has no spacing: it sits at the start of the record's span.
        const double X = Span > 0 ? (static_cast<double>(I - 2) * 1000.0) / Span + XOffset : XOffset;
        Series->AddXY(X, Y, String(), 0x00FFFFFF);
      }
    }
  } catch (...) {
    Series->EndUpdate();
    throw;
  }
  Series->EndUpdate();
}

}  // namespace zel
