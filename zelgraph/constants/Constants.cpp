#include "zelgraph/constants/Constants.h"

#include <cstring>
#include <iterator>

namespace zel {

namespace {
constexpr const char* DefaultExtension = "zel";
}

String NewLine;
String ZelMsg_ZelExtension = DefaultExtension;

String ZelMsg_Test;
String ZelMsg_LegendFirstValue;
String ZelMsg_LegendColorWidth;
String ZelMsg_SeriesSetDataSource;
String ZelMsg_SeriesInvDataSource;
String ZelMsg_FillSample;
String ZelMsg_AxisLogDateTime;
String ZelMsg_AxisLogNotPositive;
String ZelMsg_AxisLabelSep;
String ZelMsg_AxisIncrementNeg;
String ZelMsg_AxisMinMax;
String ZelMsg_AxisMaxMin;
String ZelMsg_AxisLogBase;
String ZelMsg_MaxPointsPerPage;
String ZelMsg_3dPercent;
String ZelMsg_CircularSeries;
String ZelMsg_WarningHiColor;
String ZelMsg_DefaultPercentOf;
String ZelMsg_DefaultPercentOf2;
String ZelMsg_DefPercentFormat;
String ZelMsg_DefValueFormat;
String ZelMsg_DefLogValueFormat;
String ZelMsg_AxisTitle;
String ZelMsg_AxisLabels;
String ZelMsg_RefreshInterval;
String ZelMsg_SeriesParentNoSelf;
String ZelMsg_GalleryLine;
String ZelMsg_GalleryPoint;
String ZelMsg_GalleryArea;
String ZelMsg_GalleryBar;
String ZelMsg_GalleryHorizBar;
String ZelMsg_Stack;
String ZelMsg_GalleryPie;
String ZelMsg_GalleryCircled;
String ZelMsg_GalleryFastLine;
String ZelMsg_GalleryHorizLine;
String ZelMsg_PieSample1;
String ZelMsg_PieSample2;
String ZelMsg_PieSample3;
String ZelMsg_PieSample4;
String ZelMsg_PieSample5;
String ZelMsg_PieSample6;
String ZelMsg_PieSample7;
String ZelMsg_PieSample8;
String ZelMsg_GalleryLogoFont;
String ZelMsg_Editing;
String ZelMsg_GalleryStandard;
String ZelMsg_GalleryExtended;
String ZelMsg_GalleryFunctions;
String ZelMsg_EditChart;
String ZelMsg_PrintPreview;
String ZelMsg_ExportChart;
String ZelMsg_CustomAxes;
String ZelMsg_InvalidEditorClass;
String ZelMsg_MissingEditorClass;
String ZelMsg_GalleryArrow;
String ZelMsg_ExpFinish;
String ZelMsg_ExpNext;
String ZelMsg_GalleryGantt;
String ZelMsg_GanttSample1;
String ZelMsg_GanttSample2;
String ZelMsg_GanttSample3;
String ZelMsg_GanttSample4;
String ZelMsg_GanttSample5;
String ZelMsg_GanttSample6;
String ZelMsg_GanttSample7;
String ZelMsg_GanttSample8;
String ZelMsg_GanttSample9;
String ZelMsg_GanttSample10;
String ZelMsg_ChangeSeriesTitle;
String ZelMsg_NewSeriesTitle;
String ZelMsg_DateTime;
String ZelMsg_TopAxis;
String ZelMsg_BottomAxis;
String ZelMsg_LeftAxis;
String ZelMsg_RightAxis;
String ZelMsg_SureToDelete;
String ZelMsg_DateTimeFormat;
String ZelMsg_Default;
String ZelMsg_ValuesFormat;
String ZelMsg_Maximum;
String ZelMsg_Minimum;
String ZelMsg_DesiredIncrement;
String ZelMsg_IncorrectMaxMinValue;
String ZelMsg_EnterDateTime;
String ZelMsg_SureToApply;
String ZelMsg_SelectedSeries;
String ZelMsg_RefreshData;
String ZelMsg_DefaultFontSize;
String ZelMsg_DefaultEditorSize;
String ZelMsg_DefaultEditorHeight;
String ZelMsg_FunctionAdd;
String ZelMsg_FunctionSubtract;
String ZelMsg_FunctionMultiply;
String ZelMsg_FunctionDivide;
String ZelMsg_FunctionHigh;
String ZelMsg_FunctionLow;
String ZelMsg_FunctionAverage;
String ZelMsg_GalleryShape;
String ZelMsg_GalleryBubble;
String ZelMsg_FunctionNone;
String ZelMsg_None;
String ZelMsg_PrivateDeclarations;
String ZelMsg_PublicDeclarations;
String ZelMsg_DefaultFontName;
String ZelMsg_CheckPointerSize;
String ZelMsg_About;
String tcAdditional;
String tcDControls;
String ZelMsg_DataSet;
String ZelMsg_AskDataSet;
String ZelMsg_SingleRecord;
String ZelMsg_AskDataSource;
String ZelMsg_Summary;
String ZelMsg_FunctionPeriod;
String ZelMsg_WizardTab;
String ZelMsg_ZelgraphWizard;
String ZelMsg_ClearImage;
String ZelMsg_BrowseImage;
String ZelMsg_WizardSureToClose;
String ZelMsg_FieldNotFound;
String ZelMsg_DepthAxis;
String ZelMsg_PieOther;
String ZelMsg_ShapeGallery1;
String ZelMsg_ShapeGallery2;
String ZelMsg_ValuesX;
String ZelMsg_ValuesY;
String ZelMsg_ValuesPie;
String ZelMsg_ValuesBar;
String ZelMsg_ValuesAngle;
String ZelMsg_ValuesGanttStart;
String ZelMsg_ValuesGanttEnd;
String ZelMsg_ValuesGanttNextTask;
String ZelMsg_ValuesBubbleRadius;
String ZelMsg_ValuesArrowEndX;
String ZelMsg_ValuesArrowEndY;
String ZelMsg_Legend;
String ZelMsg_Title;
String ZelMsg_Foot;
String ZelMsg_Period;
String ZelMsg_PeriodRange;
String ZelMsg_CalcPeriod;
String ZelMsg_SmallDotsPen;
String ZelMsg_InvalidZelFile;
String ZelMsg_WrongZelFileFormat;
String ZelMsg_EmptyZelFile;
String ZelMsg_ChartAxesCategoryName;
String ZelMsg_ChartAxesCategoryDesc;
String ZelMsg_ChartWallsCategoryName;
String ZelMsg_ChartWallsCategoryDesc;
String ZelMsg_ChartTitlesCategoryName;
String ZelMsg_ChartTitlesCategoryDesc;
String ZelMsg_Chart3DCategoryName;
String ZelMsg_Chart3DCategoryDesc;
String ZelMsg_CustomAxesEditor;
String ZelMsg_Series;
String ZelMsg_SeriesList;
String ZelMsg_PageOfPages;
String ZelMsg_FileSize;
String ZelMsg_First;
String ZelMsg_Prior;
String ZelMsg_Next;
String ZelMsg_Last;
String ZelMsg_Insert;
String ZelMsg_Delete;
String ZelMsg_Edit;
String ZelMsg_Post;
String ZelMsg_Cancel;
String ZelMsg_All;
String ZelMsg_Index;
String ZelMsg_Text;
String ZelMsg_AsBMP;
String ZelMsg_BMPFilter;
String ZelMsg_AsEMF;
String ZelMsg_EMFFilter;
String ZelMsg_ExportPanelNotSet;
String ZelMsg_Normal;
String ZelMsg_NoBorder;
String ZelMsg_Dotted;
String ZelMsg_Colors;
String ZelMsg_Filled;
String ZelMsg_Marks;
String ZelMsg_Stairs;
String ZelMsg_Points;
String ZelMsg_Height;
String ZelMsg_Hollow;
String ZelMsg_Point2D;
String ZelMsg_Triangle;
String ZelMsg_Star;
String ZelMsg_Circle;
String ZelMsg_DownTri;
String ZelMsg_Cross;
String ZelMsg_Diamond;
String ZelMsg_NoLines;
String ZelMsg_Stack100;
String ZelMsg_Pyramid;
String ZelMsg_Ellipse;
String ZelMsg_InvPyramid;
String ZelMsg_Sides;
String ZelMsg_SideAll;
String ZelMsg_Patterns;
String ZelMsg_Exploded;
String ZelMsg_Shadow;
String ZelMsg_SemiPie;
String ZelMsg_Rectangle;
String ZelMsg_VertLine;
String ZelMsg_HorizLine;
String ZelMsg_Line;
String ZelMsg_Cube;
String ZelMsg_DiagCross;
String ZelMsg_CanNotFindTempPath;
String ZelMsg_CanNotCreateTempChart;
String ZelMsg_CanNotEmailChart;
String ZelMsg_SeriesDelete;
String ZelMsg_NoSeriesSelected;
String ZelMsg_CannotLoadChartFromURL;
String ZelMsg_CannotLoadSeriesDataFromURL;
String ZelMsg_AsJPEG;
String ZelMsg_JPEGFilter;
String ZelMsg_AsGIF;
String ZelMsg_GIFFilter;
String ZelMsg_AsPNG;
String ZelMsg_PNGFilter;
String ZelMsg_AsPCX;
String ZelMsg_PCXFilter;
String ZelMsg_AsVML;
String ZelMsg_VMLFilter;
String ZelMsg_AskLanguage;
String ZelMsg_TextFile;
String ZelMsg_Gradient;
String ZelMsg_WantToSave;
String ZelMsg_NativeFilter;
String ZelMsg_Property;
String ZelMsg_Value;
String ZelMsg_Yes;
String ZelMsg_No;
String ZelMsg_Image;
String ZelMsg_FunctionCustom;
String ZelMsg_AsPDF;
String ZelMsg_PDFFilter;
String ZelMsg_AsPS;
String ZelMsg_PSFilter;
String ZelMsg_GalleryHorizArea;
String ZelMsg_SelfStack;
String ZelMsg_DarkPen;
String ZelMsg_SelectFolder;
String ZelMsg_BDEAlias;
String ZelMsg_ADOConnection;
String ZelMsg_Apply;
String ZelMsg_AddNewGroup;
String ZelMsg_ChangeGroupName;
String ZelMsg_GroupName;
String ZelMsg_FunctionMedian;
String ZelMsg_FunctionMode;
String ZelMsg_Options;
String ZelMsg_DepthTopAxis;
String ZelMsg_View2D;
String ZelMsg_Outline;
String ZelMsg_TextFilter1;
String ZelMsg_TextFilter2;
String ZelMsg_TextFilter3;
String ZelMsg_TextFilter4;
String ZelMsg_TextFilter5;
String ZelMsg_XMLFilter;
String ZelMsg_HTMLFilter;
String ZelMsg_ExcelFilter;
String ZelMsg_ViewOrthoRight;
String ZelMsg_ViewOrthoLeft;
String ZelMsg_View3DFront;
String ZelMsg_View3DRight;
String ZelMsg_View3DLeft;
String ZelMsg_AsSVG;
String ZelMsg_SVGFilter;
String ZelMsg_SubTitle;
String ZelMsg_SubFoot;
String ZelMsg_FunctionSubset;
String ZelMsg_Hexagon;
String ZelMsg_AntiAlias;
String ZelMsg_Percent;
String ZelMsg_Smooth;
String ZelMsg_Blur;
String ZelMsg_Width;
String ZelMsg_Resize;
String ZelMsg_Left;
String ZelMsg_Top;
String ZelMsg_Crop;
String ZelMsg_Invert;
String ZelMsg_GrayScale;
String ZelMsg_Mosaic;
String ZelMsg_Flip;
String ZelMsg_Reverse;
String ZelMsg_Brightness;
String ZelMsg_Color;
String ZelMsg_HueLumSat;
String ZelMsg_Sharpen;
String ZelMsg_GammaCorrection;
String ZelMsg_Emboss;
String ZelMsg_Contrast;
String ZelMsg_Rotate;
String ZelMsg_Back;
String ZelMsg_Autosize;
String ZelMsg_Mirror;
String ZelMsg_Columns;
String ZelMsg_Rows;
String ZelMsg_Tile;
String ZelMsg_Bevel;
String ZelMsg_Zoom;
String ZelMsg_ThemeDefault;
String ZelMsg_ThemeZelgraph;
String ZelMsg_ThemeExcel;
String ZelMsg_ThemeVictorian;
String ZelMsg_ThemePastels;
String ZelMsg_ThemeSolid;
String ZelMsg_ThemeClassic;
String ZelMsg_ThemeWeb;
String ZelMsg_ThemeModern;
String ZelMsg_ThemeRainbow;
String ZelMsg_ThemeWinXP;
String ZelMsg_ThemeMacOS;
String ZelMsg_ThemeWinVista;
String ZelMsg_ThemeGrayScale;
String ZelMsg_ThemeOpera;
String ZelMsg_ThemeWarm;
String ZelMsg_ThemeCool;
String ZelMsg_MenuFilters;
String ZelMsg_CrossTab;
String ZelMsg_DBSumEditCaption;
String ZelMsg_AsXAML;
String ZelMsg_XAMLFilter;
String ZelMsg_SelectTmpFolder;
String ZelPolarDegreeSymbol;
String ZelMsg_NewChart;
String ZelMsg_RenameChart;
String ZelMsg_ChartName;
String ZelMsg_SelectTextFile;
String ZelMsg_SaveTextFile;
String ZelMsg_RecordVideo;
String ZelMsg_ChangeToolName;
String ZelMsg_NewToolName;
String ZelMsg_Change;
String ZelMsg_GalleryTernary;
String ZelMsg_ValuesWeighting;
String ZelMsg_DPI;
String ZelMsg_DPIIdentifier;
String ZelMsg_ThemeBlack;
String ZelMsg_ThemeSpeed;
String ZelMsg_TernaryMarkRadius;
String ZelMsg_TernaryMarkWeight;
String ZelMsg_ChangeAnimationName;
String ZelMsg_NewAnimationName;
String ZelMsg_StraightAll;
String ZelMsg_ExpandAnimation;
String ZelMsg_ExpandAnimationDesc;
String ZelMsg_FunctionSmooth;
String ZelMsg_LegendTitle;
String ZelMsg_RGB;
String ZelMsg_HLS;
String ZelMsg_Search;
String ZelMsg_GalleryPointError;
String ZelMsg_GalleryPoint3DError;
String ZelMsg_EquiVolumeVolValues;
String ZelMsg_JScriptNonSupportMsg;
String ZelMsg_AsJScript;
String ZelMsg_JScriptFilter;
String ZelMsg_Metro;
String ZelMsg_HTML5Canvas;
String ZelMsg_HTML5CanvasFilter;
String ZelMsg_iOSPalette;
String ZelMsg_ServerError;
String ZelMsg_ServerCaption;
String ZelMsg_ExceptionSend;
String ZelMsg_JSONFilter;
String ZelMsg_ODSFilter;
String ZelMsg_Item;
String ZelMsg_AndroidPalette;
String ZelMsg_Concentric;
String ZelMsg_Animate;
String ZelMsg_Stop;
String ZelMsg_Animation;
String ZelMsg_RandomPoints;
String ZelMsg_FunctionPareto;
String ZelMsg_FunctionCentroid;
String ZelMsg_GalleryDonut;
String ZelMsg_Data;
String ZelMsg_LineAnimation;
String ZelMsg_SeriesTransition;
String ZelMsg_SeriesAnimTool;
String ZelMsg_SeriesAnimationDesc;
String ZelMsg_ColorReplacer;
String ZelMsg_Equalize;
String ZelMsg_Sobel;
String ZelMsg_Sepia;
String ZelMsg_LookoutPalette;
String ZelMsg_SeawashPalette;

namespace {

const TZelTextEntry Texts[] = {
  ZEL_TEXT(ZelMsg_Test, "Test..."),
  ZEL_TEXT(ZelMsg_LegendFirstValue, "First Legend Value must be > 0"),
  ZEL_TEXT(ZelMsg_LegendColorWidth, "Legend Color Width must be between 0 and 100 %"),
  ZEL_TEXT(ZelMsg_SeriesSetDataSource, "No ParentChart to validate DataSource"),
  ZEL_TEXT(ZelMsg_SeriesInvDataSource, "No valid DataSource: %s"),
  ZEL_TEXT(ZelMsg_FillSample, "FillSampleValues NumValues must be > 0"),
  ZEL_TEXT(ZelMsg_AxisLogDateTime, "DateTime Axis cannot be Logarithmic"),
  ZEL_TEXT(ZelMsg_AxisLogNotPositive, "Logarithmic Axis Min and Max values should be >= 0"),
  ZEL_TEXT(ZelMsg_AxisLabelSep, "Labels Separation % must be greater than 0"),
  ZEL_TEXT(ZelMsg_AxisIncrementNeg, "Axis increment must be >= 0"),
  ZEL_TEXT(ZelMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum"),
  ZEL_TEXT(ZelMsg_AxisMaxMin, "Axis Maximum Value must be >= Minimum"),
  ZEL_TEXT(ZelMsg_AxisLogBase, "Axis Logarithmic Base should be <> 1 and > 0"),
  ZEL_TEXT(ZelMsg_MaxPointsPerPage, "MaxPointsPerPage must be >= 0"),
  ZEL_TEXT(ZelMsg_3dPercent, "3D effect percent must be between %d and %d"),
  ZEL_TEXT(ZelMsg_CircularSeries, "Circular Series dependences are not allowed"),
  ZEL_TEXT(ZelMsg_WarningHiColor, "16k Color or greater required to get better look"),
  ZEL_TEXT(ZelMsg_DefaultPercentOf, "%s of %s"),
  ZEL_TEXT(ZelMsg_DefaultPercentOf2, "%s\nof %s"),
  ZEL_TEXT(ZelMsg_DefPercentFormat, "##0.## %"),
  ZEL_TEXT(ZelMsg_DefValueFormat, "#,##0.###"),
  ZEL_TEXT(ZelMsg_DefLogValueFormat, "#.0 \"x10\" E+0"),
  ZEL_TEXT(ZelMsg_AxisTitle, "Axis Title"),
  ZEL_TEXT(ZelMsg_AxisLabels, "Axis Labels"),
  ZEL_TEXT(ZelMsg_RefreshInterval, "Refresh Interval must be between 0 and 60"),
  ZEL_TEXT(ZelMsg_SeriesParentNoSelf, "Series.ParentChart is not myself!"),
  ZEL_TEXT(ZelMsg_GalleryLine, "Line"),
  ZEL_TEXT(ZelMsg_GalleryPoint, "Point"),
  ZEL_TEXT(ZelMsg_GalleryArea, "Area"),
  ZEL_TEXT(ZelMsg_GalleryBar, "Bar"),
  ZEL_TEXT(ZelMsg_GalleryHorizBar, "Horizontal\nBar"),
  ZEL_TEXT(ZelMsg_Stack, "Stack"),
  ZEL_TEXT(ZelMsg_GalleryPie, "Pie"),
  ZEL_TEXT(ZelMsg_GalleryCircled, "Circled"),
  ZEL_TEXT(ZelMsg_GalleryFastLine, "Fast Line"),
  ZEL_TEXT(ZelMsg_GalleryHorizLine, "Horizontal\nLine"),
  ZEL_TEXT(ZelMsg_PieSample1, "Cars"),
  ZEL_TEXT(ZelMsg_PieSample2, "Phones"),
  ZEL_TEXT(ZelMsg_PieSample3, "Tables"),
  ZEL_TEXT(ZelMsg_PieSample4, "Monitors"),
  ZEL_TEXT(ZelMsg_PieSample5, "Lamps"),
  ZEL_TEXT(ZelMsg_PieSample6, "Keyboards"),
  ZEL_TEXT(ZelMsg_PieSample7, "Bikes"),
  ZEL_TEXT(ZelMsg_PieSample8, "Chairs"),
  ZEL_TEXT(ZelMsg_GalleryLogoFont, "Monospace"),
  ZEL_TEXT(ZelMsg_Editing, "Editing %s"),
  ZEL_TEXT(ZelMsg_GalleryStandard, "Standard"),
  ZEL_TEXT(ZelMsg_GalleryExtended, "Extended"),
  ZEL_TEXT(ZelMsg_GalleryFunctions, "Functions"),
  ZEL_TEXT(ZelMsg_EditChart, "E&dit Chart..."),
  ZEL_TEXT(ZelMsg_PrintPreview, "&Print Preview..."),
  ZEL_TEXT(ZelMsg_ExportChart, "E&xport Chart..."),
  ZEL_TEXT(ZelMsg_CustomAxes, "Custom Axes..."),
  ZEL_TEXT(ZelMsg_InvalidEditorClass, "Invalid Editor Class: %s"),
  ZEL_TEXT(ZelMsg_MissingEditorClass, "Missing Editor Class: %s"),
  ZEL_TEXT(ZelMsg_GalleryArrow, "Arrow"),
  ZEL_TEXT(ZelMsg_ExpFinish, "&Finish"),
  ZEL_TEXT(ZelMsg_ExpNext, "&Next >"),
  ZEL_TEXT(ZelMsg_GalleryGantt, "Timeline"),
  ZEL_TEXT(ZelMsg_GanttSample1, "Design"),
  ZEL_TEXT(ZelMsg_GanttSample2, "Prototyping"),
  ZEL_TEXT(ZelMsg_GanttSample3, "Development"),
  ZEL_TEXT(ZelMsg_GanttSample4, "Sales"),
  ZEL_TEXT(ZelMsg_GanttSample5, "Marketing"),
  ZEL_TEXT(ZelMsg_GanttSample6, "Testing"),
  ZEL_TEXT(ZelMsg_GanttSample7, "Manufacturing"),
  ZEL_TEXT(ZelMsg_GanttSample8, "Debugging"),
  ZEL_TEXT(ZelMsg_GanttSample9, "New Version"),
  ZEL_TEXT(ZelMsg_GanttSample10, "Banking"),
  ZEL_TEXT(ZelMsg_ChangeSeriesTitle, "Change Series Title"),
  ZEL_TEXT(ZelMsg_NewSeriesTitle, "New Series Title:"),
  ZEL_TEXT(ZelMsg_DateTime, "DateTime"),
  ZEL_TEXT(ZelMsg_TopAxis, "Top Axis"),
  ZEL_TEXT(ZelMsg_BottomAxis, "Bottom Axis"),
  ZEL_TEXT(ZelMsg_LeftAxis, "Left Axis"),
  ZEL_TEXT(ZelMsg_RightAxis, "Right Axis"),
  ZEL_TEXT(ZelMsg_SureToDelete, "Delete %s ?"),
  ZEL_TEXT(ZelMsg_DateTimeFormat, "DateTime Format:"),
  ZEL_TEXT(ZelMsg_Default, "Default"),
  ZEL_TEXT(ZelMsg_ValuesFormat, "Values Format:"),
  ZEL_TEXT(ZelMsg_Maximum, "Maximum"),
  ZEL_TEXT(ZelMsg_Minimum, "Minimum"),
  ZEL_TEXT(ZelMsg_DesiredIncrement, "Desired %s Increment"),
  ZEL_TEXT(ZelMsg_IncorrectMaxMinValue, "Incorrect value. Reason: %s"),
  ZEL_TEXT(ZelMsg_EnterDateTime, "Enter [Number of Days] [hh:mm:ss]"),
  ZEL_TEXT(ZelMsg_SureToApply, "Apply Changes ?"),
  ZEL_TEXT(ZelMsg_SelectedSeries, "(Selected Series)"),
  ZEL_TEXT(ZelMsg_RefreshData, "&Refresh Data"),
  ZEL_TEXT(ZelMsg_DefaultFontSize, "11"),
  ZEL_TEXT(ZelMsg_DefaultEditorSize, "414"),
  ZEL_TEXT(ZelMsg_DefaultEditorHeight, "347"),
  ZEL_TEXT(ZelMsg_FunctionAdd, "Add"),
  ZEL_TEXT(ZelMsg_FunctionSubtract, "Subtract"),
  ZEL_TEXT(ZelMsg_FunctionMultiply, "Multiply"),
  ZEL_TEXT(ZelMsg_FunctionDivide, "Divide"),
  ZEL_TEXT(ZelMsg_FunctionHigh, "High"),
  ZEL_TEXT(ZelMsg_FunctionLow, "Low"),
  ZEL_TEXT(ZelMsg_FunctionAverage, "Average"),
  ZEL_TEXT(ZelMsg_GalleryShape, "Shape"),
  ZEL_TEXT(ZelMsg_GalleryBubble, "Bubble"),
  ZEL_TEXT(ZelMsg_FunctionNone, "Copy"),
  ZEL_TEXT(ZelMsg_None, "(none)"),
  ZEL_TEXT(ZelMsg_PrivateDeclarations, "{ Private declarations }"),
  ZEL_TEXT(ZelMsg_PublicDeclarations, "{ Public declarations }"),
  ZEL_TEXT(ZelMsg_DefaultFontName, "Tahoma"),
  ZEL_TEXT(ZelMsg_CheckPointerSize, "Pointer size must be greater than zero"),
  ZEL_TEXT(ZelMsg_About, "Abo&ut Zelgraph..."),
  ZEL_TEXT(tcAdditional, "Additional"),
  ZEL_TEXT(tcDControls, "Data Controls"),
  ZEL_TEXT(ZelMsg_DataSet, "Dataset"),
  ZEL_TEXT(ZelMsg_AskDataSet, "&Dataset:"),
  ZEL_TEXT(ZelMsg_SingleRecord, "Single Record"),
  ZEL_TEXT(ZelMsg_AskDataSource, "&DataSource:"),
  ZEL_TEXT(ZelMsg_Summary, "Summary"),
  ZEL_TEXT(ZelMsg_FunctionPeriod, "Function Period should be >= 0"),
  ZEL_TEXT(ZelMsg_WizardTab, "Business"),
  ZEL_TEXT(ZelMsg_ZelgraphWizard, "Zelgraph Wizard"),
  ZEL_TEXT(ZelMsg_ClearImage, "Clea&r"),
  ZEL_TEXT(ZelMsg_BrowseImage, "B&rowse..."),
  ZEL_TEXT(ZelMsg_WizardSureToClose, "Are you sure that you want to close the Zelgraph Wizard?"),
  ZEL_TEXT(ZelMsg_FieldNotFound, "Field %s does not exist"),
  ZEL_TEXT(ZelMsg_DepthAxis, "Depth Right"),
  ZEL_TEXT(ZelMsg_PieOther, "Other"),
  ZEL_TEXT(ZelMsg_ShapeGallery1, "abc"),
  ZEL_TEXT(ZelMsg_ShapeGallery2, "123"),
  ZEL_TEXT(ZelMsg_ValuesX, "X"),
  ZEL_TEXT(ZelMsg_ValuesY, "Y"),
  ZEL_TEXT(ZelMsg_ValuesPie, "Pie"),
  ZEL_TEXT(ZelMsg_ValuesBar, "Bar"),
  ZEL_TEXT(ZelMsg_ValuesAngle, "Angle"),
  ZEL_TEXT(ZelMsg_ValuesGanttStart, "Start"),
  ZEL_TEXT(ZelMsg_ValuesGanttEnd, "End"),
  ZEL_TEXT(ZelMsg_ValuesGanttNextTask, "NextTask"),
  ZEL_TEXT(ZelMsg_ValuesBubbleRadius, "Radius"),
  ZEL_TEXT(ZelMsg_ValuesArrowEndX, "EndX"),
  ZEL_TEXT(ZelMsg_ValuesArrowEndY, "EndY"),
  ZEL_TEXT(ZelMsg_Legend, "Legend"),
  ZEL_TEXT(ZelMsg_Title, "Title"),
  ZEL_TEXT(ZelMsg_Foot, "Foot"),
  ZEL_TEXT(ZelMsg_Period, "Period"),
  ZEL_TEXT(ZelMsg_PeriodRange, "Period range"),
  ZEL_TEXT(ZelMsg_CalcPeriod, "Calculate %s every:"),
  ZEL_TEXT(ZelMsg_SmallDotsPen, "Small Dots"),
  ZEL_TEXT(ZelMsg_InvalidZelFile, "Invalid Chart in *.{ext} file"),
  ZEL_TEXT(ZelMsg_WrongZelFileFormat, "Wrong *.{ext} file format"),
  ZEL_TEXT(ZelMsg_EmptyZelFile, "Empty *.{ext} file"),
  ZEL_TEXT(ZelMsg_ChartAxesCategoryName, "Chart Axes"),
  ZEL_TEXT(ZelMsg_ChartAxesCategoryDesc, "Chart Axes properties and events"),
  ZEL_TEXT(ZelMsg_ChartWallsCategoryName, "Chart Walls"),
  ZEL_TEXT(ZelMsg_ChartWallsCategoryDesc, "Chart Walls properties and events"),
  ZEL_TEXT(ZelMsg_ChartTitlesCategoryName, "Chart Titles"),
  ZEL_TEXT(ZelMsg_ChartTitlesCategoryDesc, "Chart Titles properties and events"),
  ZEL_TEXT(ZelMsg_Chart3DCategoryName, "Chart 3D"),
  ZEL_TEXT(ZelMsg_Chart3DCategoryDesc, "Chart 3D properties and events"),
  ZEL_TEXT(ZelMsg_CustomAxesEditor, "Custom Axes Editor"),
  ZEL_TEXT(ZelMsg_Series, "Series"),
  ZEL_TEXT(ZelMsg_SeriesList, "Series List"),
  ZEL_TEXT(ZelMsg_PageOfPages, "Page %d of %d"),
  ZEL_TEXT(ZelMsg_FileSize, "%d bytes"),
  ZEL_TEXT(ZelMsg_First, "First"),
  ZEL_TEXT(ZelMsg_Prior, "Prior"),
  ZEL_TEXT(ZelMsg_Next, "Next"),
  ZEL_TEXT(ZelMsg_Last, "Last"),
  ZEL_TEXT(ZelMsg_Insert, "Insert"),
  ZEL_TEXT(ZelMsg_Delete, "Delete"),
  ZEL_TEXT(ZelMsg_Edit, "Edit"),
  ZEL_TEXT(ZelMsg_Post, "Post"),
  ZEL_TEXT(ZelMsg_Cancel, "Cancel"),
  ZEL_TEXT(ZelMsg_All, "(all)"),
  ZEL_TEXT(ZelMsg_Index, "Index"),
  ZEL_TEXT(ZelMsg_Text, "Text"),
  ZEL_TEXT(ZelMsg_AsBMP, "as &Bitmap"),
  ZEL_TEXT(ZelMsg_BMPFilter, "Bitmaps (*.bmp)|*.bmp"),
  ZEL_TEXT(ZelMsg_AsEMF, "as &Metafile"),
  ZEL_TEXT(ZelMsg_EMFFilter, "Enhanced Metafiles (*.emf)|*.emf"),
  ZEL_TEXT(ZelMsg_ExportPanelNotSet, "Panel property is not set in Export format"),
  ZEL_TEXT(ZelMsg_Normal, "Normal"),
  ZEL_TEXT(ZelMsg_NoBorder, "No Border"),
  ZEL_TEXT(ZelMsg_Dotted, "Dotted"),
  ZEL_TEXT(ZelMsg_Colors, "Colors"),
  ZEL_TEXT(ZelMsg_Filled, "Filled"),
  ZEL_TEXT(ZelMsg_Marks, "Marks"),
  ZEL_TEXT(ZelMsg_Stairs, "Stairs"),
  ZEL_TEXT(ZelMsg_Points, "Points"),
  ZEL_TEXT(ZelMsg_Height, "Height"),
  ZEL_TEXT(ZelMsg_Hollow, "Hollow"),
  ZEL_TEXT(ZelMsg_Point2D, "Point 2D"),
  ZEL_TEXT(ZelMsg_Triangle, "Triangle"),
  ZEL_TEXT(ZelMsg_Star, "Star"),
  ZEL_TEXT(ZelMsg_Circle, "Circle"),
  ZEL_TEXT(ZelMsg_DownTri, "Down Triangle"),
  ZEL_TEXT(ZelMsg_Cross, "Cross"),
  ZEL_TEXT(ZelMsg_Diamond, "Diamond"),
  ZEL_TEXT(ZelMsg_NoLines, "No Lines"),
  ZEL_TEXT(ZelMsg_Stack100, "Stack 100%"),
  ZEL_TEXT(ZelMsg_Pyramid, "Pyramid"),
  ZEL_TEXT(ZelMsg_Ellipse, "Ellipse"),
  ZEL_TEXT(ZelMsg_InvPyramid, "Inverted Pyramid"),
  ZEL_TEXT(ZelMsg_Sides, "Sides"),
  ZEL_TEXT(ZelMsg_SideAll, "Side All"),
  ZEL_TEXT(ZelMsg_Patterns, "Patterns"),
  ZEL_TEXT(ZelMsg_Exploded, "Exploded"),
  ZEL_TEXT(ZelMsg_Shadow, "Shadow"),
  ZEL_TEXT(ZelMsg_SemiPie, "Semi Pie"),
  ZEL_TEXT(ZelMsg_Rectangle, "Rectangle"),
  ZEL_TEXT(ZelMsg_VertLine, "Vertical Line"),
  ZEL_TEXT(ZelMsg_HorizLine, "Horizontal Line"),
  ZEL_TEXT(ZelMsg_Line, "Line"),
  ZEL_TEXT(ZelMsg_Cube, "Cube"),
  ZEL_TEXT(ZelMsg_DiagCross, "Diagonal Cross"),
  ZEL_TEXT(ZelMsg_CanNotFindTempPath, "Can not find Temp folder"),
  ZEL_TEXT(ZelMsg_CanNotCreateTempChart, "Can not create Temp file"),
  ZEL_TEXT(ZelMsg_CanNotEmailChart, "Can not email Chart. Mail error: %s"),
  ZEL_TEXT(ZelMsg_SeriesDelete, "Series Delete: ValueIndex %d out of bounds (0 to %d)."),
  ZEL_TEXT(ZelMsg_NoSeriesSelected, "No Series selected"),
  ZEL_TEXT(ZelMsg_CannotLoadChartFromURL, "Error code: %d downloading Chart from URL: %s"),
  ZEL_TEXT(ZelMsg_CannotLoadSeriesDataFromURL, "Error code: %d downloading Series data from URL: %s"),
  ZEL_TEXT(ZelMsg_AsJPEG, "as &JPEG"),
  ZEL_TEXT(ZelMsg_JPEGFilter, "JPEG files (*.jpg)|*.jpg"),
  ZEL_TEXT(ZelMsg_AsGIF, "as &GIF"),
  ZEL_TEXT(ZelMsg_GIFFilter, "GIF files (*.gif)|*.gif"),
  ZEL_TEXT(ZelMsg_AsPNG, "as &PNG"),
  ZEL_TEXT(ZelMsg_PNGFilter, "PNG files (*.png)|*.png"),
  ZEL_TEXT(ZelMsg_AsPCX, "as PC&X"),
  ZEL_TEXT(ZelMsg_PCXFilter, "PCX files (*.pcx)|*.pcx"),
  ZEL_TEXT(ZelMsg_AsVML, "as &VML (HTM)"),
  ZEL_TEXT(ZelMsg_VMLFilter, "VML files (*.htm)|*.htm"),
  ZEL_TEXT(ZelMsg_AskLanguage, "&Language..."),
  ZEL_TEXT(ZelMsg_TextFile, "Text File"),
  ZEL_TEXT(ZelMsg_Gradient, "Gradient"),
  ZEL_TEXT(ZelMsg_WantToSave, "Do you want to save %s?"),
  ZEL_TEXT(ZelMsg_NativeFilter, "Chart files (*.zel)|*.zel"),
  ZEL_TEXT(ZelMsg_Property, "Property"),
  ZEL_TEXT(ZelMsg_Value, "Value"),
  ZEL_TEXT(ZelMsg_Yes, "Yes"),
  ZEL_TEXT(ZelMsg_No, "No"),
  ZEL_TEXT(ZelMsg_Image, "Image"),
  ZEL_TEXT(ZelMsg_FunctionCustom, "y = f(x)"),
  ZEL_TEXT(ZelMsg_AsPDF, "as &PDF"),
  ZEL_TEXT(ZelMsg_PDFFilter, "PDF files (*.pdf)|*.pdf"),
  ZEL_TEXT(ZelMsg_AsPS, "as &EPS"),
  ZEL_TEXT(ZelMsg_PSFilter, "Encapsulated vector files (*.eps)|*.eps"),
  ZEL_TEXT(ZelMsg_GalleryHorizArea, "Horizontal\nArea"),
  ZEL_TEXT(ZelMsg_SelfStack, "Self Stacked"),
  ZEL_TEXT(ZelMsg_DarkPen, "Dark Border"),
  ZEL_TEXT(ZelMsg_SelectFolder, "Select a database folder"),
  ZEL_TEXT(ZelMsg_BDEAlias, "&Alias:"),
  ZEL_TEXT(ZelMsg_ADOConnection, "&Connection:"),
  ZEL_TEXT(ZelMsg_Apply, "Apply"),
  ZEL_TEXT(ZelMsg_AddNewGroup, "Add New Group"),
  ZEL_TEXT(ZelMsg_ChangeGroupName, "Change Group Name"),
  ZEL_TEXT(ZelMsg_GroupName, "Group name:"),
  ZEL_TEXT(ZelMsg_FunctionMedian, "Median"),
  ZEL_TEXT(ZelMsg_FunctionMode, "Mode"),
  ZEL_TEXT(ZelMsg_Options, "Options"),
  ZEL_TEXT(ZelMsg_DepthTopAxis, "Depth Top"),
  ZEL_TEXT(ZelMsg_View2D, "2D"),
  ZEL_TEXT(ZelMsg_Outline, "Outline"),
  ZEL_TEXT(ZelMsg_TextFilter1, "Text files (*.txt)|*.txt"),
  ZEL_TEXT(ZelMsg_TextFilter2, "Comma separated values (*.csv)|*.csv"),
  ZEL_TEXT(ZelMsg_TextFilter3, "Tab separated values (*.tsv)|*.tsv"),
  ZEL_TEXT(ZelMsg_TextFilter4, "Space separated values (*.txt)|*.txt"),
  ZEL_TEXT(ZelMsg_TextFilter5, "Custom separated values (*.txt)|*.txt"),
  ZEL_TEXT(ZelMsg_XMLFilter, "XML files (*.xml)|*.xml"),
  ZEL_TEXT(ZelMsg_HTMLFilter, "HTML files (*.htm)|*.htm"),
  ZEL_TEXT(ZelMsg_ExcelFilter, "Spreadsheet files (*.xls)|*.xls"),
  ZEL_TEXT(ZelMsg_ViewOrthoRight, "Orthogonal Right"),
  ZEL_TEXT(ZelMsg_ViewOrthoLeft, "Orthogonal Left"),
  ZEL_TEXT(ZelMsg_View3DFront, "3D Front"),
  ZEL_TEXT(ZelMsg_View3DRight, "3D Right"),
  ZEL_TEXT(ZelMsg_View3DLeft, "3D Left"),
  ZEL_TEXT(ZelMsg_AsSVG, "as &SVG"),
  ZEL_TEXT(ZelMsg_SVGFilter, "SVG files (*.svg)|*.svg"),
  ZEL_TEXT(ZelMsg_SubTitle, "SubTitle"),
  ZEL_TEXT(ZelMsg_SubFoot, "SubFoot"),
  ZEL_TEXT(ZelMsg_FunctionSubset, "Subset"),
  ZEL_TEXT(ZelMsg_Hexagon, "Hexagon"),
  ZEL_TEXT(ZelMsg_AntiAlias, "Antialias"),
  ZEL_TEXT(ZelMsg_Percent, "Percent"),
  ZEL_TEXT(ZelMsg_Smooth, "Smooth"),
  ZEL_TEXT(ZelMsg_Blur, "Blur"),
  ZEL_TEXT(ZelMsg_Width, "Width"),
  ZEL_TEXT(ZelMsg_Resize, "Resize"),
  ZEL_TEXT(ZelMsg_Left, "Left"),
  ZEL_TEXT(ZelMsg_Top, "Top"),
  ZEL_TEXT(ZelMsg_Crop, "Crop"),
  ZEL_TEXT(ZelMsg_Invert, "Invert"),
  ZEL_TEXT(ZelMsg_GrayScale, "Gray Scale"),
  ZEL_TEXT(ZelMsg_Mosaic, "Mosaic"),
  ZEL_TEXT(ZelMsg_Flip, "Flip"),
  ZEL_TEXT(ZelMsg_Reverse, "Reverse"),
  ZEL_TEXT(ZelMsg_Brightness, "Brightness"),
  ZEL_TEXT(ZelMsg_Color, "Color"),
  ZEL_TEXT(ZelMsg_HueLumSat, "Hue/Lum/Sat"),
  ZEL_TEXT(ZelMsg_Sharpen, "Sharpen"),
  ZEL_TEXT(ZelMsg_GammaCorrection, "Gamma Correction"),
  ZEL_TEXT(ZelMsg_Emboss, "Emboss"),
  ZEL_TEXT(ZelMsg_Contrast, "Contrast"),
  ZEL_TEXT(ZelMsg_Rotate, "Rotate"),
  ZEL_TEXT(ZelMsg_Back, "Back"),
  ZEL_TEXT(ZelMsg_Autosize, "Autosize"),
  ZEL_TEXT(ZelMsg_Mirror, "Mirror"),
  ZEL_TEXT(ZelMsg_Columns, "Columns"),
  ZEL_TEXT(ZelMsg_Rows, "Rows"),
  ZEL_TEXT(ZelMsg_Tile, "Tile"),
  ZEL_TEXT(ZelMsg_Bevel, "Bevel"),
  ZEL_TEXT(ZelMsg_Zoom, "Zoom"),
  ZEL_TEXT(ZelMsg_ThemeDefault, "Default"),
  ZEL_TEXT(ZelMsg_ThemeZelgraph, "Zelgraph"),
  ZEL_TEXT(ZelMsg_ThemeExcel, "Excel"),
  ZEL_TEXT(ZelMsg_ThemeVictorian, "Victorian"),
  ZEL_TEXT(ZelMsg_ThemePastels, "Pastels"),
  ZEL_TEXT(ZelMsg_ThemeSolid, "Solid"),
  ZEL_TEXT(ZelMsg_ThemeClassic, "Classic"),
  ZEL_TEXT(ZelMsg_ThemeWeb, "Web"),
  ZEL_TEXT(ZelMsg_ThemeModern, "Modern"),
  ZEL_TEXT(ZelMsg_ThemeRainbow, "Rainbow"),
  ZEL_TEXT(ZelMsg_ThemeWinXP, "Win. XP"),
  ZEL_TEXT(ZelMsg_ThemeMacOS, "Mac OS"),
  ZEL_TEXT(ZelMsg_ThemeWinVista, "Win. Vista"),
  ZEL_TEXT(ZelMsg_ThemeGrayScale, "Gray scale"),
  ZEL_TEXT(ZelMsg_ThemeOpera, "Opera"),
  ZEL_TEXT(ZelMsg_ThemeWarm, "Warm"),
  ZEL_TEXT(ZelMsg_ThemeCool, "Cool"),
  ZEL_TEXT(ZelMsg_MenuFilters, "Filters..."),
  ZEL_TEXT(ZelMsg_CrossTab, "Cross Table"),
  ZEL_TEXT(ZelMsg_DBSumEditCaption, "Summary Editor"),
  ZEL_TEXT(ZelMsg_AsXAML, "as &XAML"),
  ZEL_TEXT(ZelMsg_XAMLFilter, "XAML files (*.xaml)|*.xaml"),
  ZEL_TEXT(ZelMsg_SelectTmpFolder, "Select a folder for temporary files"),
  ZEL_TEXT(ZelPolarDegreeSymbol, "\xC2\xB0"),
  ZEL_TEXT(ZelMsg_NewChart, "New Chart"),
  ZEL_TEXT(ZelMsg_RenameChart, "Rename Chart"),
  ZEL_TEXT(ZelMsg_ChartName, "Chart name:"),
  ZEL_TEXT(ZelMsg_SelectTextFile, "Select a text file"),
  ZEL_TEXT(ZelMsg_SaveTextFile, "Save as text file"),
  ZEL_TEXT(ZelMsg_RecordVideo, "Record Video"),
  ZEL_TEXT(ZelMsg_ChangeToolName, "Change Tool Name"),
  ZEL_TEXT(ZelMsg_NewToolName, "New Tool name:"),
  ZEL_TEXT(ZelMsg_Change, "Change"),
  ZEL_TEXT(ZelMsg_GalleryTernary, "Ternary"),
  ZEL_TEXT(ZelMsg_ValuesWeighting, "Weight"),
  ZEL_TEXT(ZelMsg_DPI, "DPI"),
  ZEL_TEXT(ZelMsg_DPIIdentifier, "%d DPI"),
  ZEL_TEXT(ZelMsg_ThemeBlack, "BlackIsBack"),
  ZEL_TEXT(ZelMsg_ThemeSpeed, "Speed"),
  ZEL_TEXT(ZelMsg_TernaryMarkRadius, "Radius"),
  ZEL_TEXT(ZelMsg_TernaryMarkWeight, "Weight"),
  ZEL_TEXT(ZelMsg_ChangeAnimationName, "Change Animation Name"),
  ZEL_TEXT(ZelMsg_NewAnimationName, "New Animation name:"),
  ZEL_TEXT(ZelMsg_StraightAll, "Straight All"),
  ZEL_TEXT(ZelMsg_ExpandAnimation, "Expand"),
  ZEL_TEXT(ZelMsg_ExpandAnimationDesc, "Expands the chart from its centre"),
  ZEL_TEXT(ZelMsg_FunctionSmooth, "Smoothing"),
  ZEL_TEXT(ZelMsg_LegendTitle, "Legend Title"),
  ZEL_TEXT(ZelMsg_RGB, "RGB"),
  ZEL_TEXT(ZelMsg_HLS, "HLS"),
  ZEL_TEXT(ZelMsg_Search, "Search:"),
  ZEL_TEXT(ZelMsg_GalleryPointError, "Error Point"),
  ZEL_TEXT(ZelMsg_GalleryPoint3DError, "Error Point 3D"),
  ZEL_TEXT(ZelMsg_EquiVolumeVolValues, "Volume"),
  ZEL_TEXT(ZelMsg_JScriptNonSupportMsg, "One of the Series Types you have selected\nis not implemented yet for Javascript."),
  ZEL_TEXT(ZelMsg_AsJScript, "as &Javascript"),
  ZEL_TEXT(ZelMsg_JScriptFilter, "Javascript files (*.htm)|*.htm"),
  ZEL_TEXT(ZelMsg_Metro, "Metro"),
  ZEL_TEXT(ZelMsg_HTML5Canvas, "as &HTML5 Canvas"),
  ZEL_TEXT(ZelMsg_HTML5CanvasFilter, "HTML5 files (*.htm)|*.htm"),
  ZEL_TEXT(ZelMsg_iOSPalette, "iOS"),
  ZEL_TEXT(ZelMsg_ServerError, "Server error: %s"),
  ZEL_TEXT(ZelMsg_ServerCaption, "Chart Server"),
  ZEL_TEXT(ZelMsg_ExceptionSend, "Error sending: %s"),
  ZEL_TEXT(ZelMsg_JSONFilter, "JSON files (*.json)|*.json"),
  ZEL_TEXT(ZelMsg_ODSFilter, "OpenDocument spreadsheets (*.ods)|*.ods"),
  ZEL_TEXT(ZelMsg_Item, "Item"),
  ZEL_TEXT(ZelMsg_AndroidPalette, "Android"),
  ZEL_TEXT(ZelMsg_Concentric, "Concentric"),
  ZEL_TEXT(ZelMsg_Animate, "Animate"),
  ZEL_TEXT(ZelMsg_Stop, "Stop"),
  ZEL_TEXT(ZelMsg_Animation, "Animation"),
  ZEL_TEXT(ZelMsg_RandomPoints, "Random Points"),
  ZEL_TEXT(ZelMsg_FunctionPareto, "Cumulative Percent"),
  ZEL_TEXT(ZelMsg_FunctionCentroid, "Centroid"),
  ZEL_TEXT(ZelMsg_GalleryDonut, "Donut"),
  ZEL_TEXT(ZelMsg_Data, "Data"),
  ZEL_TEXT(ZelMsg_LineAnimation, "Line Animation"),
  ZEL_TEXT(ZelMsg_SeriesTransition, "Series Transition"),
  ZEL_TEXT(ZelMsg_SeriesAnimTool, "Series Animation"),
  ZEL_TEXT(ZelMsg_SeriesAnimationDesc, "Animates the points of a series"),
  ZEL_TEXT(ZelMsg_ColorReplacer, "Color Replacer"),
  ZEL_TEXT(ZelMsg_Equalize, "Equalize"),
  ZEL_TEXT(ZelMsg_Sobel, "Edge Detect"),
  ZEL_TEXT(ZelMsg_Sepia, "Sepia"),
  ZEL_TEXT(ZelMsg_LookoutPalette, "Lookout"),
  ZEL_TEXT(ZelMsg_SeawashPalette, "Seawash"),
};

}  // namespace

String ZelExpandText(const char* Text) {
  static constexpr char ExtToken[] = "{ext}";
  constexpr std::size_t ExtLength = sizeof(ExtToken) - 1;
  String Result;
  for (const char* P = Text; *P != '\0';) {
    if (*P == '\n') {
      Result += NewLine;
      ++P;
    } else if (std::strncmp(P, ExtToken, ExtLength) == 0) {
      Result += ZelMsg_ZelExtension;
      P += ExtLength;
    } else {
      Result += *P++;
    }
  }
  return Result;
}

void ZelSetConstants() {
  for (const TZelTextEntry& E : Texts) *E.Value = ZelExpandText(E.Text);
}

void ZelConstantsUnitStart() {
  NewLine = "\r";
  // The extension is emptied at the end; a later start must compose the file messages with it.
  ZelMsg_ZelExtension = DefaultExtension;
  ZelSetConstants();
}

void ZelConstantsUnitEnd() {
  ZelMsg_ZelExtension.clear();
  for (const TZelTextEntry& E : Texts) E.Value->clear();
  NewLine.clear();
}

const std::vector<TZelMessageText>& ZelMessageTexts() {
  static const std::vector<TZelMessageText> List = [] {
    std::vector<TZelMessageText> L;
    L.reserve(std::size(Texts));
    for (const TZelTextEntry& E : Texts) L.push_back({E.Name, E.Value});
    return L;
  }();
  return List;
}

}  // namespace zel
