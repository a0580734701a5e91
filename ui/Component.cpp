// TComponent: owned components are freed last-first, before the owner's own state.
// Windows of controls go before the window of the form that holds them.
#include "ui/Component.h"

namespace pelorin {

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
    while (!components_.empty()) components_.pop_back();
}

}  // namespace pelorin
