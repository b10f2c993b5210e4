// Windows read from their stored layout: controls under their parents, actions under their
// action list, references and event handlers bound by name, image lists with their pictures.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Streams.h"
#include "tests/support/StreamText.h"

namespace zel {

namespace {

using namespace zel::testing;

class TProbeForm : public TForm {
  ZEL_CLASS(TProbeForm, TForm)
 public:
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {
    FMethods.Add("Run", TNotifyEvent([this](TObject*) { ++Runs; }));
  }
  TMethodTable* GetMethodTable() override { return &FMethods; }
  int Runs = 0;

 private:
  TMethodTable FMethods;
};
ZEL_DEFINE_COMPONENT_CLASS(TProbeForm, TForm)

// In the order and form the writer gives, so that writing the form again gives these bytes.
const char* const ProbeLayout = R"(object Probe: TProbeForm
  Width = 300.0s
  Height = 200.0s
  Caption = 'Probe'
  object Acts: TActionList
    object ActRun: TAction
      Text = 'Run'
      ImageIndex = 0
      OnExecute = Run
    end
  end
  object Dialog: TOpenDialog
    Filter = 'Text|*.txt'
    Options = [ofReadOnly, ofFileMustExist]
  end
  object Bar: TToolBar
    Align = MostTop
    Width = 300.0s
    Height = 40.0s
    TabOrder = 1
    object Grid: TGridLayout
      Align = Client
      Top = 2.0s
      Width = 300.0s
      Height = 36.0s
      Margins.Top = 2.0s
      Margins.Bottom = 2.0s
      ItemWidth = 100.0s
      ItemHeight = 32.0s
      object Button: TSpeedButton
        Width = 100.0s
        Height = 32.0s
        Action = ActRun
        Text = 'Run'
        ImageIndex = 0
      end
    end
  end
  object Progress: TProgressBar
    Align = Top
    Top = 40.0s
    Width = 300.0s
    Height = 4.0s
    Visible = False
    Max = 10.0
  end
end
)";

class FormStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const TClass* C : {TProbeForm::StaticClass(), TActionList::StaticClass(), TAction::StaticClass(),
                            TOpenDialog::StaticClass(), TImageList::StaticClass(), TToolBar::StaticClass(),
                            TGridLayout::StaticClass(), TSpeedButton::StaticClass(), TProgressBar::StaticClass()})
      RegisterClass(C);
  }
};

TEST_F(FormStreamTest, ALayoutBuildsTheWindowAndWritesBackTheSameBytes) {
  TOwned<TProbeForm> Form(Create<TProbeForm>(nullptr));
  const std::vector<Byte> Source = FromText(ProbeLayout);
  ReadBytes(Source, Form.get());

  auto* Acts = dynamic_cast<TActionList*>(Form->FindComponent("Acts"));
  auto* Run = dynamic_cast<TAction*>(Form->FindComponent("ActRun"));
  auto* Bar = dynamic_cast<TToolBar*>(Form->FindComponent("Bar"));
  auto* Grid = dynamic_cast<TGridLayout*>(Form->FindComponent("Grid"));
  auto* Button = dynamic_cast<TSpeedButton*>(Form->FindComponent("Button"));
  auto* Progress = dynamic_cast<TProgressBar*>(Form->FindComponent("Progress"));
  auto* Dialog = dynamic_cast<TOpenDialog*>(Form->FindComponent("Dialog"));
  ASSERT_TRUE(Acts && Run && Bar && Grid && Button && Progress && Dialog);
  EXPECT_EQ(Form->GetCaption(), "Probe");
  EXPECT_EQ(Run->GetActionList(), Acts);
  EXPECT_EQ(Acts->GetActionCount(), 1);
  EXPECT_EQ(Bar->GetParent(), Form.get());
  EXPECT_EQ(Grid->GetParent(), Bar);
  EXPECT_EQ(Button->GetParent(), Grid);
  EXPECT_EQ(Button->GetAction(), Run);
  EXPECT_EQ(Progress->GetTop(), 40.0f);
  EXPECT_FALSE(Progress->GetVisible());
  EXPECT_EQ(Progress->GetMax(), 10.0);
  EXPECT_TRUE(Dialog->GetOptions().Contains(TOpenOption::ofFileMustExist));
  EXPECT_FALSE(Dialog->GetOptions().Contains(TOpenOption::ofHideReadOnly));
  // The handler bound by name runs when the button is clicked.
  Button->Click();
  EXPECT_EQ(Form->Runs, 1);

  EXPECT_EQ(Store(Form.get()), Source);
}

TEST_F(FormStreamTest, AnImageListKeepsItsPictures) {
  TOwned<TProbeForm> Form(Create<TProbeForm>(nullptr));
  Form->SetName("Probe");
  auto* Images = Create<TImageList>(Form.get());
  Images->SetName("Images");
  for (TAlphaColor Color : {0xFF204080u, 0xFFFF0000u}) {
    TBitmap B(4, 3);
    B.Clear(Color);
    Images->Add(B);
  }
  const std::vector<Byte> First = Store(Form.get());

  TOwned<TProbeForm> Again(Create<TProbeForm>(nullptr));
  ReadBytes(First, Again.get());
  auto* Read = dynamic_cast<TImageList*>(Again->FindComponent("Images"));
  ASSERT_NE(Read, nullptr);
  ASSERT_EQ(Read->GetCount(), 2);
  for (int I = 0; I < 2; ++I) {
    ASSERT_EQ(Read->GetBitmap(I)->GetWidth(), 4);
    EXPECT_EQ(Read->GetBitmap(I)->GetPixel(3, 2), Images->GetBitmap(I)->GetPixel(3, 2));
  }
  EXPECT_EQ(Store(Again.get()), First);
}

TEST_F(FormStreamTest, ADamagedImageBlockRaisesAndKeepsThePictures) {
  const std::vector<Byte> Png = [] {
    TBitmap B(2, 2);
    B.Clear(0xFF00FF00);
    return B.SaveToBytes();
  }();
  const auto Block = [&](std::int32_t Count, std::int32_t Length, const std::vector<Byte>& Data, int Extra) {
    std::vector<Byte> S;
    const auto Int = [&S](std::int32_t V) {
      const auto* P = reinterpret_cast<const Byte*>(&V);
      S.insert(S.end(), P, P + 4);
    };
    Int(Count);
    Int(Length);
    S.insert(S.end(), Data.begin(), Data.end());
    S.insert(S.end(), static_cast<std::size_t>(Extra), Byte(0));
    return S;
  };
  const std::vector<Byte> NotPng(Png.size(), Byte(0x41));
  struct Case {
    const char* Name;
    std::vector<Byte> Data;
  };
  const std::vector<Case> Cases = {
      {"count without pictures", Block(2, static_cast<std::int32_t>(Png.size()), Png, 0)},
      {"length past the block", Block(1, 1 << 30, Png, 0)},
      {"negative length", Block(1, -5, Png, 0)},
      {"not a picture", Block(1, static_cast<std::int32_t>(NotPng.size()), NotPng, 0)},
      {"bytes after the pictures", Block(1, static_cast<std::int32_t>(Png.size()), Png, 3)},
      {"no count", {Byte(1), Byte(0)}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TImageList> List(Create<TImageList>(nullptr));
    TBitmap Kept(1, 1);
    List->Add(Kept);
    TMemoryStream M;
    {
      TWriter W(&M);
      W.WriteStr("Images");
      W.WriteBinary(C.Data.data(), static_cast<Int64>(C.Data.size()));
      W.WriteListEnd();
    }
    M.SetPosition(0);
    TReader R(&M);
    EXPECT_THROW(R.ReadProperties(List.get()), EReadError);
    EXPECT_EQ(List->GetCount(), 1);
  }
}

}  // namespace

}  // namespace zel
