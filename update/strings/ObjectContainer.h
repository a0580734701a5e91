// The "ObjectContainer" property through which a form stores an object list: the property
// name, the binary value type, the length, then the list's items. An empty list stores nothing.
#pragma once

#include "update/strings/ClassRegistry.h"
#include "update/strings/ObjectList.h"
#include "update/strings/Stream.h"

namespace pelorin {

// False when the list is empty and nothing was written.
bool WriteObjectContainer(TStream& stream, const TObjectList& list, const TClassRegistry& registry);
// Reads a property written by WriteObjectContainer into the list.
void ReadObjectContainer(TStream& stream, TObjectList& list, const TClassRegistry& registry);

}  // namespace pelorin
