// Tools and animations: objects that attach to a chart and take part in its drawing and in its
// mouse, wheel, key and drag-and-drop handling. This header holds their bases, the lists that
// hold them and the event codes the chart passes to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Types.h"
#include "zelgraph/engine/Series.h"

namespace zel {

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;
class TFiler;

// Raised by an operation that a class declares but does not implement.
class EAbstractError : public Exception {
 public:
  explicit EAbstractError(String Msg) : Exception(std::move(Msg)) {}
};

// Drawing events (Series.h declares the type too: keep its underlying type int); also sent by a series before and after it paints its points.
enum class TChartToolEvent { tdePaintDone, tdeSeriesStart, tdePaintStart, tdeAxesStart, tdeSeriesDone, tdeMouseLeft };
enum class TChartMouseEvent : Byte { tmePress, tmeMove, tmeRelease };
enum class TChartKeyEvent : Byte { tkePress, tkeRelease };
enum class TChartDragDropEvent : Byte { tddOver, tddDrop, tddStart, tddEnd };
// The wheel turned toward the user (down) or away from the user (up); 1 is never sent.
enum class TWheelMouseEvent : Byte { twhDown = 0, twhUp = 2 };

// Where a dragged object is relative to the control.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// The platform's object that travels with a drag; tools only pass it on.
class TDragObject;

// The base of every tool: receives the chart's drawing, mouse, wheel, key and drag-and-drop
// events while it is active. Every hook does nothing here.
class TZelCustomTool : public TCustomChartElement {
  ZEL_CLASS(TZelCustomTool, TCustomChartElement)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelCustomTool(TComponent* AOwner);
  // Leaves its chart's tool list.
  ~TZelCustomTool() override;

  // Moves the tool to Value's tool list (out of any list for nullptr).
  void SetParentChart(TCustomAxisPanel* Value) override;

  virtual void ChartEvent(TChartToolEvent AEvent);
  virtual void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                               std::int32_t Y);
  virtual void ChartDragDropEvent(TChartDragDropEvent AEvent, TObject* Source, std::int32_t X, std::int32_t Y,
                                  TDragState State, bool& Accept, TDragObject*& DragObject);
  virtual void ChartKeyEvent(TChartKeyEvent AEvent, Word& Key, char32_t& KeyChar, TShiftState Shift);
  virtual void SeriesEvent(TChartToolEvent AEvent, TChartSeries* Series);
  virtual void WheelMouseEvent(TWheelMouseEvent AEvent, std::int32_t Delta, std::int32_t X, std::int32_t Y);
  virtual String Description() const { return String(); }
  virtual String LongDescription() const { return String(); }

  // True when either tool is an instance of the other's class.
  bool SameClass(const TZelCustomTool* Tool) const;

  // Components read from a stream as a tool's children are the tool's own.
  TComponent* GetChildOwner() override { return this; }
  // Reads the tool and its children, then lets it take the children (TakeChildren).
  void ReadState(TReader* Reader) override;

 protected:
  // Takes the components just read as the tool's children. A tool that streams none refuses
  // any with EReadError; the reader then frees them with everything else it created.
  virtual void TakeChildren();
  // The components just read as the tool's children: the ones it owns that are still loading,
  // in reading order. A child that is not a Class, or more than Max of them, raises EReadError
  // naming the tool.
  std::vector<TComponent*> ReadChildren(const TClass* Class, std::size_t Max) const;
  // Makes Child (one of ReadChildren, or nullptr) the tool's sub-component in Field; the one
  // Field held is freed unless it was read too.
  template <typename T>
  static void TakeChild(T*& Field, TComponent* Child) {
    T* Old = Field;
    Field = static_cast<T*>(Child);
    if (Old && Old != Field && !Old->IsLoading()) Old->Free();
  }
};

using TZelCustomToolClass = const TClass*;

// A tool that works on one series; drops it when the series is freed.
class TZelCustomToolSeries : public TZelCustomTool {
  ZEL_CLASS(TZelCustomToolSeries, TZelCustomTool)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomTool::TZelCustomTool;
  ~TZelCustomToolSeries() override;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TSeriesToolEditor"; }

  TChartSeries* GetSeries() const { return FSeries; }
  virtual void SetSeries(TChartSeries* Value);

  // The series' axes; without a series, the chart's axis of that orientation that has active
  // series (bottom and left when neither or both have).
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TChartSeries* FSeries = nullptr;
};

// Whether the chart's canvas can draw a tool's feedback by XOR between paints. Where it cannot
// (the platform canvas never can), a tool asks for a repaint and draws its feedback in the paint.
bool ZelCanDrawXor(const TCustomAxisPanel* Chart);

// Points Field at Value and moves Holder's free notification from the old axis to the new one,
// so that the axis' freeing clears Field (ZelAxisFreed in Holder's Notification). Kept names
// Holder's other axis fields: the old axis keeps its link while one of them still holds it.
void ZelLinkAxis(TComponent* Holder, TChartAxis*& Field, TChartAxis* Value,
                 std::initializer_list<const TChartAxis*> Kept = {});
// Clears Field when the notification is its axis being freed; true then.
bool ZelAxisFreed(TChartAxis*& Field, const TComponent* AComponent, TOperation Operation);

// A tool that works on one axis; the axis is stored as its index in the chart's axes list.
class TZelCustomToolAxis : public TZelCustomTool {
  ZEL_CLASS(TZelCustomToolAxis, TZelCustomTool)
 public:
  using TZelCustomTool::TZelCustomTool;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TAxisToolEditor"; }
  // "AxisID": the axis' index in its chart's axes list, written only when there is an axis.
  void DefineProperties(TFiler* Filer) override;

  TChartAxis* GetAxis() const { return FAxis; }
  // Takes the axis and moves the tool into the axis' chart.
  virtual void SetAxis(TChartAxis* Value);
  // Stores the axis without moving the tool or repainting.
  void InternalSetAxis(TChartAxis* Value) { ZelLinkAxis(this, FAxis, Value, {OtherAxis()}); }

 protected:
  // Another axis the tool holds besides its own (a dragged one), linked by the kind itself;
  // nullptr when none.
  virtual TChartAxis* OtherAxis() const { return nullptr; }
  // Forgets the axis when it is freed, wherever the tool is.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TChartAxis* FAxis = nullptr;
};

// The base of animations; they share the tool protocol but live in the chart's animation list.
class TZelCustomAnimation : public TZelCustomTool {
  ZEL_CLASS(TZelCustomAnimation, TZelCustomTool)
 public:
  using TZelCustomTool::TZelCustomTool;
  ~TZelCustomAnimation() override;

  void SetParentChart(TCustomAxisPanel* Value) override;
  // Runs the animation; each kind implements it (EAbstractError here).
  virtual void Play();
  // The component name, else the description, else the class name.
  String Title() const;
};

// A chart's tool list: holds the tools in the order they see events.
class TChartTools : public TList<TZelCustomTool*> {
 public:
  explicit TChartTools(TCustomAxisPanel* AOwner) : FOwner(AOwner) {}

  TCustomAxisPanel* GetOwner() const { return FOwner; }
  TZelCustomTool* Get(std::int32_t Index) const { return GetItems(Index); }
  // Appends the tool, giving it the owner's tool theme first; returns its index.
  std::int32_t InternalAdd(TZelCustomTool* Tool);
  // Makes the owner the tool's chart (which appends it); returns the tool.
  TZelCustomTool* Add(TZelCustomTool* Tool);
  // Creates a tool of the class, owned by the owning chart, and adds it.
  TZelCustomTool* Add(TZelCustomToolClass ToolClass);
  // Frees every tool (each leaves the list as it is freed).
  void Clear();
  void SetActive(bool Value);

 protected:
  TCustomAxisPanel* FOwner;
};

// A chart's animation list.
class TChartAnimations : public TChartTools {
 public:
  using TChartTools::TChartTools;
  TZelCustomAnimation* Get(std::int32_t Index) const;
  TZelCustomAnimation* Add(TZelCustomAnimation* Animation);
  // Creates an animation owned by the chart's own owner and adds it.
  TZelCustomAnimation* AddClass(TZelCustomToolClass AnimationClass);
};

// An optional object the chart keeps for design tools; does nothing at run time.
class TZelCustomDesigner : public TObject {
 public:
  virtual void Refresh() {}
  virtual void Repaint() {}
};

}  // namespace zel
