// A chart's size comes back from its stream whatever size the chart that reads it starts with:
// a chart made on a form takes a size from the form, so a reader made elsewhere (or given a
// size before reading) starts with another one.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "zelgraph/chart/Chart.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TEST(StoredSize, AChartsSizeReadsBackWhateverTheReaderStartsWith) {
  struct TCase {
    const char* Name;
    float Width, Height;          // set on a chart made on a 640 x 480 form
    float ReaderW, ReaderH;       // the reading chart's size, set before reading
    float ReadWidth, ReadHeight;  // what it holds then
  };
  const TCase Cases[] = {
      {"no width", 0, 240, 320, 240, 0, 240},
      {"no height", 320, 0, 320, 240, 320, 0},
      {"a negative height is none", 320, -12.5f, 320, 240, 320, 0},
      {"no size at all", 0, 0, 400, 250, 0, 0},
      {"the size a form gives", 400, 250, 320, 240, 400, 250},
      {"fractions", 37.25f, 99.75f, 320, 240, 37.25f, 99.75f},
      {"beyond the largest size", 1e9f, 240, 320, 240, 65536, 240},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Name);
    TOwned<TForm> Form(TForm::CreateNew(nullptr));
    TChart* A = Create<TChart>(Form.get());
    A->SetName("Chart1");
    A->SetParent(Form.get());
    A->SetBounds(0, 0, K.Width, K.Height);
    const std::vector<Byte> Bytes = Store(A);

    TOwned<TForm> Other(TForm::CreateNew(nullptr));
    TChart* B = Create<TChart>(Other.get());
    B->SetParent(Other.get());
    B->SetBounds(0, 0, K.ReaderW, K.ReaderH);
    ReadBytes(Bytes, B);
    EXPECT_EQ(B->GetWidth(), K.ReadWidth);
    EXPECT_EQ(B->GetHeight(), K.ReadHeight);
    EXPECT_EQ(AsText(Store(B)), AsText(Bytes));
  }
}

// A control made with a size writes it, 0 included; one made without writes nothing for a size
// of 0 (a fresh chart of no form writes no size).
TEST(StoredSize, AControlMadeWithASizeAlwaysWritesIt) {
  struct TCase {
    const char* Name;
    TControl* (*Make)(TComponent* Owner);
    float Width, Height;
    bool Written;
  };
  const TCase Cases[] = {
      {"a chart of no form, no size", [](TComponent*) -> TControl* { return Create<TChart>(nullptr); }, 0, 0, false},
      {"a chart of no form, sized", [](TComponent*) -> TControl* { return Create<TChart>(nullptr); }, 10, 20, true},
      {"a chart on a form, no size", [](TComponent* O) -> TControl* { return Create<TChart>(O); }, 0, 0, true},
      {"a chart on a form, its first size", [](TComponent* O) -> TControl* { return Create<TChart>(O); }, 400, 250, true},
      {"a progress bar, no size", [](TComponent* O) -> TControl* { return Create<TProgressBar>(O); }, 0, 0, true},
      {"a speed button, no size", [](TComponent* O) -> TControl* { return Create<TSpeedButton>(O); }, 0, 0, true},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Name);
    TOwned<TForm> Form(TForm::CreateNew(nullptr));
    TControl* C = K.Make(Form.get());
    TOwned<TControl> Free(C->GetOwner() ? nullptr : C);
    C->SetName("C");
    C->SetBounds(0, 0, K.Width, K.Height);
    const String Text = AsText(Store(C));
    EXPECT_EQ(Text.find("  Width = ") != String::npos, K.Written) << Text;
    EXPECT_EQ(Text.find("  Height = ") != String::npos, K.Written) << Text;
  }
}

}  // namespace
}  // namespace zel::testing
