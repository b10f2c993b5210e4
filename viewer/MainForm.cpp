#include "viewer/MainForm.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Filer.h"
#include "platform/Graphics.h"
#include "platform/ObjectText.h"
#include "platform/Scope.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "viewer/MainFormLayout.h"
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

// A field of the form: the component of the stored layout with that name and class.
template <typename T>
void BindField(TComponent* Form, T*& Field, const char* Name) {
  Field = dynamic_cast<T*>(Form->FindComponent(Name));
  if (!Field) throw EReadError(String("The window's layout has no ") + T::StaticClass()->Name + " named " + Name);
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

// Reads the records of lines of a block on several threads: line K is the file's line First + K,
// and a record's points start at Offsets[its record number]; every line was counted, so each has
// its offset. Each record is read on its own (a failure stays with its record), so the result is
// the same however the records are spread over the threads.
void ReadRecords(std::span<const std::string_view> Lines, int First, const std::vector<double>& Offsets,
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

// Records are read on several threads, each allocating from a heap of its own, and a load frees
// the previous file's series: the heaps keep the free memory this leaves between the blocks in
// use, and the next load, on other threads, may not reuse it. Giving it back to the system keeps
// a window that loads file after file at what one load holds.
void GiveBackFreeMemory() { malloc_trim(0); }

// The series a load makes come from the main heap, a few kilobytes each: a file of many short
// records grows the heap by hundreds of megabytes, and most of the load's time goes into the
// system handing that memory over a 4 KB page at a time. While the scope is open the heap grows
// in large steps, and each step is offered large pages (where the system gives them on request),
// so that it is handed over in far fewer, larger pieces. Follow() is called after each record.
class THeapInLargePages {
 public:
  THeapInLargePages() : FEnd(sbrk(0)) { mallopt(M_TOP_PAD, GrowBy); }
  ~THeapInLargePages() {
    Follow();
    mallopt(M_TOP_PAD, DefaultTopPad);
  }
  THeapInLargePages(const THeapInLargePages&) = delete;
  THeapInLargePages& operator=(const THeapInLargePages&) = delete;

  // Offers large pages for what the heap grew by since the last call.
  void Follow() {
    void* End = sbrk(0);
    if (End == FEnd || End == reinterpret_cast<void*>(-1)) return;
    const auto Page = static_cast<std::uintptr_t>(LargePage);
    const std::uintptr_t From = (reinterpret_cast<std::uintptr_t>(FEnd) + Page - 1) / Page * Page;
    const std::uintptr_t To = reinterpret_cast<std::uintptr_t>(End) / Page * Page;
    if (End > FEnd && To > From) madvise(reinterpret_cast<void*>(From), To - From, MADV_HUGEPAGE);
    FEnd = End;
  }

 private:
  static constexpr int GrowBy = 64 << 20;
  static constexpr int DefaultTopPad = 128 << 10;
  static constexpr std::size_t LargePage = std::size_t(2) << 20;
  void* FEnd;
};

// "1 record", "30 records".
String RecordCount(int Count) { return std::to_string(Count) + (Count == 1 ? " record" : " records"); }

// What the user is told when a file changed between the count of its lines and their read (a
// program may still be writing it): what changed, and what the chart shows of it.
String ChangedWhileLoading(const String& FileName, bool Grew, bool Shrank, int Counted, int Loaded) {
  const String Changed = "\"" + FileName + "\" changed while it was loading";
  if (Grew) {
    return Changed + ": lines were added to it since the load began (a program may still be writing it). " +
           (Counted == 0 ? "It held no records then; load it again to see the ones added since."
                         : "The " + RecordCount(Counted) + " it held then " + (Counted == 1 ? "is" : "are") +
                               " shown; load it again to see the rest.");
  }
  if (Shrank) {
    return Changed + ": it became shorter since the load began. " +
           (Loaded == 0 ? "No records are left in it."
                        : "The " + RecordCount(Loaded) + " still in it " + (Loaded == 1 ? "is" : "are") + " shown.");
  }
  return Changed + " (a program may still be writing it). Its records are shown as they were read; load it again to "
                   "see it as it is now.";
}

// Ends the brackets a load opens, also when it fails.
class TLoadBrackets {
 public:
  TLoadBrackets(TChart* Chart, TProgressBar* Progress) : FChart(Chart), FProgress(Progress) { FChart->BeginUpdate(); }
  ~TLoadBrackets() {
    FProgress->SetVisible(false);
    FChart->EndUpdate();
    GiveBackFreeMemory();
  }
  TLoadBrackets(const TLoadBrackets&) = delete;
  TLoadBrackets& operator=(const TLoadBrackets&) = delete;

 private:
  TChart* FChart;
  TProgressBar* FProgress;
};

}  // namespace

TFrmMain::TFrmMain(TComponent* AOwner) : TForm(AOwner), FLoadBlockSize(SessionBlockSize) {
  ReadLayout();
  AdjustChart();
}

void TFrmMain::ReadLayout() {
  FMethods.Add("actFileLoad_Execute", TNotifyEvent([this](TObject* Sender) { actFileLoad_Execute(Sender); }));
  FMethods.Add("chart_DblClick", TNotifyEvent([this](TObject* Sender) { chart_DblClick(Sender); }));
  FMethods.Add("actChartLegendToggle_Execute",
               TNotifyEvent([this](TObject* Sender) { actChartLegendToggle_Execute(Sender); }));
  FMethods.Add("actChartLegendToggle_Update",
               TNotifyEvent([this](TObject* Sender) { actChartLegendToggle_Update(Sender); }));

  // The platform classes the layout names (the library's own are registered when its units start).
  for (const TClass* C : {TImageList::StaticClass(), TActionList::StaticClass(), TAction::StaticClass(),
                          TOpenDialog::StaticClass(), TToolBar::StaticClass(), TGridLayout::StaticClass(),
                          TSpeedButton::StaticClass(), TProgressBar::StaticClass()})
    RegisterClass(C);

  const std::string_view Layout = MainFormLayout();
  TMemoryStream Text, Binary;
  Text.WriteBuffer(Layout.data(), static_cast<Int64>(Layout.size()));
  Text.SetPosition(0);
  ObjectTextToBinary(&Text, &Binary);
  Binary.SetPosition(0);
  TReader Reader(&Binary);
  Reader.ReadRootComponent(this);

  BindField(this, chart_, "chart_");
  BindField(this, ChartTool2, "ChartTool2");
  BindField(this, tb_, "tb_");
  BindField(this, layTb_, "layTb_");
  BindField(this, SpeedButton1, "SpeedButton1");
  BindField(this, SpeedButton2, "SpeedButton2");
  BindField(this, dlgOpen_, "dlgOpen_");
  BindField(this, progress_, "progress_");
  BindField(this, acts_, "acts_");
  BindField(this, actFileLoad_, "actFileLoad_");
  BindField(this, actChartLegendToggle_, "actChartLegendToggle_");
  BindField(this, imgs_, "imgs_");
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

void TFrmMain::ResetAxes() {
  // Undo every zoom, pan and scroll first, so that a later undo cannot bring back the scales of
  // an earlier file. Each undo step takes one snapshot off the history; the count bounds the walk.
  for (int Guard = 0; Guard < 1000; ++Guard) {
    TObjectList<TObject>* H = chart_->GetZoom()->ExistingAxesHistory();
    const bool HistoryLeft = chart_->GetZoom()->GetHistory() && H && H->GetCount() > 0;
    if (chart_->GetRestoredAxisScales() && !HistoryLeft) break;
    chart_->UndoZoom();
  }
  // The window's axis settings; the axis scroll tool and panning switch the automatic modes off.
  TChartAxis* Left = chart_->GetLeftAxis();
  Left->SetAutomatic(false);
  Left->SetAutomaticMinimum(false);
  Left->SetAutomaticMaximum(true);
  if (Left->GetMaximum() < 0) Left->SetMaximum(0);
  Left->SetMinimum(0);
}

void TFrmMain::FitLeftAxisToSamples() {
  double Lowest = 0;
  for (std::int32_t I = 0; I < chart_->SeriesCount(); ++I) {
    TChartSeries* S = chart_->GetSeries(I);
    if (S->Count() > 0) Lowest = std::min(Lowest, S->MinYValue());
  }
  chart_->GetLeftAxis()->SetMinimum(Lowest);
}

void TFrmMain::actFileLoad_Execute(TObject*) {
  if (!dlgOpen_->Execute()) return;
  // The load holds the GUI thread: the window is painted first, or the dialog's last picture
  // stays over the chart until the load ends.
  PaintWindowImmediately();
  fileLoad(dlgOpen_->GetFileName());
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
  // Every message of a load is made readable here, once: what the file and its name hold may
  // carry control bytes (a NUL would cut the message short).
  try {
    LoadSessionFile(FileName);
  } catch (Exception& E) {
    E.SetMessage(EscapedForMessage(E.GetMessage()));
    throw;
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(EscapedForMessage("\"" + FileName +
                                         "\" is too large for the viewer to hold in memory; the records before "
                                         "the one that did not fit are loaded"));
  }
}

void TFrmMain::LoadSessionFile(const String& FileName) {
  TLoadBrackets Brackets(chart_, progress_);

  // The series of the previous load are freed, not only taken off the chart (the last first: each
  // leaves the end of the chart's lists, which costs nothing to close up).
  while (chart_->SeriesCount() > 0) chart_->GetSeries(chart_->SeriesCount() - 1)->Free();
  chart_->RemoveAllSeries();
  chart_->GetLegend()->SetVisible(false);
  TChartTitle* Title = chart_->GetTitle();
  Title->GetLines()->Clear();
  Title->SetVisible(false);
  GiveBackFreeMemory();

  // The file is read twice, a block at a time: first to count its lines and check that they are
  // text (so that nothing is loaded from a file that is not), then to load the records. A program
  // may still be writing the file: the second pass reads the lines counted and no more, and a
  // file that changed between the two is loaded as it is then, and the user told.
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  const Int64 SizeAtCount = File.GetSize();
  auto NotText = [&](std::int64_t Line) {
    return EConvertError("\"" + FileName + "\" is not a UTF-8 text file (line " + std::to_string(Line) + ")");
  };
  // A session file starts with its title: a NUL byte there says it is no text file at all.
  auto TitleIsText = [](std::string_view Line) {
    return IsUtf8Line(Line) && !std::memchr(Line.data(), 0, Line.size());
  };
  std::vector<std::string_view> Block;
  int N = 0;
  {
    TSessionLines Lines(File, FLoadBlockSize);
    while (Lines.NextBlock(Block)) {
      int Bad = FirstNonUtf8Line(Block);
      if (N == 0 && !TitleIsText(Block[0])) Bad = 0;
      if (Bad >= 0) throw NotText(std::int64_t(N) + Bad + 1);
      if (Block.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max() - N)) throw std::bad_alloc();
      N += static_cast<int>(Block.size());
    }
    if (Lines.GetStoppedAtNonText()) throw NotText(std::int64_t(N) + 1);
  }
  if (OnLinesCounted) OnLinesCounted(this);
  File.SetPosition(0);

  // The chart as it shows a file of Records records: the bottom axis over them (1000 for each,
  // 1000 without any), the legend while there are any.
  auto ShowRecordCount = [this](int Records) {
    chart_->GetBottomAxis()->SetMinMax(0, Records > 0 ? 1000.0 * Records : 1000.0);
    chart_->GetLegend()->SetVisible(Records > 0);
  };
  const TFormatSettings FS = SessionFormatSettings();
  const int Counted = std::max(N - 2, 0);
  ResetAxes();
  ShowRecordCount(Counted);
  if (Counted > 0) {
    progress_->SetMin(0);
    progress_->SetMax(N - 1);
    progress_->SetValue(0);
    progress_->SetVisible(true);
  }
  // Samples below 0 are shown whole: the left axis reaches down to the lowest one loaded, also
  // when a record fails and the load keeps those before it.
  TRestoreOnExit FitLeftAxis([this] { FitLeftAxisToSamples(); });

  // Where each record's points start: 1000 more for each record.
  std::vector<double> Offsets(static_cast<std::size_t>(Counted));
  double X0 = 0.0;
  for (double& O : Offsets) {
    O = X0;
    X0 += 1000.0;
  }

  THeapInLargePages Heap;
  TSessionLines Lines(File, FLoadBlockSize);
  std::vector<TSessionRecord> Records;
  std::vector<std::exception_ptr> Errors;
  int I = 0;
  bool Grew = false;  // the file has lines past those counted
  while (!Grew && Lines.NextBlock(Block)) {
    // The lines counted, and no more: a line past them has no offset and is not loaded.
    const std::size_t Read = std::min(Block.size(), static_cast<std::size_t>(N - I));
    Grew = Read < Block.size();
    ReadRecords(std::span(Block).first(Read), I, Offsets, FS, Records, Errors);
    for (std::size_t K = 0; K < Read; ++K, ++I) {
      const std::string_view Line = Block[K];
      if (I == 0) {
        if (!TitleIsText(Line)) {
          ShowRecordCount(0);
          throw NotText(1);
        }
        if (!Line.empty()) {
          WithinUpdate(*Title->GetLines(), [&] {
            Title->SetVisible(true);
            Title->GetLines()->SetText(String(Line));
          });
        }
      } else if (I >= 2) {
        auto* Series = Create<TFastLineSeries>(chart_);
        {
          TUndoOnFailure FreeSeries([Series] { Series->Free(); });
          Series->SetSeriesColor(chart_->GetDefaultColor(chart_->SeriesCount() + 1));
          Series->SetValueFormat("#0.0");
          Series->SetDrawStyle(TFastLineDrawStyle::flAll);
          Series->SetDrawAllPoints(true);
          Series->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
          chart_->AddSeries(Series);
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
        Heap.Follow();
      }
      progress_->SetValue(I);
    }
  }
  // Fewer lines than counted: the chart shows the records that are left.
  const bool Shrank = I < N;
  if (Shrank) ShowRecordCount(std::max(I - 2, 0));
  if (Grew || Shrank || File.GetSize() != SizeAtCount)
    throw EStreamError(ChangedWhileLoading(FileName, Grew, Shrank, Counted, std::max(I - 2, 0)));
}

}  // namespace zel
