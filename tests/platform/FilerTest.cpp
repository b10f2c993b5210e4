#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "platform/Collections.h"
#include "platform/Filer.h"

using namespace zel;

namespace {

using Bytes = std::vector<Byte>;

Bytes Written(const std::function<void(TWriter&)>& Fill) {
  TMemoryStream M;
  TWriter W(&M);
  Fill(W);
  return M.GetBytes();
}

TMemoryStream* StreamOf(const Bytes& B, TMemoryStream& M) {
  M.WriteBuffer(B.data(), static_cast<Int64>(B.size()));
  M.SetPosition(0);
  return &M;
}

Bytes Str(const char* Prefix, std::size_t N, const std::string& Tail) {
  Bytes B(Prefix, Prefix + N);
  B.insert(B.end(), Tail.begin(), Tail.end());
  return B;
}

// An object with one named property of each kind the library streams.
class TProbe : public TPersistent {
 public:
  std::int32_t Count = 0;
  Int64 Big = 0;
  String Name;
  double Ratio = 0;
  float Scale = 0;
  bool Enabled = false;
  std::vector<String> Tags;
  Bytes Blob;
  int LegacySeen = -1;

  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        "Count", [this](TReader* R) { Count = R->ReadInteger(); }, [this](TWriter* W) { W->WriteInteger(Count); },
        Count != 0);
    Filer->DefineProperty(
        "Big", [this](TReader* R) { Big = R->ReadInt64(); }, [this](TWriter* W) { W->WriteInteger(Big); }, Big != 0);
    Filer->DefineProperty(
        "Name", [this](TReader* R) { Name = R->ReadString(); }, [this](TWriter* W) { W->WriteString(Name); },
        !Name.empty());
    Filer->DefineProperty(
        "Ratio", [this](TReader* R) { Ratio = R->ReadFloat(); }, [this](TWriter* W) { W->WriteFloat(Ratio); },
        Ratio != 0);
    Filer->DefineProperty(
        "Scale", [this](TReader* R) { Scale = R->ReadSingle(); }, [this](TWriter* W) { W->WriteSingle(Scale); },
        Scale != 0);
    Filer->DefineProperty(
        "Enabled", [this](TReader* R) { Enabled = R->ReadBoolean(); },
        [this](TWriter* W) { W->WriteBoolean(Enabled); }, true);
    Filer->DefineProperty(
        "Tags",
        [this](TReader* R) {
          Tags.clear();
          R->ReadListBegin();
          while (!R->EndOfList()) Tags.push_back(R->ReadIdent());
          R->ReadListEnd();
        },
        [this](TWriter* W) {
          W->WriteListBegin();
          for (const String& T : Tags) W->WriteIdent(T);
          W->WriteListEnd();
        },
        !Tags.empty());
    Filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* S) {
          Blob.assign(static_cast<std::size_t>(S->GetSize()), 0);
          S->ReadBuffer(Blob.data(), static_cast<Int64>(Blob.size()));
        },
        [this](TStream* S) { S->WriteBuffer(Blob.data(), static_cast<Int64>(Blob.size())); }, !Blob.empty());
    // Read from old streams, never written.
    Filer->DefineProperty("Legacy", [this](TReader* R) { LegacySeen = R->ReadInteger(); }, nullptr, false);
  }
};

Bytes WriteProbe(TProbe& P) {
  return Written([&](TWriter& W) {
    W.WriteProperties(&P);
    W.WriteListEnd();
  });
}

void ReadProbe(const Bytes& B, TProbe& P) {
  TMemoryStream M;
  TReader R(StreamOf(B, M));
  R.ReadProperties(&P);
  R.ReadListEnd();
  EXPECT_EQ(M.GetPosition(), M.GetSize());
}

class TNamedItem : public TCollectionItem {
  ZEL_CLASS(TNamedItem, TCollectionItem)
 public:
  explicit TNamedItem(TCollection* C) : TCollectionItem(C) {}
  String Text;
  std::int32_t Width = 0;
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        "Text", [this](TReader* R) { Text = R->ReadString(); }, [this](TWriter* W) { W->WriteString(Text); },
        !Text.empty());
    Filer->DefineProperty(
        "Region.Width", [this](TReader* R) { Width = R->ReadInteger(); },
        [this](TWriter* W) { W->WriteInteger(Width); }, Width != 0);
  }
};
ZEL_DEFINE_CLASS(TNamedItem, TCollectionItem)

}  // namespace

TEST(Filer, WriterEncodesEachValueType) {
  struct Case {
    const char* Name;
    std::function<void(TWriter&)> Write;
    Bytes Expected;
  };
  const Case Cases[] = {
      {"int8 zero", [](TWriter& W) { W.WriteInteger(0); }, {2, 0}},
      {"int8 low", [](TWriter& W) { W.WriteInteger(-128); }, {2, 0x80}},
      {"int16", [](TWriter& W) { W.WriteInteger(128); }, {3, 0x80, 0}},
      {"int16 low", [](TWriter& W) { W.WriteInteger(-32768); }, {3, 0x00, 0x80}},
      {"int32", [](TWriter& W) { W.WriteInteger(-32769); }, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
      {"int64", [](TWriter& W) { W.WriteInteger(Int64(1) << 31); }, {19, 0, 0, 0, 0x80, 0, 0, 0, 0}},
      {"extended one", [](TWriter& W) { W.WriteFloat(1.0); }, {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {"extended minus half", [](TWriter& W) { W.WriteFloat(-0.5); }, {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0xBF}},
      {"single", [](TWriter& W) { W.WriteSingle(1.0f); }, {15, 0, 0, 0x80, 0x3F}},
      {"double", [](TWriter& W) { W.WriteDouble(1.0); }, {21, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
      {"date", [](TWriter& W) { W.WriteDate(2.0); }, {17, 0, 0, 0, 0, 0, 0, 0, 0x40}},
      {"short ascii", [](TWriter& W) { W.WriteString("abc"); }, {6, 3, 'a', 'b', 'c'}},
      {"empty string", [](TWriter& W) { W.WriteString(""); }, {6, 0}},
      {"long ascii", [](TWriter& W) { W.WriteString(std::string(256, 'x')); },
       Str("\x0C\x00\x01\x00\x00", 5, std::string(256, 'x'))},
      {"utf-8", [](TWriter& W) { W.WriteString("\xC3\xA9"); }, {20, 2, 0, 0, 0, 0xC3, 0xA9}},
      {"true", [](TWriter& W) { W.WriteBoolean(true); }, {9}},
      {"false", [](TWriter& W) { W.WriteBoolean(false); }, {8}},
      {"ident", [](TWriter& W) { W.WriteIdent("clNone"); }, {7, 6, 'c', 'l', 'N', 'o', 'n', 'e'}},
      {"ident true any case", [](TWriter& W) { W.WriteIdent("TRUE"); }, {9}},
      {"ident nil", [](TWriter& W) { W.WriteIdent("nil"); }, {13}},
      {"ident null", [](TWriter& W) { W.WriteIdent("Null"); }, {0}},
      {"list", [](TWriter& W) { W.WriteListBegin(); W.WriteInteger(1); W.WriteListEnd(); }, {1, 2, 1, 0}},
      {"binary", [](TWriter& W) { W.WriteBinary("\x01\x02\x03", 3); }, {10, 3, 0, 0, 0, 1, 2, 3}},
      // A block that its callback writes in place, in pieces, between other values: the length
      // before it is filled in and writing goes on after it.
      {"binary written in place",
       [](TWriter& W) {
         W.WriteInteger(1);
         W.WriteBinary([](TStream* S) {
           S->WriteBuffer("\x01\x02", 2);
           S->WriteBuffer("\x03", 1);
         });
         W.WriteInteger(2);
       },
       {2, 1, 10, 3, 0, 0, 0, 1, 2, 3, 2, 2}},
      {"empty binary written in place", [](TWriter& W) { W.WriteBinary([](TStream*) {}); }, {10, 0, 0, 0, 0}},
      {"property name with path",
       [](TWriter& W) {
         W.SetPropPath("Font.");
         W.WritePropName("Size");
       },
       Str("\x09", 1, "Font.Size")},
      {"empty collection", [](TWriter& W) { W.WriteCollection(nullptr); }, {14, 0}},
  };
  for (const Case& C : Cases) EXPECT_EQ(Written(C.Write), C.Expected) << C.Name;

  EXPECT_THROW(Written([](TWriter& W) { W.WriteStr(std::string(256, 'n')); }), EWriteError);
}

TEST(Filer, ExtendedConversionIsExactForDoubles) {
  const double Values[] = {0.0,
                           -0.0,
                           1.0,
                           -2.5,
                           std::numbers::pi,
                           1e308,
                           -1e-300,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           3 * std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::min() / 3,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double V : Values) {
    Byte X[10];
    DoubleToExtended(V, X);
    double Back = ExtendedToDouble(X);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(Back), std::bit_cast<std::uint64_t>(V)) << V;
  }
  Byte X[10];
  DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), X);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(X)));

  // Extended values a double cannot hold: (mantissa, sign and exponent) -> expected double.
  struct Narrow {
    const char* Name;
    std::uint64_t Mant;
    std::uint16_t SignExp;
    double Expected;
  };
  const Narrow Cases[] = {
      {"small excess rounds down", 0x8000000000000010ull, 0x3FFF, 1.0},
      {"halfway rounds to even (down)", 0x8000000000000400ull, 0x3FFF, 1.0},
      {"halfway rounds to even (up)", 0x8000000000000C00ull, 0x3FFF, 1.0 + 2 * 0x1p-52},
      {"just above halfway", 0x8000000000000401ull, 0x3FFF, 1.0 + 0x1p-52},
      {"too large", 0x8000000000000000ull, 0x7FFE, std::numeric_limits<double>::infinity()},
      {"too large, negative", 0x8000000000000000ull, 0xFFFE, -std::numeric_limits<double>::infinity()},
      {"too small", 0x8000000000000000ull, 0x0001, 0.0},
      {"half the smallest subnormal rounds to even", 0x8000000000000000ull, 16383 - 1075, 0.0},
      {"above half the smallest subnormal", 0xC000000000000000ull, 16383 - 1075,
       std::numeric_limits<double>::denorm_min()},
      {"unnormalised significand", 0x4000000000000000ull, 0x3FFF, 0.5},
      {"pseudo-denormal", 0x0000000000000001ull, 0x0000, 0.0},
  };
  for (const Narrow& C : Cases) {
    Byte B[10];
    for (int I = 0; I < 8; ++I) B[I] = static_cast<Byte>(C.Mant >> (8 * I));
    B[8] = static_cast<Byte>(C.SignExp);
    B[9] = static_cast<Byte>(C.SignExp >> 8);
    EXPECT_EQ(ExtendedToDouble(B), C.Expected) << C.Name;
  }

  // Where the compiler's long double is the same 80-bit format, it is an independent oracle.
  if constexpr (std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384) {
    std::mt19937_64 Rng(12345);
    for (int I = 0; I < 20000; ++I) {
      std::uint64_t Bits = Rng();
      double D = std::bit_cast<double>(Bits);
      if (std::isnan(D)) continue;
      long double L = D;
      Byte Mine[10], Native[10];
      DoubleToExtended(D, Mine);
      std::memcpy(Native, &L, 10);
      ASSERT_EQ(0, std::memcmp(Mine, Native, 10)) << D;

      // Random extended numbers in and around the double range.
      Byte E[10];
      std::uint64_t M = Rng() | (std::uint64_t(1) << 63);
      std::uint16_t SE = static_cast<std::uint16_t>((Rng() % 2300) + 16383 - 1150 + ((Rng() & 1) << 15));
      for (int K = 0; K < 8; ++K) E[K] = static_cast<Byte>(M >> (8 * K));
      E[8] = static_cast<Byte>(SE);
      E[9] = static_cast<Byte>(SE >> 8);
      long double LE;
      std::memset(&LE, 0, sizeof LE);
      std::memcpy(&LE, E, 10);
      double Expected = static_cast<double>(LE);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(E)), std::bit_cast<std::uint64_t>(Expected)) << SE;
    }
  }
}

TEST(Filer, ReaderAcceptsCompatibleValueTypes) {
  struct Case {
    const char* Name;
    Bytes Input;
    std::function<String(TReader&)> Read;
    String Expected;
  };
  auto Num = [](double V) { return std::to_string(V); };
  const Case Cases[] = {
      {"int16 as integer", {3, 0x34, 0x12}, [](TReader& R) { return std::to_string(R.ReadInteger()); }, "4660"},
      {"negative int32", {4, 0xFE, 0xFF, 0xFF, 0xFF}, [](TReader& R) { return std::to_string(R.ReadInteger()); }, "-2"},
      {"int8 as int64", {2, 0xFF}, [](TReader& R) { return std::to_string(R.ReadInt64()); }, "-1"},
      {"int64", {19, 0, 0, 0, 0, 1, 0, 0, 0}, [](TReader& R) { return std::to_string(R.ReadInt64()); }, "4294967296"},
      {"int8 as float", {2, 7}, [&](TReader& R) { return Num(R.ReadFloat()); }, Num(7)},
      {"single as float", {15, 0, 0, 0xC0, 0x3F}, [&](TReader& R) { return Num(R.ReadFloat()); }, Num(1.5)},
      {"double as single", {21, 0, 0, 0, 0, 0, 0, 0x04, 0x40}, [&](TReader& R) { return Num(R.ReadSingle()); },
       Num(2.5)},
      {"currency", {16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}, [&](TReader& R) { return Num(R.ReadDouble()); }, Num(1.5)},
      {"long string", {12, 2, 0, 0, 0, 'h', 'i'}, [](TReader& R) { return R.ReadString(); }, "hi"},
      {"utf-16 string with pair", {18, 3, 0, 0, 0, 'a', 0, 0x3D, 0xD8, 0x00, 0xDE},
       [](TReader& R) { return R.ReadString(); }, "a\xF0\x9F\x98\x80"},
      {"utf-16 unpaired surrogate", {18, 1, 0, 0, 0, 0x3D, 0xD8}, [](TReader& R) { return R.ReadString(); },
       "\xEF\xBF\xBD"},
      {"ident from nil", {13}, [](TReader& R) { return R.ReadIdent(); }, "nil"},
      {"ident from false", {8}, [](TReader& R) { return R.ReadIdent(); }, "False"},
  };
  for (const Case& C : Cases) {
    TMemoryStream M;
    TReader R(StreamOf(C.Input, M));
    EXPECT_EQ(C.Read(R), C.Expected) << C.Name;
    EXPECT_EQ(M.GetPosition(), M.GetSize()) << C.Name;
  }
}

TEST(Filer, BadInputRaisesClearErrors) {
  struct Case {
    const char* Name;
    Bytes Input;
    std::function<void(TReader&)> Read;
    const char* Message;
  };
  const char* Invalid = "Invalid property value";
  const char* Short = "Stream read error";
  const Case Cases[] = {
      {"empty stream", {}, [](TReader& R) { R.ReadValue(); }, Short},
      {"empty stream at list end", {}, [](TReader& R) { R.EndOfList(); }, Short},
      {"unknown value type", {99}, [](TReader& R) { R.ReadValue(); }, Invalid},
      {"string as integer", {6, 1, 'a'}, [](TReader& R) { R.ReadInteger(); }, Invalid},
      {"int64 as int32", {19, 0, 0, 0, 0, 0, 0, 0, 0}, [](TReader& R) { R.ReadInteger(); }, Invalid},
      {"integer as string", {2, 1}, [](TReader& R) { R.ReadString(); }, Invalid},
      {"integer as boolean", {2, 1}, [](TReader& R) { R.ReadBoolean(); }, Invalid},
      {"string as float", {6, 0}, [](TReader& R) { R.ReadFloat(); }, Invalid},
      {"string as ident", {6, 0}, [](TReader& R) { R.ReadIdent(); }, Invalid},
      {"list end expected", {1}, [](TReader& R) { R.ReadListEnd(); }, Invalid},
      {"truncated int32", {4, 1, 2}, [](TReader& R) { R.ReadInteger(); }, Short},
      {"truncated extended", {5, 0, 0, 0}, [](TReader& R) { R.ReadFloat(); }, Short},
      {"truncated short string", {6, 5, 'a'}, [](TReader& R) { R.ReadString(); }, Short},
      {"huge string length", {12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, [](TReader& R) { R.ReadString(); }, Short},
      {"negative string length", {20, 0xFF, 0xFF, 0xFF, 0xFF}, [](TReader& R) { R.ReadString(); }, Invalid},
      {"huge wide string", {18, 0xFF, 0xFF, 0xFF, 0x7F}, [](TReader& R) { R.ReadString(); }, Short},
      {"huge binary", {10, 0, 0, 0, 0x40, 1}, [](TReader& R) { R.ReadBinary(); }, Short},
      {"binary expected", {6, 0}, [](TReader& R) { R.ReadBinary(); }, Invalid},
      {"unterminated list", {1, 2, 1, 2, 2}, [](TReader& R) { R.SkipValue(); }, Short},
      {"unterminated set", {11, 1, 'a'}, [](TReader& R) { R.SkipValue(); }, Short},
      {"skip past the end", {10, 9, 0, 0, 0, 1}, [](TReader& R) { R.SkipValue(); }, Short},
      {"nesting without end", Bytes(100000, 1), [](TReader& R) { R.SkipValue(); }, Invalid},
      {"truncated property name", {5, 'C', 'o'}, [](TReader& R) { TProbe P; R.ReadProperty(&P); }, Short},
      {"property value of the wrong type", Str("\x05" "Count" "\x06\x01", 8, "x"),
       [](TReader& R) {
         TProbe P;
         R.ReadProperty(&P);
       },
       Invalid},
      {"collection item without list", {14, 6, 0}, [](TReader& R) {
         TCollection C(ItemClassOf<TNamedItem>());
         R.ReadCollection(&C);
       },
       Invalid},
  };
  for (const Case& C : Cases) {
    TMemoryStream M;
    TReader R(StreamOf(C.Input, M));
    try {
      C.Read(R);
      ADD_FAILURE() << C.Name << ": no error";
    } catch (const EReadError& E) {
      EXPECT_STREQ(E.what(), C.Message) << C.Name;
    }
  }
}

TEST(Filer, PropertiesRoundTripByteForByte) {
  struct Case {
    const char* Name;
    std::function<void(TProbe&)> Fill;
  };
  const Case Cases[] = {
      {"nothing stored", [](TProbe&) {}},
      {"every kind",
       [](TProbe& P) {
         P.Count = -70000;
         P.Big = -(Int64(1) << 40);
         P.Name = "Ser\xC3\xAF" "es 1";
         P.Ratio = 0.1;
         P.Scale = 1.25f;
         P.Enabled = true;
         P.Tags = {"alpha", "True", "nil"};
         P.Blob = {0, 255, 10, 13};
       }},
      {"long texts and large blob",
       [](TProbe& P) {
         P.Name = std::string(70000, 'q');
         P.Blob.assign(300000, 7);
         P.Ratio = std::numeric_limits<double>::denorm_min();
       }},
  };
  for (const Case& C : Cases) {
    TProbe Source;
    C.Fill(Source);
    Bytes First = WriteProbe(Source);
    TProbe Back;
    ReadProbe(First, Back);
    EXPECT_EQ(Back.Count, Source.Count) << C.Name;
    EXPECT_EQ(Back.Big, Source.Big) << C.Name;
    EXPECT_EQ(Back.Name, Source.Name) << C.Name;
    EXPECT_EQ(Back.Ratio, Source.Ratio) << C.Name;
    EXPECT_EQ(Back.Scale, Source.Scale) << C.Name;
    EXPECT_EQ(Back.Enabled, Source.Enabled) << C.Name;
    EXPECT_EQ(Back.Tags, Source.Tags) << C.Name;
    EXPECT_EQ(Back.Blob, Source.Blob) << C.Name;
    EXPECT_EQ(Back.LegacySeen, -1) << C.Name << ": a property without writer was written";
    EXPECT_EQ(WriteProbe(Back), First) << C.Name;
  }
}

TEST(Filer, PropertyNamesAreMatchedAndUnknownNamesRefused) {
  // A read-only legacy property and a name in another case are both read.
  Bytes Legacy = Written([](TWriter& W) {
    W.WritePropName("LEGACY");
    W.WriteInteger(3);
    W.WriteListEnd();
  });
  TProbe P;
  ReadProbe(Legacy, P);
  EXPECT_EQ(P.LegacySeen, 3);

  Bytes Unknown = Written([](TWriter& W) {
    W.WritePropName("Count");
    W.WriteInteger(4);
    W.WritePropName("Colour");
    W.WriteInteger(1);
    W.WriteListEnd();
  });
  TMemoryStream M;
  TReader R(StreamOf(Unknown, M));
  TProbe Q;
  try {
    R.ReadProperties(&Q);
    ADD_FAILURE() << "unknown property read";
  } catch (const EReadError& E) {
    EXPECT_STREQ(E.what(), "Error reading TPersistent.Colour: Property Colour does not exist");
  }
  EXPECT_EQ(Q.Count, 4);
}

TEST(Filer, SkipValueSkipsEveryKind) {
  struct Case {
    const char* Name;
    std::function<void(TWriter&)> Write;
  };
  const Case Cases[] = {
      {"int64", [](TWriter& W) { W.WriteInteger(Int64(1) << 50); }},
      {"extended", [](TWriter& W) { W.WriteFloat(2.5); }},
      {"single", [](TWriter& W) { W.WriteSingle(2.5f); }},
      {"long string", [](TWriter& W) { W.WriteString(std::string(300, 'a')); }},
      {"utf-8 string", [](TWriter& W) { W.WriteString("\xE2\x82\xAC"); }},
      {"wide string", [](TWriter& W) { W.Write("\x12\x02\x00\x00\x00" "a\0b\0", 9); }},
      {"ident", [](TWriter& W) { W.WriteIdent("clRed"); }},
      {"binary", [](TWriter& W) { W.WriteBinary("xyz", 3); }},
      {"set", [](TWriter& W) {
         W.WriteValue(TValueType::vaSet);
         W.WriteStr("fsBold");
         W.WriteStr("");
       }},
      {"nested list", [](TWriter& W) {
         W.WriteListBegin();
         W.WriteListBegin();
         W.WriteString("in");
         W.WriteListEnd();
         W.WriteBoolean(true);
         W.WriteListEnd();
       }},
      {"collection", [](TWriter& W) {
         TCollection C(ItemClassOf<TNamedItem>());
         static_cast<TNamedItem*>(C.Add())->Text = "one";
         static_cast<TNamedItem*>(C.Add())->Width = 9;
         W.WriteCollection(&C);
       }},
      {"collection with item index", [](TWriter& W) {
         W.WriteValue(TValueType::vaCollection);
         W.WriteInteger(0);
         W.WriteListBegin();
         W.WritePropName("Text");
         W.WriteString("x");
         W.WriteListEnd();
         W.WriteListEnd();
       }},
  };
  for (const Case& C : Cases) {
    Bytes B = Written([&](TWriter& W) {
      C.Write(W);
      W.WriteInteger(42);
    });
    TMemoryStream M;
    TReader R(StreamOf(B, M));
    R.SkipValue();
    EXPECT_EQ(R.ReadInteger(), 42) << C.Name;
  }
}

TEST(Filer, CollectionsRoundTripAndReplaceWhatWasThere) {
  TCollection Source(ItemClassOf<TNamedItem>());
  for (auto [Text, Width] : {std::pair<const char*, int>{"first", 0}, {"", 12}, {"third", -3}}) {
    auto* Item = static_cast<TNamedItem*>(Source.Add());
    Item->Text = Text;
    Item->Width = Width;
  }
  Bytes First = Written([&](TWriter& W) { W.WriteCollection(&Source); });

  TCollection Dest(ItemClassOf<TNamedItem>());
  static_cast<TNamedItem*>(Dest.Add())->Text = "stale";
  TMemoryStream M;
  TReader R(StreamOf(First, M));
  R.ReadCollection(&Dest);
  ASSERT_EQ(Dest.GetCount(), 3);
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(static_cast<TNamedItem*>(Dest.GetItem(I))->Text, static_cast<TNamedItem*>(Source.GetItem(I))->Text);
    EXPECT_EQ(static_cast<TNamedItem*>(Dest.GetItem(I))->Width, static_cast<TNamedItem*>(Source.GetItem(I))->Width);
  }
  EXPECT_EQ(Dest.GetUpdateCount(), 0);
  EXPECT_EQ(Written([&](TWriter& W) { W.WriteCollection(&Dest); }), First);

  // A failure inside the items still closes the update bracket.
  Bytes Bad = First;
  Bad[Bad.size() - 4] = 99;  // the value type of the last item's last value
  TMemoryStream BadStream;
  TReader BadReader(StreamOf(Bad, BadStream));
  EXPECT_THROW(BadReader.ReadCollection(&Dest), EReadError);
  EXPECT_EQ(Dest.GetUpdateCount(), 0);
}

TEST(Filer, NestedPropertiesInsideAPropertyValue) {
  // An object whose property holds a collection whose items have properties of the same names.
  class THolder : public TPersistent {
   public:
    TCollection Items{ItemClassOf<TNamedItem>()};
    String Text;
    void DefineProperties(TFiler* Filer) override {
      Filer->DefineProperty(
          "Items", [this](TReader* R) { R->ReadCollection(&Items); },
          [this](TWriter* W) { W->WriteCollection(&Items); }, Items.GetCount() > 0);
      Filer->DefineProperty(
          "Text", [this](TReader* R) { Text = R->ReadString(); }, [this](TWriter* W) { W->WriteString(Text); },
          !Text.empty());
    }
  };
  THolder Source;
  static_cast<TNamedItem*>(Source.Items.Add())->Text = "inner";
  Source.Text = "outer";
  Bytes First = Written([&](TWriter& W) {
    W.WriteProperties(&Source);
    W.WriteListEnd();
  });

  THolder Back;
  TMemoryStream M;
  TReader R(StreamOf(First, M));
  R.ReadProperties(&Back);
  R.ReadListEnd();
  EXPECT_EQ(Back.Text, "outer");
  ASSERT_EQ(Back.Items.GetCount(), 1);
  EXPECT_EQ(static_cast<TNamedItem*>(Back.Items.GetItem(0))->Text, "inner");
  EXPECT_EQ(Written([&](TWriter& W) {
              W.WriteProperties(&Back);
              W.WriteListEnd();
            }),
            First);
}
