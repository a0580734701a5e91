// Event types of the window layer: callables whose first argument is the sender.
// An empty event is simply not called.
#pragma once

#include <functional>

namespace pelorin {

class TComponent;

using TNotifyEvent = std::function<void(TComponent& sender)>;
using TCloseQueryEvent = std::function<void(TComponent& sender, bool& canClose)>;

}  // namespace pelorin
