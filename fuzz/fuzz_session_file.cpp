// The whole-file load of the viewer: the input is written to a file and loaded into the main
// window's chart (the block reader, the UTF-8 check, the records read on several threads and
// their merge). The load reads in blocks of about a quarter of the input (at least 16 bytes), so
// that a small input takes the road of a large file: several blocks, several lines to a block
// read together, lines longer than a block, records put in across blocks. A load either
// completes or raises the platform's Exception; either way every bracket is closed, the message
// shows no raw control byte, and the chart holds what parsing the file's lines one after another
// gives, up to the first bad record. The block reader is checked on the same bytes with tiny
// blocks (so that a CR LF, a lone CR or a character may fall across a block) against the string
// list's reading of the text.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "platform/Unicode.h"
#include "platform/StringList.h"
#include "viewer/MainForm.h"
#include "viewer/SessionParser.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Series.h"

using namespace zel;

namespace {

// The lines of the bytes as the string list reads them as UTF-8.
std::vector<String> ReferenceLines(const std::uint8_t* Data, std::size_t Size) {
  TMemoryStream In;
  zelfuzz::Fill(In, Data, Size);
  TStringList List;
  List.LoadFromStream(&In, TEncoding::UTF8());
  std::vector<String> Lines;
  for (int I = 0; I < List.GetCount(); ++I) Lines.push_back(List.GetStrings(I));
  return Lines;
}

void CheckBlockReader(const std::uint8_t* Data, std::size_t Size, const std::vector<String>& Reference) {
  for (std::size_t Block : {16, 17, 31}) {
    TMemoryStream In;
    zelfuzz::Fill(In, Data, Size);
    TSessionLines Lines(In, Block);
    std::vector<std::string_view> Got;
    std::vector<String> All;
    while (Lines.NextBlock(Got))
      for (std::string_view L : Got) {
        zelfuzz::Check(IsUtf8Line(L) == IsValidUtf8(L), "the line check differs from the UTF-8 check");
        All.emplace_back(L);
      }
    if (!Lines.GetStoppedAtNonText()) {
      zelfuzz::Check(All == Reference, "the block reader's lines differ from the string list's");
    } else {
      zelfuzz::Check(All.size() < Reference.size() &&
                         std::equal(All.begin(), All.end(), Reference.begin()),
                     "the lines before a stop differ from the string list's");
    }
  }
}

// The chart after a load: record R (line R + 3) as parsing it alone gives, for every record
// before the one that failed (and that one up to its bad sample).
void CheckLoaded(TChart* Chart, const std::vector<String>& Lines, bool Failed) {
  static const TFormatSettings FS = SessionFormatSettings();
  const std::int32_t Count = Chart->SeriesCount();
  zelfuzz::Check(Lines.size() < 3 || Failed || Count == static_cast<std::int32_t>(Lines.size()) - 2,
                 "a load that did not fail left records out");
  zelfuzz::Check(Count <= std::max<std::int32_t>(static_cast<std::int32_t>(Lines.size()) - 2, 0),
                 "more series than records");
  for (std::int32_t R = 0; R < Count; ++R) {
    TOwned<TChartSeries> Expected(Create<TChartSeries>(nullptr));
    try {
      dataLineParse(FS, Lines[static_cast<std::size_t>(R) + 2], 1000.0 * R, Expected.get());
    } catch (const Exception&) {
      zelfuzz::Check(R == Count - 1, "a record that does not parse was not the last one loaded");
    }
    TChartSeries* Got = Chart->GetSeries(R);
    zelfuzz::Check(!Got->IsUpdating(), "a series is left inside its update bracket");
    zelfuzz::Check(Got->GetTitle() == Expected->GetTitle(), "a series' title differs from its record's");
    zelfuzz::Check(Got->Count() == Expected->Count(), "a series' points differ from its record's");
    for (std::int32_t I = 0; I < Got->Count(); ++I) {
      const double GY = Got->GetyValue(I), EY = Expected->GetyValue(I);
      zelfuzz::Check(Got->GetxValue(I) == Expected->GetxValue(I) && (GY == EY || (GY != GY && EY != EY)),
                     "a point differs from its record's");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  static TFrmMain* Form = Create<TFrmMain>(nullptr);
  static const String Name = "/tmp/zel_fuzz_session_" + std::to_string(::getpid()) + ".csv";

  const std::vector<String> Reference = ReferenceLines(Data, Size);
  CheckBlockReader(Data, Size, Reference);

  if (std::FILE* F = std::fopen(Name.c_str(), "wb")) {
    const bool Written = Size == 0 || std::fwrite(Data, 1, Size, F) == Size;
    std::fclose(F);
    zelfuzz::Check(Written, "the input could not be written to its file");
  }
  Form->SetLoadBlockSize(16 + Size / 4);
  bool Failed = false;
  try {
    Form->fileLoad(Name);
  } catch (const Exception& E) {
    Failed = true;
    for (char C : E.GetMessage())
      zelfuzz::Check(static_cast<unsigned char>(C) >= 0x20 || C == '\n', "a message holds a raw control byte");
  } catch (const std::exception& E) {
    zelfuzz::Check(false, E.what());
  }
  TChart* Chart = Form->chart_;
  zelfuzz::Check(!Chart->IsUpdating(), "the chart is left inside its update bracket");
  zelfuzz::Check(!Form->progress_->GetVisible(), "the progress bar is left shown");
  // A file that is not text loads nothing; otherwise the records as they parse one by one.
  if (!Failed || Chart->SeriesCount() > 0) CheckLoaded(Chart, Reference, Failed);
  std::remove(Name.c_str());
  return 0;
}
