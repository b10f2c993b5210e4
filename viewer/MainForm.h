// The viewer's main window: a chart filling the window under a tool bar with two buttons ("Load
// file" and "Toggle Legend"), a thin progress bar shown while a file loads, and the loading of
// a session file into the chart (one fast-line series per record).
#pragma once

#include <cstddef>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/Types.h"

namespace zel {

class TChart;
class TChartSeries;
class TAxisScrollTool;

class TFrmMain : public TForm {
  ZEL_CLASS(TFrmMain, TForm)
 public:
  // Streams in the window's layout and adjusts the chart: no bevels, no title, a fixed bottom axis
  // 0 ... 1000, a left axis from 0 with an automatic maximum, a hidden legend with check boxes,
  // 2D without left and bottom walls.
  explicit TFrmMain(TComponent* AOwner);

  // Components of the window, owned by the form.
  TChart* chart_ = nullptr;
  TAxisScrollTool* ChartTool2 = nullptr;  // drags the axes; its axis is the bottom one
  TToolBar* tb_ = nullptr;
  TGridLayout* layTb_ = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TOpenDialog* dlgOpen_ = nullptr;
  TProgressBar* progress_ = nullptr;
  TActionList* acts_ = nullptr;
  TAction* actFileLoad_ = nullptr;
  TAction* actChartLegendToggle_ = nullptr;
  TImageList* imgs_ = nullptr;

  // Loads the file the open dialog returns; nothing when the dialog is cancelled.
  void actFileLoad_Execute(TObject* Sender);
  // Undoes the chart's zoom.
  void chart_DblClick(TObject* Sender);
  void actChartLegendToggle_Execute(TObject* Sender);
  // Enabled while the chart has series; checked while the legend is shown.
  void actChartLegendToggle_Update(TObject* Sender);

  // Replaces the chart's content with the session file FileName: the first line is the title,
  // the second is skipped, every further line becomes one series across [1000 r, 1000 (r + 1)].
  // The series of the previous load are freed. A file that cannot be opened or is not UTF-8
  // text raises before anything is loaded (the chart is left empty); a bad record raises with
  // its line number and file name after the earlier records were loaded. A file whose first line
  // holds a NUL byte, or with a line that runs past a whole read block holding one, is not text
  // (found at once, whatever the file's size). A file too large to hold raises EOutOfMemory
  // naming it, the records before kept. A file that changed after its lines were counted (a
  // program still writing it) loads the lines counted that are still there, none past them, and
  // raises EStreamError saying what changed and what is shown. Messages show control bytes
  // escaped.
  void fileLoad(const String& FileName);
  // The size of the blocks fileLoad reads a file in (SessionBlockSize, 8 MB): the records of a
  // block are read on several threads, then put into the chart in file order. Any size loads the
  // same; small ones run a small file through many blocks (tests, the fuzz harness).
  std::size_t GetLoadBlockSize() const { return FLoadBlockSize; }
  void SetLoadBlockSize(std::size_t V) { FLoadBlockSize = V; }
  // Called during a load once the file's lines are counted, before its records are read (tests
  // change the file there, as a program still writing it would).
  TNotifyEvent OnLinesCounted;
  // One record into Series (see viewer/SessionParser.h).
  void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series);

  // The handlers the stored layout binds by name.
  TMethodTable* GetMethodTable() override { return &FMethods; }

 private:
  // Streams the window's stored layout (viewer/MainForm.layout.txt) into the form.
  void ReadLayout();
  void AdjustChart();
  // fileLoad without turning its failures into messages.
  void LoadSessionFile(const String& FileName);
  // Brings the left axis back to the window's settings and forgets zoom and scroll state, so
  // that nothing of a previous file's view survives a load (the bottom axis is set for the file).
  void ResetAxes();
  // The left axis starts at 0, or, where samples go below 0, at the lowest of them.
  void FitLeftAxisToSamples();

  TMethodTable FMethods;
  std::size_t FLoadBlockSize;
};

// The main form once the application created it.
extern TFrmMain* FrmMain;

}  // namespace zel
