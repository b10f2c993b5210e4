#include <gtest/gtest.h>

#include <set>

#include "zelgraph/constants/Constants.h"

using namespace zel;

namespace {

// Restarts the texts unit when a test has changed or ended it.
struct TTextsRestart {
  ~TTextsRestart() {
    ZelConstantsUnitEnd();
    ZelConstantsUnitStart();
  }
};

struct TVerbatim {
  const String* Value;
  const char* Name;
  const char* Expected;
};

#define ZEL_VERBATIM(Var, Text) \
  TVerbatim { &Var, #Var, Text }

// Texts other code shows or parses as they are: formats, messages, captions, palette names.
const TVerbatim Verbatim[] = {
    ZEL_VERBATIM(ZelMsg_LegendFirstValue, "First Legend Value must be > 0"),
    ZEL_VERBATIM(ZelMsg_SeriesSetDataSource, "No ParentChart to validate DataSource"),
    ZEL_VERBATIM(ZelMsg_SeriesInvDataSource, "No valid DataSource: %s"),
    ZEL_VERBATIM(ZelMsg_FillSample, "FillSampleValues NumValues must be > 0"),
    ZEL_VERBATIM(ZelMsg_AxisLogNotPositive, "Logarithmic Axis Min and Max values should be >= 0"),
    ZEL_VERBATIM(ZelMsg_AxisLabelSep, "Labels Separation % must be greater than 0"),
    ZEL_VERBATIM(ZelMsg_AxisIncrementNeg, "Axis increment must be >= 0"),
    ZEL_VERBATIM(ZelMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum"),
    ZEL_VERBATIM(ZelMsg_AxisMaxMin, "Axis Maximum Value must be >= Minimum"),
    ZEL_VERBATIM(ZelMsg_AxisLogBase, "Axis Logarithmic Base should be <> 1 and > 0"),
    ZEL_VERBATIM(ZelMsg_MaxPointsPerPage, "MaxPointsPerPage must be >= 0"),
    ZEL_VERBATIM(ZelMsg_3dPercent, "3D effect percent must be between %d and %d"),
    ZEL_VERBATIM(ZelMsg_CircularSeries, "Circular Series dependences are not allowed"),
    ZEL_VERBATIM(ZelMsg_DefaultPercentOf, "%s of %s"),
    ZEL_VERBATIM(ZelMsg_DefPercentFormat, "##0.## %"),
    ZEL_VERBATIM(ZelMsg_DefValueFormat, "#,##0.###"),
    ZEL_VERBATIM(ZelMsg_Stack, "Stack"),
    ZEL_VERBATIM(ZelMsg_GalleryExtended, "Extended"),
    ZEL_VERBATIM(ZelMsg_TopAxis, "Top Axis"),
    ZEL_VERBATIM(ZelMsg_BottomAxis, "Bottom Axis"),
    ZEL_VERBATIM(ZelMsg_LeftAxis, "Left Axis"),
    ZEL_VERBATIM(ZelMsg_RightAxis, "Right Axis"),
    ZEL_VERBATIM(ZelMsg_Default, "Default"),
    ZEL_VERBATIM(ZelMsg_DefaultFontSize, "11"),
    ZEL_VERBATIM(ZelMsg_DefaultFontName, "Tahoma"),
    ZEL_VERBATIM(ZelMsg_FunctionPeriod, "Function Period should be >= 0"),
    ZEL_VERBATIM(ZelMsg_DepthAxis, "Depth Right"),
    ZEL_VERBATIM(ZelMsg_ValuesX, "X"),
    ZEL_VERBATIM(ZelMsg_ValuesY, "Y"),
    ZEL_VERBATIM(ZelMsg_Series, "Series"),
    ZEL_VERBATIM(ZelMsg_PageOfPages, "Page %d of %d"),
    ZEL_VERBATIM(ZelMsg_Normal, "Normal"),
    ZEL_VERBATIM(ZelMsg_Dotted, "Dotted"),
    ZEL_VERBATIM(ZelMsg_Colors, "Colors"),
    ZEL_VERBATIM(ZelMsg_Marks, "Marks"),
    ZEL_VERBATIM(ZelMsg_Stairs, "Stairs"),
    ZEL_VERBATIM(ZelMsg_Points, "Points"),
    ZEL_VERBATIM(ZelMsg_Hollow, "Hollow"),
    ZEL_VERBATIM(ZelMsg_NoLines, "No Lines"),
    ZEL_VERBATIM(ZelMsg_Stack100, "Stack 100%"),
    ZEL_VERBATIM(ZelMsg_SeriesDelete, "Series Delete: ValueIndex %d out of bounds (0 to %d)."),
    ZEL_VERBATIM(ZelMsg_Gradient, "Gradient"),
    ZEL_VERBATIM(ZelMsg_DepthTopAxis, "Depth Top"),
    ZEL_VERBATIM(ZelMsg_ThemeZelgraph, "Zelgraph"),
    ZEL_VERBATIM(ZelMsg_ThemeExcel, "Excel"),
    ZEL_VERBATIM(ZelMsg_ThemeVictorian, "Victorian"),
    ZEL_VERBATIM(ZelMsg_ThemePastels, "Pastels"),
    ZEL_VERBATIM(ZelMsg_ThemeSolid, "Solid"),
    ZEL_VERBATIM(ZelMsg_ThemeClassic, "Classic"),
    ZEL_VERBATIM(ZelMsg_ThemeWeb, "Web"),
    ZEL_VERBATIM(ZelMsg_ThemeModern, "Modern"),
    ZEL_VERBATIM(ZelMsg_ThemeRainbow, "Rainbow"),
    ZEL_VERBATIM(ZelMsg_ThemeWinXP, "Win. XP"),
    ZEL_VERBATIM(ZelMsg_ThemeMacOS, "Mac OS"),
    ZEL_VERBATIM(ZelMsg_ThemeWinVista, "Win. Vista"),
    ZEL_VERBATIM(ZelMsg_ThemeGrayScale, "Gray scale"),
    ZEL_VERBATIM(ZelMsg_ThemeOpera, "Opera"),
    ZEL_VERBATIM(ZelMsg_ThemeWarm, "Warm"),
    ZEL_VERBATIM(ZelMsg_ThemeCool, "Cool"),
    ZEL_VERBATIM(ZelMsg_ThemeBlack, "BlackIsBack"),
    ZEL_VERBATIM(ZelMsg_FunctionSmooth, "Smoothing"),
    ZEL_VERBATIM(ZelMsg_Metro, "Metro"),
    ZEL_VERBATIM(ZelMsg_iOSPalette, "iOS"),
    ZEL_VERBATIM(ZelMsg_AndroidPalette, "Android"),
    ZEL_VERBATIM(ZelMsg_LookoutPalette, "Lookout"),
    ZEL_VERBATIM(ZelMsg_SeawashPalette, "Seawash"),
    // Composed of two lines, or with the chart-file extension.
    ZEL_VERBATIM(ZelMsg_DefaultPercentOf2, "%s\rof %s"),
    ZEL_VERBATIM(ZelMsg_GalleryHorizBar, "Horizontal\rBar"),
    ZEL_VERBATIM(ZelMsg_GalleryHorizLine, "Horizontal\rLine"),
    ZEL_VERBATIM(ZelMsg_GalleryHorizArea, "Horizontal\rArea"),
    ZEL_VERBATIM(ZelMsg_JScriptNonSupportMsg,
                 "One of the Series Types you have selected\ris not implemented yet for Javascript."),
    ZEL_VERBATIM(ZelMsg_InvalidZelFile, "Invalid Chart in *.zel file"),
    ZEL_VERBATIM(ZelMsg_WrongZelFileFormat, "Wrong *.zel file format"),
    ZEL_VERBATIM(ZelMsg_EmptyZelFile, "Empty *.zel file"),
    // Not read by code, but their fixed form matters (placeholders, a number, a symbol).
    ZEL_VERBATIM(ZelMsg_Editing, "Editing %s"),
    ZEL_VERBATIM(ZelMsg_DefaultEditorSize, "414"),
    ZEL_VERBATIM(ZelMsg_AxisTitle, "Axis Title"),
    ZEL_VERBATIM(ZelMsg_Legend, "Legend"),
    ZEL_VERBATIM(tcAdditional, "Additional"),
    ZEL_VERBATIM(tcDControls, "Data Controls"),
    ZEL_VERBATIM(ZelPolarDegreeSymbol, "\xC2\xB0"),
};

#undef ZEL_VERBATIM

}  // namespace

TEST(ConstantsTest, TextsReadVerbatimHoldTheirText) {
  EXPECT_EQ(NewLine, "\r");
  EXPECT_EQ(ZelMsg_ZelExtension, "zel");
  for (const TVerbatim& V : Verbatim) EXPECT_EQ(*V.Value, V.Expected) << V.Name;
}

TEST(ConstantsTest, TheTwoLineFormatIsEightCharacters) {
  ASSERT_EQ(ZelMsg_DefaultPercentOf2.size(), 8u);
  EXPECT_EQ(ZelMsg_DefaultPercentOf2[2], '\r');
}

// Every text is assigned, listed once under its own name, and holds no unexpanded piece.
TEST(ConstantsTest, EveryTextIsAssignedOnce) {
  std::set<String> Names;
  std::set<const String*> Globals;
  for (const TZelMessageText& T : ZelMessageTexts()) {
    EXPECT_TRUE(Names.insert(T.Name).second) << T.Name;
    EXPECT_TRUE(Globals.insert(T.Value).second) << T.Name;
    EXPECT_FALSE(T.Value->empty()) << T.Name;
    EXPECT_EQ(T.Value->find('\n'), String::npos) << T.Name;
    EXPECT_EQ(T.Value->find("{ext}"), String::npos) << T.Name;
  }
  // 399 texts less the five that name third parties and have no reader here.
  EXPECT_EQ(Names.size(), 394u);
  for (const TVerbatim& V : Verbatim) EXPECT_TRUE(Globals.count(V.Value)) << V.Name;
  EXPECT_FALSE(Globals.count(&NewLine));
  EXPECT_FALSE(Globals.count(&ZelMsg_ZelExtension));
}

// Composed texts take NewLine and the extension as they are when the texts are assigned.
TEST(ConstantsTest, ComposedTextsReadTheirPiecesWhenAssigned) {
  TTextsRestart Restart;
  NewLine = "<br>";
  ZelMsg_ZelExtension = "chart";
  ZelSetConstants();
  EXPECT_EQ(ZelMsg_GalleryHorizBar, "Horizontal<br>Bar");
  EXPECT_EQ(ZelMsg_DefaultPercentOf2, "%s<br>of %s");
  EXPECT_EQ(ZelMsg_EmptyZelFile, "Empty *.chart file");
  EXPECT_EQ(ZelMsg_InvalidZelFile, "Invalid Chart in *.chart file");
  EXPECT_EQ(ZelMsg_Stack, "Stack");
}

TEST(ConstantsTest, EndEmptiesEveryTextAndStartRestoresThem) {
  TTextsRestart Restart;
  ZelConstantsUnitEnd();
  EXPECT_TRUE(NewLine.empty());
  EXPECT_TRUE(ZelMsg_ZelExtension.empty());
  for (const TZelMessageText& T : ZelMessageTexts()) EXPECT_TRUE(T.Value->empty()) << T.Name;

  // A second start composes the file messages with the extension again.
  ZelConstantsUnitStart();
  EXPECT_EQ(ZelMsg_EmptyZelFile, "Empty *.zel file");
  EXPECT_EQ(ZelMsg_GalleryHorizArea, "Horizontal\rArea");
}
