// The reader of a series marks' "Items" stream (custom mark items with their own properties),
// reached as the named property it is: the input is the marks' property list. Any bytes either
// raise or give marks whose properties are stable over write, read, write.
#include <exception>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "platform/Filer.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

namespace {

std::vector<Byte> Written(TSeriesMarks* Marks) {
  TMemoryStream M;
  TWriter W(&M);
  W.WriteProperties(Marks);
  W.WriteListEnd();
  return M.GetBytes();
}

void Read(TSeriesMarks* Marks, TStream* Stream) {
  TReader R(Stream);
  R.ReadProperties(Marks);
  R.ReadListEnd();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  TMemoryStream In;
  zelfuzz::Fill(In, Data, Size);
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  try {
    Read(Series->GetMarks(), &In);
  } catch (const std::exception&) {
    return 0;
  }
  const std::vector<Byte> First = Written(Series->GetMarks());
  TOwned<TChartSeries> Again(Create<TChartSeries>(nullptr));
  TMemoryStream Back;
  zelfuzz::Fill(Back, First.data(), First.size());
  Read(Again->GetMarks(), &Back);
  zelfuzz::Check(Written(Again->GetMarks()) == First, "the marks' items change over write, read, write");
  return 0;
}
