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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  TMemoryStream In;
  zelfuzz::Fill(In, Data, Size);
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  try {
    zelfuzz::ReadProperties(Series->GetMarks(), &In);
  } catch (const std::exception&) {
    return 0;
  }
  const std::vector<Byte> First = zelfuzz::WrittenProperties(Series->GetMarks());
  TOwned<TChartSeries> Again(Create<TChartSeries>(nullptr));
  TMemoryStream Back;
  zelfuzz::Fill(Back, First.data(), First.size());
  zelfuzz::ReadProperties(Again->GetMarks(), &Back);
  zelfuzz::Check(zelfuzz::WrittenProperties(Again->GetMarks()) == First,
                 "the marks' items change over write, read, write");
  return 0;
}
