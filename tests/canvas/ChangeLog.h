// Records the senders of a change closure, for the canvas object tests.
#pragma once

#include <vector>

#include "platform/Types.h"

namespace zel {

struct TChangeLog {
  std::vector<TObject*> Senders;
  TNotifyEvent Event() {
    return [this](TObject* Sender) { Senders.push_back(Sender); };
  }
  int Count() const { return static_cast<int>(Senders.size()); }
};

}  // namespace zel
