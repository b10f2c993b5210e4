// Registration of the annotation, rectangle, colour line, colour band and grid band tools, and
// how each names itself.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Classes.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/tools/ToolsUnit.h"

namespace zel::testing {
namespace {

struct Case {
  const char* Name;
  const String* Description;
  const String* LongDescription;
  const char* Editor;
};
const Case Cases[] = {
    {"TColorBandTool", &ZelMsg_ColorBandTool, &ZelMsg_ColorBandDesc, "TColorBandToolEditor"},
    {"TColorLineTool", &ZelMsg_ColorLineTool, &ZelMsg_ColorLineDesc, "TColorLineToolEditor"},
    {"TAnnotationTool", &ZelMsg_AnnotationTool, &ZelMsg_AnnotationDesc, "TAnnotationToolEdit"},
    {"TGridBandTool", &ZelMsg_GridBandTool, &ZelMsg_GridBandDesc, "TGridBandToolEdit"},
    {"TRectangleTool", &ZelMsg_RectangleTool, &ZelMsg_RectangleToolDesc, "TAnnotationToolEdit"},
};

TEST(Tools2Registration, RegisteredOnceAndCreatableByName) {
  TZelToolTypes* Types = CheckZelToolTypes();
  const std::vector<const TClass*> Classes = ZelToolsUnitClasses();
  RegisterZelTools(Classes.data(), static_cast<int>(Classes.size()) - 1);  // a second registration adds nothing
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TClass* Class = GetClass(C.Name);
    ASSERT_NE(Class, nullptr);
    const std::int32_t Index = Types->IndexOf(Class);
    ASSERT_GE(Index, 0);
    for (std::int32_t I = Index + 1; I < Types->Count(); ++I) EXPECT_NE(Types->Get(I), Class);

    TOwned<TObject> Obj(Class->Create(nullptr));
    auto* Tool = dynamic_cast<TZelCustomTool*>(Obj.get());
    ASSERT_NE(Tool, nullptr);
    EXPECT_FALSE(C.Description->empty());
    EXPECT_EQ(Tool->Description(), *C.Description);
    EXPECT_EQ(Tool->LongDescription(), *C.LongDescription);
    EXPECT_EQ(Tool->GetEditorClass(), C.Editor);
    // Made by name, an annotation still gets its box.
    if (auto* A = dynamic_cast<TAnnotationTool*>(Tool)) {
      EXPECT_NE(A->GetShape(), nullptr);
    }
  }
}

TEST(Tools2Registration, RectangleIsAnAnnotation) {
  EXPECT_TRUE(TRectangleTool::StaticClass()->InheritsFrom(TAnnotationTool::StaticClass()));
  TOwned<TRectangleTool> R(Create<TRectangleTool>(nullptr));
  EXPECT_EQ(R->GetShape()->GetTransparency(), 75);  // its own settings over the annotation's
}

}  // namespace
}  // namespace zel::testing
