// Drawing and measuring text written in a small subset of HTML: line breaks, bold, italic,
// underline and strike-out, bigger and smaller text, sub- and superscript, headings, a
// fixed-pitch block, centring, font changes, a horizontal rule, images and four entities.
//
// The renderer works directly on the canvas's current font, pen and brush, laying the text out
// piece by piece from a pen position. Its two stacks (opened style tags and saved font states)
// belong to one call: every call starts with them empty and leaves them as it found them.
#pragma once

#include <functional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TZelCanvas;
class TBitmap;
class TStream;

// Returns a new, empty bitmap for pictures with the given upper-cased extension (".PNG"), or
// nullptr when the extension is not supported; the caller frees the result.
using TGraphicFileExtensionFunc = std::function<TBitmap*(const String& Extension)>;
// Writes the picture named by Source into Target; 0 means success.
using TGraphicDownloadFunc = std::function<int(const String& Source, TStream* Target)>;

// Picture hooks of the IMG tag; unset unless an application supplies pictures.
extern TGraphicFileExtensionFunc GraphicFileExtension;
extern TGraphicDownloadFunc GraphicDownload;

// The stacks of the current call: opened style tags ("<B>") and saved font states (FONT tag
// texts), last entry on top. Outside a call both are empty.
extern std::vector<String> State;
extern std::vector<String> StateFont;

// Draws Text at (X, Y) honouring the canvas's horizontal text alignment (centre and right are
// laid out from the measured width). Never fails on an unknown FONT attribute, weight, size or
// colour: such a value is ignored while painting.
void HtmlTextOut(TZelCanvas* Canvas, float X, float Y, const String& Text);
// Width and height of Text without drawing; leaves the canvas font and pen as they were.
// Raises Exception "Unknown field in FONT: <NAME>" or "Unknown field in FONT WEIGHT=<VALUE>",
// and EConvertError for a SIZE or COLOR value that is not one.
TSize HtmlTextExtent(TZelCanvas* Canvas, const String& Text);
// The layout loop. With DoDraw each piece is drawn and FONT errors are ignored; without it the
// canvas font and pen are restored afterwards and FONT errors raise.
TSize InternalHtmlText(TZelCanvas* Canvas, float X, float Y, const String& Text, bool DoDraw);

// The number of "=" in an attribute list.
int HtmlNumFields(const String& S);
// The Index-th (from 1) attribute name and value of an attribute list such as
// `size=12 name=Deja Vu color=red`: values may hold spaces but not "=". Empty name and value
// when there is no such attribute.
void HtmlField(const String& S, int Index, String& Name, String& Value);
// S trimmed, then one leading and one trailing quote (double or single) removed.
String StripQuotes(const String& S);
double HTMLStrToFloat(const String& S);
int HTMLStrToInt(const String& S, int Default);

void PushState(const String& S);
String PopState();  // empty text when the stack is empty
void PushFont(const String& S);
String PopFont();

// The saved-state text of the canvas font, a FONT tag that restores it:
// <FONT size=12 name=Family color=-16777216 weight=BOLD, ITALIC>
String HtmlFontState(TZelCanvas* Canvas);

// Start and end of the HTML unit: empties the stacks and unsets the hooks.
void ZelHtmlUnitStart();
void ZelHtmlUnitEnd();

}  // namespace zel
