// The reader of a series' "Data" stream (its points with colours, labels and mark positions).
// Any bytes either raise or give a series whose stream is stable: what it writes reads back
// into a series that writes the same bytes again.
#include <exception>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

namespace {

std::vector<Byte> Written(TChartSeries* Series) {
  TMemoryStream M;
  Series->WriteData(&M);
  return M.GetBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  TMemoryStream In;
  zelfuzz::Fill(In, Data, Size);
  try {
    Series->ReadData(&In);
  } catch (const std::exception&) {
    zelfuzz::Check(!Series->IsUpdating(), "a failed read leaves the series inside its update bracket");
    return 0;
  }
  zelfuzz::Check(!Series->IsUpdating(), "the series is left inside its update bracket");
  const std::vector<Byte> First = Written(Series.get());
  TOwned<TChartSeries> Again(Create<TChartSeries>(nullptr));
  TMemoryStream Back;
  zelfuzz::Fill(Back, First.data(), First.size());
  Again->ReadData(&Back);
  zelfuzz::Check(Again->Count() == Series->Count(), "the written stream reads back another number of points");
  zelfuzz::Check(Written(Again.get()) == First, "the stream changes over write, read, write");
  return 0;
}
