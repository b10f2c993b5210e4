// Simple message dialogs through a replaceable hook.
#include "platform/Dialogs.h"

#include <cstdio>
#include <mutex>

namespace zel {

namespace {

void WriteToStdErr(const String& Msg) {
  std::fputs(Msg.c_str(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

std::mutex HookLock;

TShowMessageHook& CurrentHook() {
  static TShowMessageHook Hook = WriteToStdErr;
  return Hook;
}

}  // namespace

TShowMessageHook SetShowMessageHook(TShowMessageHook Hook) {
  std::lock_guard<std::mutex> Guard(HookLock);
  TShowMessageHook Previous = std::move(CurrentHook());
  CurrentHook() = Hook ? std::move(Hook) : TShowMessageHook(WriteToStdErr);
  return Previous;
}

void ShowMessage(const String& Msg) {
  TShowMessageHook Hook;
  {
    // Called outside the lock, so that a hook may itself show a message or replace the hook.
    std::lock_guard<std::mutex> Guard(HookLock);
    Hook = CurrentHook();
  }
  Hook(Msg);
}

void ShowMessageFmt(const String& Fmt, std::initializer_list<FormatArg> Args) { ShowMessage(Format(Fmt, Args)); }

}  // namespace zel
