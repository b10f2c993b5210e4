// The named-property reader: a property list ((name, value) pairs up to the list end) read into
// a series, which defines "Data", its identifier, style and other named properties. Any bytes
// either raise or give a series whose properties are stable over write, read, write; the series
// is never left inside its update bracket.
#include <exception>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "platform/Filer.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  TMemoryStream In;
  zelfuzz::Fill(In, Data, Size);
  try {
    zelfuzz::ReadProperties(Series.get(), &In);
  } catch (const std::exception&) {
    zelfuzz::Check(!Series->IsUpdating(),
                   "a failed read leaves the series inside its update bracket");
    return 0;
  }
  zelfuzz::Check(!Series->IsUpdating(), "the series is left inside its update bracket");
  // Points read from a stream are the series' own data: written again as such.
  Series->ManualData = true;
  const std::vector<Byte> First = zelfuzz::WrittenProperties(Series.get());
  TOwned<TChartSeries> Again(Create<TChartSeries>(nullptr));
  Again->ManualData = true;
  TMemoryStream Back;
  zelfuzz::Fill(Back, First.data(), First.size());
  zelfuzz::ReadProperties(Again.get(), &Back);
  zelfuzz::Check(zelfuzz::WrittenProperties(Again.get()) == First,
                 "the properties change over write, read, write");
  return 0;
}
