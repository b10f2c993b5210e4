// The series, function and tool type registries, and the chart unit's start and end.
#include <gtest/gtest.h>

#include "platform/Classes.h"
#include "zelgraph/chart/Palettes.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/constants/Constants.h"

namespace zel {
namespace {

// Class references standing for series, function and tool classes.
const TClass FakeSeries{"TRegFakeSeries", TObject::StaticClass(), nullptr, {}};
const TClass OtherSeries{"TRegOtherSeries", TObject::StaticClass(), nullptr, {}};
const TClass FakeFunction{"TRegFakeFunction", TObject::StaticClass(), nullptr, {}};
const TClass FakeToolA{"TRegFakeToolA", TObject::StaticClass(), nullptr, {}};
const TClass FakeToolB{"TRegFakeToolB", TObject::StaticClass(), nullptr, {}};

// Leaves the registries as it found them.
class RegistryFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    const TClass* Series[] = {&FakeSeries, &OtherSeries};
    UnRegisterZelSeries(Series, 1);
    const TClass* Functions[] = {&FakeFunction};
    UnRegisterZelFunctions(Functions, 0);
    const TClass* Tools[] = {&FakeToolA, &FakeToolB};
    UnRegisterZelTools(Tools, 1);
    for (const TClass* C : {&FakeSeries, &OtherSeries, &FakeFunction}) UnRegisterClass(C);
  }
  static int EntriesOf(const TClass* Series, const TClass* Function) {
    int N = 0;
    for (std::int32_t I = 0; I < CheckZelSeriesTypes()->Count(); ++I) {
      const TZelSeriesType* T = CheckZelSeriesTypes()->Get(I);
      if (T->SeriesClass == Series && T->FunctionClass == Function) ++N;
    }
    return N;
  }
};

TEST_F(RegistryFixture, PlainEntriesAreNotDuplicatedSubStylesAre) {
  struct Case {
    std::int32_t SubIndex;
    int Expected;
  };
  for (const Case& C : {Case{0, 1}, Case{1, 2}}) {
    SCOPED_TRACE(C.SubIndex);
    TearDown();
    for (int Twice = 0; Twice < 2; ++Twice)
      RegisterZelSeriesFunction(nullptr, &FakeFunction, &ZelMsg_FunctionSmooth, &ZelMsg_GalleryExtended, 1,
                                C.SubIndex);
    EXPECT_EQ(EntriesOf(nullptr, &FakeFunction), C.Expected);
  }
}

TEST_F(RegistryFixture, EntryHoldsWhatWasRegistered) {
  RegisterZelSeriesFunction(&FakeSeries, nullptr, &ZelMsg_GalleryLine, &ZelMsg_GalleryStandard, 2, 3);
  TZelSeriesType* T = CheckZelSeriesTypes()->Find(&FakeSeries, 3);
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->Description, &ZelMsg_GalleryLine);
  EXPECT_EQ(T->GalleryPage, &ZelMsg_GalleryStandard);
  EXPECT_EQ(T->NumGallerySeries, 2);
  // Registering makes the class known to streaming.
  EXPECT_EQ(GetClass("TRegFakeSeries"), &FakeSeries);
}

TEST(SeriesType, CaptionIsTheDescriptionOnOneLine) {
  TZelSeriesType T;
  EXPECT_EQ(T.Caption(), "");
  T.Description = &ZelMsg_GalleryHorizBar;  // two lines
  EXPECT_EQ(T.Caption(), "Horizontal Bar");
  T.Description = &ZelMsg_GalleryLine;
  EXPECT_EQ(T.Caption(), ZelMsg_GalleryLine);
}

TEST_F(RegistryFixture, FindSkipsFunctionEntries) {
  RegisterZelSeriesFunction(&FakeSeries, &FakeFunction, &ZelMsg_FunctionSmooth, &ZelMsg_GalleryExtended, 1, 0);
  EXPECT_EQ(CheckZelSeriesTypes()->Find(String("TRegFakeSeries")), nullptr);
  EXPECT_EQ(CheckZelSeriesTypes()->Find(&FakeSeries, 0), nullptr);

  RegisterZelSeriesFunction(&FakeSeries, nullptr, &ZelMsg_GalleryLine, &ZelMsg_GalleryStandard, 1, 0);
  RegisterZelSeriesFunction(&FakeSeries, nullptr, &ZelMsg_GalleryLine, &ZelMsg_GalleryStandard, 1, 2);
  EXPECT_EQ(CheckZelSeriesTypes()->Find(String("TRegFakeSeries")), &FakeSeries);
  EXPECT_EQ(CheckZelSeriesTypes()->Find(String("TRegOtherSeries")), nullptr);
  struct Case {
    std::int32_t SubIndex;
    bool Found;
    std::int32_t FoundSubIndex;
  };
  for (const Case& C : {Case{0, true, 0}, Case{2, true, 2}, Case{5, false, 0}}) {
    SCOPED_TRACE(C.SubIndex);
    const TZelSeriesType* T = CheckZelSeriesTypes()->Find(&FakeSeries, C.SubIndex);
    ASSERT_EQ(T != nullptr, C.Found);
    if (T) {
      EXPECT_EQ(T->SubIndex, C.FoundSubIndex);
    }
  }
}

TEST_F(RegistryFixture, UnregisteringFunctionsKeepsSeriesAndStreaming) {
  RegisterZelSeriesFunction(&FakeSeries, nullptr, &ZelMsg_GalleryLine, &ZelMsg_GalleryStandard, 1, 0);
  RegisterZelFunction(&FakeFunction, &ZelMsg_FunctionSmooth, &ZelMsg_GalleryExtended, 1);
  RegisterZelSeriesFunction(&FakeSeries, &FakeFunction, &ZelMsg_FunctionSmooth, &ZelMsg_GalleryExtended, 1, 0);
  const TClass* Functions[] = {&FakeFunction};
  UnRegisterZelFunctions(Functions, -1);  // a negative highest index does nothing
  EXPECT_EQ(EntriesOf(nullptr, &FakeFunction), 1);
  UnRegisterZelFunctions(Functions, 0);
  EXPECT_EQ(EntriesOf(nullptr, &FakeFunction), 0);
  EXPECT_EQ(EntriesOf(&FakeSeries, &FakeFunction), 0);
  EXPECT_EQ(EntriesOf(&FakeSeries, nullptr), 1);
  EXPECT_EQ(GetClass("TRegFakeFunction"), &FakeFunction);
}

TEST_F(RegistryFixture, ToolsRegisterOnceInFirstOrder) {
  const TClass* Tools[] = {&FakeToolB, &FakeToolA, &FakeToolB};
  RegisterZelTools(Tools, 2);
  RegisterZelTools(Tools, 1);
  TZelToolTypes* List = CheckZelToolTypes();
  const std::int32_t B = List->IndexOf(&FakeToolB);
  ASSERT_GE(B, 0);
  EXPECT_EQ(List->IndexOf(&FakeToolA), B + 1);
  EXPECT_EQ(List->Count(), B + 2);
  EXPECT_EQ(List->Get(B), &FakeToolB);
  EXPECT_EQ(GetClass("TRegFakeToolA"), &FakeToolA);
  EXPECT_THROW(List->Get(List->Count()), EListError);
}

TEST_F(RegistryFixture, UnregisteringAToolAlwaysLeavesStreaming) {
  const TClass* A[] = {&FakeToolA};
  RegisterZelTools(A, 0);
  UnRegisterZelTools(A, 0);
  EXPECT_EQ(CheckZelToolTypes()->IndexOf(&FakeToolA), -1);
  EXPECT_EQ(GetClass("TRegFakeToolA"), nullptr);
  // A class that is not in the list is still taken out of streaming.
  RegisterClass(&FakeToolB);
  const TClass* B[] = {&FakeToolB};
  UnRegisterZelTools(B, 0);
  EXPECT_EQ(GetClass("TRegFakeToolB"), nullptr);
}

TEST_F(RegistryFixture, NullArraysAndClassesAreIgnored) {
  const std::int32_t Before = CheckZelToolTypes()->Count();
  RegisterZelTools(nullptr, 3);
  const TClass* WithNull[] = {nullptr, &FakeToolA};
  RegisterZelTools(WithNull, 1);
  EXPECT_EQ(CheckZelToolTypes()->Count(), Before + 1);
  UnRegisterZelTools(WithNull, 1);
  UnRegisterZelFunctions(nullptr, 2);
  const std::int32_t Types = CheckZelSeriesTypes()->Count();
  RegisterZelSeriesFunction(nullptr, nullptr, &ZelMsg_GalleryLine, &ZelMsg_GalleryStandard, 1, 0);
  EXPECT_EQ(CheckZelSeriesTypes()->Count(), Types);
}

// The chart unit is counted: an inner start and end leave the registries and names in place.
TEST(ChartUnit, NestedStartAndEndKeepTheRegistries) {
  TZelSeriesTypes* Types = ZelSeriesTypes;
  ASSERT_NE(Types, nullptr);
  ASSERT_NE(ZelToolTypes, nullptr);
  ASSERT_NE(ZelAnimationTypes, nullptr);
  ZelChartUnitStart();
  ZelChartUnitEnd();
  EXPECT_EQ(ZelSeriesTypes, Types);
  ASSERT_NE(ColorPalettes, nullptr);
  EXPECT_EQ(ColorPalettes->GetCount(), ZelPaletteCount);
}

}  // namespace
}  // namespace zel
