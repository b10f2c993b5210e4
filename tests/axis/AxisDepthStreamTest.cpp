// The depth of custom axes through a write and a read: an axis never holds depth 0, so what is
// read back writes the same bytes again.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TEST(AxisDepthStream, CustomAxisDepthsReadBackToTheSameBytesAndValue) {
  struct TCase {
    bool OtherSide;
    bool SetZ;
    double Z;
  };
  const TCase Cases[] = {{false, false, 0}, {true, false, 0}, {false, true, 0},
                         {true, true, 0},   {true, true, 100}, {false, true, 42.5}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "other side " << C.OtherSide << ", set " << C.SetZ << " " << C.Z);
    TOwned<TChart> A(Create<TChart>(nullptr));
    A->SetName("Chart1");
    TChartAxis* Axis = A->GetCustomAxes()->Get(A->GetCustomAxes()->Add()->GetIndex());
    Axis->SetHorizontal(false);
    Axis->SetOtherSide(C.OtherSide);
    if (C.SetZ) Axis->SetZPosition(C.Z);
    EXPECT_NE(Axis->GetZPosition(), 0);
    const std::vector<Byte> First = Store(A.get());

    TOwned<TChart> B(Create<TChart>(nullptr));
    TMemoryStream In;
    In.WriteBuffer(First.data(), static_cast<Int64>(First.size()));
    In.SetPosition(0);
    In.ReadComponent(B.get());
    ASSERT_EQ(B->GetCustomAxes()->GetCount(), 1);
    EXPECT_EQ(B->GetCustomAxes()->Get(0)->GetZPosition(), Axis->GetZPosition());
    EXPECT_EQ(AsText(Store(B.get())), AsText(First));
  }
}

}  // namespace
}  // namespace zel::testing
