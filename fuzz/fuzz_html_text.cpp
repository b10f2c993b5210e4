// The HTML text renderer on the recording canvas (fixed text metrics). Whatever the text,
// drawing leaves the renderer's stacks as it found them (the caller's own entries included),
// and measuring leaves the canvas font and pen as they were, also when it raises.
#include <exception>

#include "fuzz/FuzzSupport.h"
#include "platform/Classes.h"
#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/html/Html.h"

using namespace zel;

namespace {

struct TLook {
  String Family;
  float Size;
  TFontStyles Style;
  TAlphaColor FontColor, PenColor;
  float PenWidth;
  TPenStyle PenStyle;
  bool operator==(const TLook&) const = default;
};

TLook LookOf(TZelCanvas3D* C) {
  TZelFont* F = C->GetFont();
  TZelPen* P = C->GetPen();
  return {F->GetFamily(), F->GetSizeFloat(), F->GetStyle(), F->GetColor(), P->GetColor(), P->GetWidth(), P->GetStyle()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zelfuzz::StartOnce();
  const String Text(reinterpret_cast<const char*>(Data), Size);
  TRecordingCanvas Recording(320, 240);
  TOwned<TZelCanvas3D> Canvas(Create<TZelCanvas3D>());
  Canvas->SetCanvas(&Recording);
  Canvas->GetFont()->SetFamily("Base");
  Canvas->GetFont()->SetSizeFloat(10);
  Canvas->GetPen()->SetColor(0xFF112233);
  Canvas->GetPen()->SetWidth(2);

  // A caller's own entry on each stack.
  PushState("<I>");
  PushFont("<FONT size=10>");
  const std::vector<String> States = State, Fonts = StateFont;

  const TLook Before = LookOf(Canvas.get());
  try {
    HtmlTextExtent(Canvas.get(), Text);
  } catch (const std::exception&) {
  }
  zelfuzz::Check(LookOf(Canvas.get()) == Before, "measuring changed the canvas font or pen");
  zelfuzz::Check(State == States && StateFont == Fonts, "measuring changed the renderer's stacks");

  try {
    HtmlTextOut(Canvas.get(), 5, 5, Text);
  } catch (const std::exception&) {
  }
  zelfuzz::Check(State == States && StateFont == Fonts, "drawing changed the renderer's stacks");
  State.clear();
  StateFont.clear();
  return 0;
}
