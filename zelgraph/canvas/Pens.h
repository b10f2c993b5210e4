// The library's pens, brushes and corner settings: persistent drawing attributes that chart
// elements own and stream and that the canvas copies into its current state before drawing.
//
// Each takes a change closure when created and calls it, with itself as sender, after a setter
// changed a value. `Init...` operations set a value and record it as the streaming default
// without notifying; `Is...Stored` tells whether a property differs from its default.
#pragma once

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Published.h"
#include "platform/Types.h"

namespace zel {

class TZelBrush;
class TZelGradient;
class TZelPicture;
class TZelCanvas;
class TZelBasePath;

enum class TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum class TPenStyle {
  psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle,
  psAlternate
};
enum class TPenEndStyle { esRound, esSquare, esFlat };
enum class TPenJoinStyle { jsRound, jsBevel, jsMitter };
ZEL_ENUM_NAMES(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
               "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor");
ZEL_ENUM_NAMES(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame",
               "psUserStyle", "psAlternate");
ZEL_ENUM_NAMES(TPenEndStyle, "esRound", "esSquare", "esFlat");
ZEL_ENUM_NAMES(TPenJoinStyle, "jsRound", "jsBevel", "jsMitter");
ZEL_ENUM_NAMES(TBrushKind, "None", "Solid", "Gradient", "Bitmap", "Resource");
ZEL_ENUM_NAMES(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");

class TZelPen : public TPersistent {
  ZEL_CLASS(TZelPen, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelPen(TNotifyEvent OnChange = nullptr);
  ~TZelPen() override;

  // From another pen: Visible, SmallDots, SmallSpace, EndStyle, JoinStyle, Fill, Width and
  // Style, without notifying; Mode stays. Any other source is ignored.
  void Assign(TPersistent* Source) override;
  void Changed();

  // The colour lives in the Fill brush (created on first use, opaque black).
  TAlphaColor GetColor();
  void SetColor(TAlphaColor Value);
  // Sets the colour and records it as the streaming default, without notifying.
  void InitColor(TAlphaColor Value);
  void InitEndStyle(TPenEndStyle Value);
  void InitJoinStyle(TPenJoinStyle Value);
  void InitVisible(bool Value);
  void InitWidth(float Value);
  void InitStyle(TPenStyle Value);
  void InitMode(TPenMode Value) { FMode = DefaultMode = Value; }

  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value) { FMode = Value; }  // plain store, no notification
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  float GetWidth() const { return FWidth; }
  void SetWidth(float Value);
  TPenEndStyle GetEndStyle() const { return FEndStyle; }
  void SetEndStyle(TPenEndStyle Value);
  TPenJoinStyle GetJoinStyle() const { return FJoinStyle; }
  void SetJoinStyle(TPenJoinStyle Value);
  bool GetSmallDots() const { return FSmallDots; }
  void SetSmallDots(bool Value);
  int GetSmallSpace() const { return FSmallSpace; }
  void SetSmallSpace(int Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Hide() { SetVisible(false); }
  void Show() { SetVisible(true); }

  // The Fill brush, created on first use; setting copies a brush, nullptr frees it.
  TZelBrush* GetPenBrush();
  void SetPenBrush(TZelBrush* Value);
  TZelBrush* GetFill() { return GetPenBrush(); }
  void SetFill(TZelBrush* Value) { SetPenBrush(Value); }
  // The Fill brush when it exists (never creates it).
  TZelBrush* ExistingFill() const { return FFill; }

  // round(Width / 2) for a visible pen wider than 1, else 0.
  int HalfWidth() const;
  // The Fill brush exists and has a visible gradient.
  bool IsGradientVisible() const;

  const TNotifyEvent& GetOnChange() const { return FOnChange; }
  // Also the Fill brush's change closure.
  void SetOnChange(TNotifyEvent Value);

  // Streaming.
  bool IsColorStored() const;
  bool IsModeStored() const { return FMode != DefaultMode; }
  bool IsStyleStored() const { return FStyle != DefaultStyle; }
  bool IsWidthStored() const;
  bool IsEndStored() const { return FEndStyle != DefaultEnd; }
  bool IsJoinStored() const { return FJoinStyle != DefaultJoin; }
  bool IsSmallDotsStored() const { return FSmallDots; }
  bool IsSmallSpaceStored() const { return FSmallSpace != 0; }
  bool IsVisibleStored() const { return FVisible != DefaultVisible; }

  TPenMode DefaultMode = TPenMode::pmCopy;
  TPenEndStyle DefaultEnd = TPenEndStyle::esRound;
  TPenJoinStyle DefaultJoin = TPenJoinStyle::jsRound;
  bool DefaultVisible = true;
  float DefaultWidth = 1.0f;
  TPenStyle DefaultStyle = TPenStyle::psSolid;

 protected:
  TPenMode FMode = TPenMode::pmCopy;
  TPenStyle FStyle = TPenStyle::psSolid;
  float FWidth = 1.0f;
  TNotifyEvent FOnChange;
  TPenEndStyle FEndStyle = TPenEndStyle::esRound;
  TPenJoinStyle FJoinStyle = TPenJoinStyle::jsRound;
  bool FSmallDots = false;
  int FSmallSpace = 0;
  bool FVisible = true;
  TZelBrush* FFill = nullptr;  // owned
};

// A pen hidden by default.
class TZelHiddenPen : public TZelPen {
  ZEL_CLASS(TZelHiddenPen, TZelPen)
 public:
  explicit TZelHiddenPen(TNotifyEvent OnChange = nullptr);
};

// A pen of colour 0xFFA9A9A9 by default.
class TDarkGrayPen : public TZelPen {
  ZEL_CLASS(TDarkGrayPen, TZelPen)
 public:
  explicit TDarkGrayPen(TNotifyEvent OnChange = nullptr);
};

// A pen of colour 0xFFFFFFFF by default.
class TWhitePen : public TZelPen {
  ZEL_CLASS(TWhitePen, TZelPen)
 public:
  explicit TWhitePen(TNotifyEvent OnChange = nullptr);
};

// The library's brush: the platform brush (kind and colour) with a second colour, a gradient
// and an image, both created on first use. The change closure is the platform brush's OnChanged.
class TZelBrush : public TBrush {
  ZEL_CLASS(TZelBrush, TBrush)
  ZEL_PUBLISHED_PROPS
 public:
  // Kind Solid, colour 0x00FFFFFF (the library's default colour), BackColor 0.
  explicit TZelBrush(TNotifyEvent OnChange = nullptr);
  ~TZelBrush() override;

  // From a TZelBrush: image, BackColor and gradient; then, from any brush, the platform brush's
  // kind, colour, gradient and bitmap. Other sources raise EConvertError.
  void Assign(TPersistent* Source) override;
  void Changed();
  // Kind None, no image, no gradient.
  void Clear();

  // Sets the colour without notifying and records it as the streaming default.
  void InitColor(TAlphaColor Value);
  // Set the kind (notifying as SetKind does) or the back colour (without notifying) and record
  // them as streaming defaults.
  void InitKind(TBrushKind Value) {
    SetKind(Value);
    DefaultKind = Value;
  }
  void InitBackColor(TAlphaColor Value) { FBackColor = DefaultBackColor = Value; }
  bool IsColorStored() const { return GetColor() != DefaultColor; }
  bool IsKindStored() const { return GetKind() != DefaultKind; }
  bool IsBackColorStored() const { return FBackColor != DefaultBackColor; }

  TAlphaColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TAlphaColor Value);

  // Created on first use, with the brush's change closure; the gradient's Visible switches this
  // brush's kind between Gradient and Solid.
  TZelGradient* GetGradient();
  // Copies a gradient into this brush's (created on demand); nullptr frees it. Notifies.
  void SetGradient(TZelGradient* Value);
  TZelGradient* ExistingGradient() const { return FGradient; }
  // Created on first use, empty, with the brush's change closure.
  TZelPicture* GetImage();
  // Copies a picture into the image (created on demand) and notifies; nullptr frees an existing
  // image and notifies, and does nothing without one.
  void SetImage(TZelPicture* Value);
  TZelPicture* ExistingImage() const { return FImage; }
  bool HasImage() const { return FImage != nullptr; }
  // The gradient exists and is visible.
  bool HasGradient() const;

  const TNotifyEvent& GetOnChanged() const { return OnChanged; }
  // Also the change closure of the gradient and image.
  void SetOnChanged(TNotifyEvent Value);

  TAlphaColor DefaultColor = 0x00FFFFFF;
  TBrushKind DefaultKind = TBrushKind::Solid;
  TAlphaColor DefaultBackColor = 0;

 private:
  TAlphaColor FBackColor = 0;
  TZelGradient* FGradient = nullptr;  // owned
  TZelPicture* FImage = nullptr;      // owned
};

enum class TZelCornerStyle { cosRound, cosBevel, cosNone };
ZEL_ENUM_NAMES(TZelCornerStyle, "cosRound", "cosBevel", "cosNone");

class TZelCorner : public TPersistent {
  ZEL_CLASS(TZelCorner, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelCorner(TNotifyEvent OnChange = nullptr);
  void Assign(TPersistent* Source) override;

  TZelCornerStyle GetStyle() const { return FStyle; }
  void SetStyle(TZelCornerStyle Value);

  const TNotifyEvent& GetOnChange() const { return IChanged; }
  void SetOnChange(TNotifyEvent Value) { IChanged = std::move(Value); }

 private:
  TZelCornerStyle FStyle = TZelCornerStyle::cosRound;
  TNotifyEvent IChanged;
};

// The four corners of a rectangle and the outline they give it.
class TZelCorners : public TPersistent {
  ZEL_CLASS(TZelCorners, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelCorners(TNotifyEvent OnChange = nullptr);
  ~TZelCorners() override;
  void Assign(TPersistent* Source) override;

  TZelCorner* GetLeftBottom() const { return FLeftBottom; }
  void SetLeftBottom(TZelCorner* Value) { FLeftBottom->Assign(Value); }
  TZelCorner* GetLeftTop() const { return FLeftTop; }
  void SetLeftTop(TZelCorner* Value) { FLeftTop->Assign(Value); }
  TZelCorner* GetRightBottom() const { return FRightBottom; }
  void SetRightBottom(TZelCorner* Value) { FRightBottom->Assign(Value); }
  TZelCorner* GetRightTop() const { return FRightTop; }
  void SetRightTop(TZelCorner* Value) { FRightTop->Assign(Value); }

  // The outline of R with corners of size X by Y, as one closed figure on a path the canvas
  // creates; the caller draws and frees it.
  TZelBasePath* GetPath(TZelCanvas* Canvas, const TRectF& R, int X, int Y);
  // Adds that outline to Path.
  void AddPath(TZelBasePath* Path, const TRectF& R, int X, int Y) const;
  // Every corner round: the outline of a plain round rectangle, as if there were no corners.
  bool IsAllRound() const;

 private:
  TZelCorner* FLeftBottom;
  TZelCorner* FLeftTop;
  TZelCorner* FRightBottom;
  TZelCorner* FRightTop;
};

}  // namespace zel
