#include "viewer/SessionParser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>
#include <new>
#include <utility>

#include <sys/mman.h>

#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "platform/Unicode.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/series/FastLine.h"

namespace zel {

namespace {

[[noreturn]] void InvalidFloat(std::string_view Text) {
  throw EConvertError("'" + String(Text) + "' is not a valid floating point value");
}

// The fields of a record: every ';' separates, an empty line has none.
class TFieldSplitter {
 public:
  explicit TFieldSplitter(std::string_view Line) : FLine(Line), FDone(Line.empty()) {}
  bool Next(std::string_view& Field) {
    if (FDone) return false;
    const char* Begin = FLine.data() + FPos;
    const std::size_t Left = FLine.size() - FPos;
    const void* End = Left ? std::memchr(Begin, ';', Left) : nullptr;
    if (!End) {
      Field = std::string_view(Begin, Left);
      FDone = true;
    } else {
      const std::size_t Length = static_cast<std::size_t>(static_cast<const char*>(End) - Begin);
      Field = std::string_view(Begin, Length);
      FPos += Length + 1;
    }
    return true;
  }
  // Number of fields still to come.
  std::size_t Remaining() const {
    if (FDone) return 0;
    return 1 + static_cast<std::size_t>(std::count(FLine.begin() + static_cast<std::ptrdiff_t>(FPos), FLine.end(), ';'));
  }

 private:
  std::string_view FLine;
  std::size_t FPos = 0;
  bool FDone;
};

// Reads the plain decimal form "[sign]digits[.digits]" of at most 15 digits, the form of nearly
// every sample, with the value TextToFloat gives (m / 10^f of two exact doubles is the correctly
// rounded value, as from_chars gives). False for any other text: TextToFloat then decides.
bool ReadPlainDecimal(std::string_view Text, double& Value) {
  static constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* P = Text.data();
  const char* End = P + Text.size();
  bool Negative = false;
  if (P < End && (*P == '-' || *P == '+')) Negative = *P++ == '-';
  std::uint64_t M = 0;
  int Digits = 0, Fraction = 0;
  for (; P < End && *P >= '0' && *P <= '9'; ++P, ++Digits) M = M * 10 + static_cast<unsigned>(*P - '0');
  if (P < End && *P == '.') {
    for (++P; P < End && *P >= '0' && *P <= '9'; ++P, ++Digits, ++Fraction) M = M * 10 + static_cast<unsigned>(*P - '0');
  }
  if (P != End || Digits == 0 || Digits > 15) return false;
  const double V = static_cast<double>(M) / Pow10[Fraction];
  Value = Negative ? -V : V;
  return true;
}

// At most 60 bytes of a line or field for a message, cut at the start of a character.
String ShownPart(std::string_view Text) {
  constexpr std::size_t Most = 60;
  if (Text.size() <= Most) return String(Text);
  std::size_t Cut = Most;
  while (Cut > 0 && IsUtf8Continuation(Text[Cut])) --Cut;
  return String(Text.substr(0, Cut)) + "...";
}

// Series whose AddXY is the series base's, so that a record's points may go in as one block.
bool AddsPointsInBulk(const TChartSeries* Series) {
  const std::type_info& T = typeid(*Series);
  return T == typeid(TFastLineSeries) || T == typeid(TChartSeries);
}

}  // namespace

TFormatSettings SessionFormatSettings() {
  TFormatSettings FS = TFormatSettings::Create();
  FS.DecimalSeparator = '.';
  FS.DateSeparator = '-';
  FS.TimeSeparator = ':';
  FS.ShortDateFormat = "yyyy-MM-dd";
  FS.ShortTimeFormat = "hh:nn:ss";
  FS.LongTimeFormat = FS.ShortTimeFormat;
  return FS;
}

void ReadSessionRecord(std::string_view Line, double XOffset, const TFormatSettings& FS, TSessionRecord& Record) {
  Record = TSessionRecord();
  TFieldSplitter Fields(Line);
  const std::size_t M = Fields.Remaining();
  std::string_view Date, Time;
  if (M < 2 || !Fields.Next(Date) || !Fields.Next(Time)) {
    Record.Shown = ShownPart(Line);
    return;
  }
  Record.HasDateTime = true;
  Record.Title.reserve(Date.size() + 1 + Time.size());
  Record.Title.append(Date).append(" ").append(Time);
  if (M < 3) return;
  const auto Samples = static_cast<std::int32_t>(M - 2);
  Record.X = TValueBuffer(Samples);
  Record.Y = TValueBuffer(Samples);
  double* XV = Record.X.Data();
  double* YV = Record.Y.Data();
  const double Span = static_cast<double>(M - 3);
  std::string_view Field;
  std::int32_t K = 0;
  for (std::size_t I = 2; Fields.Next(Field); ++I, ++K) {
    double Y;
    if (!(FS.DecimalSeparator == '.' && ReadPlainDecimal(Field, Y)) && !TextToFloat(Field, Y, FS)) {
      Record.HasBadSample = true;
      Record.BadSample = ShownPart(Field);
      break;
    }
    // A lone sample has no spacing: it sits at the start of the record's span.
    XV[K] = Span > 0 ? (static_cast<double>(I - 2) * 1000.0) / Span + XOffset : XOffset;
    YV[K] = Y;
  }
  Record.Count = K;
  if (K >= TValueBlocks::From) Record.YBlocks.Build(YV, K);
  bool Ascending = true;
  for (std::int32_t I = 0; I < K; ++I) Ascending &= std::isfinite(XV[I]) && !(I > 0 && XV[I] < XV[I - 1]);
  Record.XAscending = Ascending;
  Record.XStatistics.Compute(XV, K);
  Record.YStatistics.Compute(YV, K);
}

void ApplySessionRecord(const TFormatSettings& FS, TSessionRecord& Record, TChartSeries* Series) {
  if (!Series) throw EArgumentException("No series to parse the record into");
  if (!Record.HasDateTime)
    throw EConvertError("'" + Record.Shown + "' is not a valid record: a date and a time separated by ';' are expected");
  StrToDateTime(Record.Title, FS);  // only rejects a record whose date and time cannot be read

  WithinUpdate(*Series, [&] {
    Series->SetTitle(Record.Title);
    const std::int32_t N = Record.Count;
    if (N > 0) {
      const double* XV = Record.X.Data();
      const double* YV = Record.Y.Data();
      // The points go in as one block where that is what adding them one by one gives.
      bool Done = false;
      if (AddsPointsInBulk(Series)) {
        const bool Empty = Series->Count() == 0;
        TValueBuffer X = std::move(Record.X), Y = std::move(Record.Y);
        Done = Series->AppendXY(std::move(X), std::move(Y), N);
        if (Done && Empty) {
          Series->GetXValues()->SetAscendingFinite(Record.XAscending, N);
          Series->GetXValues()->SetStatistics(Record.XStatistics);
          Series->GetYValues()->SetStatistics(Record.YStatistics);
          if (N >= TValueBlocks::From) Series->GetYValues()->SetBlocks(std::move(Record.YBlocks));
        }
        if (!Done) {
          Record.X = std::move(X);
          Record.Y = std::move(Y);
          XV = Record.X.Data();
          YV = Record.Y.Data();
        }
      }
      if (!Done)
        for (std::int32_t K = 0; K < N; ++K) Series->AddXY(XV[K], YV[K], String(), 0x00FFFFFF);
    }
    if (Record.HasBadSample) InvalidFloat(Record.BadSample);
  });
}

void dataLineParse(const TFormatSettings& FS, const String& Line, double XOffset, TChartSeries* Series) {
  if (!Series) throw EArgumentException("No series to parse the record into");
  TSessionRecord Record;
  ReadSessionRecord(Line, XOffset, FS, Record);
  ApplySessionRecord(FS, Record, Series);
}

// TSessionLines

TSessionLines::TSessionLines(TStream& Stream, std::size_t BlockSize) : FStream(Stream) {
  Resize(std::max<std::size_t>(BlockSize, 16));
}

TSessionLines::~TSessionLines() {
  if (FBuffer) munmap(FBuffer, FSize);
}

void TSessionLines::Resize(std::size_t Size) {
  void* P = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (P == MAP_FAILED) throw std::bad_alloc();
  char* B = static_cast<char*>(P);
  if (FBuffer) {
    std::memcpy(B, FBuffer, FEnd);
    munmap(FBuffer, FSize);
  }
  FBuffer = B;
  FSize = Size;
}

bool TSessionLines::Fill() {
  // Keep what was not given out, then read behind it; a buffer that is full grows.
  if (FStart > 0) {
    std::memmove(FBuffer, FBuffer + FStart, FEnd - FStart);
    FEnd -= FStart;
    FStart = 0;
  }
  if (FEnd == FSize) {
    // One line fills the buffer. Text goes on; a line that holds a NUL byte is plainly not text,
    // and reading stops here rather than holding a hole of any size.
    if (std::memchr(FBuffer, 0, FEnd)) {
      FStoppedAtNonText = FAtEnd = true;
      FStart = FEnd;
      return false;
    }
    Resize(FSize * 2);
  }
  const Int64 Got = FStream.Read(FBuffer + FEnd, static_cast<Int64>(FSize - FEnd));
  if (Got <= 0) {
    FAtEnd = true;
    return false;
  }
  FEnd += static_cast<std::size_t>(Got);
  if (FFirst) {
    FFirst = false;
    static const char Bom[] = "\xEF\xBB\xBF";
    if (FEnd >= 3 && std::memcmp(FBuffer, Bom, 3) == 0) FStart = 3;
  }
  return true;
}

bool TSessionLines::NextBlock(std::vector<std::string_view>& Lines) {
  Lines.clear();
  for (;;) {
    if (!FAtEnd) Fill();
    if (FStoppedAtNonText) return false;
    const char* Data = FBuffer;
    std::size_t Pos = FStart;
    while (Pos < FEnd) {
      const std::size_t Left = FEnd - Pos;
      const void* LF = std::memchr(Data + Pos, '\n', Left);
      const std::size_t Scan = LF ? static_cast<std::size_t>(static_cast<const char*>(LF) - (Data + Pos)) : Left;
      const void* CR = std::memchr(Data + Pos, '\r', Scan);
      std::size_t Break;
      if (CR) {
        Break = static_cast<std::size_t>(static_cast<const char*>(CR) - Data);
        // A CR at the end of what was read may be the first half of CR LF.
        if (Break + 1 == FEnd && !FAtEnd) break;
      } else if (LF) {
        Break = Pos + Scan;
      } else {
        if (!FAtEnd) break;  // the line goes on in the next block
        Lines.emplace_back(Data + Pos, Left);
        Pos = FEnd;
        break;
      }
      Lines.emplace_back(Data + Pos, Break - Pos);
      Pos = Break + 1;
      if (Data[Break] == '\r' && Pos < FEnd && Data[Pos] == '\n') ++Pos;
    }
    FStart = Pos;
    if (!Lines.empty()) return true;
    if (FAtEnd) return false;
  }
}

bool IsUtf8Line(std::string_view S) {
  std::size_t I = 0;
  for (; I + 8 <= S.size(); I += 8) {
    std::uint64_t Word;
    std::memcpy(&Word, S.data() + I, 8);
    if (Word & 0x8080808080808080ull) return IsValidUtf8(S);
  }
  for (; I < S.size(); ++I)
    if (static_cast<unsigned char>(S[I]) > 0x7F) return IsValidUtf8(S);
  return true;
}

String EscapedForMessage(std::string_view Text) {
  String Out;
  Out.reserve(Text.size());
  auto Escape = [&Out](unsigned char B) {
    static const char Hex[] = "0123456789ABCDEF";
    switch (B) {
      case 0: Out += "\\0"; break;
      case '\t': Out += "\\t"; break;
      case '\r': Out += "\\r"; break;
      default: Out.append("\\x").append(1, Hex[B >> 4]).append(1, Hex[B & 15]);
    }
  };
  for (std::size_t I = 0; I < Text.size();) {
    const std::size_t Start = I;
    const std::uint32_t CP = NextCodePoint(Text, I);
    const bool NotUtf8 = CP == 0xFFFD && I - Start == 1;
    const bool Control = (CP < 0x20 && CP != '\n') || (CP >= 0x7F && CP <= 0x9F);
    if (NotUtf8 || Control) {
      for (std::size_t K = Start; K < I; ++K) Escape(static_cast<unsigned char>(Text[K]));
    } else {
      Out.append(Text.substr(Start, I - Start));
    }
  }
  return Out;
}

}  // namespace zel
