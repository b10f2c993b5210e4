#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "platform/Filer.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TCustomChart, TCustomAxisPanel)
ZEL_DEFINE_COMPONENT_CLASS(TChart, TCustomChart)

TZelNewChartHook ZelNewChartHook;
TShiftState ZelScrollKeyShift;
double AnimatedZoomFactor = 3.0;

// The palette a new chart takes when the options name none.
static constexpr int DefaultChartPalette = 13;

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}

void TCustomChart::AfterConstruction() {
  TCustomAxisPanel::AfterConstruction();
  TAutoRepaintScope Quiet(this, false);
  CreateParts();
  RestoredAxisScales = true;
  if (!ZelNewChartHook) {
    SetColorPaletteIndex(ZelReadIntegerOption("DefaultPalette", DefaultChartPalette));
  } else if (IsDesigning()) {
    TComponent* O = GetComponentOwner();
    if (!O || !O->IsLoading()) ZelNewChartHook(this);
  }
}

TCustomChart::~TCustomChart() {
  FSavedScales.clear();
  SetAutoRepaint(false);
  FreeParts();
}

// ---------------------------------------------------------------------------------------------
// Palette

void TCustomChart::SetColorPaletteIndex(std::int32_t Value) {
  if (Value == FColorPaletteIndex) return;
  if (Value == -2) {
    if (FColorPaletteIndex > 0)
      TColorPalettes::ApplyPalette(this, FColorPaletteIndex);
    else
      TColorPalettes::ApplyPalette(this, ZelColorPalette, static_cast<int>(ZelColorPalette.size()) - 1);
  }
  FColorPaletteIndex = Value;
  if (Value != -2) TColorPalettes::ApplyPalette(this, Value);
}

// ---------------------------------------------------------------------------------------------
// Stored properties

namespace {

struct TNamedColor {
  const char* Name;
  TAlphaColor Color;
};

// The colour names old streams may hold (with the "cl" or "cla" prefix).
constexpr TNamedColor NamedColors[] = {
    {"black", 0xFF000000},   {"maroon", 0xFF800000}, {"green", 0xFF008000},  {"olive", 0xFF808000},
    {"navy", 0xFF000080},    {"purple", 0xFF800080}, {"teal", 0xFF008080},   {"gray", 0xFF808080},
    {"silver", 0xFFC0C0C0},  {"red", 0xFFFF0000},    {"lime", 0xFF00FF00},   {"yellow", 0xFFFFFF00},
    {"blue", 0xFF0000FF},    {"fuchsia", 0xFFFF00FF}, {"aqua", 0xFF00FFFF},  {"white", 0xFFFFFFFF},
    {"null", 0x00000000},    {"none", 0x00000000},   {"grey", 0xFF808080},   {"cream", 0xFFF0FBFF},
    {"skyblue", 0xFF87CEEB}, {"moneygreen", 0xFFC0DCC0}, {"ltgray", 0xFFC0C0C0}, {"dkgray", 0xFF808080},
};

// A colour identifier of an old stream: a colour name with its prefix, or a number in "$" or
// "#" hexadecimal. Anything else is a read error.
TAlphaColor ColorFromIdent(const String& Ident) {
  String S;
  for (char C : Ident) S += static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  if (!S.empty() && (S[0] == '$' || S[0] == '#') && S.size() > 1 && S.size() <= 9) {
    std::uint32_t V = 0;
    for (std::size_t I = 1; I < S.size(); ++I) {
      const char C = S[I];
      int D;
      if (C >= '0' && C <= '9')
        D = C - '0';
      else if (C >= 'a' && C <= 'f')
        D = C - 'a' + 10;
      else
        throw EReadError(SInvalidPropertyValue);
      V = (V << 4) | static_cast<std::uint32_t>(D);
    }
    return V;
  }
  String Name;
  if (S.rfind("cla", 0) == 0) {
    Name = S.substr(3);
    for (const TNamedColor& N : NamedColors)
      if (Name == N.Name) return N.Color;
  }
  if (S.rfind("cl", 0) == 0) {
    Name = S.substr(2);
    for (const TNamedColor& N : NamedColors)
      if (Name == N.Name) return N.Color;
  }
  throw EReadError(SInvalidPropertyValue);
}

std::int32_t ClampToInt32(Int64 V) {
  return static_cast<std::int32_t>(std::clamp<Int64>(V, std::numeric_limits<std::int32_t>::min(),
                                                     std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void TCustomChart::DefineProperties(TFiler* Filer) {
  TCustomAxisPanel::DefineProperties(Filer);
  Filer->DefineProperty("BackColor", [this](TReader* R) { ReadBackColor(R); }, nullptr, false);
  bool StoreIndex;
  if (auto* A = dynamic_cast<TCustomChart*>(Filer->GetAncestor()))
    StoreIndex = A->FColorPaletteIndex != FColorPaletteIndex;
  else
    // -1 (no palette of its own) is stored too: a new chart starts with a palette, so leaving
    // it out would give the chart back a palette when it is read again.
    StoreIndex = true;
  Filer->DefineProperty(
      "ColorPaletteIndex", [this](TReader* R) { SetColorPaletteIndex(ClampToInt32(R->ReadInt64())); },
      [this](TWriter* W) { W->WriteInteger(FColorPaletteIndex); }, StoreIndex);
  Filer->DefineProperty(
      "ColorPalette", [this](TReader* R) { ReadColorPalette(R); }, [this](TWriter* W) { WriteColorPalette(W); },
      FColorPaletteIndex == -2);
}

void TCustomChart::ReadBackColor(TReader* Reader) {
  TAlphaColor C;
  if (Reader->NextValue() == TValueType::vaIdent)
    C = ColorFromIdent(Reader->ReadIdent());
  else
    C = static_cast<TAlphaColor>(Reader->ReadInt64());
  SetBackColor(C);
}

void TCustomChart::ReadColorPalette(TReader* Reader) {
  // Read the whole list first, so that a bad stream leaves the palette as it was.
  std::vector<TAlphaColor> Colors;
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) Colors.push_back(static_cast<TAlphaColor>(Reader->ReadInt64()));
  Reader->ReadListEnd();
  ColorPalette = std::move(Colors);
  if (ColorPalette.empty()) SetColorPaletteIndex(-1);
}

void TCustomChart::WriteColorPalette(TWriter* Writer) {
  Writer->WriteListBegin();
  for (TAlphaColor C : ColorPalette) Writer->WriteInteger(C);
  Writer->WriteListEnd();
}

// ---------------------------------------------------------------------------------------------
// Assignment and children

void TCustomChart::Assign(TPersistent* Source) {
  if (auto* C = dynamic_cast<TCustomChart*>(Source)) {
    SetColorPaletteIndex(C->FColorPaletteIndex);
    AssignParts(C);
  }
  TCustomAxisPanel::Assign(Source);
}

void TCustomChart::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TCustomAxisPanel::GetChildren(Proc, Root);
  for (TZelCustomTool* T : std::vector<TZelCustomTool*>(FTools->GetList())) Proc(T);
  for (TZelCustomTool* A : std::vector<TZelCustomTool*>(FAnimations->GetList())) Proc(A);
}

void TCustomChart::FillValueSourceItems(TObject* ValueList, const std::function<void(const String&)>& Proc) {
  auto* V = dynamic_cast<TChartValueList*>(ValueList);
  if (!V || !V->GetOwnerSeries() || !Proc) return;
  auto* Source = dynamic_cast<TChartSeries*>(V->GetOwnerSeries()->GetDataSource());
  if (!Source) return;
  TChartValueLists* Lists = Source->GetValuesList();
  for (std::int32_t I = 0; I < Lists->Count(); ++I) Proc(Lists->Get(I)->GetName());
}

// ---------------------------------------------------------------------------------------------
// Series and pages

void TCustomChart::RemoveAllSeries() {
  while (SeriesCount() > 0) RemoveSeries(0);
}

void TCustomChart::SeriesUp(TChartSeries* Series) {
  const std::int32_t I = IndexOfSeries(Series);
  if (I > 0) ExchangeSeries(I, I - 1);
}

void TCustomChart::SeriesDown(TChartSeries* Series) {
  const std::int32_t I = IndexOfSeries(Series);
  if (I >= 0 && I < SeriesCount() - 1) ExchangeSeries(I, I + 1);
}

void TCustomChart::NextPage() { FPage->NextPage(); }
void TCustomChart::PreviousPage() { FPage->PreviousPage(); }

TChartSeries* TCustomChart::GetASeries() const {
  for (std::int32_t I = 0; I < SeriesCount(); ++I)
    if (GetSeries(I)->GetActive()) return GetSeries(I);
  return nullptr;
}

void TCustomChart::ClearChart() {
  for (std::int32_t I = 0; I < SeriesCount(); ++I)
    if (GetSeries(I)->GetDataSource()) GetSeries(I)->SetDataSource(nullptr);
  FreeAllSeries(nullptr);
  FSeriesList->Clear();
  FTools->Clear();
  FAnimations->Clear();
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList()))
    if (A->GetItems()) A->GetItems()->Clear();
  FAxes->Reset();
  // A fresh chart of the same class carries every default.
  const TClass* Cls = ClassType();
  TOwned<TObject> Fresh(Cls->Factory ? Cls->Create(nullptr) : Create<TCustomChart>(nullptr));
  auto* C = dynamic_cast<TCustomChart*>(Fresh.get());
  if (!C) return;
  C->SetParent(GetParent());
  Assign(C);
}

String TCustomChart::AxisTitleOrName(TChartAxis* Axis) {
  if (!Axis) return String();
  if (TChartAxisTitle* T = Axis->ExistingTitle()) {
    const String Caption = T->GetCaption();
    if (!Caption.empty()) return Caption;
  }
  if (Axis == GetDepthAxis()) return ZelMsg_DepthAxis;
  if (Axis == GetDepthTopAxis()) return ZelMsg_DepthTopAxis;
  if (Axis->GetHorizontal()) return Axis->GetOtherSide() ? ZelMsg_TopAxis : ZelMsg_BottomAxis;
  return Axis->GetOtherSide() ? ZelMsg_RightAxis : ZelMsg_LeftAxis;
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCustomChart)
  P::Obj("BackWall", &Self::GetBackWall),
  P::Obj("BottomWall", &Self::GetBottomWall),
  P::Obj("Foot", &Self::GetFoot, &Self::ExistingFoot),
  P::Obj("LeftWall", &Self::GetLeftWall),
  P::Obj("Legend", &Self::GetLegend),
  P::Obj("RightWall", &Self::GetRightWall, [](Self* C) { return C->GetWalls()->ExistingRight(); }),
  P::Obj("SubFoot", &Self::GetSubFoot, &Self::ExistingSubFoot),
  P::Obj("SubTitle", &Self::GetSubTitle, &Self::ExistingSubTitle),
  P::Obj("Title", &Self::GetTitle, &Self::ExistingTitle),
  // The back wall's pen, written as BackWall.Pen; read, not written.
  P::Obj("Frame", &Self::GetFrame, &Self::GetFrame, [](Self*) { return false; }),
  P::Event("OnAllowScroll", &Self::OnAllowScroll),
  P::Event("OnClickAxis", &Self::OnClickAxis),
  P::Event("OnClickBackground", &Self::OnClickBackground),
  P::Event("OnClickLegend", &Self::OnClickLegend),
  P::Event("OnClickSeries", &Self::OnClickSeries),
  P::Event("OnClickTitle", &Self::OnClickTitle),
  P::Event("OnGetLegendPos", &Self::OnGetLegendPos),
  P::Event("OnGetLegendRect", &Self::OnGetLegendRect),
  P::Event("OnGetLegendText", &Self::OnGetLegendText),
ZEL_END_PUBLISHED

}  // namespace zel
