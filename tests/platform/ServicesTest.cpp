#include <gtest/gtest.h>

#include <cmath>

#include "platform/Services.h"

using namespace zel;

namespace {

TEST(ServicesTest, DefaultServicesAnswer) {
  TPlatformServices& S = TPlatformServices::Current();
  ASSERT_NE(nullptr, S.GetSystemFontService());
  EXPECT_EQ("DejaVu Sans", S.GetSystemFontService()->GetDefaultFontFamilyName());
  EXPECT_EQ(12, S.GetSystemFontService()->GetDefaultFontSize());

  ASSERT_NE(nullptr, S.GetCursorService());
  TCursor Old = S.GetCursorService()->GetCursor();
  S.GetCursorService()->SetCursor(crHandPoint);
  EXPECT_EQ(crHandPoint, S.GetCursorService()->GetCursor());
  S.GetCursorService()->SetCursor(Old);

  ASSERT_NE(nullptr, S.GetTimerService());
  double A = S.GetTimerService()->GetTick(), B = S.GetTimerService()->GetTick();
  EXPECT_LE(A, B);

  float W = -1, H = -1;
  ASSERT_NE(nullptr, S.GetScreenService());
  S.GetScreenService()->GetScreenSize(W, H);
  EXPECT_GE(W, 0);
  EXPECT_GE(H, 0);
  float X = NAN, Y = NAN;
  ASSERT_NE(nullptr, S.GetMouseService());
  S.GetMouseService()->GetMousePos(X, Y);
  EXPECT_FALSE(std::isnan(X));
}

TEST(ServicesTest, ServicesCanBeReplacedAndRemoved) {
  class TFake : public ITimerService {
   public:
    double GetTick() override { return 42; }
  } Fake;
  TPlatformServices& S = TPlatformServices::Current();
  ITimerService* Old = S.SetTimerService(&Fake);
  EXPECT_EQ(42, S.GetTimerService()->GetTick());
  S.SetTimerService(nullptr);
  EXPECT_EQ(nullptr, S.GetTimerService());
  S.SetTimerService(Old);
}

}  // namespace
