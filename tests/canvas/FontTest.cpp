#include <gtest/gtest.h>

#include <limits>

#include "ChangeLog.h"
#include "platform/Filer.h"
#include "platform/Services.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/constants/Constants.h"

namespace zel {
namespace {

// The named stream properties of a font, written as (name, value) pairs and a list end.
std::vector<Byte> WriteFont(TZelFont* Font) {
  TMemoryStream S;
  TWriter W(&S);
  W.WriteProperties(Font);
  W.WriteListEnd();
  return S.GetBytes();
}

void ReadHeight(TZelFont* Font, std::int64_t Height) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("Height");
    W.WriteInteger(Height);
    W.WriteListEnd();
  }
  S.SetPosition(0);
  TReader R(&S);
  R.ReadProperties(Font);
  R.ReadListEnd();
}

TEST(FontTest, LegacyHeightGivesASaneSize) {
  struct Case {
    std::int64_t Height;
    float Size;
  };
  const Case Cases[] = {
      {-16, 12},
      {-15, 11.25f},
      {16, 12},  // a positive (cell) height by its magnitude
      {-1, 1},   // 0.75 points is raised to 1
      {std::numeric_limits<std::int32_t>::min(), ZelMaxLegacyFontSize},
      {std::numeric_limits<std::int32_t>::max(), ZelMaxLegacyFontSize},
  };
  for (const Case& C : Cases) {
    TOwned<TZelFont> Font(Create<TZelFont>());
    ReadHeight(Font.get(), C.Height);
    EXPECT_EQ(Font->GetSize(), C.Size) << C.Height;
  }
  TOwned<TZelFont> Font(Create<TZelFont>());
  ReadHeight(Font.get(), 0);
  EXPECT_EQ(Font->GetSize(), static_cast<float>(GetDefaultFontSize));

  // Writing the font back writes no "Height".
  ReadHeight(Font.get(), -16);
  EXPECT_EQ(WriteFont(Font.get()), std::vector<Byte>{0});

  // A value that is no integer fails in the reader, and the font keeps its size.
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("Height");
    W.WriteString("big");
    W.WriteListEnd();
  }
  S.SetPosition(0);
  TReader R(&S);
  EXPECT_THROW(R.ReadProperties(Font.get()), EReadError);
  EXPECT_EQ(Font->GetSize(), 12);
}

TEST(FontTest, StoredRules) {
  TOwned<TZelFont> Font(Create<TZelFont>());
  Font->SetName(GetDefaultFontName);
  Font->SetSizeFloat(static_cast<float>(GetDefaultFontSize));
  EXPECT_FALSE(Font->IsNameStored());
  EXPECT_FALSE(Font->IsHeightStored());
  EXPECT_FALSE(Font->IsColorStored());
  EXPECT_FALSE(Font->IsStyleStored());
  EXPECT_FALSE(Font->IsDepthStored());
  EXPECT_FALSE(Font->IsQualityStored());

  Font->SetSizeFloat(static_cast<float>(GetDefaultFontSize) + 0.5f);
  EXPECT_TRUE(Font->IsHeightStored());
  Font->SetName(GetDefaultFontName + "X");
  EXPECT_TRUE(Font->IsNameStored());

  // InitColor moves the default: a font of that colour is not stored, black then is.
  EXPECT_EQ(Font->GetColor(), 0xFF000000u);
  Font->InitColor(0xFF0000FF);
  EXPECT_EQ(Font->GetColor(), 0xFF0000FFu);
  EXPECT_FALSE(Font->IsColorStored());
  Font->SetColor(0xFF000000);
  EXPECT_TRUE(Font->IsColorStored());

  Font->InitStyle({TFontStyle::fsBold});
  EXPECT_FALSE(Font->IsStyleStored());
  Font->SetStyle({});
  EXPECT_TRUE(Font->IsStyleStored());
}

TEST(FontTest, ChangesReachTheOwnerOnce) {
  TChangeLog Log;
  TOwned<TZelFont> Font(Create<TZelFont>(Log.Event()));
  Font->SetSizeFloat(Font->GetSizeFloat());
  Font->SetInterCharSize(0);
  Font->SetQuality(TFontQuality::fqDefault);
  Font->SetDepth(0);
  Font->SetColor(0xFF000000);
  EXPECT_EQ(Log.Count(), 0);

  Font->SetInterCharSize(2);
  Font->SetQuality(TFontQuality::fqBest);
  Font->SetDepth(1.5);
  Font->SetSizeFloat(Font->GetSizeFloat() + 1);
  EXPECT_EQ(Log.Senders, (std::vector<TObject*>(4, Font.get())));

  Font->SetColor(0xFFFF0000);
  ASSERT_EQ(Log.Count(), 5);
  EXPECT_EQ(Log.Senders.back(), Font->GetBrush());

  // Sub-objects report with themselves as sender.
  Font->GetShadow()->SetHorizSize(3);
  EXPECT_EQ(Log.Senders.back(), Font->GetShadow());
  Font->GetOutLine()->Show();
  EXPECT_EQ(Log.Senders.back(), Font->GetOutLine());

  Font->InitColor(0xFF00FF00);
  Font->InitStyle({TFontStyle::fsItalic});
  EXPECT_EQ(Log.Count(), 7);
}

TEST(FontTest, AssignFollowsTheSourceSubObjects) {
  TOwned<TZelFont> Source(Create<TZelFont>());
  Source->SetColor(0xFF112233);
  Source->SetDepth(2);
  Source->SetInterCharSize(3);
  Source->SetQuality(TFontQuality::fqClearType);
  Source->SetFamily("Serif");
  Source->SetSize(20);
  Source->SetStyle({TFontStyle::fsUnderline});

  TOwned<TZelFont> Target(Create<TZelFont>());
  Target->InitColor(0xFFFFFFFF);
  Target->GetShadow()->SetHorizSize(7);
  Target->GetEmboss()->SetVisible(true);
  Target->GetOutLine()->SetWidth(3);
  Target->Assign(Source.get());

  EXPECT_EQ(Target->GetColor(), 0xFF112233u);
  EXPECT_EQ(Target->GetDepth(), 2);
  EXPECT_EQ(Target->GetInterCharSize(), 3);
  EXPECT_EQ(Target->GetQuality(), TFontQuality::fqClearType);
  EXPECT_EQ(Target->GetFamily(), "Serif");
  EXPECT_EQ(Target->GetSize(), 20);
  EXPECT_EQ(Target->GetStyle(), TFontStyles{TFontStyle::fsUnderline});
  EXPECT_EQ(Target->GetDefaultColor(), 0xFFFFFFFFu);  // defaults are not copied
  // The source had no shadow, emboss or outline: the target's are freed, and the source still
  // has none.
  EXPECT_EQ(Target->ExistingShadow(), nullptr);
  EXPECT_EQ(Target->ExistingEmboss(), nullptr);
  EXPECT_EQ(Target->ExistingOutLine(), nullptr);
  EXPECT_EQ(Source->ExistingShadow(), nullptr);
  // Reading the shadow again gives a new one with its defaults.
  EXPECT_EQ(Target->GetShadow()->GetHorizSize(), 0);
  EXPECT_TRUE(Target->GetShadow()->GetVisible());
  EXPECT_FALSE(Target->GetEmboss()->GetVisible());
  EXPECT_FALSE(Target->GetOutLine()->GetVisible());

  Source->GetShadow()->SetVertSize(4);
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetShadow()->GetVertSize(), 4);

  // The font's gradient and picture are its brush's.
  EXPECT_EQ(Target->GetGradient(), Target->GetBrush()->GetGradient());
  EXPECT_EQ(Target->GetPicture(), Target->GetBrush()->GetImage());
}

// A system font service that answers a fixed family and size.
class TFakeFontService : public ISystemFontService {
 public:
  explicit TFakeFontService(float Size) : FSize(Size) {}
  String GetDefaultFontFamilyName() override { return "Fake Sans"; }
  float GetDefaultFontSize() override { return FSize; }

 private:
  float FSize;
};

TEST(FontTest, DefaultFontFromServiceOrTexts) {
  const int SavedSize = GetDefaultFontSize;
  const String SavedName = GetDefaultFontName;
  TPlatformServices& Services = TPlatformServices::Current();

  ISystemFontService* Previous = Services.SetSystemFontService(nullptr);
  ZelDefaultFont();
  EXPECT_EQ(GetDefaultFontName, "Tahoma");
  EXPECT_EQ(GetDefaultFontSize, 11);

  for (auto [Reported, Size] : {std::pair{12.5f, 12}, std::pair{13.5f, 14}, std::pair{9.4f, 9}}) {
    TFakeFontService Fake(Reported);
    Services.SetSystemFontService(&Fake);
    ZelDefaultFont();
    EXPECT_EQ(GetDefaultFontName, "Fake Sans");
    EXPECT_EQ(GetDefaultFontSize, Size) << Reported;
  }
  Services.SetSystemFontService(Previous);
  GetDefaultFontSize = SavedSize;
  GetDefaultFontName = SavedName;
}

}  // namespace
}  // namespace zel
