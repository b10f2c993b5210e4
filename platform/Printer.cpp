// The printer on QPrinter: a real printer when one is installed, else a PDF file.
#include "platform/Printer.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "platform/Canvas.h"
#include "platform/PainterCanvas.h"
#include "platform/SysUtils.h"

namespace zel {

ZEL_DEFINE_CLASS(TPrinter, TObject)

struct TPrinter::TImpl {
  std::unique_ptr<QPrinter> Device;
  std::unique_ptr<QPainter> Painter;
  std::unique_ptr<TCanvas> Canvas;
  String OutputFile;
};

namespace {

QString Q(const String& S) { return QString::fromUtf8(S.data(), qsizetype(S.size())); }

bool HasRealPrinter() { return !QPrinterInfo::defaultPrinter().isNull(); }

}  // namespace

TPrinter::TPrinter() : FImpl(std::make_unique<TImpl>()) {}

TPrinter::~TPrinter() {
  try {
    Abort();
  } catch (...) {
  }
}

bool TPrinter::GetPrinting() const { return FImpl->Painter != nullptr; }

String TPrinter::GetOutputFileName() const {
  if (!FFileName.empty()) return FFileName;
  if (HasRealPrinter()) return "";
  QString Dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (Dir.isEmpty()) Dir = QDir::homePath();
  String Base = FTitle.empty() ? String("document") : FTitle;
  // A title may hold characters that a file name cannot.
  for (char& C : Base)
    if (C == '/' || C == '\\' || C == ':' || C == '\0') C = '_';
  return (Dir + "/").toUtf8().toStdString() + Base + ".pdf";
}

void TPrinter::BeginDoc() {
  if (GetPrinting()) throw EPrinter(SPrinting);
  EnsureQtApplication();
  String Out = GetOutputFileName();
  auto Device = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!Out.empty()) {
    Device->setOutputFormat(QPrinter::PdfFormat);
    Device->setOutputFileName(Q(Out));
  }
  Device->setResolution(FDPI);
  Device->setPageOrientation(FOrientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
  Device->setDocName(Q(FTitle));
  Device->setFullPage(false);
  auto Painter = std::make_unique<QPainter>();
  if (!Painter->begin(Device.get()))
    throw EPrinter(Format(SCannotPrint, {Out.empty() ? Device->printerName().toStdString() : Out}));
  FImpl->Device = std::move(Device);
  FImpl->Painter = std::move(Painter);
  FImpl->OutputFile = Out;
  FImpl->Canvas = CreatePainterCanvas(FImpl->Painter.get(), GetPageWidth(), GetPageHeight());
  FPageNumber = 1;
  FAborted = false;
}

void TPrinter::EndDoc() {
  if (!GetPrinting()) throw EPrinter(SNotPrinting);
  FImpl->Canvas.reset();
  bool Ok = FImpl->Painter->end();
  FImpl->Painter.reset();
  FImpl->Device.reset();
  FPageNumber = 0;
  if (!Ok) throw EPrinter(Format(SCannotPrint, {FImpl->OutputFile}));
}

void TPrinter::NewPage() {
  if (!GetPrinting()) throw EPrinter(SNotPrinting);
  FImpl->Device->newPage();
  ++FPageNumber;
}

void TPrinter::Abort() {
  if (!GetPrinting()) return;
  FImpl->Canvas.reset();
  FImpl->Device->abort();
  FImpl->Painter->end();
  FImpl->Painter.reset();
  FImpl->Device.reset();
  if (!FImpl->OutputFile.empty()) QFile::remove(Q(FImpl->OutputFile));
  FPageNumber = 0;
  FAborted = true;
}

TCanvas* TPrinter::GetCanvas() {
  if (!GetPrinting()) throw EPrinter(SNotPrinting);
  return FImpl->Canvas.get();
}

namespace {

QRect PageRect(const TPrinter& P, QPrinter* Open) {
  if (Open) return Open->pageLayout().paintRectPixels(Open->resolution());
  QPageLayout Layout(QPageSize(QPageSize::A4),
                     P.GetOrientation() == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
  if (HasRealPrinter()) {
    QPrinter Probe(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    Probe.setResolution(P.GetDPI());
    Probe.setPageOrientation(Layout.orientation());
    return Probe.pageLayout().paintRectPixels(P.GetDPI());
  }
  // A PDF page: QPrinter's default margins on A4.
  QPrinter Probe(QPrinter::HighResolution);
  Probe.setOutputFormat(QPrinter::PdfFormat);
  Probe.setResolution(P.GetDPI());
  Probe.setPageOrientation(Layout.orientation());
  return Probe.pageLayout().paintRectPixels(P.GetDPI());
}

}  // namespace

int TPrinter::GetPageWidth() const {
  EnsureQtApplication();
  return PageRect(*this, FImpl->Device.get()).width();
}

int TPrinter::GetPageHeight() const {
  EnsureQtApplication();
  return PageRect(*this, FImpl->Device.get()).height();
}

void TPrinter::SetDPI(int V) {
  if (GetPrinting()) throw EPrinter(SPrinting);
  FDPI = std::clamp(V, 72, 2400);
}

void TPrinter::SetOrientation(TPrinterOrientation V) {
  if (V == FOrientation) return;
  if (GetPrinting()) throw EPrinter(SPrinting);
  FOrientation = V;
}

namespace {
TPrinter*& CurrentPrinter() {
  static TPrinter* P = nullptr;
  return P;
}
}  // namespace

TPrinter* Printer() {
  TPrinter*& P = CurrentPrinter();
  if (!P) P = new TPrinter();
  return P;
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  TPrinter* Old = CurrentPrinter();
  CurrentPrinter() = NewPrinter;
  return Old;
}

}  // namespace zel
