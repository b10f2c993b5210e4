#include "viewer/MainForm.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "viewer/SessionParser.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/AxisScroll.h"

namespace zel {

TFrmMain* FrmMain = nullptr;

ZEL_DEFINE_COMPONENT_CLASS(TFrmMain, TForm)

namespace {

// The palette the chart's series colours come from.
constexpr std::int32_t ViewerPaletteIndex = 13;

// The two 16 x 16 button pictures, drawn here: an open folder and a details view.
TBitmap* FolderPicture() {
  auto* B = new TBitmap(16, 16);
  TBitmapData D;
  if (B->Map(TMapAccess::Write, D)) {
    const TAlphaColor Back = 0xFFC8962A, Front = 0xFFF2C45A, Edge = 0xFF8A6414;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) D.SetPixel(X, Y, 0);
    for (int X = 1; X <= 6; ++X) D.SetPixel(X, 3, Edge);  // the tab
    for (int Y = 4; Y <= 13; ++Y)
      for (int X = 1; X <= 13; ++X) D.SetPixel(X, Y, (Y == 4 || Y == 13 || X == 1 || X == 13) ? Edge : Back);
    for (int Y = 7; Y <= 13; ++Y)  // the open front, leaning right
      for (int X = 2 + (13 - Y) / 3; X <= 14 - (13 - Y) / 3 && X < 16; ++X)
        D.SetPixel(X, Y, (Y == 7 || Y == 13) ? Edge : Front);
    B->Unmap(D);
  }
  return B;
}

TBitmap* DetailsPicture() {
  auto* B = new TBitmap(16, 16);
  TBitmapData D;
  if (B->Map(TMapAccess::Write, D)) {
    const TAlphaColor Mark = 0xFF2B406B, Line = 0xFF707070;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) D.SetPixel(X, Y, 0);
    for (int Row = 0; Row < 4; ++Row) {
      const int Y = 2 + Row * 4;
      for (int DY = 0; DY < 2; ++DY) {
        for (int X = 1; X <= 2; ++X) D.SetPixel(X, Y + DY, Mark);
        for (int X = 5; X <= 14; ++X) D.SetPixel(X, Y + DY, Line);
      }
    }
    B->Unmap(D);
  }
  return B;
}

void AddPicture(TImageList* List, TBitmap* Picture) {
  try {
    List->Add(*Picture);
  } catch (...) {
    delete Picture;
    throw;
  }
  delete Picture;
}

// Runs Body(K) for K = 0 .. N - 1 on up to 8 threads, this one among them; Body must not raise.
template <typename F>
void ForEachOnThreads(std::size_t N, F&& Body) {
  std::atomic<std::size_t> Next{0};
  auto Work = [&] {
    for (std::size_t K; (K = Next.fetch_add(1)) < N;) Body(K);
  };
  const unsigned Threads = std::min<unsigned>(std::max(1u, std::thread::hardware_concurrency()), 8);
  std::vector<std::thread> Pool;
  for (unsigned T = 1; T < Threads && T < N; ++T) {
    try {
      Pool.emplace_back(Work);
    } catch (...) {
      break;  // fewer threads: the work is still done
    }
  }
  Work();
  for (std::thread& T : Pool) T.join();
}

// Reads the records of one block of lines on several threads: line K of the block is the file's
// line First + K, and a record's points start at Offsets[its record number]. Each record is read
// on its own (a failure stays with its record), so the result is the same however the records
// are spread over the threads.
void ReadRecords(const std::vector<std::string_view>& Lines, int First, const std::vector<double>& Offsets,
                 const TFormatSettings& FS, std::vector<TSessionRecord>& Records,
                 std::vector<std::exception_ptr>& Errors) {
  Records.resize(Lines.size());
  Errors.assign(Lines.size(), nullptr);
  ForEachOnThreads(Lines.size(), [&](std::size_t K) {
    const int Line = First + static_cast<int>(K);
    if (Line < 2) return;
    try {
      ReadSessionRecord(Lines[K], Offsets[static_cast<std::size_t>(Line - 2)], FS, Records[K]);
    } catch (...) {
      Errors[K] = std::current_exception();
    }
  });
}

// The index of the first line of the block that is not UTF-8 text, or -1.
int FirstNonUtf8Line(const std::vector<std::string_view>& Lines) {
  std::vector<char> Bad(Lines.size(), 0);
  ForEachOnThreads(Lines.size(), [&](std::size_t K) { Bad[K] = !IsUtf8Line(Lines[K]); });
  const auto It = std::find(Bad.begin(), Bad.end(), 1);
  return It == Bad.end() ? -1 : static_cast<int>(It - Bad.begin());
}

// Ends the brackets a load opens, also when it fails.
class TLoadBrackets {
 public:
  TLoadBrackets(TChart* Chart, TProgressBar* Progress) : FChart(Chart), FProgress(Progress) { FChart->BeginUpdate(); }
  ~TLoadBrackets() {
    FProgress->SetVisible(false);
    FChart->EndUpdate();
  }
  TLoadBrackets(const TLoadBrackets&) = delete;
  TLoadBrackets& operator=(const TLoadBrackets&) = delete;

 private:
  TChart* FChart;
  TProgressBar* FProgress;
};

}  // namespace

TFrmMain::TFrmMain(TComponent* AOwner) : TForm(AOwner) {
  CreateLayout();
  AdjustChart();
}

void TFrmMain::CreateLayout() {
  SetCaption("Session viewer");
  SetBounds(0, 0, 640, 480);

  imgs_ = Create<TImageList>(this);
  AddPicture(imgs_, FolderPicture());
  AddPicture(imgs_, DetailsPicture());

  acts_ = Create<TActionList>(this);
  acts_->SetImages(imgs_);
  actFileLoad_ = Create<TAction>(this);
  actFileLoad_->SetActionList(acts_);
  actFileLoad_->SetText("Load file");
  actFileLoad_->SetHint("Load an oscilloscope logger session data");
  actFileLoad_->SetImageIndex(0);
  actFileLoad_->OnExecute = [this](TObject* Sender) { actFileLoad_Execute(Sender); };
  actChartLegendToggle_ = Create<TAction>(this);
  actChartLegendToggle_->SetActionList(acts_);
  actChartLegendToggle_->SetText("Toggle Legend");
  actChartLegendToggle_->SetHint("Show or hide chart legend");
  actChartLegendToggle_->SetImageIndex(1);
  actChartLegendToggle_->OnExecute = [this](TObject* Sender) { actChartLegendToggle_Execute(Sender); };
  actChartLegendToggle_->OnUpdate = [this](TObject* Sender) { actChartLegendToggle_Update(Sender); };

  dlgOpen_ = Create<TOpenDialog>(this);
  dlgOpen_->SetDefaultExt("csv");
  dlgOpen_->SetFilter("Comma separated value files (*csv)|*.csv");
  dlgOpen_->SetOptions({TOpenOption::ofReadOnly, TOpenOption::ofPathMustExist, TOpenOption::ofFileMustExist,
                        TOpenOption::ofEnableSizing});

  chart_ = Create<TChart>(this);
  chart_->SetParent(this);
  chart_->SetBounds(0, 40, 640, 440);
  chart_->SetAlign(TAlignLayout::Client);
  chart_->SetBevelOuter(TPanelBevel::bvNone);
  chart_->SetTabOrder(0);
  chart_->GetLegend()->SetCheckBoxes(true);
  chart_->GetLegend()->SetResizeChart(false);
  chart_->SetScrollMouseButton(TMouseButton::mbLeft);
  chart_->GetZoom()->SetMouseButton(TMouseButton::mbRight);
  chart_->GetZoom()->SetMouseWheel(TMouseWheelStyle::pmwNormal);
  chart_->GetZoom()->GetBrush()->SetKind(TBrushKind::None);
  chart_->GetZoom()->GetPen()->GetFill()->SetColor(TAlphaColors::Silver);
  chart_->GetPanning()->SetInsideBounds(true);
  chart_->GetPanning()->SetMouseWheel(TMouseWheelStyle::pmwNone);
  chart_->GetTitle()->SetCaption("TChart");
  chart_->SetColorPaletteIndex(ViewerPaletteIndex);
  chart_->OnDblClick = [this](TObject* Sender) { chart_DblClick(Sender); };

  ChartTool2 = Create<TAxisScrollTool>(this);
  ChartTool2->SetAxis(chart_->GetAxes()->Get(0));

  tb_ = Create<TToolBar>(this);
  tb_->SetParent(this);
  tb_->SetBounds(0, 0, 640, 40);
  tb_->SetAlign(TAlignLayout::MostTop);
  tb_->SetTabOrder(5);

  layTb_ = Create<TGridLayout>(this);
  layTb_->SetParent(tb_);
  layTb_->SetBounds(0, 2, 640, 36);
  layTb_->SetAlign(TAlignLayout::Client);
  layTb_->SetItemWidth(120);
  layTb_->SetItemHeight(32);
  layTb_->SetOrientation(TOrientation::Horizontal);
  layTb_->SetMargins(TRectF(0, 2, 0, 2));
  layTb_->SetTabOrder(1);

  SpeedButton1 = Create<TSpeedButton>(this);
  SpeedButton1->SetParent(layTb_);
  SpeedButton1->SetBounds(0, 0, 120, 32);
  SpeedButton1->SetAction(actFileLoad_);
  SpeedButton1->SetImages(imgs_);
  SpeedButton1->SetImageIndex(0);
  SpeedButton2 = Create<TSpeedButton>(this);
  SpeedButton2->SetParent(layTb_);
  SpeedButton2->SetBounds(120, 0, 120, 32);
  SpeedButton2->SetAction(actChartLegendToggle_);
  SpeedButton2->SetImages(imgs_);
  SpeedButton2->SetImageIndex(1);

  progress_ = Create<TProgressBar>(this);
  progress_->SetParent(this);
  progress_->SetBounds(0, 40, 640, 4);
  progress_->SetAlign(TAlignLayout::Top);
  progress_->SetOrientation(TOrientation::Horizontal);
  progress_->SetVisible(false);
}

void TFrmMain::AdjustChart() {
  chart_->SetBevelInner(TPanelBevel::bvNone);
  chart_->SetBevelOuter(TPanelBevel::bvNone);
  chart_->GetTitle()->SetVisible(false);
  chart_->GetTitle()->GetLines()->Clear();
  TChartAxis* Bottom = chart_->GetBottomAxis();
  Bottom->SetAutomatic(false);
  Bottom->SetMinimum(0);
  Bottom->SetMaximum(1000.0);
  TChartAxis* Left = chart_->GetLeftAxis();
  Left->SetAutomaticMinimum(false);
  Left->SetAutomaticMaximum(true);
  Left->SetMinimum(0);
  chart_->GetLegend()->SetCheckBoxes(true);
  chart_->GetLegend()->SetResizeChart(false);
  chart_->GetLegend()->SetVisible(false);
  chart_->GetZoom()->SetKeepAspectRatio(true);
  chart_->GetPanning()->SetInsideBounds(true);
  chart_->SetView3D(false);
  chart_->GetLeftWall()->SetVisible(false);
  chart_->GetBottomWall()->SetVisible(false);
}

void TFrmMain::ResetAxes(double BottomMaximum) {
  // Undo every zoom, pan and scroll first, so that a later undo cannot bring back the scales of
  // an earlier file. Each undo step takes one snapshot off the history; the count bounds the walk.
  for (int Guard = 0; Guard < 1000; ++Guard) {
    TObjectList<TObject>* H = chart_->GetZoom()->ExistingAxesHistory();
    const bool HistoryLeft = chart_->GetZoom()->GetHistory() && H && H->GetCount() > 0;
    if (chart_->GetRestoredAxisScales() && !HistoryLeft) break;
    chart_->UndoZoom();
  }
  // The window's axis settings; the axis scroll tool and panning switch the automatic modes off.
  chart_->GetBottomAxis()->SetMinMax(0, BottomMaximum);
  TChartAxis* Left = chart_->GetLeftAxis();
  Left->SetAutomatic(false);
  Left->SetAutomaticMinimum(false);
  Left->SetAutomaticMaximum(true);
  if (Left->GetMaximum() < 0) Left->SetMaximum(0);
  Left->SetMinimum(0);
}

void TFrmMain::actFileLoad_Execute(TObject*) {
  if (dlgOpen_->Execute()) fileLoad(dlgOpen_->GetFileName());
}

void TFrmMain::chart_DblClick(TObject*) { chart_->UndoZoom(); }

void TFrmMain::actChartLegendToggle_Execute(TObject*) {
  TChartLegend* L = chart_->GetLegend();
  L->SetVisible(!L->GetVisible());
}

void TFrmMain::actChartLegendToggle_Update(TObject*) {
  actChartLegendToggle_->SetEnabled(chart_->SeriesCount() > 0);
  actChartLegendToggle_->SetChecked(chart_->GetLegend()->GetVisible());
}

void TFrmMain::dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series) {
  zel::dataLineParse(FS, Line, XOffset, Series);
}

void TFrmMain::fileLoad(const String& FileName) {
  TLoadBrackets Brackets(chart_, progress_);

  // The series of the previous load are freed, not only taken off the chart (the last first: each
  // leaves the end of the chart's lists, which costs nothing to close up).
  while (chart_->SeriesCount() > 0) chart_->GetSeries(chart_->SeriesCount() - 1)->Free();
  chart_->RemoveAllSeries();
  chart_->GetLegend()->SetVisible(false);

  // The file is read twice, a block at a time: first to count its lines and check that they are
  // text (so that nothing is loaded from a file that is not), then to load the records.
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  std::vector<std::string_view> Block;
  int N = 0;
  {
    TSessionLines Lines(File);
    while (Lines.NextBlock(Block)) {
      const int Bad = FirstNonUtf8Line(Block);
      if (Bad >= 0)
        throw EConvertError("\"" + FileName + "\" is not a UTF-8 text file (line " + std::to_string(N + Bad + 1) + ")");
      N += static_cast<int>(Block.size());
    }
  }
  File.SetPosition(0);

  const TFormatSettings FS = SessionFormatSettings();
  TChartTitle* Title = chart_->GetTitle();
  if (N < 3) {
    Title->GetLines()->Clear();
    Title->SetVisible(false);
    ResetAxes(1000.0);
  } else {
    progress_->SetMin(0);
    progress_->SetMax(N - 1);
    progress_->SetValue(0);
    progress_->SetVisible(true);
    chart_->GetLegend()->SetVisible(true);
    ResetAxes(1000.0 * N - 2000.0);
  }

  // Where each record's points start: 1000 more for each record.
  std::vector<double> Offsets(static_cast<std::size_t>(std::max(N - 2, 0)));
  double X0 = 0.0;
  for (double& O : Offsets) {
    O = X0;
    X0 += 1000.0;
  }

  TSessionLines Lines(File);
  std::vector<TSessionRecord> Records;
  std::vector<std::exception_ptr> Errors;
  int I = 0;
  while (I < N && Lines.NextBlock(Block)) {
    ReadRecords(Block, I, Offsets, FS, Records, Errors);
    for (std::size_t K = 0; K < Block.size() && I < N; ++K, ++I) {
      const std::string_view Line = Block[K];
      if (I == 0) {
        if (!Line.empty()) {
          WithinUpdate(*Title->GetLines(), [&] {
            Title->SetVisible(true);
            Title->GetLines()->SetText(String(Line));
          });
        } else {
          Title->SetVisible(false);
          Title->GetLines()->Clear();
        }
      } else if (I >= 2) {
        auto* Series = Create<TFastLineSeries>(chart_);
        try {
          Series->SetSeriesColor(chart_->GetDefaultColor(chart_->SeriesCount() + 1));
          Series->SetValueFormat("#0.0");
          Series->SetDrawStyle(TFastLineDrawStyle::flAll);
          Series->SetDrawAllPoints(true);
          Series->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
          chart_->AddSeries(Series);
        } catch (...) {
          Series->Free();
          throw;
        }
        Series->SetVertAxis(TVertAxis::aLeftAxis);
        Series->SetHorizAxis(THorizAxis::aBottomAxis);
        Series->SetShowInLegend(true);
        Series->GetSelected()->GetHover()->SetVisible(true);
        Series->GetSelected()->SetVisible(true);
        try {
          if (Errors[K]) std::rethrow_exception(Errors[K]);
          ApplySessionRecord(FS, Records[K], Series);
        } catch (Exception& E) {
          // Tell the user where: the record's line in the file.
          E.SetMessage(E.GetMessage() + "\n(line " + std::to_string(I + 1) + " of \"" + FileName + "\")");
          throw;
        }
        Records[K] = TSessionRecord();  // its memory is the series' now, or freed
      }
      progress_->SetValue(I);
    }
  }
}

}  // namespace zel
