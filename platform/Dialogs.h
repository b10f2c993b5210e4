// Simple message dialogs. ShowMessage goes through a replaceable hook: by default it writes the
// text to standard error; the GUI layer installs a message box, tests install a recorder.
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/SysUtils.h"
#include "platform/Types.h"

namespace zel {

using TShowMessageHook = std::function<void(const String& Msg)>;

// Installs Hook and returns the one it replaces; an empty hook restores the default.
TShowMessageHook SetShowMessageHook(TShowMessageHook Hook);

void ShowMessage(const String& Msg);
void ShowMessageFmt(const String& Fmt, std::initializer_list<FormatArg> Args);

}  // namespace zel
