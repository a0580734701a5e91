// The message lookup: resources found by name (without regard to case) in a sorted list.
// A resource that cannot be loaded is not kept.
#include "update/strings/StringResourceCache.h"

#include <memory>

#include "core/TextCase.h"
#include "update/strings/StringResource.h"

namespace pelorin {

TStringResourceCache::TStringResourceCache() { SetDuplicates(TDuplicates::dupIgnore); }

int TStringResourceCache::Compare(const TObject* itemKey, const TObject* key) const {
    return CompareTextAscii(static_cast<const TS_StringResource*>(itemKey)->Name(),
                            static_cast<const TS_StringResource*>(key)->Name());
}

std::string TStringResourceCache::Message(const std::string& resourceName, int number) {
    const TS_StringResource probe(resourceName);
    int index = 0;
    if (!Find(&probe, index)) {
        auto loaded = std::make_unique<TS_StringResource>();
        loaded->Load(resourceName);
        index = Add(loaded.get());
        loaded.release();
    }
    return static_cast<TS_StringResource*>(Items(index))->Message(number);
}

std::string LoadResourceMessage(const std::string& resourceName, int number) {
    TS_StringResource resource;
    resource.Load(resourceName);
    return resource.Message(number);
}

}  // namespace pelorin
