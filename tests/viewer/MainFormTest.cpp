// The viewer's main window without showing it: its start state, loading session files into the
// chart (title, legend, bottom axis, one coloured series per record), files that cannot be
// loaded, and the actions and the double-click.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/DrawnText.h"
#include "support/TempFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "platform/RecordingCanvas.h"
#include "platform/StringList.h"
#include "viewer/MainForm.h"
#include "viewer/SessionParser.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/AxisScroll.h"

namespace zel {
namespace {

String Data(const char* Name) { return String(ZEL_TEST_DATA) + "/" + Name; }

// A session file written for one test into the temporary folder.
class TTempSession {
 public:
  explicit TTempSession(const String& Text) {
    char Name[] = "/tmp/zel_session_XXXXXX";
    const int Fd = mkstemp(Name);
    if (Fd >= 0) close(Fd);
    FName = Name;
    std::ofstream(FName, std::ios::binary) << Text;
  }
  ~TTempSession() { std::remove(FName.c_str()); }
  const String& Name() const { return FName; }

 private:
  String FName;
};

// The bytes of a literal, NUL bytes included.
template <std::size_t N>
std::string Bytes(const char (&Literal)[N]) {
  return std::string(Literal, N - 1);
}

String Records(int Count) {
  String S = "Title\nheader\n";
  for (int I = 0; I < Count; ++I) S += "2016-04-25;13:45:10;1;2\n";
  return S;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { Form = Create<TFrmMain>(nullptr); }
  void TearDown() override { Form->Free(); }

  TChart* Chart() const { return Form->chart_; }
  TChartTitle* Title() const { return Form->chart_->GetTitle(); }
  bool LegendShown() const { return Form->chart_->GetLegend()->GetVisible(); }
  TFastLineSeries* Series(int I) const { return dynamic_cast<TFastLineSeries*>(Chart()->GetSeries(I)); }
  // Lays the chart out as a paint would, on a canvas of fixed text metrics.
  void Paint() {
    TRecordingCanvas C(640, 440);
    Chart()->Draw(&C, TRectF(0, 0, 640, 440));
  }
  // The message of the exception a load raises ("" when it does not raise).
  String LoadError(const String& FileName) {
    try {
      Form->fileLoad(FileName);
    } catch (const Exception& E) {
      return E.GetMessage();
    }
    return String();
  }

  TFrmMain* Form = nullptr;
};

TEST_F(MainFormTest, TheWindowStartsWithAnEmptyChartReadyToLoad) {
  TChart* C = Chart();
  EXPECT_EQ(C->SeriesCount(), 0);
  EXPECT_FALSE(Title()->GetVisible());
  EXPECT_EQ(Title()->GetLines()->GetCount(), 0);
  EXPECT_FALSE(C->GetBottomAxis()->GetAutomatic());
  EXPECT_DOUBLE_EQ(C->GetBottomAxis()->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(C->GetBottomAxis()->GetMaximum(), 1000);
  EXPECT_FALSE(C->GetLeftAxis()->GetAutomaticMinimum());
  EXPECT_TRUE(C->GetLeftAxis()->GetAutomaticMaximum());
  EXPECT_DOUBLE_EQ(C->GetLeftAxis()->GetMinimum(), 0);
  EXPECT_FALSE(LegendShown());
  EXPECT_TRUE(C->GetLegend()->GetCheckBoxes());
  EXPECT_FALSE(C->GetLegend()->GetResizeChart());
  EXPECT_FALSE(C->GetView3D());
  EXPECT_FALSE(C->GetLeftWall()->GetVisible());
  EXPECT_FALSE(C->GetBottomWall()->GetVisible());
  EXPECT_EQ(C->GetColorPaletteIndex(), 13);
  EXPECT_EQ(C->GetScrollMouseButton(), TMouseButton::mbLeft);
  EXPECT_EQ(C->GetZoom()->GetMouseButton(), TMouseButton::mbRight);
  EXPECT_TRUE(C->GetZoom()->GetKeepAspectRatio());
  EXPECT_TRUE(C->GetPanning()->GetInsideBounds());
  EXPECT_EQ(C->GetPanning()->GetMouseWheel(), TMouseWheelStyle::pmwNone);
  EXPECT_EQ(Form->ChartTool2->GetParentChart(), C);
  EXPECT_EQ(Form->ChartTool2->GetAxis(), C->GetBottomAxis());
  EXPECT_FALSE(Form->progress_->GetVisible());
  EXPECT_EQ(Form->actFileLoad_->GetText(), "Load file");
  EXPECT_EQ(Form->actFileLoad_->GetHint(), "Load an oscilloscope logger session data");
  EXPECT_EQ(Form->actChartLegendToggle_->GetText(), "Toggle Legend");
  EXPECT_EQ(Form->actChartLegendToggle_->GetHint(), "Show or hide chart legend");
  EXPECT_EQ(Form->imgs_->GetCount(), 2);
}

TEST_F(MainFormTest, ShortFilesSetTheTitleAndLoadNoSeries) {
  struct Case {
    const char* File;
    bool TitleShown;
    const char* TitleText;
  };
  const Case Cases[] = {
      {"session_empty.csv", false, ""},
      {"session_one_line.csv", true, "Only a title"},
      {"session_two_lines.csv", true, "Title and header"},
      {"session_no_title.csv", false, ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    // Start from a loaded chart, so that each file has something to replace.
    Form->fileLoad(Data("session_three.csv"));
    Form->fileLoad(Data(C.File));
    EXPECT_EQ(Chart()->SeriesCount(), 0);
    EXPECT_EQ(Title()->GetVisible(), C.TitleShown);
    EXPECT_EQ(Title()->GetCaption(), C.TitleText);
    EXPECT_FALSE(LegendShown());
    EXPECT_DOUBLE_EQ(Chart()->GetBottomAxis()->GetMaximum(), 1000);
    EXPECT_FALSE(Form->progress_->GetVisible());
    EXPECT_FALSE(Chart()->IsUpdating());
  }
}

TEST_F(MainFormTest, EachRecordBecomesAColouredFastLineSeries) {
  Form->fileLoad(Data("session_three.csv"));
  TChart* C = Chart();
  EXPECT_TRUE(Title()->GetVisible());
  EXPECT_EQ(Title()->GetCaption(), "Bench run 7");
  EXPECT_TRUE(LegendShown());
  EXPECT_DOUBLE_EQ(C->GetBottomAxis()->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(C->GetBottomAxis()->GetMaximum(), 3000);
  EXPECT_FALSE(Form->progress_->GetVisible());
  EXPECT_DOUBLE_EQ(Form->progress_->GetMax(), 4);
  EXPECT_FALSE(C->IsUpdating());

  struct Expected {
    const char* Title;
    TAlphaColor Color;
    std::vector<double> X, Y;
  };
  const Expected Want[] = {
      {"2016-04-25 13:45:10", 0xFFF39C35, {0, 250, 500, 750, 1000}, {1, 2, 3, 4, 5}},
      {"2016-04-25 13:45:11", 0xFFF14C14, {1000, 2000}, {10.5, -2.25}},
      {"2016-04-25 13:45:12", 0xFF4E97A8, {}, {}},
  };
  ASSERT_EQ(C->SeriesCount(), 3);
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    TFastLineSeries* S = Series(I);
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->GetTitle(), Want[I].Title);
    EXPECT_EQ(S->GetSeriesColor(), Want[I].Color);
    std::vector<double> X, Y;
    for (std::int32_t K = 0; K < S->Count(); ++K) {
      X.push_back(S->GetxValue(K));
      Y.push_back(S->GetyValue(K));
    }
    EXPECT_EQ(X, Want[I].X);
    EXPECT_EQ(Y, Want[I].Y);
    EXPECT_EQ(S->GetDrawStyle(), TFastLineDrawStyle::flAll);
    EXPECT_TRUE(S->GetDrawAllPoints());
    EXPECT_EQ(S->GetDrawAllPointsStyle(), TDrawAllPointsStyle::daMinMax);
    EXPECT_EQ(S->GetValueFormat(), "#0.0");
    EXPECT_EQ(S->GetGetVertAxis(), C->GetLeftAxis());
    EXPECT_EQ(S->GetGetHorizAxis(), C->GetBottomAxis());
    EXPECT_TRUE(S->GetShowInLegend());
  }
}

TEST_F(MainFormTest, ColoursGoRoundThePaletteAndStartAgainOnEachLoad) {
  TTempSession Thirteen(Records(13));
  Form->fileLoad(Thirteen.Name());
  ASSERT_EQ(Chart()->SeriesCount(), 13);
  EXPECT_EQ(Series(0)->GetSeriesColor(), 0xFFF39C35u);
  EXPECT_EQ(Series(11)->GetSeriesColor(), 0xFF4466A3u);
  EXPECT_EQ(Series(12)->GetSeriesColor(), 0xFFF39C35u);
  EXPECT_DOUBLE_EQ(Chart()->GetBottomAxis()->GetMaximum(), 13000);

  // A second load replaces the first one's series.
  Form->fileLoad(Data("session_three.csv"));
  ASSERT_EQ(Chart()->SeriesCount(), 3);
  EXPECT_EQ(Series(0)->GetSeriesColor(), 0xFFF39C35u);
  EXPECT_EQ(Series(0)->GetTitle(), "2016-04-25 13:45:10");
}

TEST_F(MainFormTest, CrLfLineEndsAreLineBreaks) {
  Form->fileLoad(Data("session_crlf.csv"));
  EXPECT_EQ(Title()->GetCaption(), "CRLF line ends");
  ASSERT_EQ(Chart()->SeriesCount(), 1);
  EXPECT_EQ(Series(0)->Count(), 3);
  EXPECT_DOUBLE_EQ(Series(0)->GetyValue(2), 3);
}

TEST_F(MainFormTest, ABadRecordStopsTheLoadAndKeepsWhatCameBefore) {
  struct Case {
    const char* File;
    const char* Message;     // the start of the message
    int SeriesCount;         // series in the chart afterwards
    int LastSeriesPoints;    // points of the failing record's series
    const char* LineNumber;  // where the message says the record is
  };
  const Case Cases[] = {
      {"session_bad_sample.csv", "'1,5' is not a valid floating point value", 3, 2, "line 5 of"},
      {"session_bad_date.csv", "'25.04.2016 13:45:11' is not a valid date and time", 2, 0, "line 4 of"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    const String Message = LoadError(Data(C.File));
    EXPECT_EQ(Message.rfind(C.Message, 0), 0u) << Message;
    EXPECT_NE(Message.find(C.LineNumber), String::npos) << Message;
    EXPECT_NE(Message.find(C.File), String::npos) << Message;
    ASSERT_EQ(Chart()->SeriesCount(), C.SeriesCount);
    EXPECT_EQ(Series(C.SeriesCount - 1)->Count(), C.LastSeriesPoints);
    EXPECT_EQ(Series(0)->Count(), 2);
    // Every bracket of the load is closed: the chart repaints again, the progress bar is gone.
    EXPECT_FALSE(Form->progress_->GetVisible());
    EXPECT_FALSE(Chart()->IsUpdating());
    EXPECT_FALSE(Series(C.SeriesCount - 1)->IsUpdating());
  }
}

TEST_F(MainFormTest, RecordsReadTogetherLoadAsTheyWouldOneAfterAnother) {
  // Many records (read on several threads), one of them failing part way: the chart holds what
  // loading them in turn gives, up to the failing sample, and the error names the first bad line.
  // The same with the file read in blocks of a few lines (the records of a block read together,
  // the blocks one after another) and in blocks shorter than a line (each grows to hold one).
  String Text = "Title\nheader\n";
  std::vector<String> Lines;
  for (int R = 0; R < 300; ++R) {
    String L = "2016-04-25;13:45:10";
    for (int K = 0; K <= R % 17; ++K) L += ";" + std::to_string(R * 100 + K) + ".25";
    if (R == 150) L += ";1;x;3";
    if (R == 200) L += ";y";
    Lines.push_back(L);
    Text += L + "\n";
  }
  TTempSession File(Text);
  EXPECT_EQ(Form->GetLoadBlockSize(), SessionBlockSize);
  for (const std::size_t Block : {SessionBlockSize, std::size_t(700), std::size_t(16)}) {
    SCOPED_TRACE(Block);
    Form->SetLoadBlockSize(Block);
    const String Message = LoadError(File.Name());
    EXPECT_EQ(Message.rfind("'x' is not a valid floating point value", 0), 0u) << Message;
    EXPECT_NE(Message.find("line 153 of"), String::npos) << Message;
    ASSERT_EQ(Chart()->SeriesCount(), 151);
    EXPECT_EQ(Title()->GetCaption(), "Title");
    const TFormatSettings FS = SessionFormatSettings();
    for (int R = 0; R <= 150; ++R) {
      SCOPED_TRACE(R);
      auto* Expected = Create<TFastLineSeries>(nullptr);
      try {
        dataLineParse(FS, Lines[static_cast<std::size_t>(R)], 1000.0 * R, Expected);
      } catch (const Exception&) {
      }
      TFastLineSeries* Got = Series(R);
      EXPECT_EQ(Got->GetTitle(), Expected->GetTitle());
      ASSERT_EQ(Got->Count(), Expected->Count());
      for (int I = 0; I < Got->Count(); ++I) {
        EXPECT_EQ(Got->GetxValue(I), Expected->GetxValue(I));
        EXPECT_EQ(Got->GetyValue(I), Expected->GetyValue(I));
      }
      EXPECT_EQ(Got->GetSeriesColor(), Chart()->GetDefaultColor(R + 1));
      Expected->Free();
    }
    EXPECT_FALSE(Form->progress_->GetVisible());
    EXPECT_FALSE(Chart()->IsUpdating());
  }
}

// A program may still be writing the session file the user opens. The load counts the lines
// first and then reads them: lines added since are not read (not even parsed: the sanitizer
// build sees a read past the records' offsets), the records counted load whole, and a file that
// changed since the count loads what is there and says so. The file changes between the count
// and the read, which runs in blocks of 600 bytes, so that added lines share a block with
// counted ones.
TEST_F(MainFormTest, AFileThatChangesWhileItLoadsLoadsWhatIsThereAndSaysSo) {
  using TChange = std::function<void(const String& FileName)>;
  auto Append = [](String Text) -> TChange {
    return [Text](const String& Name) { std::ofstream(Name, std::ios::binary | std::ios::app) << Text; };
  };
  auto CutTo = [](std::size_t Size) -> TChange {
    return [Size](const String& Name) { EXPECT_EQ(::truncate(Name.c_str(), static_cast<off_t>(Size)), 0); };
  };
  auto Overwrite = [](String Text) -> TChange {
    return [Text](const String& Name) {
      std::fstream(Name, std::ios::binary | std::ios::in | std::ios::out).write(Text.data(), std::streamsize(Text.size()));
    };
  };
  const std::size_t Head = String("Title\nheader\n").size(), Record = String("2016-04-25;13:45:10;1;2\n").size();
  String Added;
  for (int I = 0; I < 20000; ++I) Added += "2016-04-25;13:45:11;9;x\n";
  struct Case {
    const char* Name;
    String Text;                // the file when the load starts
    TChange Change;             // made once its lines are counted
    std::int32_t Series;        // series afterwards
    std::vector<double> LastY;  // the last series' samples
    const char* Message;        // what follows the file's quoted name
    const char* Caption = "Title";  // the chart's title afterwards
  };
  const Case Cases[] = {
      {"grows", Records(40), Append(Added), 40, {1, 2},
       " changed while it was loading: lines were added to it since the load began (a program may still be "
       "writing it). The 40 records it held then are shown; load it again to see the rest."},
      {"grows from no record", Records(0), Append(Added), 0, {},
       " changed while it was loading: lines were added to it since the load began (a program may still be "
       "writing it). It held no records then; load it again to see the ones added since."},
      {"shrinks", Records(40), CutTo(Head + 30 * Record), 30, {1, 2},
       " changed while it was loading: it became shorter since the load began. The 30 records still in it are "
       "shown."},
      {"shrinks to one record", Records(40), CutTo(Head + Record), 1, {1, 2},
       " changed while it was loading: it became shorter since the load began. The 1 record still in it is "
       "shown."},
      {"shrinks to its title", Records(40), CutTo(6), 0, {},
       " changed while it was loading: it became shorter since the load began. No records are left in it."},
      {"its last line grows", Records(3) + "2016-04-25;13:45:10;5", Append(";6;7"), 4, {5, 6, 7},
       " changed while it was loading (a program may still be writing it). Its records are shown as they were "
       "read; load it again to see it as it is now."},
      {"its title is no longer text", Records(40), Overwrite("\xff"), 0, {}, " is not a UTF-8 text file (line 1)", ""},
  };
  Form->SetLoadBlockSize(600);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TTempSession File(C.Text);
    Form->OnLinesCounted = [&](TObject*) { C.Change(File.Name()); };
    const String Message = LoadError(File.Name());
    Form->OnLinesCounted = nullptr;
    EXPECT_EQ(Message, "\"" + File.Name() + "\"" + C.Message);
    ASSERT_EQ(Chart()->SeriesCount(), C.Series);
    for (std::int32_t I = 0; I + 1 < C.Series; ++I) {
      EXPECT_EQ(Series(I)->Count(), 2);
      EXPECT_EQ(Series(I)->GetxValue(0), 1000.0 * I);
    }
    if (C.Series > 0) {
      TFastLineSeries* Last = Series(C.Series - 1);
      std::vector<double> Y;
      for (std::int32_t I = 0; I < Last->Count(); ++I) Y.push_back(Last->GetyValue(I));
      EXPECT_EQ(Y, C.LastY);
    }
    // The window shows the records loaded as it shows a file that holds just those.
    EXPECT_DOUBLE_EQ(Chart()->GetBottomAxis()->GetMaximum(), C.Series > 0 ? 1000.0 * C.Series : 1000.0);
    EXPECT_EQ(LegendShown(), C.Series > 0);
    EXPECT_EQ(Title()->GetCaption(), C.Caption);
    EXPECT_FALSE(Chart()->IsUpdating());
    EXPECT_FALSE(Form->progress_->GetVisible());
  }
}

TEST_F(MainFormTest, AFileThatCannotBeReadLeavesAnEmptyUsableChart) {
  // A FIFO without a writer would block a reader forever.
  const String Fifo = zeltest::UniqueTempPath(".fifo");
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  struct Case {
    String File;
    String MessagePart;
  };
  const Case Cases[] = {
      {Data("no_such_session.csv"), "Cannot open file"},
      {Data("session_not_utf8.csv"), "is not a UTF-8 text file (line 1)"},
      {ZEL_TEST_DATA, "\"" ZEL_TEST_DATA "\" is not a regular file"},
      {Fifo, "\"" + Fifo + "\" is not a regular file"},
      {"/dev/zero", "\"/dev/zero\" is not a regular file"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    Form->fileLoad(Data("session_three.csv"));
    const String Message = LoadError(C.File);
    EXPECT_NE(Message.find(C.MessagePart), String::npos) << Message;
    EXPECT_EQ(Chart()->SeriesCount(), 0);
    EXPECT_FALSE(LegendShown());
    EXPECT_FALSE(Chart()->IsUpdating());
    EXPECT_FALSE(Form->progress_->GetVisible());
    // Still usable: a good file loads afterwards.
    Form->fileLoad(Data("session_three.csv"));
    EXPECT_EQ(Chart()->SeriesCount(), 3);
  }
  std::remove(Fifo.c_str());
}

// Whatever bytes a record, a title or a file name holds, the message shows all of it: control
// bytes escaped, never raw (a NUL would end the message there).
TEST_F(MainFormTest, MessagesShowWhatTheFileHoldsWithControlBytesEscaped) {
  struct Case {
    std::string Text;
    const char* Message;  // the start of the message
    const char* NamePart;  // what the file's name gets in the name (shown escaped)
  };
  const Case Cases[] = {
      {Bytes("Title\nheader\n2016-04-25;13:45:10;1\0002;3\n"), "'1\\02' is not a valid floating point value", ""},
      {"Title\nheader\n\x1b[31m\x01\n", "'\\x1B[31m\\x01' is not a valid record", ""},
      {"Title\nheader\n2016-04-25;13:45\t:10;1\n", "'2016-04-25 13:45\\t:10' is not a valid date and time", ""},
      {"Title\nheader\n2016-04-25;13:45:10;\x7f\n", "'\\x7F' is not a valid floating point value", "\x1b\t"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Message);
    const String Name = zeltest::UniqueTempPath(String(C.NamePart) + ".csv");
    std::ofstream(Name, std::ios::binary) << C.Text;
    const String Message = LoadError(Name);
    std::remove(Name.c_str());
    EXPECT_EQ(Message.rfind(C.Message, 0), 0u) << EscapedForMessage(Message);
    EXPECT_NE(Message.find("\n(line 3 of \"" + EscapedForMessage(Name) + "\")"), String::npos)
        << EscapedForMessage(Message);
    for (char Ch : Message) EXPECT_FALSE(static_cast<unsigned char>(Ch) < 0x20 && Ch != '\n') << int(Ch);
  }
}

// A file of NUL bytes is no session file, and that is seen at once, whatever its size (a sparse
// file costs no disk); a hole after the first records is found the same way. The message names
// the file, nothing is loaded, and the chart loads the next file.
TEST_F(MainFormTest, AFileOfNulBytesIsFoundNotTextAtOnceWhateverItsSize) {
  struct Case {
    const char* Name;
    std::string Text;       // written first
    std::int64_t Size;      // then the file is made this long with NUL bytes
    const char* Message;
  };
  const String Head = "Title\nheader\n2016-04-25;13:45:10;1;2\n";
  const Case Cases[] = {
      {"small", "", 1000, "is not a UTF-8 text file (line 1)"},
      {"sparse 3 GB", "", std::int64_t(3) << 30, "is not a UTF-8 text file (line 1)"},
      {"a title of NUL bytes and records", Bytes("T\0tle\nheader\n2016-04-25;13:45:10;1;2\n"), 0,
       "is not a UTF-8 text file (line 1)"},
      {"a hole of 3 GB after the records", Head, std::int64_t(3) << 30, "is not a UTF-8 text file (line 4)"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const String Name = zeltest::UniqueTempPath(".csv");
    std::ofstream(Name, std::ios::binary) << C.Text;
    if (C.Size > 0) {
      ASSERT_EQ(::truncate(Name.c_str(), C.Size), 0);
    }
    Form->fileLoad(Data("session_three.csv"));
    const String Message = LoadError(Name);
    std::remove(Name.c_str());
    EXPECT_EQ(Message, "\"" + Name + "\" " + C.Message);
    EXPECT_EQ(Chart()->SeriesCount(), 0);
    EXPECT_FALSE(Chart()->IsUpdating());
    EXPECT_FALSE(Form->progress_->GetVisible());
    Form->fileLoad(Data("session_three.csv"));
    EXPECT_EQ(Chart()->SeriesCount(), 3);
  }
}

TEST_F(MainFormTest, ALoadStartsFromTheWindowsAxesWhateverTheViewWas) {
  Form->fileLoad(Data("session_three.csv"));
  Paint();
  TChartAxis* Bottom = Chart()->GetBottomAxis();
  TChartAxis* Left = Chart()->GetLeftAxis();
  // Scrolled far to the right and up, beyond the next file's range, and zoomed.
  Bottom->Scroll(5000, false);
  Left->Scroll(50, false);
  Chart()->ZoomPercent(110);
  EXPECT_FALSE(Left->GetAutomaticMaximum());

  Form->fileLoad(Data("session_crlf.csv"));
  EXPECT_DOUBLE_EQ(Bottom->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(Bottom->GetMaximum(), 1000);
  EXPECT_DOUBLE_EQ(Left->GetMinimum(), 0);
  EXPECT_TRUE(Left->GetAutomaticMaximum());
  EXPECT_FALSE(Left->GetAutomaticMinimum());
  // Nothing of the earlier view comes back on a double-click.
  Form->chart_DblClick(Chart());
  EXPECT_DOUBLE_EQ(Bottom->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(Bottom->GetMaximum(), 1000);
}

TEST_F(MainFormTest, DoubleClickUndoesTheZoom) {
  Form->fileLoad(Data("session_three.csv"));
  Paint();
  TChartAxis* Bottom = Chart()->GetBottomAxis();
  Chart()->ZoomPercent(110);
  ASSERT_GT(Bottom->GetMinimum(), 0);
  Form->chart_DblClick(Chart());
  EXPECT_DOUBLE_EQ(Bottom->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(Bottom->GetMaximum(), 3000);
  // On an unzoomed chart it changes nothing.
  Form->chart_DblClick(Chart());
  EXPECT_DOUBLE_EQ(Bottom->GetMaximum(), 3000);
}

TEST_F(MainFormTest, TheLegendButtonFollowsTheChart) {
  TAction* Toggle = Form->actChartLegendToggle_;
  Toggle->Update();
  EXPECT_FALSE(Toggle->GetEnabled());
  EXPECT_FALSE(Toggle->GetChecked());

  Form->fileLoad(Data("session_three.csv"));
  Toggle->Update();
  EXPECT_TRUE(Toggle->GetEnabled());
  EXPECT_TRUE(Toggle->GetChecked());
  EXPECT_TRUE(Toggle->Execute());
  Toggle->Update();
  EXPECT_FALSE(LegendShown());
  EXPECT_FALSE(Toggle->GetChecked());

  Form->fileLoad(Data("session_one_line.csv"));
  Toggle->Update();
  EXPECT_FALSE(Toggle->GetEnabled());
}

TEST_F(MainFormTest, TheLoadActionLoadsTheChosenFileOrNothing) {
  String Answer;
  bool Choose = true;
  TOpenDialogHook Old = TOpenDialog::SetHook([&](TOpenDialog*, String& FileName) {
    if (Choose) FileName = Answer;
    return Choose;
  });
  Answer = Data("session_three.csv");
  EXPECT_TRUE(Form->actFileLoad_->Execute());
  EXPECT_EQ(Chart()->SeriesCount(), 3);

  Choose = false;  // cancelled: the chart stays as it was
  Form->actFileLoad_->Execute();
  EXPECT_EQ(Chart()->SeriesCount(), 3);
  EXPECT_EQ(Title()->GetCaption(), "Bench run 7");
  TOpenDialog::SetHook(Old);
}

// Samples of any size keep the plot readable: short labels on the left axis (the general number
// form beyond 18 integer digits), a zero label where the axis starts, a wide plot area.
TEST_F(MainFormTest, HugeAndTinySamplesKeepThePlotReadable) {
  struct Case {
    const char* Samples;
    std::vector<String> Labels;  // some of the left axis' labels
  };
  const Case Cases[] = {
      {"1e15;2e15", {"2,000,000,000,000,000", "100,000,000,000,000", "0"}},
      {"1e17;3e17", {"300,000,000,000,000,000", "0"}},
      // one notation on the whole axis once the top needs the exponent form
      {"1e18;2e18", {"2E18", "1.1E18", "9E17", "0"}},
      {"1e19;5e19", {"5E19", "2E18", "0"}},
      {"1e100;3e100", {"3E100", "1E100", "0"}},
      {"1e300;2e300", {"2E300", "1E299", "0"}},
      {"1e308;1.7976931348623157e308", {"1.7E308", "1E307", "0"}},
      {"-1e300;1e300", {"1E300", "0"}},
      {"1e-300;2e-300", {"0"}},
      {"0;1e-300", {"0"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Samples);
    TTempSession Session(String("Title\nheader\n2016-04-25;13:45:10;") + C.Samples + "\n");
    Form->fileLoad(Session.Name());
    Chart()->SetBufferedDisplay(false);  // draw straight onto the recording canvas
    TRecordingCanvas Canvas(640, 440);
    Chart()->Draw(&Canvas, TRectF(0, 0, 640, 440));
    std::vector<String> Texts;
    String All;
    for (const TCanvasRecord& R : Canvas.GetRecords())
      if (R.Kind == TRecordKind::FillText) {
        Texts.push_back(R.Text);
        All += R.Text + " | ";
      }
    for (const String& T : Texts) {
      EXPECT_LE(T.size(), 24u) << All;
      EXPECT_EQ(T.find("INF"), String::npos) << All;
      EXPECT_EQ(T.find("NAN"), String::npos) << All;
    }
    for (const String& L : C.Labels) EXPECT_NE(std::find(Texts.begin(), Texts.end(), L), Texts.end()) << L << " in " << All;
    EXPECT_GE(Chart()->GetChartRect().Width(), 400) << All;
    EXPECT_GE(Chart()->GetChartRect().Height(), 300) << All;
  }
}

// The left axis' labels over samples of every size: neighbours read apart, one notation an axis,
// no rounding noise; a format the program sets, and ranges the format already tells apart, stay.
TEST_F(MainFormTest, AxisLabelsReadApartOnEveryRange) {
  struct Case {
    const char* Samples;
    const char* Format;  // "" keeps the window's format
    bool Exponent;       // every label but "0" in the exponent form
    std::vector<String> Labels;  // some of the labels
  };
  const Case Cases[] = {
      {"1e-5;5e-5", "", false, {"0.00005", "0.00001", "0"}},
      {"1e-4;5e-4", "", false, {"0.0005", "0.0001", "0"}},
      {"3e-8;9e-8", "", true, {"9E-8", "0"}},
      {"1e300;1e301", "", true, {"1E301", "5E300", "0"}},
      {"1e15;1e19", "", true, {"1E19", "5E18", "0"}},
      {"10;1000", "", false, {"1,000", "100", "0"}},
      {"0.5;2.5", "", false, {"2.4", "0.2", "0"}},
      // the program's own format is kept even where it writes labels alike
      {"1e-5;5e-5", "0.0", false, {"0.0"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(String(C.Samples) + " " + C.Format);
    TTempSession Session(String("Title\nheader\n2016-04-25;13:45:10;") + C.Samples + "\n");
    Form->fileLoad(Session.Name());
    TChartAxis* L = Chart()->GetLeftAxis();
    const String Old = L->GetAxisValuesFormat();
    if (*C.Format) L->SetAxisValuesFormat(C.Format);
    Paint();
    std::vector<String> Texts;
    String All;
    for (std::int32_t I = 0; I < L->GetItems()->GetCount(); ++I) {
      Texts.push_back(L->GetItems()->Get(I)->GetText());
      All += Texts.back() + " | ";
    }
    L->SetAxisValuesFormat(Old);
    ASSERT_GE(Texts.size(), 2u) << All;
    for (const String& T : C.Labels) EXPECT_NE(std::find(Texts.begin(), Texts.end(), T), Texts.end()) << T << " in " << All;
    if (*C.Format) continue;
    for (std::size_t I = 0; I < Texts.size(); ++I) {
      if (I > 0) {
        EXPECT_NE(Texts[I], Texts[I - 1]) << All;
      }
      EXPECT_EQ(Texts[I].find("9999"), String::npos) << All;
      EXPECT_EQ(Texts[I].find("0001E"), String::npos) << All;
      if (Texts[I] != "0") {
        EXPECT_EQ(Texts[I].find('E') != String::npos, C.Exponent) << All;
      }
    }
  }
}

// The labels at the ends of the bottom axis are drawn whole inside the window's chart.
TEST_F(MainFormTest, TheEndLabelsOfTheAxesLieWholeInsideTheChart) {
  TTempSession Session(Records(3));
  Form->fileLoad(Session.Name());
  Chart()->SetBufferedDisplay(false);  // draw straight onto the recording canvas
  struct Case {
    double Min, Max;
    int Width;
  };
  const Case Cases[] = {{0, 10000, 640}, {0, 1000000, 640}, {0, 10000, 500}, {0, 1000, 640}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(FloatToStr(C.Max) + " at " + std::to_string(C.Width));
    TChartAxis* B = Chart()->GetBottomAxis();
    B->SetMinMax(C.Min, C.Max);
    TRecordingCanvas Canvas(C.Width, 440);
    Chart()->Draw(&Canvas, TRectF(0, 0, static_cast<float>(C.Width), 440));
    std::vector<String> Labels;
    for (std::int32_t I = 0; I < B->GetItems()->GetCount(); ++I) Labels.push_back(B->GetItems()->Get(I)->GetText());
    ASSERT_FALSE(Labels.empty());
    std::size_t Seen = 0;
    for (const TCanvasRecord& R : Canvas.GetRecords()) {
      if (R.Kind != TRecordKind::FillText || std::find(Labels.begin(), Labels.end(), R.Text) == Labels.end()) continue;
      ++Seen;
      const TPointF Left = TPointF(R.Rect.Left, R.Rect.Top) * R.Matrix;
      const float Width = TFixedTextLayout::CharWidth * static_cast<float>(R.Text.size());
      EXPECT_GE(Left.X, 0) << R.Text;
      EXPECT_LE(Left.X + Width, C.Width) << R.Text;
    }
    EXPECT_GE(Seen, Labels.size());
  }
}

// No two labels of an axis overlap or touch at the window's size, for any record count: an end
// label moved inside the chart must not land on its neighbour ("90,000100,000" with 100 records).
// The bottom axis takes the range a load of each count from 3 to 1000 gives it; files of some
// counts are loaded too.
TEST_F(MainFormTest, NoTwoLabelsOfAnAxisOverlapOrTouchForAnyRecordCount) {
  Chart()->SetBufferedDisplay(false);  // draw straight onto the recording canvas
  TChartAxis* Bottom = Chart()->GetBottomAxis();
  TChartAxis* Left = Chart()->GetLeftAxis();
  const std::pair<TChartAxis*, TAlphaColor> Axes[] = {{Bottom, 0xFF000011}, {Left, 0xFF000022}};
  // Characters of the recording canvas' width and wider: the fault shows with some fonts. (The
  // canvases live side by side: the chart keeps its text layout while its canvas stays the same.)
  std::vector<std::unique_ptr<zeltest::TWideTextCanvas>> Canvases;
  for (float CharWidth : {7.0f, 8.0f})
    Canvases.push_back(std::make_unique<zeltest::TWideTextCanvas>(640, 440, CharWidth));
  // The labels drawn for N records.
  auto Check = [&](int N) {
    SCOPED_TRACE(std::to_string(N) + " records");
    for (auto [Axis, Colour] : Axes) Axis->GetLabelsFont()->SetColor(Colour);
    for (const auto& C : Canvases) {
      zeltest::TWideTextCanvas& Canvas = *C;
      const float CharWidth = Canvas.GetCharWidth();
      Canvas.ClearRecords();
      Chart()->Draw(&Canvas, TRectF(0, 0, 640, 440));
      for (auto [Axis, Colour] : Axes) {
        const std::vector<zeltest::TDrawnText> Labels =
            zeltest::DrawnTexts(Canvas, Colour, CharWidth);
        ASSERT_GE(Labels.size(), 2u) << CharWidth;
        EXPECT_EQ(zeltest::FirstCollision(Labels), "") << CharWidth;
        for (const zeltest::TDrawnText& L : Labels) {
          EXPECT_GE(L.Box.Left, 0) << L.Text << " " << CharWidth;
          EXPECT_LE(L.Box.Right, 640) << L.Text << " " << CharWidth;
        }
      }
    }
  };
  // Every count on a chart of three records, then files of some counts.
  TTempSession Three(Records(3));
  Form->fileLoad(Three.Name());
  for (int N = 3; N <= 1000 && !HasFailure(); ++N) {
    Bottom->SetMinMax(0, 1000.0 * N);
    Check(N);
  }
  for (int N : {3, 10, 100, 200, 1000}) {
    TTempSession Session(Records(N));
    Form->fileLoad(Session.Name());
    ASSERT_DOUBLE_EQ(Bottom->GetMaximum(), 1000.0 * N);
    Check(N);
  }
}

// The left axis starts at 0 while no sample lies below it, and reaches down to the lowest sample
// otherwise: every sample lies inside the axis' range, and its labels lie whole inside the window.
// The same holds for the records kept when a bad record stops the load.
TEST_F(MainFormTest, TheLeftAxisReachesDownToSamplesBelowZero) {
  struct Case {
    const char* Name;
    std::vector<const char*> Records;  // the samples of each record
    double Minimum;
    bool EndsInABadRecord = false;     // the last record fails
  };
  const Case Cases[] = {
      {"non-negative", {"1;2;3", "0;5"}, 0},
      {"zero only", {"0;0"}, 0},
      {"mixed", {"1;2", "-7;3"}, -7},
      {"noisy sine around 0", {"0;0.84;0.91;0.14;-0.76;-0.96;-0.28;0.66", "0.1;-0.5;0.3"}, -0.96},
      {"negative", {"-1000;-10;-500"}, -1000},
      {"tiny negative", {"-0.00005;-0.00001", "-0.00003"}, -0.00005},
      {"tiny mixed", {"-0.00005;0.00002"}, -0.00005},
      {"huge", {"-1e300;1e300"}, -1e300},
      {"negative, then a bad record", {"-7;3", "1,5"}, -7, true},
  };
  Chart()->SetBufferedDisplay(false);  // draw straight onto the recording canvas
  TChartAxis* Left = Chart()->GetLeftAxis();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    String Text = "Title\nheader\n";
    for (const char* R : C.Records) Text += String("2016-04-25;13:45:10;") + R + "\n";
    TTempSession Session(Text);
    const String Message = LoadError(Session.Name());
    EXPECT_EQ(Message.find("is not a valid floating point value") != String::npos, C.EndsInABadRecord) << Message;
    ASSERT_EQ(Chart()->SeriesCount(), static_cast<std::int32_t>(C.Records.size()));
    EXPECT_DOUBLE_EQ(Left->GetMinimum(), C.Minimum);
    EXPECT_FALSE(Left->GetAutomaticMinimum());
    EXPECT_TRUE(Left->GetAutomaticMaximum());
    Left->GetLabelsFont()->SetColor(0xFF000022);
    TRecordingCanvas Canvas(640, 440);
    Chart()->Draw(&Canvas, TRectF(0, 0, 640, 440));
    const TRectF Plot = Chart()->GetChartRect();
    for (std::int32_t I = 0; I < Chart()->SeriesCount(); ++I) {
      TChartSeries* S = Chart()->GetSeries(I);
      for (std::int32_t J = 0; J < S->Count(); ++J) {
        const double Y = S->GetyValue(J);
        EXPECT_GE(Y, Left->IMinimum) << Y;
        EXPECT_LE(Y, Left->IMaximum) << Y;
        const std::int32_t P = Left->CalcYPosValue(Y);
        EXPECT_GE(P, Plot.Top) << Y;
        EXPECT_LE(P, Plot.Bottom) << Y;
      }
    }
    const std::vector<zeltest::TDrawnText> Labels = zeltest::DrawnTexts(Canvas, 0xFF000022);
    String All;
    for (const zeltest::TDrawnText& L : Labels) All += L.Text + " | ";
    EXPECT_FALSE(Labels.empty());
    for (const zeltest::TDrawnText& L : Labels) {
      EXPECT_GE(L.Box.Left, 0) << L.Text << " in " << All;
      EXPECT_LE(L.Box.Right, Plot.Left) << L.Text << " in " << All;
    }
  }
}

// The marks of the viewer's series write their values with "#0.0": huge ones in the general form.
TEST_F(MainFormTest, MarksOfHugeSamplesAreShort) {
  TTempSession Session("Title\nheader\n2016-04-25;13:45:10;1e17;1e19;-2.5e300;1.7976931348623157e308;1e-300\n");
  Form->fileLoad(Session.Name());
  const char* Expected[] = {"100000000000000000.0", "1E19", "-2.5E300", "1.79769313486232E308", "0.0"};
  ASSERT_EQ(Series(0)->Count(), 5);
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Series(0)->GetMarkText(I), Expected[I]);
}

TEST_F(MainFormTest, TheFileDialogShowsItsPatternOnce) {
  String Shown;
  TOpenDialogHook Old = TOpenDialog::SetHook([&](TOpenDialog* Dialog, String&) {
    Shown = DialogFilterToNative(Dialog->GetFilter());
    return false;
  });
  Form->actFileLoad_->Execute();
  TOpenDialog::SetHook(Old);
  EXPECT_EQ(Shown, "Comma separated value files (*.csv)");
}

// A clock that moves on by a fixed step each time it is read.
class TSteppingTimer : public ITimerService {
 public:
  explicit TSteppingTimer(double Step) : FStep(Step) {}
  double GetTick() override { return FNow += FStep; }

 private:
  double FStep;
  double FNow = 100;
};

// The load keeps the chart in an update and handles no messages, so the progress bar paints
// itself alone while the value moves; the chart is painted only once the load is over.
TEST_F(MainFormTest, TheProgressBarShowsTheLoadAdvancingAndNothingElseIsPainted) {
  Form->Show();
  ASSERT_TRUE(Form->WaitUntilPainted(10000));
  struct Case {
    const char* Name;
    double SecondsPerRead;  // how far the clock moves each time the bar reads it
    std::vector<double> Shown;
  };
  // Seven lines: the value moves 0 -> 1 ... 6 (0 is no change).
  const Case Cases[] = {
      {"slow load: every change", 1.0, {1, 2, 3, 4, 5, 6}},
      {"fast load: the first change only", 0.0, {1}},
      {"every other change", 0.06, {1, 3, 5}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Form->fileLoad(Data("session_three.csv"));  // a new bar state each time
    Application->ProcessMessages();
    TSteppingTimer Clock(C.SecondsPerRead);
    ITimerService* OldTimer = TPlatformServices::Current().SetTimerService(&Clock);
    std::vector<double> Shown;
    Form->progress_->OnPaint = [&](TObject*, TCanvas*, const TRectF&) {
      EXPECT_TRUE(Chart()->IsUpdating());
      Shown.push_back(Form->progress_->GetValue());
    };
    const int ChartPaints = Chart()->GetPaintCount();
    const int FormPaints = Form->GetPaintCount();
    TTempSession Session(Records(5));
    Form->fileLoad(Session.Name());
    TPlatformServices::Current().SetTimerService(OldTimer);
    Form->progress_->OnPaint = nullptr;
    EXPECT_EQ(Shown, C.Shown);
    EXPECT_EQ(Chart()->GetPaintCount(), ChartPaints);
    EXPECT_EQ(Form->GetPaintCount(), FormPaints);
    EXPECT_EQ(Chart()->SeriesCount(), 5);
  }
  // A hidden window has no screen to show the bar on.
  Form->Hide();
  std::vector<double> Shown;
  Form->progress_->OnPaint = [&](TObject*, TCanvas*, const TRectF&) { Shown.push_back(0); };
  Form->fileLoad(Data("session_three.csv"));
  Form->progress_->OnPaint = nullptr;
  EXPECT_TRUE(Shown.empty());
}

// The load holds the GUI thread: the window is painted once between the dialog closing and the
// load, so that the dialog's last picture does not stay over the chart while the load runs
// (the progress bar's first paint comes before the first record is read into the chart).
TEST_F(MainFormTest, TheWindowIsPaintedAfterTheDialogClosesBeforeTheLoad) {
  Form->Show();
  ASSERT_TRUE(Form->WaitUntilPainted(10000));
  Application->ProcessMessages();
  TTempSession Session(Records(5));
  struct {
    int Chart, Form, ToolBar;
  } AtDialog{}, AtLoad{-1, -1, -1};
  TOpenDialogHook Old = TOpenDialog::SetHook([&](TOpenDialog*, String& FileName) {
    AtDialog = {Chart()->GetPaintCount(), Form->GetPaintCount(), Form->tb_->GetPaintCount()};
    FileName = Session.Name();
    return true;
  });
  Form->progress_->OnPaint = [&](TObject*, TCanvas*, const TRectF&) {
    if (AtLoad.Chart >= 0) return;
    EXPECT_EQ(Chart()->SeriesCount(), 0);
    AtLoad = {Chart()->GetPaintCount(), Form->GetPaintCount(), Form->tb_->GetPaintCount()};
  };
  Form->actFileLoad_->Execute();
  TOpenDialog::SetHook(Old);
  Form->progress_->OnPaint = nullptr;
  EXPECT_EQ(AtLoad.Chart, AtDialog.Chart + 1);
  EXPECT_EQ(AtLoad.Form, AtDialog.Form + 1);
  EXPECT_EQ(AtLoad.ToolBar, AtDialog.ToolBar + 1);
  EXPECT_EQ(Chart()->SeriesCount(), 5);

  // A hidden window is not painted, and the file still loads.
  Form->Hide();
  const int ChartPaints = Chart()->GetPaintCount();
  TOpenDialog::SetHook([&](TOpenDialog*, String& FileName) {
    FileName = Data("session_three.csv");
    return true;
  });
  Form->actFileLoad_->Execute();
  TOpenDialog::SetHook(Old);
  EXPECT_EQ(Chart()->GetPaintCount(), ChartPaints);
  EXPECT_EQ(Chart()->SeriesCount(), 3);
}

}  // namespace
}  // namespace zel
