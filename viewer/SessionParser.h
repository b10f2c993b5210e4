// Parsing one record of a session file into a series, and reading a session file's lines.
//
// A record is "date;time;sample;sample;...": the series is titled "date time" and gets one point
// per sample, spread evenly over [XOffset, XOffset + 1000] (a lone sample sits at XOffset).
//
// Parsing is two steps: ReadSessionRecord reads a line into a TSessionRecord (no series, no
// shared state: records may be read on several threads at once), ApplySessionRecord puts it into
// a series on the caller's thread, raising the error the line holds after the points before it.
// dataLineParse is the two in turn.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/SysUtils.h"
#include "platform/Types.h"
#include "zelgraph/engine/ValueList.h"

namespace zel {

class TChartSeries;
class TStream;

// The settings session files are read with: the defaults of TFormatSettings::Create() with '.'
// as the decimal separator, dates "yyyy-MM-dd" with '-' and times "hh:nn:ss" with ':'.
TFormatSettings SessionFormatSettings();

// One record as read from its line, before it goes into a series.
struct TSessionRecord {
  // False when the line holds no date and time (fewer than two fields); Shown is then the line,
  // cut to 60 bytes (at a character's start), for the message.
  bool HasDateTime = false;
  String Shown;
  String Title;  // date, one blank, time
  // The points read, in file order: Count of them, all of them unless BadSample is set.
  TValueBuffer X, Y;
  std::int32_t Count = 0;
  // The value blocks of Y and the order of X, for the series' lists when they take the points as
  // they are.
  TValueBlocks YBlocks;
  TValueStatistics XStatistics, YStatistics;
  bool XAscending = false;
  // The first sample that is not a number (the points before it were read), cut as Shown is.
  bool HasBadSample = false;
  String BadSample;
};

// Reads Line (points from XOffset on); never raises for the line's content.
void ReadSessionRecord(std::string_view Line, double XOffset, const TFormatSettings& FS, TSessionRecord& Record);

// Puts Record into Series as dataLineParse does: EConvertError for a record without a date and a
// time and for a date and time that cannot be read (nothing added); otherwise inside the series'
// update bracket the title and the points, then EConvertError for a bad sample. The bracket is
// always ended. Takes the record's point memory.
void ApplySessionRecord(const TFormatSettings& FS, TSessionRecord& Record, TChartSeries* Series);

// Parses Line into Series (inside the series' update bracket) and adds its points, the first at
// XOffset. Raises EConvertError for a record without a date and a time, for a date and time that
// cannot be read, and for a sample that is not a plain decimal number (the points read before the
// bad sample stay). Samples are read as StrToFloat reads them (TextToFloat, without a copy of
// the field). The series' update bracket is always ended.
void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series);

// The lines of a text file as TStringList::LoadFromFile reads them as UTF-8 (CR, LF or CR LF
// ends a line, a break at the end adds no line, a UTF-8 byte-order mark is skipped), read a block
// at a time so that the whole file is never in memory.
// How much of a file TSessionLines reads at a time unless told otherwise.
inline constexpr std::size_t SessionBlockSize = std::size_t(8) << 20;

class TSessionLines {
 public:
  // BlockSize: the bytes read at a time (at least 16); a line longer than that is still one
  // line (the block grows for it).
  explicit TSessionLines(TStream& Stream, std::size_t BlockSize = SessionBlockSize);
  ~TSessionLines();
  TSessionLines(const TSessionLines&) = delete;
  TSessionLines& operator=(const TSessionLines&) = delete;
  // The next lines: every line that ends in the next block of the file (at least one unless the
  // file has no more), valid until the next call. False when the file has no more lines.
  bool NextBlock(std::vector<std::string_view>& Lines);
  // True when reading stopped early at a line that is plainly not text: one that fills a whole
  // block without a break and holds a NUL byte (a hole in a file, or no text file at all). That
  // line is not given out, and NextBlock reports no more lines: nothing more is read.
  bool GetStoppedAtNonText() const { return FStoppedAtNonText; }

 private:
  bool Fill();

  // The buffer is mapped from the system and given back whole, so that it leaves nothing behind.
  void Resize(std::size_t Size);

  TStream& FStream;
  char* FBuffer = nullptr;
  std::size_t FSize = 0;
  std::size_t FStart = 0;  // the first byte not yet given out
  std::size_t FEnd = 0;    // the end of the bytes read
  bool FAtEnd = false;
  bool FFirst = true;
  bool FStoppedAtNonText = false;
};

// Whether a line is UTF-8 text (ASCII is checked eight bytes at a time).
bool IsUtf8Line(std::string_view S);

// Text as a message shows it: every control character but the line feed (C0, DEL and C1), and
// every byte that is not UTF-8, as an escape (\0, \t, \r or \xNN), so that what a file or a
// file name holds can neither cut a message short nor garble it.
String EscapedForMessage(std::string_view Text);

}  // namespace zel
