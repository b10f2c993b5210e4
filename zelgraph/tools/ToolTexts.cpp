#include "zelgraph/tools/ToolTexts.h"

#include <iterator>

namespace zel {

String ZelMsg_GalleryPolar;
String ZelMsg_GalleryCandle;
String ZelMsg_GalleryVolume;
String ZelMsg_GallerySurface;
String ZelMsg_GalleryContour;
String ZelMsg_GalleryBezier;
String ZelMsg_GalleryPoint3D;
String ZelMsg_GalleryRadar;
String ZelMsg_GalleryCursor;
String ZelMsg_GalleryBar3D;
String ZelMsg_GalleryBigCandle;
String ZelMsg_GalleryLinePoint;
String ZelMsg_GalleryHistogram;
String ZelMsg_GalleryWaterFall;
String ZelMsg_GalleryWindRose;
String ZelMsg_GalleryClock;
String ZelMsg_GalleryColorGrid;
String ZelMsg_GalleryBoxPlot;
String ZelMsg_GalleryHorizBoxPlot;
String ZelMsg_GalleryBarJoin;
String ZelMsg_GallerySmith;
String ZelMsg_GalleryPyramid;
String ZelMsg_GalleryMap;
String ZelMsg_GalleryVolumePipe;
String ZelMsg_PolyDegreeRange;
String ZelMsg_AnswerVectorIndex;
String ZelMsg_FittingError;
String ZelMsg_ExpAverageWeight;
String ZelMsg_GalleryErrorBar;
String ZelMsg_GalleryError;
String ZelMsg_GalleryHighLow;
String ZelMsg_FunctionMomentum;
String ZelMsg_FunctionMomentumDiv;
String ZelMsg_FunctionExpAverage;
String ZelMsg_FunctionMovingAverage;
String ZelMsg_FunctionExpMovAve;
String ZelMsg_FunctionRSI;
String ZelMsg_FunctionCurveFitting;
String ZelMsg_FunctionTrend;
String ZelMsg_FunctionExpTrend;
String ZelMsg_FunctionLogTrend;
String ZelMsg_FunctionCumulative;
String ZelMsg_FunctionStdDeviation;
String ZelMsg_FunctionBollinger;
String ZelMsg_FunctionRMS;
String ZelMsg_FunctionMACD;
String ZelMsg_FunctionStochastic;
String ZelMsg_FunctionADX;
String ZelMsg_FunctionCount;
String ZelMsg_LoadChart;
String ZelMsg_SaveChart;
String ZelMsg_ZelFiles;
String ZelMsg_GallerySamples;
String ZelMsg_GalleryStats;
String ZelMsg_GalleryMath;
String ZelMsg_CannotFindEditor;
String ZelMsg_ValuesDate;
String ZelMsg_ValuesOpen;
String ZelMsg_ValuesHigh;
String ZelMsg_ValuesLow;
String ZelMsg_ValuesClose;
String ZelMsg_ValuesOffset;
String ZelMsg_ValuesStdError;
String ZelMsg_Grid3D;
String ZelMsg_LowBezierPoints;
String ZelCommanMsg_Normal;
String ZelCommanMsg_Edit;
String ZelCommanMsg_Print;
String ZelCommanMsg_Copy;
String ZelCommanMsg_Save;
String ZelCommanMsg_3D;
String ZelCommanMsg_Rotating;
String ZelCommanMsg_Rotate;
String ZelCommanMsg_Moving;
String ZelCommanMsg_Move;
String ZelCommanMsg_Zooming;
String ZelCommanMsg_Zoom;
String ZelCommanMsg_Depthing;
String ZelCommanMsg_Depth;
String ZelCommanMsg_Chart;
String ZelCommanMsg_Panel;
String ZelCommanMsg_RotateLabel;
String ZelCommanMsg_MoveLabel;
String ZelCommanMsg_ZoomLabel;
String ZelCommanMsg_DepthLabel;
String ZelCommanMsg_NormalLabel;
String ZelCommanMsg_NormalPieLabel;
String ZelCommanMsg_PieExploding;
String ZelMsg_TriSurfaceLess;
String ZelMsg_TriSurfaceAllColinear;
String ZelMsg_TriSurfaceSimilar;
String ZelMsg_GalleryTriSurface;
String ZelMsg_AllSeries;
String ZelMsg_GalleryFinancial;
String ZelMsg_CursorTool;
String ZelMsg_DragMarksTool;
String ZelMsg_AxisArrowTool;
String ZelMsg_DrawLineTool;
String ZelMsg_NearestTool;
String ZelMsg_ColorBandTool;
String ZelMsg_ColorLineTool;
String ZelMsg_RotateTool;
String ZelMsg_ImageTool;
String ZelMsg_MarksTipTool;
String ZelMsg_AnnotationTool;
String ZelMsg_CantDeleteAncestor;
String ZelMsg_Load;
String ZelMsg_CategoryChartActions;
String ZelMsg_CategorySeriesActions;
String ZelMsg_Action3D;
String ZelMsg_Action3DHint;
String ZelMsg_ActionSeriesActive;
String ZelMsg_ActionSeriesActiveHint;
String ZelMsg_ActionEditHint;
String ZelMsg_ActionEdit;
String ZelMsg_ActionCopyHint;
String ZelMsg_ActionCopy;
String ZelMsg_ActionPrintHint;
String ZelMsg_ActionPrint;
String ZelMsg_ActionAxesHint;
String ZelMsg_ActionAxes;
String ZelMsg_ActionGridsHint;
String ZelMsg_ActionGrids;
String ZelMsg_ActionLegendHint;
String ZelMsg_ActionLegend;
String ZelMsg_ActionSeriesEditHint;
String ZelMsg_ActionSeriesMarksHint;
String ZelMsg_ActionSeriesMarks;
String ZelMsg_ActionSaveHint;
String ZelMsg_ActionSave;
String ZelMsg_CandleBar;
String ZelMsg_CandleNoOpen;
String ZelMsg_CandleNoClose;
String ZelMsg_NoHigh;
String ZelMsg_NoLow;
String ZelMsg_ColorRange;
String ZelMsg_WireFrame;
String ZelMsg_DotFrame;
String ZelMsg_Positions;
String ZelMsg_NoGrid;
String ZelMsg_NoPoint;
String ZelMsg_NoLine;
String ZelMsg_Labels;
String ZelMsg_NoCircle;
String ZelMsg_Lines;
String ZelMsg_Border;
String ZelMsg_SmithResistance;
String ZelMsg_SmithReactance;
String ZelMsg_Column;
String ZelMsg_Separator;
String ZelMsg_FunnelSegment;
String ZelMsg_FunnelSeries;
String ZelMsg_FunnelPercent;
String ZelMsg_FunnelExceed;
String ZelMsg_FunnelWithin;
String ZelMsg_FunnelBelow;
String ZelMsg_CalendarSeries;
String ZelMsg_DeltaPointSeries;
String ZelMsg_ImagePointSeries;
String ZelMsg_ImageBarSeries;
String ZelMsg_SeriesTextFieldZero;
String ZelMsg_Origin;
String ZelMsg_Transparency;
String ZelMsg_Box;
String ZelMsg_ExtrOut;
String ZelMsg_MildOut;
String ZelMsg_PageNumber;
String ZelMsg_DragPoint;
String ZelMsg_OpportunityValues;
String ZelMsg_QuoteValues;
String ZelMsg_FunctionCross;
String ZelMsg_GridTranspose;
String ZelMsg_FunctionCompress;
String ZelMsg_ExtraLegendTool;
String ZelMsg_FunctionCLV;
String ZelMsg_FunctionOBV;
String ZelMsg_FunctionCCI;
String ZelMsg_FunctionPVO;
String ZelMsg_GalleryPointFigure;
String ZelMsg_Up;
String ZelMsg_Down;
String ZelMsg_GanttTool;
String ZelMsg_XMLFile;
String ZelMsg_GridBandTool;
String ZelMsg_FunctionPerf;
String ZelMsg_GalleryGauge;
String ZelMsg_GalleryGauges;
String ZelMsg_ValuesVectorEndZ;
String ZelMsg_GalleryVector3D;
String ZelMsg_Gallery3D;
String ZelMsg_GalleryTower;
String ZelMsg_SingleColor;
String ZelMsg_Cover;
String ZelMsg_Cone;
String ZelMsg_PieTool;
String ZelMsg_Execute;
String ZelMsg_Themes;
String ZelMsg_LightTool;
String ZelMsg_Current;
String ZelMsg_FunctionCorrelation;
String ZelMsg_FunctionVariance;
String ZelMsg_GalleryBubble3D;
String ZelMsg_GalleryHorizHistogram;
String ZelMsg_FunctionPerimeter;
String ZelMsg_SurfaceNearestTool;
String ZelMsg_AxisScrollTool;
String ZelMsg_RectangleTool;
String ZelMsg_GalleryPolarBar;
String ZelMsg_AsWapBitmap;
String ZelMsg_WapBMPFilter;
String ZelMsg_ClipSeries;
String ZelMsg_SeriesBandTool;
String ZelMsg_ThemeFacts;
String ZelMsg_FunctionDownSampling;
String ZelMsg_SelectorTool;
String ZelMsg_LegendScrollBar;
String ZelMsg_DataTableTool;
String ZelMsg_IsoSurfaceSeries;
String ZelMsg_UpToValue;
String ZelMsg_NoCompression;
String ZelMsg_GalleryDarvas;
String ZelMsg_VideoTool;
String ZelMsg_VideoToolDesc;
String ZelMsg_VideoPlayerTool;
String ZelMsg_VideoPlayerToolDesc;
String ZelMsg_CursorToolDesc;
String ZelMsg_DragMarksDesc;
String ZelMsg_DragPointDesc;
String ZelMsg_DrawLineDesc;
String ZelMsg_ExtraLegendDesc;
String ZelMsg_GanttToolDesc;
String ZelMsg_MarksTipDesc;
String ZelMsg_NearestToolDesc;
String ZelMsg_PieToolDesc;
String ZelMsg_AxisArrowDesc;
String ZelMsg_ColorBandDesc;
String ZelMsg_ColorLineDesc;
String ZelMsg_GridBandDesc;
String ZelMsg_GridTransposeDesc;
String ZelMsg_AnnotationDesc;
String ZelMsg_RectangleToolDesc;
String ZelMsg_RotateDesc;
String ZelMsg_ImageToolDesc;
String ZelMsg_LightToolDesc;
String ZelMsg_SurfaceNearestDesc;
String ZelMsg_AxisScrollDesc;
String ZelMsg_LegendScrollBarDesc;
String ZelMsg_ClipSeriesDesc;
String ZelMsg_SelectorDesc;
String ZelMsg_StatsToolDesc;
String ZelMsg_PageNumberDesc;
String ZelMsg_TransposeSeries;
String ZelMsg_TransposeSeriesDesc;
String ZelMsg_GridTranspDesc;
String ZelMsg_LegendScrollDesc;
String ZelMsg_DataTableDesc;
String ZelMsg_SeriesBandDesc;
String ZelMsg_ThemeRandom;
String ZelMsg_Play;
String ZelMsg_GalleryHighLowLine;
String ZelMsg_Mirrored;
String ZelMsg_PolarGridSeries;
String ZelMsg_FullScreen;
String ZelMsg_FullScreenDesc;
String ZelMsg_MagnifyTool;
String ZelMsg_MagnifyToolDesc;
String ZelMsg_Fader;
String ZelMsg_FaderDesc;
String ZelMsg_SubChartTool;
String ZelMsg_SubChartDesc;
String ZelMsg_AntiAliasDesc;
String ZelMsg_SeriesRegion;
String ZelMsg_SeriesRegionDesc;
String ZelMsg_Text3D;
String ZelMsg_Text3DDesc;
String ZelMsg_BannerTool;
String ZelMsg_BannerToolDesc;
String ZelMsg_MenuNew;
String ZelMsg_MenuDelete;
String ZelMsg_MenuRename;
String ZelMsg_MenuEdit;
String ZelMsg_MenuViewToolbar;
String ZelMsg_RenamePage;
String ZelMsg_NewName;
String ZelMsg_FrameTool;
String ZelMsg_FrameToolDesc;
String ZelMsg_HistogramFunction;
String ZelMsg_ExcelEmptyFile;
String ZelMsg_ExcelFile;
String ZelMsg_ExcelSheetEmpty;
String ZelMsg_ExcelRangeMissing;
String ZelMsg_LegendPalette;
String ZelMsg_LegendPaletteDesc;
String ZelMsg_Statistics;
String ZelMsg_ZelScrollBar;
String ZelMsg_GalleryOrgSeries;
String ZelMsg_GalleryWorld;
String ZelMsg_GalleryAfrica;
String ZelMsg_GalleryAsia;
String ZelMsg_GalleryAustralia;
String ZelMsg_GalleryCentralAmerica;
String ZelMsg_GalleryEurope;
String ZelMsg_GalleryEurope15;
String ZelMsg_GalleryEurope28;
String ZelMsg_GallerySpain;
String ZelMsg_GalleryMiddleEast;
String ZelMsg_GalleryNorthAmerica;
String ZelMsg_GallerySouthAmerica;
String ZelMsg_GalleryUSA;
String ZelMsg_GalleryUSAHawaiiAlaska;
String ZelMsg_GalleryMaps;
String ZelMsg_GalleryTagCloud;
String ZelMsg_GalleryRenko;
String ZelMsg_GalleryKagi;
String ZelMsg_NumericGauge;
String ZelMsg_CircularGauge;
String ZelMsg_LEDGauge;
String ZelMsg_LinearGauge;
String ZelMsg_LinkTool;
String ZelMsg_LinkToolDesc;
String ZelMsg_Fibonacci;
String ZelMsg_FibonacciDesc;
String ZelMsg_LinearGaugeVertical;
String ZelMsg_AVIFile;
String ZelMsg_SelectAVIFile;
String ZelMsg_MPEGFile;
String ZelMsg_ToolArrow;
String ZelMsg_ToolArrowDesc;
String ZelMsg_FunctionPercentage;
String ZelMsg_FunctionSlope;
String ZelMsg_GalleryRose;
String ZelMsg_KnobGauge;
String ZelMsg_FunctionMoneyFlow;
String ZelMsg_FunctionSkewness;
String ZelMsg_FunctionKurtosis;
String ZelMsg_FunctionATR;
String ZelMsg_FunctionRVI;
String ZelMsg_FunctionAO;
String ZelMsg_FunctionAC;
String ZelMsg_FunctionSMMA;
String ZelMsg_FunctionAlligator;
String ZelMsg_FunctionGator;
String ZelMsg_CustomLegendTool;
String ZelMsg_CustomLegendToolDesc;
String ZelMsg_GalleryTreeMapSeries;
String ZelMsg_AxisBreaksTool;
String ZelMsg_AxisBreaksToolDesc;
String ZelMsg_Horizontal;
String ZelMsg_Vertical;
String ZelMsg_ScrollPagerTool;
String ZelMsg_ScrollPagerDesc;
String ZelMsg_EquiVolumeSeries;
String ZelMsg_EquiVolPoint;
String ZelMsg_ClusteringTool;
String ZelMsg_ClusteringDesc;
String ZelMsg_RepaintMonitor;
String ZelMsg_RepaintMonitorDesc;
String ZelMsg_GalleryEurAsia;
String ZelMsg_Flat;
String ZelMsg_GalleryPolarContour;
String ZelMsg_ChartImageDesc;
String ZelMsg_GalleryUK;
String ZelMsg_GalleryGermany;
String ZelMsg_GalleryUSACounties;
String ZelMsg_GalleryUSAAlaskaCounties;
String ZelMsg_GalleryJapan;
String ZelMsg_GalleryChina;
String ZelMsg_GalleryFrance;
String ZelMsg_Light;
String ZelMsg_GalleryBubbleCloud;
String ZelMsg_AxisScrollBarTool;
String ZelMsg_AxisScrollBarDesc;
String ZelMsg_Lookout;
String ZelMsg_Andros;
String ZelMsg_Import;

namespace ToolTexts {
String ZelMsg_DBSumEditCaption;
}  // namespace ToolTexts

namespace {

const TZelTextEntry Texts[] = {
  ZEL_TEXT(ZelMsg_GalleryPolar, "Polar"),
  ZEL_TEXT(ZelMsg_GalleryCandle, "Candle"),
  ZEL_TEXT(ZelMsg_GalleryVolume, "Volume"),
  ZEL_TEXT(ZelMsg_GallerySurface, "Surface"),
  ZEL_TEXT(ZelMsg_GalleryContour, "Contour"),
  ZEL_TEXT(ZelMsg_GalleryBezier, "Curve"),
  ZEL_TEXT(ZelMsg_GalleryPoint3D, "Point 3D"),
  ZEL_TEXT(ZelMsg_GalleryRadar, "Radar"),
  ZEL_TEXT(ZelMsg_GalleryCursor, "Cursor"),
  ZEL_TEXT(ZelMsg_GalleryBar3D, "Bar 3D"),
  ZEL_TEXT(ZelMsg_GalleryBigCandle, "Big Candle"),
  ZEL_TEXT(ZelMsg_GalleryLinePoint, "Line Point"),
  ZEL_TEXT(ZelMsg_GalleryHistogram, "Histogram"),
  ZEL_TEXT(ZelMsg_GalleryWaterFall, "Water Fall"),
  ZEL_TEXT(ZelMsg_GalleryWindRose, "Wind Rose"),
  ZEL_TEXT(ZelMsg_GalleryClock, "Clock"),
  ZEL_TEXT(ZelMsg_GalleryColorGrid, "Color Grid"),
  ZEL_TEXT(ZelMsg_GalleryBoxPlot, "Box Plot"),
  ZEL_TEXT(ZelMsg_GalleryHorizBoxPlot, "Horizontal\nBox Plot"),
  ZEL_TEXT(ZelMsg_GalleryBarJoin, "Bar Join"),
  ZEL_TEXT(ZelMsg_GallerySmith, "Impedance"),
  ZEL_TEXT(ZelMsg_GalleryPyramid, "Pyramid"),
  ZEL_TEXT(ZelMsg_GalleryMap, "Map"),
  ZEL_TEXT(ZelMsg_GalleryVolumePipe, "Volume Pipe"),
  ZEL_TEXT(ZelMsg_PolyDegreeRange, "Polynomial degree must be between 1 and 20"),
  ZEL_TEXT(ZelMsg_AnswerVectorIndex, "Answer Vector index must be between 1 and %d"),
  ZEL_TEXT(ZelMsg_FittingError, "Cannot process fitting"),
  ZEL_TEXT(ZelMsg_ExpAverageWeight, "ExpAverage Weight must be between 0 and 1"),
  ZEL_TEXT(ZelMsg_GalleryErrorBar, "Error Bar"),
  ZEL_TEXT(ZelMsg_GalleryError, "Error"),
  ZEL_TEXT(ZelMsg_GalleryHighLow, "High-Low"),
  ZEL_TEXT(ZelMsg_FunctionMomentum, "Momentum"),
  ZEL_TEXT(ZelMsg_FunctionMomentumDiv, "Momentum\nDivision"),
  ZEL_TEXT(ZelMsg_FunctionExpAverage, "Exp.\nAverage"),
  ZEL_TEXT(ZelMsg_FunctionMovingAverage, "Moving\nAverage"),
  ZEL_TEXT(ZelMsg_FunctionExpMovAve, "Exp.Mov.\nAverage"),
  ZEL_TEXT(ZelMsg_FunctionRSI, "R.S.I."),
  ZEL_TEXT(ZelMsg_FunctionCurveFitting, "Curve Fitting"),
  ZEL_TEXT(ZelMsg_FunctionTrend, "Trend"),
  ZEL_TEXT(ZelMsg_FunctionExpTrend, "Exp.\nTrend"),
  ZEL_TEXT(ZelMsg_FunctionLogTrend, "Log.\nTrend"),
  ZEL_TEXT(ZelMsg_FunctionCumulative, "Cumulative"),
  ZEL_TEXT(ZelMsg_FunctionStdDeviation, "Std.\nDeviation"),
  ZEL_TEXT(ZelMsg_FunctionBollinger, "Bollinger\nbands"),
  ZEL_TEXT(ZelMsg_FunctionRMS, "Root Mean\nSquare"),
  ZEL_TEXT(ZelMsg_FunctionMACD, "MACD"),
  ZEL_TEXT(ZelMsg_FunctionStochastic, "Stochastic"),
  ZEL_TEXT(ZelMsg_FunctionADX, "ADX"),
  ZEL_TEXT(ZelMsg_FunctionCount, "Count"),
  ZEL_TEXT(ZelMsg_LoadChart, "Open Chart..."),
  ZEL_TEXT(ZelMsg_SaveChart, "Save Chart..."),
  ZEL_TEXT(ZelMsg_ZelFiles, "Zelgraph Files"),
  ZEL_TEXT(ZelMsg_GallerySamples, "Other"),
  ZEL_TEXT(ZelMsg_GalleryStats, "Stats"),
  ZEL_TEXT(ZelMsg_GalleryMath, "Math"),
  ZEL_TEXT(ZelMsg_CannotFindEditor, "Cannot find Series editor Form: %s"),
  ZEL_TEXT(ZelMsg_ValuesDate, "Date"),
  ZEL_TEXT(ZelMsg_ValuesOpen, "Open"),
  ZEL_TEXT(ZelMsg_ValuesHigh, "High"),
  ZEL_TEXT(ZelMsg_ValuesLow, "Low"),
  ZEL_TEXT(ZelMsg_ValuesClose, "Close"),
  ZEL_TEXT(ZelMsg_ValuesOffset, "Offset"),
  ZEL_TEXT(ZelMsg_ValuesStdError, "StdError"),
  ZEL_TEXT(ZelMsg_Grid3D, "Grid 3D"),
  ZEL_TEXT(ZelMsg_LowBezierPoints, "Number of curve points should be > 1"),
  ZEL_TEXT(ZelCommanMsg_Normal, "Normal"),
  ZEL_TEXT(ZelCommanMsg_Edit, "Edit"),
  ZEL_TEXT(ZelCommanMsg_Print, "Print"),
  ZEL_TEXT(ZelCommanMsg_Copy, "Copy"),
  ZEL_TEXT(ZelCommanMsg_Save, "Save"),
  ZEL_TEXT(ZelCommanMsg_3D, "3D"),
  ZEL_TEXT(ZelCommanMsg_Rotating, "Rotation: %d° Elevation: %d°"),
  ZEL_TEXT(ZelCommanMsg_Rotate, "Rotate"),
  ZEL_TEXT(ZelCommanMsg_Moving, "Horiz.Offset: %d Vert.Offset: %d"),
  ZEL_TEXT(ZelCommanMsg_Move, "Move"),
  ZEL_TEXT(ZelCommanMsg_Zooming, "Zoom: %d %%"),
  ZEL_TEXT(ZelCommanMsg_Zoom, "Zoom"),
  ZEL_TEXT(ZelCommanMsg_Depthing, "3D: %d %%"),
  ZEL_TEXT(ZelCommanMsg_Depth, "Depth"),
  ZEL_TEXT(ZelCommanMsg_Chart, "Chart"),
  ZEL_TEXT(ZelCommanMsg_Panel, "Panel"),
  ZEL_TEXT(ZelCommanMsg_RotateLabel, "Drag %s to Rotate"),
  ZEL_TEXT(ZelCommanMsg_MoveLabel, "Drag %s to Move"),
  ZEL_TEXT(ZelCommanMsg_ZoomLabel, "Drag %s to Zoom"),
  ZEL_TEXT(ZelCommanMsg_DepthLabel, "Drag %s to resize 3D"),
  ZEL_TEXT(ZelCommanMsg_NormalLabel, "Drag Left button to Zoom, Right button to Scroll"),
  ZEL_TEXT(ZelCommanMsg_NormalPieLabel, "Drag a Pie Slice to Explode it"),
  ZEL_TEXT(ZelCommanMsg_PieExploding, "Slice: %d Exploded: %d %%"),
  ZEL_TEXT(ZelMsg_TriSurfaceLess, "Number of points must be >= 4"),
  ZEL_TEXT(ZelMsg_TriSurfaceAllColinear, "All colinear data points"),
  ZEL_TEXT(ZelMsg_TriSurfaceSimilar, "Similar points - cannot execute"),
  ZEL_TEXT(ZelMsg_GalleryTriSurface, "Triangle Surface"),
  ZEL_TEXT(ZelMsg_AllSeries, "All Series"),
  ZEL_TEXT(ZelMsg_GalleryFinancial, "Financial"),
  ZEL_TEXT(ZelMsg_CursorTool, "Cursor"),
  ZEL_TEXT(ZelMsg_DragMarksTool, "Drag Marks"),
  ZEL_TEXT(ZelMsg_AxisArrowTool, "Axis Arrows"),
  ZEL_TEXT(ZelMsg_DrawLineTool, "Draw Line"),
  ZEL_TEXT(ZelMsg_NearestTool, "Nearest Point"),
  ZEL_TEXT(ZelMsg_ColorBandTool, "Color Band"),
  ZEL_TEXT(ZelMsg_ColorLineTool, "Color Line"),
  ZEL_TEXT(ZelMsg_RotateTool, "Rotate"),
  ZEL_TEXT(ZelMsg_ImageTool, "Image"),
  ZEL_TEXT(ZelMsg_MarksTipTool, "Mark Tips"),
  ZEL_TEXT(ZelMsg_AnnotationTool, "Annotation"),
  ZEL_TEXT(ZelMsg_CantDeleteAncestor, "Can not delete ancestor"),
  ZEL_TEXT(ZelMsg_Load, "Load..."),
  ZEL_TEXT(ZelMsg_CategoryChartActions, "Chart"),
  ZEL_TEXT(ZelMsg_CategorySeriesActions, "Chart Series"),
  ZEL_TEXT(ZelMsg_Action3D, "&3D"),
  ZEL_TEXT(ZelMsg_Action3DHint, "Switch 2D / 3D"),
  ZEL_TEXT(ZelMsg_ActionSeriesActive, "&Active"),
  ZEL_TEXT(ZelMsg_ActionSeriesActiveHint, "Show / Hide Series"),
  ZEL_TEXT(ZelMsg_ActionEditHint, "Edit Chart"),
  ZEL_TEXT(ZelMsg_ActionEdit, "&Edit..."),
  ZEL_TEXT(ZelMsg_ActionCopyHint, "Copy to Clipboard"),
  ZEL_TEXT(ZelMsg_ActionCopy, "&Copy"),
  ZEL_TEXT(ZelMsg_ActionPrintHint, "Print preview Chart"),
  ZEL_TEXT(ZelMsg_ActionPrint, "&Print..."),
  ZEL_TEXT(ZelMsg_ActionAxesHint, "Show / Hide Axes"),
  ZEL_TEXT(ZelMsg_ActionAxes, "&Axes"),
  ZEL_TEXT(ZelMsg_ActionGridsHint, "Show / Hide Grids"),
  ZEL_TEXT(ZelMsg_ActionGrids, "&Grids"),
  ZEL_TEXT(ZelMsg_ActionLegendHint, "Show / Hide Legend"),
  ZEL_TEXT(ZelMsg_ActionLegend, "&Legend"),
  ZEL_TEXT(ZelMsg_ActionSeriesEditHint, "Edit Series"),
  ZEL_TEXT(ZelMsg_ActionSeriesMarksHint, "Show / Hide Series Marks"),
  ZEL_TEXT(ZelMsg_ActionSeriesMarks, "&Marks"),
  ZEL_TEXT(ZelMsg_ActionSaveHint, "Save Chart"),
  ZEL_TEXT(ZelMsg_ActionSave, "&Save..."),
  ZEL_TEXT(ZelMsg_CandleBar, "Bar"),
  ZEL_TEXT(ZelMsg_CandleNoOpen, "No Open"),
  ZEL_TEXT(ZelMsg_CandleNoClose, "No Close"),
  ZEL_TEXT(ZelMsg_NoHigh, "No High"),
  ZEL_TEXT(ZelMsg_NoLow, "No Low"),
  ZEL_TEXT(ZelMsg_ColorRange, "Color Range"),
  ZEL_TEXT(ZelMsg_WireFrame, "Wireframe"),
  ZEL_TEXT(ZelMsg_DotFrame, "Dot Frame"),
  ZEL_TEXT(ZelMsg_Positions, "Positions"),
  ZEL_TEXT(ZelMsg_NoGrid, "No Grid"),
  ZEL_TEXT(ZelMsg_NoPoint, "No Point"),
  ZEL_TEXT(ZelMsg_NoLine, "No Line"),
  ZEL_TEXT(ZelMsg_Labels, "Labels"),
  ZEL_TEXT(ZelMsg_NoCircle, "No Circle"),
  ZEL_TEXT(ZelMsg_Lines, "Lines"),
  ZEL_TEXT(ZelMsg_Border, "Border"),
  ZEL_TEXT(ZelMsg_SmithResistance, "Resistance"),
  ZEL_TEXT(ZelMsg_SmithReactance, "Reactance"),
  ZEL_TEXT(ZelMsg_Column, "Column"),
  ZEL_TEXT(ZelMsg_Separator, "Separator"),
  ZEL_TEXT(ZelMsg_FunnelSegment, "Segment "),
  ZEL_TEXT(ZelMsg_FunnelSeries, "Funnel"),
  ZEL_TEXT(ZelMsg_FunnelPercent, "0.00 %"),
  ZEL_TEXT(ZelMsg_FunnelExceed, "Exceeds quota"),
  ZEL_TEXT(ZelMsg_FunnelWithin, " within quota"),
  ZEL_TEXT(ZelMsg_FunnelBelow, " or more below quota"),
  ZEL_TEXT(ZelMsg_CalendarSeries, "Calendar"),
  ZEL_TEXT(ZelMsg_DeltaPointSeries, "Delta Point"),
  ZEL_TEXT(ZelMsg_ImagePointSeries, "Image Point"),
  ZEL_TEXT(ZelMsg_ImageBarSeries, "Image Bar"),
  ZEL_TEXT(ZelMsg_SeriesTextFieldZero, "Series Text: Field index should be greater than zero."),
  ZEL_TEXT(ZelMsg_Origin, "Origin"),
  ZEL_TEXT(ZelMsg_Transparency, "Transparency"),
  ZEL_TEXT(ZelMsg_Box, "Box"),
  ZEL_TEXT(ZelMsg_ExtrOut, "Extreme Out"),
  ZEL_TEXT(ZelMsg_MildOut, "Mild Out"),
  ZEL_TEXT(ZelMsg_PageNumber, "Page Number"),
  ZEL_TEXT(ZelMsg_DragPoint, "Drag Point"),
  ZEL_TEXT(ZelMsg_OpportunityValues, "Opportunity Values"),
  ZEL_TEXT(ZelMsg_QuoteValues, "Quote Values"),
  ZEL_TEXT(ZelMsg_FunctionCross, "Cross Points"),
  ZEL_TEXT(ZelMsg_GridTranspose, "Grid 3D Transpose"),
  ZEL_TEXT(ZelMsg_FunctionCompress, "Compression"),
  ZEL_TEXT(ZelMsg_ExtraLegendTool, "Extra Legend"),
  ZEL_TEXT(ZelMsg_FunctionCLV, "Close\nLocation"),
  ZEL_TEXT(ZelMsg_FunctionOBV, "On Balance\nVolume"),
  ZEL_TEXT(ZelMsg_FunctionCCI, "Commodity\nChannel Index"),
  ZEL_TEXT(ZelMsg_FunctionPVO, "Volume\nOscillator"),
  ZEL_TEXT(ZelMsg_GalleryPointFigure, "Point & Figure"),
  ZEL_TEXT(ZelMsg_Up, "Up"),
  ZEL_TEXT(ZelMsg_Down, "Down"),
  ZEL_TEXT(ZelMsg_GanttTool, "Timeline Drag"),
  ZEL_TEXT(ZelMsg_XMLFile, "XML file"),
  ZEL_TEXT(ZelMsg_GridBandTool, "Grid Band"),
  ZEL_TEXT(ZelMsg_FunctionPerf, "Performance"),
  ZEL_TEXT(ZelMsg_GalleryGauge, "Gauge"),
  ZEL_TEXT(ZelMsg_GalleryGauges, "Gauges"),
  ZEL_TEXT(ZelMsg_ValuesVectorEndZ, "EndZ"),
  ZEL_TEXT(ZelMsg_GalleryVector3D, "Vector 3D"),
  ZEL_TEXT(ZelMsg_Gallery3D, "3D"),
  ZEL_TEXT(ZelMsg_GalleryTower, "Tower"),
  ZEL_TEXT(ZelMsg_SingleColor, "Single Color"),
  ZEL_TEXT(ZelMsg_Cover, "Cover"),
  ZEL_TEXT(ZelMsg_Cone, "Cone"),
  ZEL_TEXT(ZelMsg_PieTool, "Pie Slices"),
  ZEL_TEXT(ZelMsg_Execute, "Execute"),
  ZEL_TEXT(ZelMsg_Themes, "Themes"),
  ZEL_TEXT(ZelMsg_LightTool, "2D Lighting"),
  ZEL_TEXT(ZelMsg_Current, "Current"),
  ZEL_TEXT(ZelMsg_FunctionCorrelation, "Correlation"),
  ZEL_TEXT(ZelMsg_FunctionVariance, "Variance"),
  ZEL_TEXT(ZelMsg_GalleryBubble3D, "Bubble 3D"),
  ZEL_TEXT(ZelMsg_GalleryHorizHistogram, "Horizontal\nHistogram"),
  ZEL_TEXT(ZelMsg_FunctionPerimeter, "Perimeter"),
  ZEL_TEXT(ZelMsg_SurfaceNearestTool, "Surface Nearest"),
  ZEL_TEXT(ZelMsg_AxisScrollTool, "Axis Scroll"),
  ZEL_TEXT(ZelMsg_RectangleTool, "Rectangle"),
  ZEL_TEXT(ZelMsg_GalleryPolarBar, "Polar Bar"),
  ZEL_TEXT(ZelMsg_AsWapBitmap, "as wireless bitmap"),
  ZEL_TEXT(ZelMsg_WapBMPFilter, "Wireless bitmaps (*.wbmp)|*.wbmp"),
  ZEL_TEXT(ZelMsg_ClipSeries, "Clip Series"),
  ZEL_TEXT(ZelMsg_SeriesBandTool, "Series Band"),
  ZEL_TEXT(ZelMsg_ThemeFacts, "Facts"),
  ZEL_TEXT(ZelMsg_FunctionDownSampling, "Down Sampling"),
  ZEL_TEXT(ZelMsg_SelectorTool, "Selector"),
  ZEL_TEXT(ZelMsg_LegendScrollBar, "Legend Scroll"),
  ZEL_TEXT(ZelMsg_DataTableTool, "Data Table"),
  ZEL_TEXT(ZelMsg_IsoSurfaceSeries, "Iso Surface"),
  ZEL_TEXT(ZelMsg_UpToValue, "Up to value"),
  ZEL_TEXT(ZelMsg_NoCompression, "No compression"),
  ZEL_TEXT(ZelMsg_GalleryDarvas, "Box Breakout"),
  ZEL_TEXT(ZelMsg_VideoTool, "Video"),
  ZEL_TEXT(ZelMsg_VideoToolDesc, "Saves the chart as a video file."),
  ZEL_TEXT(ZelMsg_VideoPlayerTool, "Video Player"),
  ZEL_TEXT(ZelMsg_VideoPlayerToolDesc, "Plays a video file inside the chart."),
  ZEL_TEXT(ZelMsg_CursorToolDesc, "Displays draggable Cursor lines on top of Series."),
  ZEL_TEXT(ZelMsg_DragMarksDesc, "Moves Series marks when dragging them with mouse."),
  ZEL_TEXT(ZelMsg_DragPointDesc, "Moves Series points when dragging them with mouse."),
  ZEL_TEXT(ZelMsg_DrawLineDesc, "Allows drawing custom lines by dragging the mouse."),
  ZEL_TEXT(ZelMsg_ExtraLegendDesc, "Displays a second Legend for a Series."),
  ZEL_TEXT(ZelMsg_GanttToolDesc, "Drag timeline bars to change their start and end positions."),
  ZEL_TEXT(ZelMsg_MarksTipDesc, "Displays \"tips\" or \"hints\" when the end-user moves or clicks the mouse over a series point."),
  ZEL_TEXT(ZelMsg_NearestToolDesc, "Displays a graphical signal when the mouse is moving near a series point."),
  ZEL_TEXT(ZelMsg_PieToolDesc, "Outlines or expands pie slices under the mouse."),
  ZEL_TEXT(ZelMsg_AxisArrowDesc, "Displays clickable arrows at axis start and ending points, to scroll axis."),
  ZEL_TEXT(ZelMsg_ColorBandDesc, "Displays a coloured rectangle (band) at the specified axis and position."),
  ZEL_TEXT(ZelMsg_ColorLineDesc, "Displays a draggable line across axes."),
  ZEL_TEXT(ZelMsg_GridBandDesc, "Grid Band tool, use it to display a coloured rectangles (bands) at the grid lines of the specified axis and position."),
  ZEL_TEXT(ZelMsg_GridTransposeDesc, "Exchanges the rows and columns of a 3D grid series."),
  ZEL_TEXT(ZelMsg_AnnotationDesc, "Displays custom text at any location inside Chart."),
  ZEL_TEXT(ZelMsg_RectangleToolDesc, "Displays custom text at any location inside Chart within a resizable box."),
  ZEL_TEXT(ZelMsg_RotateDesc, "Allows rotating Chart dragging with mouse button."),
  ZEL_TEXT(ZelMsg_ImageToolDesc, "Displays a picture using the specified Series axes as boundaries. When the axis are zoomed or scrolled, the picture will follow the new boundaries."),
  ZEL_TEXT(ZelMsg_LightToolDesc, "Displays a light spot on the chart."),
  ZEL_TEXT(ZelMsg_SurfaceNearestDesc, "Shows the nearest cell of a surface series."),
  ZEL_TEXT(ZelMsg_AxisScrollDesc, "Allows the scrolling of Axes by mouse dragging"),
  ZEL_TEXT(ZelMsg_LegendScrollBarDesc, "Scrolls the items of the Legend."),
  ZEL_TEXT(ZelMsg_ClipSeriesDesc, "Restricts Series painting outside Series associated axes boundaries."),
  ZEL_TEXT(ZelMsg_SelectorDesc, "Allows selecting chart parts with the mouse."),
  ZEL_TEXT(ZelMsg_StatsToolDesc, "Displays statistics of a Series."),
  ZEL_TEXT(ZelMsg_PageNumberDesc, "Shows current chart Page number and total number of Pages in chart."),
  ZEL_TEXT(ZelMsg_TransposeSeries, "Transpose Series"),
  ZEL_TEXT(ZelMsg_TransposeSeriesDesc, "Exchanges the rows and columns of the chart series."),
  ZEL_TEXT(ZelMsg_GridTranspDesc, "Transposes a 3D grid series."),
  ZEL_TEXT(ZelMsg_LegendScrollDesc, "Scrolls the items of the Legend."),
  ZEL_TEXT(ZelMsg_DataTableDesc, "Displays a table of Series values."),
  ZEL_TEXT(ZelMsg_SeriesBandDesc, "Fills the area between two Series."),
  ZEL_TEXT(ZelMsg_ThemeRandom, "Random"),
  ZEL_TEXT(ZelMsg_Play, "Play"),
  ZEL_TEXT(ZelMsg_GalleryHighLowLine, "High-Low Line"),
  ZEL_TEXT(ZelMsg_Mirrored, "Mirrored"),
  ZEL_TEXT(ZelMsg_PolarGridSeries, "Polar Grid"),
  ZEL_TEXT(ZelMsg_FullScreen, "Full Screen"),
  ZEL_TEXT(ZelMsg_FullScreenDesc, "Show Chart maximized to full screen"),
  ZEL_TEXT(ZelMsg_MagnifyTool, "Magnify"),
  ZEL_TEXT(ZelMsg_MagnifyToolDesc, "Shows an enlarged part of the chart under the mouse."),
  ZEL_TEXT(ZelMsg_Fader, "Fader"),
  ZEL_TEXT(ZelMsg_FaderDesc, "Fades the chart in or out."),
  ZEL_TEXT(ZelMsg_SubChartTool, "Sub Chart"),
  ZEL_TEXT(ZelMsg_SubChartDesc, "Displays charts inside the chart."),
  ZEL_TEXT(ZelMsg_AntiAlias, "Anti-Alias"),
  ZEL_TEXT(ZelMsg_AntiAliasDesc, "Smooths the edges of lines and texts."),
  ZEL_TEXT(ZelMsg_SeriesRegion, "Series Region"),
  ZEL_TEXT(ZelMsg_SeriesRegionDesc, "Fills the area under a Series between two values."),
  ZEL_TEXT(ZelMsg_Text3D, "Text 3D"),
  ZEL_TEXT(ZelMsg_Text3DDesc, "Displays text in 3D."),
  ZEL_TEXT(ZelMsg_BannerTool, "Banner"),
  ZEL_TEXT(ZelMsg_BannerToolDesc, "Displays moving or blinking text."),
  ZEL_TEXT(ZelMsg_MenuNew, "&New"),
  ZEL_TEXT(ZelMsg_MenuDelete, "&Delete"),
  ZEL_TEXT(ZelMsg_MenuRename, "&Rename..."),
  ZEL_TEXT(ZelMsg_MenuEdit, "&Edit..."),
  ZEL_TEXT(ZelMsg_MenuViewToolbar, "View &Toolbar"),
  ZEL_TEXT(ZelMsg_RenamePage, "Rename page"),
  ZEL_TEXT(ZelMsg_NewName, "New name:"),
  ZEL_TEXT(ZelMsg_FrameTool, "Frame"),
  ZEL_TEXT(ZelMsg_FrameToolDesc, "Draws a frame around the chart."),
  ZEL_TEXT(ZelMsg_HistogramFunction, "Histogram"),
  ZEL_TEXT(ZelMsg_ExcelEmptyFile, "Spreadsheet file is empty"),
  ZEL_TEXT(ZelMsg_ExcelFile, "Spreadsheet file"),
  ZEL_TEXT(ZelMsg_ExcelSheetEmpty, "Sheet is empty"),
  ZEL_TEXT(ZelMsg_ExcelRangeMissing, "Range is missing"),
  TZelTextEntry{&ToolTexts::ZelMsg_DBSumEditCaption, "ZelMsg_DBSumEditCaption", "Summary"},
  ZEL_TEXT(ZelMsg_LegendPalette, "Legend Palette"),
  ZEL_TEXT(ZelMsg_LegendPaletteDesc, "Displays the colours of a palette as a legend."),
  ZEL_TEXT(ZelMsg_Statistics, "Statistics"),
  ZEL_TEXT(ZelMsg_ZelScrollBar, "Scrollbar"),
  ZEL_TEXT(ZelMsg_GalleryOrgSeries, "Organization"),
  ZEL_TEXT(ZelMsg_GalleryWorld, "World"),
  ZEL_TEXT(ZelMsg_GalleryAfrica, "Africa"),
  ZEL_TEXT(ZelMsg_GalleryAsia, "Asia"),
  ZEL_TEXT(ZelMsg_GalleryAustralia, "Australia"),
  ZEL_TEXT(ZelMsg_GalleryCentralAmerica, "Central America"),
  ZEL_TEXT(ZelMsg_GalleryEurope, "Europe"),
  ZEL_TEXT(ZelMsg_GalleryEurope15, "Europe 15"),
  ZEL_TEXT(ZelMsg_GalleryEurope28, "Europe 28"),
  ZEL_TEXT(ZelMsg_GallerySpain, "Spain"),
  ZEL_TEXT(ZelMsg_GalleryMiddleEast, "Middle East"),
  ZEL_TEXT(ZelMsg_GalleryNorthAmerica, "North America"),
  ZEL_TEXT(ZelMsg_GallerySouthAmerica, "South America"),
  ZEL_TEXT(ZelMsg_GalleryUSA, "USA"),
  ZEL_TEXT(ZelMsg_GalleryUSAHawaiiAlaska, "USA with Hawaii and Alaska"),
  ZEL_TEXT(ZelMsg_GalleryMaps, "Maps"),
  ZEL_TEXT(ZelMsg_GalleryTagCloud, "Tag Cloud"),
  ZEL_TEXT(ZelMsg_GalleryRenko, "Renko"),
  ZEL_TEXT(ZelMsg_GalleryKagi, "Kagi"),
  ZEL_TEXT(ZelMsg_NumericGauge, "Numeric\nGauge"),
  ZEL_TEXT(ZelMsg_CircularGauge, "Circular\nGauge"),
  ZEL_TEXT(ZelMsg_LEDGauge, "LED Gauge"),
  ZEL_TEXT(ZelMsg_LinearGauge, "Linear\nGauge"),
  ZEL_TEXT(ZelMsg_LinkTool, "Link"),
  ZEL_TEXT(ZelMsg_LinkToolDesc, "Opens a link when a chart text is clicked."),
  ZEL_TEXT(ZelMsg_Fibonacci, "Ratio Levels"),
  ZEL_TEXT(ZelMsg_FibonacciDesc, "Draws retracement arcs and levels at fixed ratios."),
  ZEL_TEXT(ZelMsg_LinearGaugeVertical, "Vertical Linear Gauge"),
  ZEL_TEXT(ZelMsg_AVIFile, "AVI file"),
  ZEL_TEXT(ZelMsg_SelectAVIFile, "Select AVI file"),
  ZEL_TEXT(ZelMsg_MPEGFile, "MPEG file"),
  ZEL_TEXT(ZelMsg_ToolArrow, "Arrow"),
  ZEL_TEXT(ZelMsg_ToolArrowDesc, "Draws an arrow on the chart."),
  ZEL_TEXT(ZelMsg_FunctionPercentage, "Percent\nChange"),
  ZEL_TEXT(ZelMsg_FunctionSlope, "Slope"),
  ZEL_TEXT(ZelMsg_GalleryRose, "Rose"),
  ZEL_TEXT(ZelMsg_KnobGauge, "Knob Gauge"),
  ZEL_TEXT(ZelMsg_FunctionMoneyFlow, "Money Flow"),
  ZEL_TEXT(ZelMsg_FunctionSkewness, "Skewness"),
  ZEL_TEXT(ZelMsg_FunctionKurtosis, "Kurtosis"),
  ZEL_TEXT(ZelMsg_FunctionATR, "Average True Range"),
  ZEL_TEXT(ZelMsg_FunctionRVI, "Relative Vigor"),
  ZEL_TEXT(ZelMsg_FunctionAO, "Momentum\nOscillator"),
  ZEL_TEXT(ZelMsg_FunctionAC, "Acceleration\nOscillator"),
  ZEL_TEXT(ZelMsg_FunctionSMMA, "Smoothed\nAverage"),
  ZEL_TEXT(ZelMsg_FunctionAlligator, "Jaws Lines"),
  ZEL_TEXT(ZelMsg_FunctionGator, "Jaws\nOscillator"),
  ZEL_TEXT(ZelMsg_CustomLegendTool, "Custom Legend"),
  ZEL_TEXT(ZelMsg_CustomLegendToolDesc, "Displays a legend with custom rows and columns."),
  ZEL_TEXT(ZelMsg_GalleryTreeMapSeries, "Tree Map"),
  ZEL_TEXT(ZelMsg_AxisBreaksTool, "Axis Breaks"),
  ZEL_TEXT(ZelMsg_AxisBreaksToolDesc, "Hides ranges of an axis."),
  ZEL_TEXT(ZelMsg_Horizontal, "Horizontal"),
  ZEL_TEXT(ZelMsg_Vertical, "Vertical"),
  ZEL_TEXT(ZelMsg_ScrollPagerTool, "Scroll Pager"),
  ZEL_TEXT(ZelMsg_ScrollPagerDesc, "Shows the whole chart below and scrolls a part of it above."),
  ZEL_TEXT(ZelMsg_EquiVolumeSeries, "Equi Volume"),
  ZEL_TEXT(ZelMsg_EquiVolPoint, "Equi Volume Point"),
  ZEL_TEXT(ZelMsg_ClusteringTool, "Clustering"),
  ZEL_TEXT(ZelMsg_ClusteringDesc, "Groups series points into clusters."),
  ZEL_TEXT(ZelMsg_RepaintMonitor, "Repaint Monitor"),
  ZEL_TEXT(ZelMsg_RepaintMonitorDesc, "Displays current repaint speed in Frames Per Second, and the total count of painted frames."),
  ZEL_TEXT(ZelMsg_GalleryEurAsia, "Eurasia"),
  ZEL_TEXT(ZelMsg_Flat, "Flat"),
  ZEL_TEXT(ZelMsg_GalleryPolarContour, "Polar Contour"),
  ZEL_TEXT(ZelMsg_ChartImageDesc, "Drag chart to scroll axes and image"),
  ZEL_TEXT(ZelMsg_GalleryUK, "United Kingdom"),
  ZEL_TEXT(ZelMsg_GalleryGermany, "Germany"),
  ZEL_TEXT(ZelMsg_GalleryUSACounties, "USA Counties"),
  ZEL_TEXT(ZelMsg_GalleryUSAAlaskaCounties, "USA and Alaska Counties"),
  ZEL_TEXT(ZelMsg_GalleryJapan, "Japan"),
  ZEL_TEXT(ZelMsg_GalleryChina, "China"),
  ZEL_TEXT(ZelMsg_GalleryFrance, "France"),
  ZEL_TEXT(ZelMsg_Light, "Light"),
  ZEL_TEXT(ZelMsg_GalleryBubbleCloud, "Bubble Cloud"),
  ZEL_TEXT(ZelMsg_AxisScrollBarTool, "Axis ScrollBar"),
  ZEL_TEXT(ZelMsg_AxisScrollBarDesc, "Scrolls an Axis"),
  ZEL_TEXT(ZelMsg_Lookout, "Lookout"),
  ZEL_TEXT(ZelMsg_Andros, "Andros"),
  ZEL_TEXT(ZelMsg_Import, "Import"),
};

bool IsOwn(const TZelTextEntry& E) { return E.Value != &ZelMsg_AntiAlias; }

}  // namespace

void ZelSetProConstants() {
  for (const TZelTextEntry& E : Texts) *E.Value = ZelExpandText(E.Text);
}

void ZelToolTextsUnitStart() { ZelSetProConstants(); }

void ZelToolTextsUnitEnd() {
  for (const TZelTextEntry& E : Texts)
    if (IsOwn(E)) E.Value->clear();
}

const std::vector<TZelToolText>& ZelToolMessageTexts() {
  static const std::vector<TZelToolText> List = [] {
    std::vector<TZelToolText> L;
    L.reserve(std::size(Texts));
    for (const TZelTextEntry& E : Texts) L.push_back({E.Name, E.Value, IsOwn(E)});
    return L;
  }();
  return List;
}

}  // namespace zel
