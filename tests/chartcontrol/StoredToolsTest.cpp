// Tools whose setters touch other stored values (an annotation's activity shows or hides its
// box, a scroll bar thumb's style brings its picture and sizes) come back as they were stored,
// and a marks tip never put up paints nothing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/Forms.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/ScrollBar.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// An annotation turned off, then its box shown again by the program.
void OffWithBoxShown(TAnnotationTool* A) {
  A->SetActive(false);
  A->GetShape()->SetVisible(true);
}

template <typename T>
void InactiveWithShapeShown(TChart* C) {
  OffWithBoxShown(AddToChart<T>(C, "Tool1"));
}

// A scroll bar on Axis whose thumb is given Style, then After is done to it.
std::function<void(TChart*)> ThumbStyled(TScrollThumbStyle Style, const std::function<void(TAxisScrollBarTool*)>& After) {
  return [Style, After](TChart* C) {
    auto* Bar = AddToChart<TAxisScrollBarTool>(C, "Tool1");
    Bar->SetAxis(C->GetBottomAxis());
    Bar->GetThumb()->SetStyle(Style);
    After(Bar);
  };
}

// A marks tip made visible by the program (the tool never put it up), then Place done to it.
std::function<void(TChart*)> TipShown(const std::function<void(TTextShape*)>& Place) {
  return [Place](TChart* C) {
    TTextShape* Format = AddToChart<TMarksTipTool>(C, "Tool1")->GetFormat();
    Format->SetVisible(true);
    Place(Format);
  };
}

TEST(StoredTools, ComeBackAsStoredAndPaintTheSame) {
  struct TCase {
    const char* Name;
    std::function<void(TChart*)> Build;
  };
  const std::vector<TCase> Cases = {
      {"annotation turned off, its box shown again", InactiveWithShapeShown<TAnnotationTool>},
      {"rectangle turned off, its box shown again", InactiveWithShapeShown<TRectangleTool>},
      {"page number turned off, its box shown again", InactiveWithShapeShown<TPageNumTool>},
      {"repaint monitor turned off, its box shown again", InactiveWithShapeShown<TRepaintMonitor>},
      {"cursor's annotation turned off, its box shown again",
       [](TChart* C) { OffWithBoxShown(AddToChart<TCursorTool>(C, "Tool1")->GetAxisAnnotation()); }},
      {"colour line's annotation turned off, its box shown again",
       [](TChart* C) {
         auto* Line = AddToChart<TColorLineTool>(C, "Tool1");
         Line->SetAxis(C->GetBottomAxis());
         OffWithBoxShown(Line->GetAnnotation());
       }},
      {"scroll bar thumb given a style, then its own size",
       ThumbStyled(TScrollThumbStyle::stsThumb3, [](TAxisScrollBarTool* Bar) { Bar->SetThumbSize(9); })},
      {"scroll bar thumb given a style, then the bar's size",
       ThumbStyled(TScrollThumbStyle::stsThumb2, [](TAxisScrollBarTool* Bar) { Bar->SetSize(25); })},
      {"scroll bar thumb given a style, then a picture of its own",
       ThumbStyled(TScrollThumbStyle::stsThumb1,
                   [](TAxisScrollBarTool* Bar) {
                     TZelPicture* P = Bar->GetThumb()->GetImage();
                     P->SetSize(12, 7);
                     for (int Y = 0; Y < 7; ++Y)
                       for (int X = 0; X < 12; ++X) P->SetPixel(X, Y, (X + Y) % 2 ? 0xFF2050A0 : 0xFFE0E000);
                   })},
      {"marks tip shown by the program at a top edge, never put up with a text",
       TipShown([](TTextShape* F) { F->SetTop(27); })},
      {"marks tip shown by the program at a left edge, never put up with a text",
       TipShown([](TTextShape* F) { F->SetLeft(40); })},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ExpectComesBackOnAFreshForm(Case.Build);
  }
}

}  // namespace
}  // namespace zel::testing
