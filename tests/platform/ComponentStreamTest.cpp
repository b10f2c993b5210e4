// Component trees written and read through the published-property tables, the text form, and
// damaged streams.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Filer.h"
#include "platform/ObjectText.h"
#include "platform/Published.h"
#include "platform/Streams.h"
#include "tests/support/StreamText.h"

namespace zel {

enum class TProbeStyle { psPlain, psFancy, psLoud };
enum class TProbeFlag { pfA, pfB, pfC };
ZEL_ENUM_NAMES(TProbeStyle, "psPlain", "psFancy", "psLoud");
ZEL_ENUM_NAMES(TProbeFlag, "pfA", "pfB", "pfC");

namespace {

// A nested persistent object that nests itself on demand (for deep paths).
class TProbeSub : public TPersistent {
  ZEL_CLASS(TProbeSub, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  ~TProbeSub() override { delete FInner; }
  int GetDepth() const { return FDepth; }
  void SetDepth(int V) { FDepth = V; }
  TProbeSub* GetInner() {
    if (!FInner) FInner = new TProbeSub;
    return FInner;
  }
  TProbeSub* ExistingInner() const { return FInner; }

 private:
  int FDepth = 0;
  TProbeSub* FInner = nullptr;
};
ZEL_DEFINE_CLASS(TProbeSub, TPersistent)
ZEL_BEGIN_PUBLISHED(TProbeSub)
  P::Prop("Depth", &Self::GetDepth, &Self::SetDepth, Default(0)),
  P::Obj("Inner", &Self::GetInner, &Self::ExistingInner),
ZEL_END_PUBLISHED

// A component with one property of every kind; its children are the components it owns.
class TProbe : public TComponent {
  ZEL_CLASS(TProbe, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
  ~TProbe() override { delete FSub; }

  int GetCount() const { return FCount; }
  void SetCount(int V) { FCount = V; }
  double GetRatio() const { return FRatio; }
  void SetRatio(double V) { FRatio = V; }
  String GetLabel() const { return FLabel; }
  void SetLabel(const String& V) { FLabel = V; }
  TProbeStyle GetStyle() const { return FStyle; }
  void SetStyle(TProbeStyle V) { FStyle = V; }
  TSet<TProbeFlag> GetFlags() const { return FFlags; }
  void SetFlags(TSet<TProbeFlag> V) { FFlags = V; }
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V) { FColor = V; }
  TProbe* GetBuddy() const { return FBuddy; }
  void SetBuddy(TProbe* V) { FBuddy = V; }
  TProbeSub* GetSub() {
    if (!FSub) FSub = new TProbeSub;
    return FSub;
  }
  TProbeSub* ExistingSub() const { return FSub; }
  TNotifyEvent OnPing;

  bool HasParent() const override { return FParent != nullptr; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* V) override { FParent = V; }
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override {
    for (int I = 0; I < GetComponentCount(); ++I) Proc(GetComponent(I));
  }
  TComponent* GetChildOwner() override { return this; }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
    BuddyAtLoaded = FBuddy;
  }
  TMethodTable* GetMethodTable() override { return &Methods; }

  int LoadedCount = 0;
  TProbe* BuddyAtLoaded = nullptr;
  TMethodTable Methods;

 private:
  int FCount = 0;
  double FRatio = 0;
  String FLabel;
  TProbeStyle FStyle = TProbeStyle::psPlain;
  TSet<TProbeFlag> FFlags;
  TAlphaColor FColor = 0xFF000000;
  TProbe* FBuddy = nullptr;
  TProbeSub* FSub = nullptr;
  TComponent* FParent = nullptr;
};
ZEL_DEFINE_COMPONENT_CLASS(TProbe, TComponent)
ZEL_BEGIN_PUBLISHED(TProbe)
  P::Prop("Count", &Self::GetCount, &Self::SetCount, Default(0)),
  P::Prop("Ratio", &Self::GetRatio, &Self::SetRatio, Default(0.0)),
  P::Prop("Label", &Self::GetLabel, &Self::SetLabel, Default(String())),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TProbeStyle::psPlain)),
  P::Prop("Flags", &Self::GetFlags, &Self::SetFlags, Default(TSet<TProbeFlag>())),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Default(0xFF000000u)),
  P::Prop("Buddy", &Self::GetBuddy, &Self::SetBuddy, Always),
  P::Obj("Sub", &Self::GetSub, &Self::ExistingSub),
  P::Event("OnPing", &Self::OnPing),
ZEL_END_PUBLISHED

using Bytes = std::vector<Byte>;
using namespace zel::testing;

class ComponentStream : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClass(TProbe::StaticClass()); }
  void TearDown() override { UnRegisterClass(TProbe::StaticClass()); }

  // A root with two children that refer to each other and to the root, an event bound by name
  // and a value of every kind.
  static TOwned<TProbe> MakeTree(int& Pings) {
    TOwned<TProbe> Root(Create<TProbe>(nullptr));
    Root->SetName("Root");
    Root->Methods.Add("RootPing", TNotifyEvent([&Pings](TObject*) { ++Pings; }));
    Root->SetCount(-70000);
    Root->SetRatio(0.1);
    Root->SetLabel("caf\xC3\xA9 'quoted'\r");
    Root->SetStyle(TProbeStyle::psLoud);
    Root->SetFlags({TProbeFlag::pfA, TProbeFlag::pfC});
    Root->SetColor(0xFF336699);
    Root->GetSub()->SetDepth(3);
    Root->GetSub()->GetInner()->SetDepth(4);
    auto* A = Create<TProbe>(Root.get());
    A->SetName("A");
    A->SetParentComponent(Root.get());
    auto* B = Create<TProbe>(Root.get());
    B->SetName("B");
    B->SetParentComponent(Root.get());
    A->SetBuddy(B);
    B->SetBuddy(A);
    Root->SetBuddy(A);
    A->OnPing = [&Pings](TObject*) { ++Pings; };
    Root->Methods.SetBoundName(A, "OnPing", "RootPing");
    return Root;
  }
};

TEST_F(ComponentStream, TreeReadIntoAFreshRootWritesTheSameBytes) {
  int Pings = 0;
  TOwned<TProbe> Root = MakeTree(Pings);
  const Bytes First = Store(Root.get());

  TOwned<TProbe> Copy(Create<TProbe>(nullptr));
  Copy->Methods.Add("RootPing", TNotifyEvent([&Pings](TObject*) { Pings += 10; }));
  ReadBytes(First, Copy.get());
  EXPECT_EQ(Store(Copy.get()), First);

  ASSERT_EQ(Copy->GetComponentCount(), 2);
  auto* A = dynamic_cast<TProbe*>(Copy->GetComponent(0));
  auto* B = dynamic_cast<TProbe*>(Copy->GetComponent(1));
  ASSERT_TRUE(A && B);
  EXPECT_EQ(Copy->GetName(), "Root");
  EXPECT_EQ(Copy->GetLabel(), "caf\xC3\xA9 'quoted'\r");
  EXPECT_EQ(Copy->GetSub()->GetInner()->GetDepth(), 4);
  EXPECT_EQ(A->GetBuddy(), B) << "references in both directions resolve";
  EXPECT_EQ(B->GetBuddy(), A);
  EXPECT_EQ(Copy->GetBuddy(), A);
  EXPECT_EQ(A->GetParentComponent(), Copy.get());
  // Loaded once each, after every reference was resolved.
  for (TProbe* P : {Copy.get(), A, B}) {
    EXPECT_EQ(P->LoadedCount, 1) << P->GetName();
    EXPECT_EQ(P->BuddyAtLoaded, P->GetBuddy()) << P->GetName();
    EXPECT_FALSE(P->IsLoading());
  }
  ASSERT_TRUE(A->OnPing);
  A->OnPing(A);
  EXPECT_EQ(Pings, 10) << "bound to the handler the reading root offers";
}

TEST_F(ComponentStream, DefaultsWriteOnlyClassAndName) {
  TOwned<TProbe> Root(Create<TProbe>(nullptr));
  Root->SetName("Plain");
  Root->GetSub();  // created but at its defaults: nothing to write
  const Bytes Expected = {'T', 'P', 'F', '0', 6, 'T', 'P', 'r', 'o', 'b', 'e', 5, 'P', 'l', 'a', 'i', 'n', 0, 0};
  EXPECT_EQ(Store(Root.get()), Expected);
}

TEST_F(ComponentStream, ReadingWithoutARootCreatesOneOfTheStreamsClass) {
  int Pings = 0;
  TOwned<TProbe> Root = MakeTree(Pings);
  Root->Methods.SetBoundName(Root->GetComponent(0), "OnPing", "");  // a stream without events
  const Bytes B = Store(Root.get());
  TMemoryStream S;
  S.WriteBuffer(B.data(), static_cast<Int64>(B.size()));
  S.SetPosition(0);
  TOwned<TComponent> Made(S.ReadComponent(nullptr));
  ASSERT_TRUE(Made && Made->Is<TProbe>());
  EXPECT_EQ(Made->GetComponentCount(), 2);
}

TEST_F(ComponentStream, TextFormConvertsBothWaysWithoutLoss) {
  int Pings = 0;
  TOwned<TProbe> Root = MakeTree(Pings);
  const Bytes B = Store(Root.get());
  const String T = AsText(B);
  EXPECT_NE(T.find("object Root: TProbe\n"), String::npos) << T;
  EXPECT_NE(T.find("  Flags = [pfA, pfC]\n"), String::npos) << T;
  EXPECT_NE(T.find("  Sub.Inner.Depth = 4\n"), String::npos) << T;
  EXPECT_NE(T.find("  object A: TProbe\n"), String::npos) << T;
  EXPECT_NE(T.find("OnPing = RootPing"), String::npos) << T;
  EXPECT_EQ(FromText(T), B);

  // Every value kind the writer has, including the ones no table writes.
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteSignature();
    W.WriteStr("TProbe");
    W.WriteStr("");
    const std::pair<const char*, std::function<void()>> Values[] = {
        {"I", [&] { W.WriteInteger(Int64(1) << 40); }},
        {"F", [&] { W.WriteFloat(-1.5e300); }},
        {"N", [&] { W.WriteFloat(std::numeric_limits<double>::quiet_NaN()); }},
        {"S", [&] { W.WriteSingle(0.25f); }},
        {"D", [&] { W.WriteDouble(1.0 / 3); }},
        {"T", [&] { W.WriteDate(45000.5); }},
        {"L", [&] { W.WriteString(String(300, 'x')); }},
        {"C", [&] { W.WriteString(String("\x01#'") + "\xE2\x82\xAC"); }},
        {"E", [&] { W.WriteString(""); }},
        {"B", [&] { W.WriteBinary(String("\x00\xFF\x10", 3).data(), 3); }},
        {"Z", [&] { W.WriteBinary(nullptr, 0); }},
        {"Id", [&] { W.WriteIdent("Something"); }},
        {"Nil", [&] { W.WriteIdent("nil"); }},
        {"Lst", [&] {
           W.WriteListBegin();
           W.WriteInteger(1);
           W.WriteListBegin();
           W.WriteListEnd();
           W.WriteListEnd();
         }},
        {"Coll", [&] {
           W.WriteValue(TValueType::vaCollection);
           W.WriteListBegin();
           W.WriteStr("X");
           W.WriteInteger(2);
           W.WriteListEnd();
           W.WriteInteger(7);  // an item index
           W.WriteListBegin();
           W.WriteListEnd();
           W.WriteListEnd();
         }},
    };
    for (const auto& [Name, Put] : Values) {
      W.WriteStr(Name);
      Put();
    }
    W.WriteListEnd();
    W.WriteListEnd();
  }
  const Bytes All = M.GetBytes();
  EXPECT_EQ(FromText(AsText(All)), All) << AsText(All);
}

TEST_F(ComponentStream, ExtendedValuesNoDoubleHoldsSurviveTheTextForm) {
  TMemoryStream M;
  TWriter W(&M);
  W.WriteSignature();
  W.WriteStr("TProbe");
  W.WriteStr("");
  W.WriteStr("X");
  const Byte Ext[11] = {static_cast<Byte>(TValueType::vaExtended), 1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  W.Write(Ext, 11);  // 1 + 2^-63: more bits than a double has
  W.WriteListEnd();
  W.WriteListEnd();
  const String T = AsText(M.GetBytes());
  EXPECT_NE(T.find("X = E#"), String::npos) << T;
  EXPECT_EQ(FromText(T), M.GetBytes());
}

TEST_F(ComponentStream, EveryTruncationFailsCleanlyAndLeavesTheRootUsable) {
  int Pings = 0;
  TOwned<TProbe> Source = MakeTree(Pings);
  const Bytes Full = Store(Source.get());
  for (std::size_t N = 0; N < Full.size(); ++N) {
    TOwned<TProbe> Into(Create<TProbe>(nullptr));
    Into->Methods.Add("RootPing", TNotifyEvent([](TObject*) {}));
    const Bytes Cut(Full.begin(), Full.begin() + static_cast<std::ptrdiff_t>(N));
    EXPECT_THROW(ReadBytes(Cut, Into.get()), EReadError) << "prefix of " << N << " bytes";
    EXPECT_EQ(Into->GetComponentCount(), 0) << "children read so far are freed (" << N << ")";
    EXPECT_FALSE(Into->IsLoading());
    EXPECT_FALSE(Into->GetComponentState().Contains(TComponentStateItem::csReading));
  }
}

TEST_F(ComponentStream, DamagedStreamsRaiseErrorsThatNameTheFault) {
  // Builds a stream of a TProbe named R whose body Fill writes (after the name).
  auto Stream = [](const std::function<void(TWriter&)>& Fill) {
    TMemoryStream M;
    TWriter W(&M);
    W.WriteSignature();
    W.WriteStr("TProbe");
    W.WriteStr("R");
    Fill(W);
    return M.GetBytes();
  };
  auto Child = [](TWriter& W, const char* Class, const char* Name) {
    W.WriteStr(Class);
    W.WriteStr(Name);
  };
  struct Case {
    const char* Name;
    Bytes Input;
    const char* Message;  // a part of the message
    bool ClassNotFound;
  };
  const Case Cases[] = {
      {"wrong signature", {'T', 'P', 'F', '1'}, "Invalid stream format", false},
      {"unknown property", Stream([](TWriter& W) {
         W.WritePropName("Colour");
         W.WriteInteger(1);
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Property Colour does not exist", false},
      {"wrong value type", Stream([](TWriter& W) {
         W.WritePropName("Count");
         W.WriteString("ten");
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Error reading R.Count: Invalid property value", false},
      {"integer out of range", Stream([](TWriter& W) {
         W.WritePropName("Count");
         W.WriteInteger(Int64(1) << 40);
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Error reading R.Count", false},
      {"unknown enum name", Stream([](TWriter& W) {
         W.WritePropName("Style");
         W.WriteIdent("psQuiet");
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Unknown TProbeStyle value psQuiet", false},
      {"unknown set element", Stream([](TWriter& W) {
         W.WritePropName("Flags");
         W.WriteValue(TValueType::vaSet);
         W.WriteStr("pfZ");
         W.WriteStr("");
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Unknown TProbeFlag value pfZ", false},
      {"value for a sub-object", Stream([](TWriter& W) {
         W.WritePropName("Sub");
         W.WriteInteger(1);
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Error reading R.Sub", false},
      {"unresolved reference", Stream([](TWriter& W) {
         W.WritePropName("Buddy");
         W.WriteIdent("Nobody");
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "unresolved reference to Nobody", false},
      {"unknown method", Stream([](TWriter& W) {
         W.WritePropName("OnPing");
         W.WriteIdent("Missing");
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Method Missing not found", false},
      {"unknown child class", Stream([&](TWriter& W) {
         W.WriteListEnd();
         Child(W, "TNoSuchThing", "X");
         W.WriteListEnd();
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "Class TNoSuchThing not found", true},
      {"child that is no component", Stream([&](TWriter& W) {
         W.WriteListEnd();
         Child(W, "TStream", "X");
         W.WriteListEnd();
         W.WriteListEnd();
         W.WriteListEnd();
       }),
       "", true},
      {"two children of one name", Stream([&](TWriter& W) {
         W.WriteListEnd();
         for (int I = 0; I < 2; ++I) {
           Child(W, "TProbe", "Twin");
           W.WriteListEnd();
           W.WriteListEnd();
         }
         W.WriteListEnd();
       }),
       "A component named Twin already exists", false},
      {"components nested without end", Stream([&](TWriter& W) {
         W.WriteListEnd();
         for (int I = 0; I < 200; ++I) {
           Child(W, "TProbe", "");
           W.WriteListEnd();
         }
       }),
       "Components nested too deeply", false},
      {"a huge count of children cut short", Stream([&](TWriter& W) {
         W.WriteListEnd();
         for (int I = 0; I < 5000; ++I) {
           Child(W, "TProbe", "");
           W.WriteListEnd();
           W.WriteListEnd();
         }
       }),
       "Stream read error", false},
  };
  for (const Case& C : Cases) {
    TOwned<TProbe> Into(Create<TProbe>(nullptr));
    try {
      ReadBytes(C.Input, Into.get());
      ADD_FAILURE() << C.Name << ": no error";
    } catch (const EClassNotFound& E) {
      EXPECT_TRUE(C.ClassNotFound) << C.Name << ": " << E.what();
      EXPECT_NE(String(E.what()).find(C.Message), String::npos) << C.Name << ": " << E.what();
    } catch (const EReadError& E) {
      EXPECT_FALSE(C.ClassNotFound) << C.Name << ": " << E.what();
      EXPECT_NE(String(E.what()).find(C.Message), String::npos) << C.Name << ": " << E.what();
    }
    EXPECT_EQ(Into->GetComponentCount(), 0) << C.Name;
    EXPECT_FALSE(Into->IsLoading()) << C.Name;
    // Still usable: a good stream reads into it afterwards.
    TOwned<TProbe> Good(Create<TProbe>(nullptr));
    Good->SetName("R");
    Good->SetCount(5);
    EXPECT_NO_THROW(ReadBytes(Store(Good.get()), Into.get())) << C.Name;
    EXPECT_EQ(Into->GetCount(), 5) << C.Name;
  }
}

TEST_F(ComponentStream, AStreamOfAnotherClassIsRefused) {
  TMemoryStream M;
  TWriter W(&M);
  W.WriteSignature();
  W.WriteStr("TSomethingElse");
  W.WriteStr("R");
  W.WriteListEnd();
  W.WriteListEnd();
  TOwned<TProbe> Into(Create<TProbe>(nullptr));
  M.SetPosition(0);
  EXPECT_THROW(M.ReadComponent(Into.get()), EReadError);
}

TEST_F(ComponentStream, DeepSubObjectPathsStopAtALimit) {
  TOwned<TProbe> Into(Create<TProbe>(nullptr));
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteSignature();
    W.WriteStr("TProbe");
    W.WriteStr("");
    String Path = "Sub";
    for (int I = 0; I < 40; ++I) Path += ".Inner";
    W.WriteStr(Path + ".Depth");
    W.WriteInteger(1);
    W.WriteListEnd();
    W.WriteListEnd();
  }
  M.SetPosition(0);
  // Names are at most 255 bytes, so a path is at most about 40 objects deep; it reads.
  EXPECT_NO_THROW(M.ReadComponent(Into.get()));
}

TEST_F(ComponentStream, BadTextNamesTheLine) {
  const std::pair<const char*, const char*> Cases[] = {
      {"object A: TProbe\n  Count = \nend\n", "Line 4: 'end' expected"},
      {"object A: TProbe\n  Label = 'open\nend\n", "Line 2: unterminated string"},
      {"object A TProbe\nend\n", "Line 1"},
      {"object A: TProbe\n  Data = {0F1}\nend\n", "Line 2: odd number of hex digits"},
      {"object A: TProbe\n  Count = 12abc\nend\n", "bad number 12abc"},
      {"object A: TProbe\n", "'end' expected"},
      {"", "'object' expected"},
  };
  for (const auto& [Text, Message] : Cases) {
    try {
      FromText(Text);
      ADD_FAILURE() << Text << ": no error";
    } catch (const EReadError& E) {
      EXPECT_NE(String(E.what()).find(Message), String::npos) << Text << ": " << E.what();
    }
  }
  // A name the binary form cannot hold is a fault of the text, not of writing.
  const String Long = "object A: TProbe\n  Count" + String(300, 'J') + " = 1\nend\n";
  const String LongName = "object " + String(256, 'N') + ": TProbe\nend\n";
  for (const String& Text : {Long, LongName}) {
    try {
      FromText(Text);
      ADD_FAILURE() << Text << ": no error";
    } catch (const EReadError& E) {
      EXPECT_NE(String(E.what()).find(": name longer than 255 bytes"), String::npos) << E.what();
    }
  }
}

}  // namespace
}  // namespace zel
