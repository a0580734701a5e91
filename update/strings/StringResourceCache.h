// The message lookup: a sorted list that keeps one loaded string resource per name, and the
// one-off lookup for callers that keep no cache.
#pragma once

#include <string>

#include "update/strings/SortedObjectList.h"

namespace pelorin {

class TStringResourceCache : public TSortedObjectList {
public:
    TStringResourceCache();

    std::string ClassName() const override { return "TStringResourceCache"; }
    const TObject* KeyOf(const TObject* item) const override { return item; }
    int Compare(const TObject* itemKey, const TObject* key) const override;

    // The message with that number in the named resource, empty when it has none. The
    // resource is loaded on first use and kept; it is locked only during the lookup.
    std::string Message(const std::string& resourceName, int number);
};

// The same lookup without keeping the resource loaded afterwards.
std::string LoadResourceMessage(const std::string& resourceName, int number);

}  // namespace pelorin
