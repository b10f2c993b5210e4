// The session record parser: every line of the input is one record, parsed into its own series
// at the next span of 1000, as the viewer loads a file. Whatever the line, the series is never
// left inside its update bracket, and its points lie in ascending X inside the record's span.
#include <exception>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "viewer/SessionParser.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  static const TFormatSettings FS = SessionFormatSettings();
  std::string_view Rest(reinterpret_cast<const char*>(Data), Size);
  double X0 = 0;
  for (int Records = 0; Records < 64 && !Rest.empty(); ++Records, X0 += 1000.0) {
    const auto End = Rest.find('\n');
    const String Line(Rest.substr(0, End));
    Rest = End == std::string_view::npos ? std::string_view() : Rest.substr(End + 1);
    TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
    try {
      dataLineParse(FS, Line, X0, Series.get());
    } catch (const std::exception&) {
      // A bad record is reported; what was read before it stays.
    }
    zelfuzz::Check(!Series->IsUpdating(), "the series is left inside its update bracket");
    double Previous = X0;
    for (std::int32_t I = 0; I < Series->Count(); ++I) {
      const double X = Series->GetxValue(I);
      zelfuzz::Check(X >= Previous, "X values are not ascending");
      zelfuzz::Check(X >= X0 && X <= X0 + 1000.0, "a point lies outside the record's span");
      Previous = X;
    }
  }
  return 0;
}
