// The component reader: any bytes read as a whole component stream into a fresh chart, and the
// same bytes as the text form (converted first, then read the same way). A stream either reads
// or raises a read, class or conversion error; either way the chart paints afterwards, and a
// chart that read writes the same bytes again after a read into another fresh chart.
#include <exception>
#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/Bitmap.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Filer.h"
#include "platform/ObjectText.h"
#include "zelgraph/chart/Chart.h"

using namespace zel;

namespace {

bool IsReadFailure(const std::exception& E) {
  return dynamic_cast<const EReadError*>(&E) || dynamic_cast<const EClassNotFound*>(&E) ||
         dynamic_cast<const EConvertError*>(&E);
}

std::vector<Byte> Written(TChart* Chart) {
  TMemoryStream M;
  TWriter W(&M);
  W.WriteRootComponent(Chart);
  return M.GetBytes();
}

TOwned<TChart> FreshChart() {
  TOwned<TChart> C(Create<TChart>(nullptr));
  C->SetBounds(0, 0, 160, 120);
  return C;
}

// Paints at a small size: the stream may have asked for any size.
void PaintSmall(TChart* Chart) {
  Chart->SetBounds(0, 0, 160, 120);
  std::unique_ptr<TBitmap> B(PaintToBitmap(Chart));
  zelfuzz::Check(B != nullptr, "the chart does not paint");
}

// True when the stream read into Chart; aborts on an error of another kind.
bool ReadInto(TChart* Chart, TMemoryStream& Stream) {
  try {
    TReader R(&Stream);
    R.ReadRootComponent(Chart);
    return true;
  } catch (const std::exception& E) {
    zelfuzz::Check(IsReadFailure(E), E.what());
    zelfuzz::Check(!Chart->IsLoading(), "a failed read leaves the chart loading");
    return false;
  }
}

void ReadBinary(TMemoryStream& Stream) {
  TOwned<TChart> Chart = FreshChart();
  const bool Read = ReadInto(Chart.get(), Stream);
  PaintSmall(Chart.get());
  if (!Read) return;
  const std::vector<Byte> First = Written(Chart.get());
  TOwned<TChart> Again = FreshChart();
  TMemoryStream Back;
  zelfuzz::Fill(Back, First.data(), First.size());
  try {
    TReader R(&Back);
    R.ReadRootComponent(Again.get());
  } catch (const std::exception&) {
    zelfuzz::Check(false, "what a chart wrote does not read back");
  }
  zelfuzz::Check(Written(Again.get()) == First, "the chart changes over write, read, write");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  TMemoryStream Binary;
  zelfuzz::Fill(Binary, Data, Size);
  ReadBinary(Binary);

  TMemoryStream Text, Converted;
  zelfuzz::Fill(Text, Data, Size);
  try {
    ObjectTextToBinary(&Text, &Converted);
  } catch (const std::exception& E) {
    zelfuzz::Check(IsReadFailure(E), E.what());
    return 0;
  }
  Converted.SetPosition(0);
  ReadBinary(Converted);
  return 0;
}
