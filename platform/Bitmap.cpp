#include "platform/Bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Canvas.h"
#include "platform/PainterCanvas.h"
#include "platform/Streams.h"

namespace zel {

ZEL_DEFINE_CLASS(TBitmap, TPersistent)

struct TBitmap::TImpl {
  QImage Image;
  std::unique_ptr<TCanvas> Canvas;
  int DpmX = 3780, DpmY = 3780;  // 96 dots per inch
};

QImage& BitmapImage(const TBitmap& Bitmap) { return Bitmap.GetImpl()->Image; }

void SuspendBitmapCanvas(const TBitmap& Bitmap) {
  if (Bitmap.GetImpl()->Canvas) SuspendCanvas(Bitmap.GetImpl()->Canvas.get());
}

namespace {
constexpr TAlphaColor OutsideColor = 0xFFFFFFFF;

// Largest picture: 65536 pixels a side and 2^28 pixels (1 GiB) in all.
constexpr int MaxSide = 65536;
constexpr long long MaxPixels = 1LL << 28;

void CheckSize(int W, int H) {
  if (W < 0 || H < 0 || W > MaxSide || H > MaxSide || (long long)W * H > MaxPixels)
    throw EArgumentOutOfRangeException("Bitmap size out of range (" + std::to_string(W) + " x " +
                                       std::to_string(H) + ")");
}
}  // namespace

int ScaledPixels(float Size, float Scale) {
  if (!(Scale > 0) || !std::isfinite(Scale)) Scale = 1;
  const double D = double(Size) * double(Scale);
  if (!(D > 0)) return 0;
  // Products that miss a whole number only by the rounding of the float size count as whole.
  return int(std::min(std::ceil(D - 1e-3), double(MaxSide)));
}

// ---------------------------------------------------------------------------------------------
// Pixel access

std::uint32_t* TBitmapData::GetScanline(int Row) const {
  if (!FData || Row < 0 || Row >= FHeight) return nullptr;
  return reinterpret_cast<std::uint32_t*>(FData + std::size_t(Row) * std::size_t(FPitch));
}

TAlphaColor TBitmapData::GetPixel(int X, int Y) const {
  if (!FData || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return OutsideColor;
  return TAlphaColor(qUnpremultiply(QRgb(GetScanline(Y)[X])));
}

void TBitmapData::SetPixel(int X, int Y, TAlphaColor Color) {
  if (!FData || FAccess == TMapAccess::Read || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
    return;
  GetScanline(Y)[X] = qPremultiply(QRgb(Color));
}

// ---------------------------------------------------------------------------------------------
// Bitmap

TBitmap::TBitmap() : FImpl(std::make_unique<TImpl>()) {}

TBitmap::TBitmap(int AWidth, int AHeight) : TBitmap() { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  // The canvas ends its painter before the image goes.
  FImpl->Canvas.reset();
}

void TBitmap::Changed() {
  if (OnChange) OnChange(this);
}

int TBitmap::GetWidth() const { return FImpl->Image.width(); }
int TBitmap::GetHeight() const { return FImpl->Image.height(); }
void TBitmap::SetWidth(int V) { SetSize(V, GetHeight()); }
void TBitmap::SetHeight(int V) { SetSize(GetWidth(), V); }

void TBitmap::SetSize(int AWidth, int AHeight) {
  CheckSize(AWidth, AHeight);
  if (AWidth == GetWidth() && AHeight == GetHeight()) return;
  if (FMapped) throw EInvalidOperation("Cannot resize a mapped bitmap");
  SuspendBitmapCanvas(*this);
  QImage Img;
  if (AWidth > 0 && AHeight > 0) {
    Img = QImage(AWidth, AHeight, QImage::Format_ARGB32_Premultiplied);
    if (Img.isNull())
      throw EArgumentOutOfRangeException("Bitmap size out of range (" + std::to_string(AWidth) +
                                         " x " + std::to_string(AHeight) + ")");
    Img.fill(Qt::transparent);
    Img.setDotsPerMeterX(FImpl->DpmX);
    Img.setDotsPerMeterY(FImpl->DpmY);
  }
  FImpl->Image = std::move(Img);
  Changed();
}

void TBitmap::SetBitmapScale(float V) {
  if (!(V > 0) || !std::isfinite(V)) V = 1;
  if (FBitmapScale == V) return;
  FBitmapScale = V;
  if (FImpl->Canvas) SuspendCanvas(FImpl->Canvas.get());  // the painter takes the new scale
  Changed();
}

int TBitmap::GetDotsPerMeterX() const { return FImpl->DpmX; }
int TBitmap::GetDotsPerMeterY() const { return FImpl->DpmY; }

void TBitmap::SetDotsPerMeter(int X, int Y) {
  if (X <= 0 || Y <= 0) return;
  SuspendBitmapCanvas(*this);
  FImpl->DpmX = X;
  FImpl->DpmY = Y;
  if (!FImpl->Image.isNull()) {
    FImpl->Image.setDotsPerMeterX(X);
    FImpl->Image.setDotsPerMeterY(Y);
  }
}

TCanvas* TBitmap::GetCanvas() {
  if (!FImpl->Canvas) FImpl->Canvas = CreateBitmapCanvas(this);
  return FImpl->Canvas.get();
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  auto* S = dynamic_cast<TBitmap*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  if (FMapped) throw EInvalidOperation("Cannot assign to a mapped bitmap");
  SuspendBitmapCanvas(*this);
  SuspendBitmapCanvas(*S);
  FImpl->Image = S->FImpl->Image.copy();
  FImpl->DpmX = S->FImpl->DpmX;
  FImpl->DpmY = S->FImpl->DpmY;
  FBitmapScale = S->FBitmapScale;
  Changed();
}

bool TBitmap::Map(TMapAccess Access, TBitmapData& Data) {
  if (FMapped || IsEmpty() || Data.IsMapped()) return false;
  SuspendBitmapCanvas(*this);
  QImage& Img = FImpl->Image;
  Data.FBitmap = this;
  Data.FData = Access == TMapAccess::Read ? const_cast<uchar*>(std::as_const(Img).constBits())
                                          : Img.bits();
  Data.FWidth = Img.width();
  Data.FHeight = Img.height();
  Data.FPitch = int(Img.bytesPerLine());
  Data.FAccess = Access;
  FMapped = true;
  return true;
}

void TBitmap::Unmap(TBitmapData& Data) {
  if (Data.FBitmap != this) return;
  bool Wrote = Data.FAccess != TMapAccess::Read;
  Data = TBitmapData();
  FMapped = false;
  if (Wrote) Changed();
}

TAlphaColor TBitmap::GetPixel(int X, int Y) const {
  const QImage& Img = FImpl->Image;
  if (X < 0 || Y < 0 || X >= Img.width() || Y >= Img.height()) return OutsideColor;
  SuspendBitmapCanvas(*this);
  auto* Row = reinterpret_cast<const QRgb*>(Img.constScanLine(Y));
  return TAlphaColor(qUnpremultiply(Row[X]));
}

void TBitmap::SetPixel(int X, int Y, TAlphaColor Color) {
  QImage& Img = FImpl->Image;
  if (X < 0 || Y < 0 || X >= Img.width() || Y >= Img.height()) return;
  SuspendBitmapCanvas(*this);
  reinterpret_cast<QRgb*>(Img.scanLine(Y))[X] = qPremultiply(QRgb(Color));
  Changed();
}

void TBitmap::Clear(TAlphaColor Color) {
  if (IsEmpty()) return;
  SuspendBitmapCanvas(*this);
  FImpl->Image.fill(qPremultiply(QRgb(Color)));
  Changed();
}

void TBitmap::ClearRect(const TRectF& R, TAlphaColor Color) {
  if (IsEmpty() || !std::isfinite(R.Left) || !std::isfinite(R.Top) || !std::isfinite(R.Right) ||
      !std::isfinite(R.Bottom))
    return;
  SuspendBitmapCanvas(*this);
  TRectF N = R.Normalized();
  QPainter P(&FImpl->Image);
  P.setCompositionMode(QPainter::CompositionMode_Source);
  P.fillRect(QRectF(QPointF(N.Left, N.Top), QPointF(N.Right, N.Bottom)), QColor::fromRgba(Color));
  P.end();
  Changed();
}

// ---------------------------------------------------------------------------------------------
// PNG

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
  SuspendBitmapCanvas(*this);
  QByteArray Bytes;
  QBuffer Buf(&Bytes);
  Buf.open(QIODevice::WriteOnly);
  QImage Img = FImpl->Image;
  if (Img.isNull()) {
    // A 0 x 0 picture has no PNG form; it is written as a 1 x 1 transparent pixel with a zero
    // resolution marker and read back empty.
    Img = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    Img.fill(Qt::transparent);
    Img.setText("ZelEmpty", "1");
  } else {
    Img.setDotsPerMeterX(FImpl->DpmX);
    Img.setDotsPerMeterY(FImpl->DpmY);
  }
  if (!Img.save(&Buf, "PNG")) throw EWriteError("Bitmap could not be written as PNG");
  return {Bytes.begin(), Bytes.end()};
}

namespace {

// While this thread decodes a picture, the PNG decoder's warnings are not printed: they are about
// a picture it read all the same (a damaged extra chunk, an odd colour profile), and a program
// reading pictures from streams, or a fuzz harness, would fill its log with them. A picture that
// cannot be read still raises. Other messages pass to the handler that was there before.
thread_local bool DecodingPicture = false;
QtMessageHandler PreviousMessageHandler = nullptr;

void QuietPictureWarnings(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (DecodingPicture && Type != QtFatalMsg && Message.startsWith(QLatin1String("libpng warning:"))) return;
  if (PreviousMessageHandler) {
    PreviousMessageHandler(Type, Context, Message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(Type, Context, Message)));
    std::fflush(stderr);
  }
}

class TDecodingScope {
 public:
  TDecodingScope() {
    static const bool Installed = [] {
      PreviousMessageHandler = qInstallMessageHandler(QuietPictureWarnings);
      return true;
    }();
    (void)Installed;
    DecodingPicture = true;
  }
  ~TDecodingScope() { DecodingPicture = false; }
  TDecodingScope(const TDecodingScope&) = delete;
  TDecodingScope& operator=(const TDecodingScope&) = delete;
};

// Decodes a picture; the number of bytes the decoder used goes to Used.
QImage Decode(const std::uint8_t* Data, std::size_t Size, std::size_t& Used) {
  Used = 0;
  if (!Data || Size == 0) return {};
  TDecodingScope Quiet;
  QByteArray Bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  QBuffer Buf(&Bytes);
  Buf.open(QIODevice::ReadOnly);
  QImageReader Reader(&Buf);
  Reader.setDecideFormatFromContent(true);
  QImage Img = Reader.read();
  if (Img.isNull()) return {};
  Used = std::size_t(Buf.pos());
  return Img;
}
}  // namespace

void TBitmap::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  std::size_t Used;
  QImage Img = Decode(Data, Size, Used);
  if (Img.isNull()) throw EInvalidOperation(SBitmapInvalidImage);
  if (FMapped) throw EInvalidOperation("Cannot load into a mapped bitmap");
  SuspendBitmapCanvas(*this);
  bool Empty = Img.text("ZelEmpty") == "1";
  FImpl->DpmX = Img.dotsPerMeterX() > 0 ? Img.dotsPerMeterX() : 3780;
  FImpl->DpmY = Img.dotsPerMeterY() > 0 ? Img.dotsPerMeterY() : 3780;
  if (Empty)
    FImpl->Image = QImage();
  else
    FImpl->Image = Img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Changed();
}

void TBitmap::SaveToStream(TStream* Stream) const {
  if (!Stream) throw EStreamError("No stream to write the bitmap to");
  std::vector<std::uint8_t> Bytes = SaveToBytes();
  Stream->WriteBuffer(Bytes.data(), Int64(Bytes.size()));
}

void TBitmap::LoadFromStream(TStream* Stream) {
  if (!Stream) throw EStreamError("No stream to read the bitmap from");
  Int64 Start = Stream->GetPosition();
  Int64 Rest = Stream->GetSize() - Start;
  if (Rest <= 0) throw EInvalidOperation(SBitmapInvalidImage);
  std::vector<std::uint8_t> Bytes(std::size_t(Rest), 0);
  Int64 Got = Stream->Read(Bytes.data(), Rest);
  Bytes.resize(std::size_t(std::max<Int64>(Got, 0)));
  std::size_t Used;
  QImage Img = Decode(Bytes.data(), Bytes.size(), Used);
  if (Img.isNull()) {
    Stream->SetPosition(Start);
    throw EInvalidOperation(SBitmapInvalidImage);
  }
  LoadFromBytes(Bytes.data(), Bytes.size());
  Stream->SetPosition(Start + Int64(Used));
}

void TBitmap::SaveToFile(const String& FileName) const {
  std::vector<std::uint8_t> Bytes = SaveToBytes();
  QFile F(QString::fromUtf8(FileName.c_str()));
  if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw EFCreateError("Cannot create file \"" + FileName + "\"");
  if (F.write(reinterpret_cast<const char*>(Bytes.data()), qint64(Bytes.size())) !=
      qint64(Bytes.size()))
    throw EWriteError("Cannot write file \"" + FileName + "\"");
}

void TBitmap::LoadFromFile(const String& FileName) {
  QFile F(QString::fromUtf8(FileName.c_str()));
  if (!F.open(QIODevice::ReadOnly)) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  QByteArray Bytes = F.readAll();
  LoadFromBytes(reinterpret_cast<const std::uint8_t*>(Bytes.constData()), std::size_t(Bytes.size()));
}

}  // namespace zel
