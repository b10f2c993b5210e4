// The library's font: the platform font (family, size, style) with a colour held in a brush of
// its own (so that the brush's gradient and picture travel with the font), an outline pen, a
// shadow, an emboss, an inter-character size, a quality and a depth. Also the library's default
// font family and size, taken from the platform's system font service when the unit starts.
#pragma once

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Types.h"
#include "zelgraph/canvas/Pens.h"

namespace zel {

class TZelShadow;
class TZelEmboss;
class TZelGradient;
class TZelPicture;
class TReader;

enum class TFontQuality { fqBest, fqNormal, fqDefault, fqClearType };
ZEL_ENUM_NAMES(TFontQuality, "fqBest", "fqNormal", "fqDefault", "fqClearType");

// The library's default font size in points and family (variables, set by ZelDefaultFont when
// the canvas unit starts; the family is cleared when it ends).
extern int GetDefaultFontSize;
extern String GetDefaultFontName;
// Fills GetDefaultFontSize and GetDefaultFontName from the system font service, or from the
// library texts ZelMsg_DefaultFontSize and ZelMsg_DefaultFontName when there is none.
void ZelDefaultFont();

// The size in points that a legacy stored "Height" (pixels at 96 dots per inch, negative for
// the character height) stands for; at least 1 and at most ZelMaxLegacyFontSize.
float ZelFontSizeFromHeight(std::int64_t Height);
inline constexpr float ZelMaxLegacyFontSize = 16384;

class TZelFont : public TFont {
  ZEL_CLASS(TZelFont, TFont)
  ZEL_PUBLISHED_PROPS
 public:
  // The change closure is the platform font's OnChanged; the brush, outline, shadow and emboss
  // are created with it too, so their changes reach the owner directly (with themselves as
  // sender). The colour starts as opaque black.
  explicit TZelFont(TNotifyEvent OnChange = nullptr);
  ~TZelFont() override;

  // From a TZelFont: brush, Depth, Emboss, InterCharSize, OutLine, Quality and Shadow (a missing
  // sub-object of the source frees this font's); then, from any font, family, size and style.
  // The streaming defaults and the change closure stay.
  void Assign(TPersistent* Source) override;
  // Defines the legacy "Height", read and never written.
  void DefineProperties(TFiler* Filer) override;

  // Set a value and make it the streaming default, without notifying.
  void InitColor(TAlphaColor C);
  void InitStyle(TFontStyles S);
  void Changed();

  TAlphaColor GetColor() const;
  void SetColor(TAlphaColor Value);
  const String& GetName() const { return GetFamily(); }
  void SetName(const String& Value) { SetFamily(Value); }
  float GetSizeFloat() const { return GetSize(); }
  void SetSizeFloat(float Value);

  TZelBrush* GetBrush() const { return FBrush; }
  void SetBrush(TZelBrush* Value);
  double GetDepth() const { return FDepth; }
  void SetDepth(double Value);
  int GetInterCharSize() const { return FInterCharSize; }
  void SetInterCharSize(int Value);
  TFontQuality GetQuality() const { return FQuality; }
  void SetQuality(TFontQuality Value);

  // Created on first read with the font's change closure; nullptr frees (created again on the
  // next read); otherwise the value is copied.
  TZelHiddenPen* GetOutLine();
  void SetOutLine(TZelHiddenPen* Value);
  TZelShadow* GetShadow();
  void SetShadow(TZelShadow* Value);
  TZelEmboss* GetEmboss();
  void SetEmboss(TZelEmboss* Value);
  TZelHiddenPen* ExistingOutLine() const { return FOutLine; }
  TZelShadow* ExistingShadow() const { return FShadow; }
  TZelEmboss* ExistingEmboss() const { return FEmboss; }

  // The brush's gradient and image.
  TZelGradient* GetGradient();
  void SetGradient(TZelGradient* Value);
  TZelPicture* GetPicture();
  void SetPicture(TZelPicture* Value);

  // Streaming.
  bool IsColorStored() const { return GetColor() != IDefColor; }
  bool IsNameStored() const { return GetFamily() != GetDefaultFontName; }
  bool IsHeightStored() const { return GetSize() != static_cast<float>(GetDefaultFontSize); }
  bool IsStyleStored() const { return GetStyle() != IDefStyle; }
  bool IsDepthStored() const { return FDepth != 0; }
  bool IsQualityStored() const { return FQuality != TFontQuality::fqDefault; }
  bool IsSizeFloatStored() const { return false; }
  TAlphaColor GetDefaultColor() const { return IDefColor; }
  TFontStyles GetDefaultStyle() const { return IDefStyle; }

 private:
  void ReadHeight(TReader* Reader);

  TZelBrush* FBrush = nullptr;  // owned
  double FDepth = 0;
  int FInterCharSize = 0;
  TZelHiddenPen* FOutLine = nullptr;  // owned
  TFontQuality FQuality = TFontQuality::fqDefault;
  TAlphaColor IDefColor = 0xFF000000;
  TFontStyles IDefStyle;
  TZelEmboss* FEmboss = nullptr;  // owned
  TZelShadow* FShadow = nullptr;  // owned
};

}  // namespace zel
