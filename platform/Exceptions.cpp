#include "platform/Exceptions.h"

namespace zel {

void AssertFailed(const String& Msg, const char* Unit) {
  String Text = Msg.empty() ? String(SAssertionFailed) : Msg;
  if (Unit && *Unit) Text += String(" (") + Unit + ")";
  throw EAssertionFailed(Text);
}

void Abort() { throw EAbort("Operation aborted"); }

}  // namespace zel
