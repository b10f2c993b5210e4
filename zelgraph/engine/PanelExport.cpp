// Drawing a chart panel into pictures, onto the clipboard and onto the printer.
#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Math.h"
#include "platform/Printer.h"
#include "platform/Scope.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/engine/Panel.h"

namespace zel {

void TCustomZelPanel::NonBufferDraw(TCanvas* ACanvas, const TRectF& R) {
  TCanvas3D* C = InternalCanvas;
  if (!C) return;
  TCanvas* OldCanvas = C->GetCanvas();
  const bool HadNoOptions = C->GetView3DOptions() == nullptr;
  const bool OldBuffered = C->GetUseBuffer();
  auto* PC = dynamic_cast<TZelCanvas3D*>(C);
  if (PC) PC->IKeepBitmap = true;
  TRestoreOnExit Restore([&] {
    if (HadNoOptions) C->SetView3DOptions(nullptr);
    C->SetUseBuffer(OldBuffered);
    C->SetCanvas(OldCanvas);
    if (PC) {
      PC->IKeepBitmap = false;
      if (!OldBuffered) Invalidate();
    }
  });
  C->SetUseBuffer(false);
  TAutoRepaintScope Quiet(this, false);
  Draw(ACanvas, R);
}

void TCustomZelPanel::DrawToMetaCanvas(TCanvas* ACanvas, const TRectF& Rect) {
  if (!InternalCanvas) return;
  InternalCanvas->SetMetafiling(true);
  TRestoreOnExit EndMetafiling([this] { InternalCanvas->SetMetafiling(false); });
  NonBufferDraw(ACanvas, Rect);
}

TBitmap* TCustomZelPanel::ZelCreateBitmap(TAlphaColor BackColor, const TRectF& Rect, int Dpi, float Scale) {
  if (!(Scale > 0) || !std::isfinite(Scale) || Scale > 16)
    throw EArgumentOutOfRangeException("Picture scale out of range (" + FloatToStr(Scale) + ")");
  const int W = std::max(0, Round(Rect.Width()));
  const int H = std::max(0, Round(Rect.Height()));
  TBitmap* Result = nullptr;
  if (Scale == 1 && InternalCanvas && InternalCanvas->RenderToBitmap(Result, Rect) && Result) {
    if (Dpi > 0) ZelSetBitmapDPI(Result, Dpi);
    return Result;
  }
  TOwned<TBitmap> B(new TBitmap(ScaledPixels(float(W), Scale), ScaledPixels(float(H), Scale)));
  B->SetBitmapScale(Scale);
  if (Dpi <= 0 && Scale != 1) Dpi = Round(96 * double(Scale));
  TCanvas* BC = B->GetCanvas();
  {
    TRestoreOnExit EndScene([BC] { BC->EndScene(); });
    if (BC->BeginScene()) {
      if (BackColor != 0xFFFFFFFF) {
        BC->GetFill()->SetKind(TBrushKind::Solid);
        BC->GetFill()->SetColor(BackColor == 0 ? FColor : BackColor);
        BC->FillRect(Rect, 0, 0, AllCorners, 1);
      }
      NonBufferDraw(BC, Rect);
    }
  }
  if (Dpi > 0) ZelSetBitmapDPI(B.get(), Dpi);
  return B.release();
}

TBitmap* TCustomZelPanel::ZelCreateBitmap() { return ZelCreateBitmap(FColor, GetRectangle(), 0); }

void TCustomZelPanel::SaveToBitmapFile(const String& FileName) {
  SaveToBitmapFile(FileName, GetRectangle());
}

void TCustomZelPanel::SaveToBitmapFile(const String& FileName, const TRectF& R, float Scale) {
  TOwned<TBitmap> B(ZelCreateBitmap(0xFFFFFFFF, R, 0, Scale));
  B->SaveToFile(FileName);
}

TMetafile* TCustomZelPanel::ZelCreateMetafile(bool Enhanced, const TRectF& Rect) {
  const int W = Round(std::max(1.0f, Rect.Width()));
  const int H = Round(std::max(1.0f, Rect.Height()));
  TOwned<TMetafile> M(new TMetafile(W, H));
  M->FEnhanced = Enhanced;
  TCanvas* MC = M->GetCanvas();
  MC->BeginScene();
  {
    TRestoreOnExit EndScene([MC] { MC->EndScene(); });
    DrawToMetaCanvas(MC, Rect);
  }
  return M.release();
}

void TCustomZelPanel::SaveToMetafile(const String& FileName) {
  SaveToMetafileRect(false, FileName, GetRectangle());
}

void TCustomZelPanel::SaveToMetafileEnh(const String& FileName) {
  SaveToMetafileRect(true, FileName, GetRectangle());
}

void TCustomZelPanel::SaveToMetafileRect(bool Enhanced, const String& FileName, const TRectF& Rect) {
  TOwned<TMetafile> M(ZelCreateMetafile(Enhanced, Rect));
  // The picture is made first, so that a failure to draw leaves no file behind.
  TFileStream S(FileName, fmCreate);
  M->SaveToStream(&S);
}

void TCustomZelPanel::CopyToClipboardBitmap() { CopyToClipboardBitmap(GetRectangle()); }

void TCustomZelPanel::CopyToClipboardBitmap(const TRectF& R) {
  TOwned<TBitmap> B(ZelCreateBitmap(FColor, R, 0));
  Clipboard()->Assign(*B);
}

void TCustomZelPanel::CopyToClipboardMetafile(bool Enhanced) {
  CopyToClipboardMetafile(Enhanced, GetRectangle());
}

void TCustomZelPanel::CopyToClipboardMetafile(bool Enhanced, const TRectF& R) {
  TOwned<TMetafile> M(ZelCreateMetafile(Enhanced, R));
  Clipboard()->Assign(*M);
}

void TCustomZelPanel::CalcMetaBounds(const TRectF& R, const TRectF& AChartRect, int& WinWidth,
                                     int& WinHeight, int& ViewWidth, int& ViewHeight) {
  ViewWidth = Round(R.Width());
  ViewHeight = Round(R.Height());
  const int A = Round(AChartRect.Width());
  const int B = Round(AChartRect.Height());
  WinWidth = A - Round(A * double(FPrintResolution) * 0.01);
  WinHeight = B - Round(B * double(FPrintResolution) * 0.01);
}

TRectF TCustomZelPanel::PrintMarginsRect(float PaperWidth, float PaperHeight) const {
  return TRectF(float(PrintMargins.Left * double(PaperWidth) * 0.01),
                float(PrintMargins.Top * double(PaperHeight) * 0.01),
                float(PaperWidth - PrintMargins.Right * double(PaperWidth) * 0.01),
                float(PaperHeight - PrintMargins.Bottom * double(PaperHeight) * 0.01));
}

TRectF TCustomZelPanel::CalcProportionalMargins() {
  const TRectF Rect = GetRectangle();
  const int W = Round(Rect.Width());
  const int H = Round(Rect.Height());
  double PW, PH, Ratio;
  try {
    PW = Printer()->GetPageWidth();
    PH = Printer()->GetPageHeight();
    Ratio = PW / PH;
  } catch (const Exception&) {
    const TPointF S = ZelGetScreenSize();
    PW = Round(S.X);
    PH = Round(S.Y);
    Ratio = 1;
  }
  // Without paper or panel size the proportions are unknown: keep the even margins.
  if (!(PW > 0) || !(PH > 0) || !std::isfinite(Ratio) || W <= 0 || H <= 0)
    return TRectF(15, 15, 15, 15);
  // Never below 0: a chart too tall (or wide) for the paper takes the paper's whole height
  // (width) instead of reaching beyond it.
  auto CalcMargin = [Ratio](double A, double B, double X) {
    return std::max(0, Round((B - (A - A * 0.3) * X * Ratio) * 100 / B) / 2);
  };
  if (W > H) {
    const int M = CalcMargin(PW, PH, double(H) / W);
    return TRectF(15, float(M), 15, float(M));
  }
  const int M = CalcMargin(PH, PW, double(W) / H);
  return TRectF(float(M), 15, float(M), 15);
}

TRectF TCustomZelPanel::ChartPrintRect() {
  if (FPrintProportional) PrintMargins = CalcProportionalMargins();
  return PrintMarginsRect(float(Printer()->GetPageWidth()), float(Printer()->GetPageHeight()));
}

void TCustomZelPanel::PrintPartialCanvas(TCanvas* ACanvas, const TRectF& PrinterRect) {
  TRectF R = PrinterRect;
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  FPrinting = true;
  TCanvasSaveState* Saved = nullptr;
  TRestoreOnExit Finish([&] {
    if (Saved) ACanvas->RestoreState(Saved);
    FPrinting = false;
  });
  if (CanClip()) {
    Saved = ACanvas->SaveState();
    ACanvas->IntersectClipRect(R);
  }
  if (FOnBeforePrint) FOnBeforePrint(this, ACanvas, R);
  DrawToMetaCanvas(ACanvas, R);
}

void TCustomZelPanel::PrintPartial(const TRectF& PrinterRect) {
  PrintPartialCanvas(Printer()->GetCanvas(), PrinterRect);
}

void TCustomZelPanel::PrintRect(const TRectF& R) {
  // Repaints once AutoRepaint is back, also after a failure.
  struct TRepaintAfter {
    TCustomZelPanel* Panel;
    ~TRepaintAfter() { Panel->Invalidate(); }
  } Repaint{this};
  TAutoRepaintScope Quiet(this, false);
  TPrinter* P = Printer();
  if (!GetName().empty()) P->SetTitle(GetName());
  P->BeginDoc();
  {
    // A failure drops the half-written document so that the printer is free for the next one.
    TUndoOnFailure AbortDoc([P] { P->Abort(); });
    PrintPartial(R);
  }
  P->EndDoc();
}

void TCustomZelPanel::Print() { PrintRect(ChartPrintRect()); }

void TCustomZelPanel::PrintOrientation(TPrinterOrientation Orientation) {
  TPrinter* P = Printer();
  const TPrinterOrientation Old = P->GetOrientation();
  P->SetOrientation(Orientation);
  TRestoreOnExit RestoreOrientation([P, Old] { P->SetOrientation(Old); });
  Print();
}

void TCustomZelPanel::PrintPortrait() { PrintOrientation(TPrinterOrientation::poPortrait); }

void TCustomZelPanel::PrintLandscape() { PrintOrientation(TPrinterOrientation::poLandscape); }

}  // namespace zel
