#include "platform/ObjectText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/Filer.h"

namespace zel {

namespace {

constexpr int MaxTextNesting = 64;

// ---------------------------------------------------------------------------------------------
// Binary to text

class TTextOut {
 public:
  TTextOut(TStream* Input, TStream* Output) : FReader(Input), FOut(Output) {}

  void Run() {
    FReader.ReadSignature();
    Object(0);
  }

 private:
  void Put(const String& S) { FOut->WriteBuffer(S.data(), static_cast<Int64>(S.size())); }
  void Line(int Indent, const String& S) { Put(String(static_cast<std::size_t>(Indent) * 2, ' ') + S + "\n"); }

  void Object(int Depth) {
    if (Depth >= MaxTextNesting) throw EReadError("Components nested too deeply");
    const String Class = FReader.ReadStr();
    const String Name = FReader.ReadStr();
    Line(Depth, "object " + Name + ": " + Class);
    while (!FReader.EndOfList()) {
      const String Prop = FReader.ReadStr();
      Put(String(static_cast<std::size_t>(Depth + 1) * 2, ' ') + Prop + " = ");
      Value(Depth + 1);
      Put("\n");
    }
    FReader.ReadListEnd();
    while (!FReader.EndOfList()) Object(Depth + 1);
    FReader.ReadListEnd();
    Line(Depth, "end");
  }

  static String Quoted(const String& S) {
    String R;
    bool InQuote = false;
    for (unsigned char C : S) {
      if (C < 0x20 || C == 0x7F) {
        if (InQuote) R += '\'';
        InQuote = false;
        R += '#' + std::to_string(C);
      } else {
        if (!InQuote) R += '\'';
        InQuote = true;
        if (C == '\'') R += '\'';
        R += static_cast<char>(C);
      }
    }
    if (InQuote) R += '\'';
    if (R.empty()) R = "''";
    return R;
  }

  template <typename F>
  static String Shortest(F V) {
    if (std::isnan(V)) return "NAN";
    if (std::isinf(V)) return V < 0 ? "-INF" : "INF";
    char Buf[64];
    auto Res = std::to_chars(Buf, Buf + sizeof(Buf), V);
    String S(Buf, Res.ptr);
    if (S.find_first_of(".e") == String::npos) S += ".0";
    return S;
  }

  void Value(int Depth) {
    if (Depth >= MaxTextNesting * 4) throw EReadError("Values nested too deeply");
    Byte B[10];
    switch (FReader.NextValue()) {
      case TValueType::vaList:
        FReader.ReadValue();
        Put("(");
        while (!FReader.EndOfList()) {
          Put("\n" + String(static_cast<std::size_t>(Depth + 1) * 2, ' '));
          Value(Depth + 1);
        }
        FReader.ReadListEnd();
        Put(")");
        return;
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64:
        Put(std::to_string(FReader.ReadInt64()));
        return;
      case TValueType::vaExtended: {
        FReader.ReadValue();
        FReader.Read(B, 10);
        const double D = ExtendedToDouble(B);
        Byte Back[10];
        DoubleToExtended(D, Back);
        if (std::memcmp(Back, B, 10) == 0) {
          Put(Shortest(D));
        } else {
          static const char* Hex = "0123456789ABCDEF";
          String S = "E#";
          for (Byte X : B) {
            S += Hex[X >> 4];
            S += Hex[X & 15];
          }
          Put(S);
        }
        return;
      }
      case TValueType::vaSingle:
        FReader.ReadValue();
        FReader.Read(B, 4);
        Put(Shortest(std::bit_cast<float>(B[0] | (std::uint32_t(B[1]) << 8) | (std::uint32_t(B[2]) << 16) |
                                          (std::uint32_t(B[3]) << 24))) + "s");
        return;
      case TValueType::vaDouble:
      case TValueType::vaDate:
      case TValueType::vaCurrency: {
        const TValueType T = FReader.ReadValue();
        FReader.Read(B, 8);
        std::uint64_t U = 0;
        for (int I = 7; I >= 0; --I) U = (U << 8) | B[I];
        if (T == TValueType::vaCurrency) {
          // Exactly: the count of ten-thousandths.
          Put(std::to_string(static_cast<Int64>(U)) + "c");
        } else {
          Put(Shortest(std::bit_cast<double>(U)) + (T == TValueType::vaDate ? "d" : "x"));
        }
        return;
      }
      case TValueType::vaString:
      case TValueType::vaLString:
      case TValueType::vaUTF8String:
      case TValueType::vaWString:
        Put(Quoted(FReader.ReadString()));
        return;
      case TValueType::vaIdent:
      case TValueType::vaFalse:
      case TValueType::vaTrue:
      case TValueType::vaNil:
      case TValueType::vaNull:
        Put(FReader.ReadIdent());
        return;
      case TValueType::vaBinary: {
        const std::vector<Byte> Data = FReader.ReadBinary();
        static const char* Hex = "0123456789ABCDEF";
        Put("{");
        for (std::size_t I = 0; I < Data.size(); ++I) {
          if (I % 32 == 0) Put("\n" + String(static_cast<std::size_t>(Depth + 1) * 2, ' '));
          const char H[2] = {Hex[Data[I] >> 4], Hex[Data[I] & 15]};
          Put(String(H, 2));
        }
        Put("}");
        return;
      }
      case TValueType::vaSet: {
        FReader.ReadValue();
        Put("[");
        bool First = true;
        for (String N = FReader.ReadStr(); !N.empty(); N = FReader.ReadStr()) {
          Put(First ? N : ", " + N);
          First = false;
        }
        Put("]");
        return;
      }
      case TValueType::vaCollection: {
        FReader.ReadValue();
        Put("<");
        while (!FReader.EndOfList()) {
          String Head = "item";
          switch (FReader.NextValue()) {
            case TValueType::vaInt8:
            case TValueType::vaInt16:
            case TValueType::vaInt32:
              Head += " [" + std::to_string(FReader.ReadInteger()) + "]";
              break;
            default:
              break;
          }
          Put("\n" + String(static_cast<std::size_t>(Depth + 1) * 2, ' ') + Head);
          FReader.ReadListBegin();
          while (!FReader.EndOfList()) {
            const String Prop = FReader.ReadStr();
            Put("\n" + String(static_cast<std::size_t>(Depth + 2) * 2, ' ') + Prop + " = ");
            Value(Depth + 2);
          }
          FReader.ReadListEnd();
          Put("\n" + String(static_cast<std::size_t>(Depth + 1) * 2, ' ') + "end");
        }
        FReader.ReadListEnd();
        Put(">");
        return;
      }
    }
    throw EReadError(SInvalidPropertyValue);
  }

  TReader FReader;
  TStream* FOut;
};

// ---------------------------------------------------------------------------------------------
// Text to binary

class TTextIn {
 public:
  TTextIn(TStream* Input, TStream* Output) : FWriter(Output) {
    const Int64 Size = Input->GetSize() - Input->GetPosition();
    FText.resize(static_cast<std::size_t>(std::max<Int64>(Size, 0)));
    if (!FText.empty()) Input->ReadBuffer(FText.data(), static_cast<Int64>(FText.size()));
  }

  void Run() {
    Next();
    FWriter.WriteSignature();
    Object(0);
    if (FKind != TTok::End) Error("end of text expected");
  }

 private:
  enum class TTok { End, Ident, Number, Text, Symbol };

  [[noreturn]] void Error(const String& What) {
    throw EReadError("Line " + std::to_string(FTokLine) + ": " + What);
  }

  static bool IsIdentChar(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_' || C == '.';
  }

  void Next() {
    while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t' || FText[FPos] == '\r' || FText[FPos] == '\n')) {
      if (FText[FPos] == '\n') ++FLine;
      ++FPos;
    }
    FTokLine = FLine;
    FTok.clear();
    if (FPos >= FText.size()) {
      FKind = TTok::End;
      return;
    }
    const char C = FText[FPos];
    if (C == '\'' || C == '#') {
      FKind = TTok::Text;
      while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
        if (FText[FPos] == '\'') {
          ++FPos;
          for (;;) {
            if (FPos >= FText.size() || FText[FPos] == '\n') Error("unterminated string");
            if (FText[FPos] == '\'') {
              if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                FTok += '\'';
                FPos += 2;
                continue;
              }
              ++FPos;
              break;
            }
            FTok += FText[FPos++];
          }
        } else {
          ++FPos;
          std::size_t Start = FPos;
          while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') ++FPos;
          int Code = 0;
          auto Res = std::from_chars(FText.data() + Start, FText.data() + FPos, Code);
          if (Start == FPos || Res.ec != std::errc() || Code < 0 || Code > 255) Error("bad character code");
          FTok += static_cast<char>(Code);
        }
      }
      return;
    }
    if ((C >= '0' && C <= '9') || C == '-' || C == '+') {
      FKind = TTok::Number;
      std::size_t Start = FPos++;
      while (FPos < FText.size() && (IsIdentChar(FText[FPos]) || ((FText[FPos] == '-' || FText[FPos] == '+') &&
                                                                  (FText[FPos - 1] == 'e' || FText[FPos - 1] == 'E'))))
        ++FPos;
      FTok = FText.substr(Start, FPos - Start);
      return;
    }
    if (IsIdentChar(C)) {
      FKind = TTok::Ident;
      std::size_t Start = FPos;
      while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
      if (FPos < FText.size() && FText[FPos] == '#' && FPos - Start == 1 && C == 'E') {  // E#hex
        ++FPos;
        while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
        FKind = TTok::Number;
      }
      FTok = FText.substr(Start, FPos - Start);
      // Names and identifiers are stored with a one-byte length.
      if (FKind == TTok::Ident && FTok.size() > 255) Error("name longer than 255 bytes");
      for (const char* Special : {"NAN", "INF"})
        if (FTok.rfind(Special, 0) == 0 && (FTok.size() == 3 || (FTok.size() == 4 && std::strchr("sxd", FTok[3]))))
          FKind = TTok::Number;
      return;
    }
    FKind = TTok::Symbol;
    FTok = String(1, C);
    ++FPos;
  }

  bool IsSymbol(char C) const { return FKind == TTok::Symbol && FTok.size() == 1 && FTok[0] == C; }
  bool IsWord(const char* W) const { return FKind == TTok::Ident && FTok == W; }
  void Expect(char C) {
    if (!IsSymbol(C)) Error(String("'") + C + "' expected");
    Next();
  }
  String Ident(const char* What) {
    if (FKind != TTok::Ident) Error(String(What) + " expected");
    String S = FTok;
    Next();
    return S;
  }

  void Object(int Depth) {
    if (Depth >= MaxTextNesting) Error("components nested too deeply");
    if (!IsWord("object")) Error("'object' expected");
    Next();
    String Name;
    if (FKind == TTok::Ident) Name = Ident("name");
    Expect(':');
    const String Class = Ident("class name");
    FWriter.WriteStr(Class);
    FWriter.WriteStr(Name);
    while (!IsWord("object") && !IsWord("end")) {
      if (FKind == TTok::End) Error("'end' expected");
      Property(Depth);
    }
    FWriter.WriteListEnd();
    while (IsWord("object")) Object(Depth + 1);
    if (!IsWord("end")) Error("'end' expected");
    Next();
    FWriter.WriteListEnd();
  }

  void Property(int Depth) {
    const String Name = Ident("property name");
    FWriter.WriteStr(Name);
    Expect('=');
    Value(Depth + 1);
  }

  static int HexDigit(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    return -1;
  }

  void Number() {
    const String T = FTok;
    const int Line = FTokLine;
    Next();
    auto Bad = [&]() -> void { throw EReadError("Line " + std::to_string(Line) + ": bad number " + T); };
    if (T.rfind("E#", 0) == 0) {
      if (T.size() != 22) Bad();
      Byte B[11];
      B[0] = static_cast<Byte>(TValueType::vaExtended);
      for (int I = 0; I < 10; ++I) {
        const int H = HexDigit(T[2 + 2 * I]), L = HexDigit(T[3 + 2 * I]);
        if (H < 0 || L < 0) Bad();
        B[1 + I] = static_cast<Byte>(H * 16 + L);
      }
      FWriter.Write(B, 11);
      return;
    }
    const char Last = T.back();
    String Body = T;
    if (Last == 's' || Last == 'x' || Last == 'd' || Last == 'c') Body.pop_back();
    if (!Body.empty() && Body[0] == '+') Body.erase(0, 1);
    const bool IsFloat = Body.find_first_of(".eE") != String::npos || Body == "NAN" || Body == "INF" || Body == "-INF";
    if (Last == 'c') {
      Int64 V = 0;
      auto Res = std::from_chars(Body.data(), Body.data() + Body.size(), V);
      if (Res.ec != std::errc() || Res.ptr != Body.data() + Body.size()) Bad();
      Byte B[9];
      B[0] = static_cast<Byte>(TValueType::vaCurrency);
      for (int I = 0; I < 8; ++I) B[1 + I] = static_cast<Byte>(static_cast<std::uint64_t>(V) >> (8 * I));
      FWriter.Write(B, 9);
      return;
    }
    if (!IsFloat) {
      if (Last == 's' || Last == 'x' || Last == 'd') Bad();
      Int64 V = 0;
      auto Res = std::from_chars(Body.data(), Body.data() + Body.size(), V);
      if (Res.ec != std::errc() || Res.ptr != Body.data() + Body.size()) Bad();
      FWriter.WriteInteger(V);
      return;
    }
    double D = 0;
    if (Body == "NAN")
      D = std::numeric_limits<double>::quiet_NaN();
    else if (Body == "INF")
      D = std::numeric_limits<double>::infinity();
    else if (Body == "-INF")
      D = -std::numeric_limits<double>::infinity();
    else if (Last == 's') {
      float F = 0;
      auto Res = std::from_chars(Body.data(), Body.data() + Body.size(), F);
      if (Res.ec != std::errc() || Res.ptr != Body.data() + Body.size()) Bad();
      FWriter.WriteSingle(F);
      return;
    } else {
      auto Res = std::from_chars(Body.data(), Body.data() + Body.size(), D);
      if (Res.ec != std::errc() || Res.ptr != Body.data() + Body.size()) Bad();
    }
    if (Last == 's')
      FWriter.WriteSingle(static_cast<float>(D));
    else if (Last == 'x')
      FWriter.WriteDouble(D);
    else if (Last == 'd')
      FWriter.WriteDate(D);
    else
      FWriter.WriteFloat(D);
  }

  void Value(int Depth) {
    if (Depth >= MaxTextNesting * 4) Error("values nested too deeply");
    switch (FKind) {
      case TTok::Number:
        Number();
        return;
      case TTok::Text:
        FWriter.WriteString(FTok);
        Next();
        return;
      case TTok::Ident:
        FWriter.WriteIdent(FTok);
        Next();
        return;
      case TTok::End:
        Error("value expected");
      case TTok::Symbol:
        break;
    }
    if (IsSymbol('(')) {
      Next();
      FWriter.WriteListBegin();
      while (!IsSymbol(')')) {
        if (FKind == TTok::End) Error("')' expected");
        Value(Depth + 1);
      }
      Next();
      FWriter.WriteListEnd();
    } else if (IsSymbol('[')) {
      Next();
      FWriter.WriteValue(TValueType::vaSet);
      while (!IsSymbol(']')) {
        const String N = Ident("set element");
        FWriter.WriteStr(N);
        if (IsSymbol(',')) Next();
        else if (!IsSymbol(']')) Error("']' expected");
      }
      Next();
      FWriter.WriteStr(String());
    } else if (IsSymbol('{')) {
      // The hex digits up to '}', read straight from the text.
      std::vector<Byte> Data;
      int High = -1;
      for (;;) {
        if (FPos >= FText.size()) Error("'}' expected");
        const char C = FText[FPos++];
        if (C == '}') break;
        if (C == '\n') ++FLine;
        if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
        const int D = HexDigit(C);
        if (D < 0) Error("bad hex digit in binary data");
        if (High < 0) {
          High = D;
        } else {
          Data.push_back(static_cast<Byte>(High * 16 + D));
          High = -1;
        }
      }
      if (High >= 0) Error("odd number of hex digits");
      FWriter.WriteBinary(Data.data(), static_cast<Int64>(Data.size()));
      Next();
    } else if (IsSymbol('<')) {
      Next();
      FWriter.WriteValue(TValueType::vaCollection);
      while (!IsSymbol('>')) {
        if (!IsWord("item")) Error("'item' expected");
        Next();
        if (IsSymbol('[')) {
          Next();
          if (FKind != TTok::Number) Error("item index expected");
          Number();
          Expect(']');
        }
        FWriter.WriteListBegin();
        while (!IsWord("end")) {
          if (FKind == TTok::End) Error("'end' expected");
          Property(Depth + 1);
        }
        Next();
        FWriter.WriteListEnd();
      }
      Next();
      FWriter.WriteListEnd();
    } else {
      Error("value expected");
    }
  }

  TWriter FWriter;
  String FText;
  std::size_t FPos = 0;
  int FLine = 1;
  int FTokLine = 1;
  TTok FKind = TTok::End;
  String FTok;
};

}  // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) { TTextOut(Input, Output).Run(); }

void ObjectTextToBinary(TStream* Input, TStream* Output) { TTextIn(Input, Output).Run(); }

}  // namespace zel
