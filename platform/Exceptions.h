// The exception hierarchy of the platform layer and always-on assertions.
#pragma once

#include <exception>

#include "platform/Types.h"

namespace zel {

class Exception : public std::exception {
 public:
  explicit Exception(String Msg) : FMessage(std::move(Msg)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const String& GetMessage() const { return FMessage; }
  void SetMessage(const String& Msg) { FMessage = Msg; }

 private:
  String FMessage;
};

#define ZEL_EXCEPTION(Name, Base)                   \
  class Name : public Base {                        \
   public:                                          \
    explicit Name(String Msg) : Base(std::move(Msg)) {} \
  }

ZEL_EXCEPTION(EAbort, Exception);
ZEL_EXCEPTION(EConvertError, Exception);
ZEL_EXCEPTION(EAssertionFailed, Exception);
ZEL_EXCEPTION(EListError, Exception);
ZEL_EXCEPTION(EArgumentException, Exception);
ZEL_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
ZEL_EXCEPTION(ERangeError, Exception);
ZEL_EXCEPTION(EMathError, Exception);
ZEL_EXCEPTION(EZeroDivide, EMathError);
ZEL_EXCEPTION(EInvalidOp, EMathError);
ZEL_EXCEPTION(EOverflow, EMathError);
ZEL_EXCEPTION(EInvalidCast, Exception);
ZEL_EXCEPTION(EInvalidOperation, Exception);
ZEL_EXCEPTION(EInvalidPointer, Exception);
ZEL_EXCEPTION(EOutOfMemory, Exception);
ZEL_EXCEPTION(EStreamError, Exception);
ZEL_EXCEPTION(EFilerError, EStreamError);
ZEL_EXCEPTION(EReadError, EFilerError);
ZEL_EXCEPTION(EWriteError, EFilerError);
ZEL_EXCEPTION(EClassNotFound, EFilerError);
ZEL_EXCEPTION(EFOpenError, EStreamError);
ZEL_EXCEPTION(EFCreateError, EStreamError);
ZEL_EXCEPTION(EComponentError, Exception);
ZEL_EXCEPTION(ERegistryException, Exception);
ZEL_EXCEPTION(EInOutError, Exception);

#undef ZEL_EXCEPTION

// Messages of the run-time errors above.
inline const char* const SDivByZero = "Division by zero";
inline const char* const SInvalidOp = "Invalid floating point operation";
inline const char* const SRangeError = "Range check error";
inline const char* const SListIndexError = "List index out of bounds (%d)";
inline const char* const SAssertionFailed = "Assertion failed";

// Raises EAssertionFailed "<Msg> (<Unit>)" when Cond is false. Always on.
[[noreturn]] void AssertFailed(const String& Msg, const char* Unit);
inline void Assert(bool Cond, const String& Msg, const char* Unit) {
  if (!Cond) AssertFailed(Msg, Unit);
}

// Raises EAbort, the silent exception.
[[noreturn]] void Abort();

}  // namespace zel
