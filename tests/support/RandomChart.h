// Seeded random charts for stream tests: every series kind with points and labels, a series
// fed by every function through a reference to another series, two custom axes, every
// registered tool hooked to a series or an axis, and a share of all published values set to
// random values through the published-property tables.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "platform/Collections.h"
#include "platform/Filer.h"
#include "platform/Published.h"
#include "platform/StringList.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/ScrollBar.h"
#include "tests/support/ChartRoundTrip.h"

namespace zel::testing {

// Random numbers from a fixed generator with distributions written here, so that a seed gives
// the same chart with every standard library.
class TSeededRandom {
 public:
  explicit TSeededRandom(std::uint32_t Seed) : FGen(Seed) {}

  // 0 .. N-1, without bias (N > 0).
  std::uint32_t Below(std::uint32_t N) {
    const std::uint32_t Limit = UINT32_MAX - UINT32_MAX % N;
    for (;;) {
      const std::uint32_t X = static_cast<std::uint32_t>(FGen());
      if (X < Limit) return X % N;
    }
  }
  // Lo .. Hi, both included.
  std::int32_t Between(std::int32_t Lo, std::int32_t Hi) {
    return Lo + static_cast<std::int32_t>(Below(static_cast<std::uint32_t>(Hi - Lo + 1)));
  }
  // True with a chance of Permille in 1000.
  bool Chance(std::uint32_t Permille) { return Below(1000) < Permille; }
  std::uint32_t Bits() { return static_cast<std::uint32_t>(FGen()); }

 private:
  std::mt19937 FGen;
};

// One published value of an object: the property and the object that holds it.
struct TPublishedSlot {
  TObject* Instance;
  const TPropInfo* Prop;
  String Path;
};

// Every published value reachable from Root through its owned sub-objects, collections' items
// included; a part made on first use that does not exist yet is made when Make says so; Lines receives the string lists met on the way.
// A sub-object of the same name as one further up its path is not entered.
inline void CollectPublished(TObject* Root, const String& Path, std::vector<TPublishedSlot>& Slots,
                             std::vector<std::pair<TStrings*, String>>& Lines, std::set<TObject*>& Seen,
                             const std::function<bool()>& Make) {
  if (!Root || !Seen.insert(Root).second) return;
  // Recursive parts (a gradient's sub-gradient has one of its own) are walked one level deep.
  const auto Dot = Path.rfind('.');
  if (Dot != String::npos && Dot > 0 && Path.find(Path.substr(Dot) + ".", 0) < Dot) return;
  if (auto* Strings = dynamic_cast<TStrings*>(Root)) {
    Lines.emplace_back(Strings, Path);
    return;
  }
  if (auto* Coll = dynamic_cast<TCollection*>(Root)) {
    for (int I = 0; I < Coll->GetCount(); ++I)
      CollectPublished(Coll->GetItem(I), Path + "[" + std::to_string(I) + "]", Slots, Lines, Seen, Make);
    return;
  }
  for (const TPropInfo* P : PublishedPropsOf(Root->ClassType())) {
    switch (P->Kind) {
      case TPropKind::pkObject: {
        // A part made on first use is made in a share of the charts only (as many as Make
        // says), so that charts hold some and stay quick to build and paint.
        TObject* Sub = P->ExistingObject(Root);
        if (!Sub && Make()) Sub = P->GetObject(Root);
        CollectPublished(Sub, Path + "." + P->Name, Slots, Lines, Seen, Make);
        break;
      }
      case TPropKind::pkReference:
      case TPropKind::pkEvent:
        break;
      default:
        Slots.push_back({Root, P, Path + "." + P->Name});
    }
  }
}

// A random value for the property, set through the property's own reader as a stream would: the
// value is written with a writer and read back through the table's line. The value is drawn
// whether or not it is set (Apply), so that a seed gives the same values to every slot. A setter
// that refuses the value (raising) leaves it; the return tells whether it was taken.
inline bool SetPublished(const TPublishedSlot& Slot, TSeededRandom& Rnd, bool Apply) {
  static const char* const Words[] = {"", "ab", "Volts", "x y", "12", "Zz-1"};
  TMemoryStream S;
  {
    TWriter W(&S);
    switch (Slot.Prop->Kind) {
      case TPropKind::pkBoolean: W.WriteBoolean(Rnd.Below(2) == 1); break;
      case TPropKind::pkInteger: {
        const String Name = Slot.Prop->Name;
        if (Name.find("Color") != String::npos)
          W.WriteInteger(static_cast<std::int32_t>(Rnd.Chance(800) ? (0xFF000000u | (Rnd.Bits() & 0xFFFFFFu)) : Rnd.Bits()));
        else
          W.WriteInteger(Rnd.Between(0, 40));
        break;
      }
      case TPropKind::pkSingle: W.WriteSingle(static_cast<float>(Rnd.Between(-40, 400)) / 4); break;
      case TPropKind::pkFloat: W.WriteFloat(static_cast<double>(Rnd.Between(-40, 400)) / 4); break;
      case TPropKind::pkString: W.WriteString(Words[Rnd.Below(std::size(Words))]); break;
      case TPropKind::pkEnum:
        W.WriteIdent(Slot.Prop->Enum->Names[Rnd.Below(static_cast<std::uint32_t>(Slot.Prop->Enum->Names.size()))]);
        break;
      case TPropKind::pkSet: {
        W.WriteValue(TValueType::vaSet);
        for (const char* N : Slot.Prop->Enum->Names)
          if (Rnd.Below(2) == 1) W.WriteStr(N);
        W.WriteStr("");
        break;
      }
      default: return false;
    }
  }
  if (!Apply) return false;
  S.SetPosition(0);
  TReader R(&S);
  try {
    Slot.Prop->Read(Slot.Instance, &R);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// The parts of a random chart that a test may look at.
struct TRandomChart {
  TForm* Form = nullptr;  // owns the chart
  TChart* Chart = nullptr;
  std::vector<String> Chosen;   // the published values picked to be set at random, by path
  std::vector<String> Changed;  // those that were set (a setter may refuse a value)
};

// Concrete series kinds a chart can hold.
inline std::vector<const TClass*> RandomChartSeriesKinds() {
  return {TFastLineSeries::StaticClass(), TAreaSeries::StaticClass(), TThemedSeries::StaticClass()};
}

// The seeds a random-chart test runs: First to First + Count - 1, unless the environment names
// others ("ZEL_RANDOM_SEEDS=300:50", or one seed: "ZEL_RANDOM_SEEDS=266") to look at locally.
struct TSeedRange {
  std::uint32_t First, Count;
};
inline TSeedRange RandomSeeds(std::uint32_t First, std::uint32_t Count) {
  if (const char* E = std::getenv("ZEL_RANDOM_SEEDS")) {
    const std::string S = E;
    const auto Colon = S.find(':');
    try {
      const unsigned long F = std::stoul(S.substr(0, Colon));
      const unsigned long N = Colon == std::string::npos ? 1 : std::stoul(S.substr(Colon + 1));
      return {static_cast<std::uint32_t>(F), static_cast<std::uint32_t>(N)};
    } catch (const std::exception&) {
      // A malformed value runs the usual seeds.
    }
  }
  return {First, Count};
}

// Builds the random chart of a seed on a new form of its own (Form owns the chart; the chart owns
// its series, functions and tools). Permille: the share of published values set at random.
// Keep, when given, tells which of the values picked are set (by their place in Chosen), so that
// a failing chart can be narrowed down to the values that make it fail.
inline TRandomChart MakeRandomChart(std::uint32_t Seed, std::uint32_t Permille, float Width, float Height,
                                    const std::function<bool(std::size_t)>& Keep = nullptr) {
  TSeededRandom Rnd(Seed);
  TRandomChart R;
  R.Form = TForm::CreateNew(nullptr);
  TChart* C = Create<TChart>(R.Form);
  R.Chart = C;
  C->SetName("Chart1");
  C->SetParent(R.Form);
  C->SetBounds(0, 0, Width, Height);

  TChartAxis* CustomV = C->GetCustomAxes()->Add();
  CustomV->SetHorizontal(false);
  CustomV->SetPositionPercent(Rnd.Between(0, 40));
  TChartAxis* CustomH = C->GetCustomAxes()->Add();
  CustomH->SetHorizontal(true);
  CustomH->SetOtherSide(Rnd.Below(2) == 1);
  std::vector<TChartAxis*> Axes = {C->GetLeftAxis(), C->GetBottomAxis(), C->GetRightAxis(), C->GetTopAxis(),
                                   CustomV, CustomH};

  std::vector<TChartSeries*> Series;
  int Named = 0;
  for (const TClass* Kind : RandomChartSeriesKinds()) {
    auto* S = static_cast<TChartSeries*>(Kind->Create(C));
    S->SetName("Series" + std::to_string(++Named));
    S->SetParentChart(C);
    const int N = Rnd.Between(3, 14);
    double X = Rnd.Between(-5, 5);
    for (int I = 0; I < N; ++I) {
      X += Rnd.Between(1, 4);
      S->AddXY(X, Rnd.Between(-20, 80) / 2.0, Rnd.Chance(700) ? "P" + std::to_string(I) : String());
    }
    S->ManualData = true;
    if (Rnd.Chance(300)) S->SetCustomVertAxis(CustomV);
    if (Rnd.Chance(300)) S->SetCustomHorizAxis(CustomH);
    Series.push_back(S);
  }
  // A series fed by each function, its source given by reference.
  const std::size_t WithPoints = Series.size();
  for (std::int32_t I = 0; ZelSeriesTypes && I < ZelSeriesTypes->Count(); ++I) {
    const TClass* FunctionClass = ZelSeriesTypes->Get(I)->FunctionClass;
    if (!FunctionClass) continue;
    auto* S = Create<TFastLineSeries>(C);
    S->SetName("Series" + std::to_string(++Named));
    S->SetParentChart(C);
    auto* F = static_cast<TZelFunction*>(FunctionClass->Create(C));
    F->SetName("Function" + std::to_string(I + 1));
    S->SetFunction(F);
    S->SetDataSource(Series[Rnd.Below(static_cast<std::uint32_t>(WithPoints))]);
    Series.push_back(S);
  }
  // Every registered tool, hooked to a series or an axis where it takes one.
  for (std::int32_t I = 0; ZelToolTypes && I < ZelToolTypes->Count(); ++I) {
    auto* T = static_cast<TZelCustomTool*>(ZelToolTypes->Get(I)->Create(C));
    T->SetName("Tool" + std::to_string(I + 1));
    T->SetParentChart(C);
    TChartSeries* S = Series[Rnd.Below(static_cast<std::uint32_t>(Series.size()))];
    TChartAxis* A = Axes[Rnd.Below(static_cast<std::uint32_t>(Axes.size()))];
    if (auto* TS = dynamic_cast<TZelCustomToolSeries*>(T)) TS->SetSeries(S);
    if (auto* TA = dynamic_cast<TZelCustomToolAxis*>(T)) TA->SetAxis(A);
    if (auto* SB = dynamic_cast<TAxisScrollBarTool*>(T)) SB->SetAxis(A);
  }

  // Published values of the chart and of every component it holds, set at random.
  std::vector<TPublishedSlot> Slots;
  std::vector<std::pair<TStrings*, String>> Lines;
  std::set<TObject*> Seen;
  const std::function<bool()> Make = [&Rnd] { return Rnd.Chance(150); };
  CollectPublished(C, "Chart1", Slots, Lines, Seen, Make);
  std::vector<TComponent*> Children;
  C->GetChildren([&](TComponent* Child) { Children.push_back(Child); }, C);
  for (std::size_t I = 0; I < Children.size(); ++I) {
    CollectPublished(Children[I], Children[I]->GetName(), Slots, Lines, Seen, Make);
    Children[I]->GetChildren([&](TComponent* Child) { Children.push_back(Child); }, C);
  }
  auto Kept = [&](const String& Path) {
    R.Chosen.push_back(Path);
    return !Keep || Keep(R.Chosen.size() - 1);
  };
  for (const TPublishedSlot& Slot : Slots)
    if (Rnd.Chance(Permille)) {
      const bool Apply = Kept(Slot.Path);
      if (SetPublished(Slot, Rnd, Apply)) R.Changed.push_back(Slot.Path);
    }
  for (auto& [Strings, Path] : Lines)
    if (Rnd.Chance(Permille * 4)) {
      const bool Apply = Kept(Path + ".Strings");
      const String Line = "line " + std::to_string(Rnd.Below(100));
      if (!Apply) continue;
      Strings->Add(Line);
      R.Changed.push_back(Path + ".Strings");
    }
  return R;
}

}  // namespace zel::testing
