// TClassRegistry: the classes whose objects an object list may read and write, each
// registered by name with a creation and a read and a write procedure.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "update/strings/Persistent.h"

namespace pelorin {

class TStream;

class TClassRegistry {
public:
    static constexpr std::size_t kMaxNameLength = 63;

    using CreateProc = std::function<std::unique_ptr<TObject>()>;
    using ReadProc = std::function<void(TObject& item, TStream& stream)>;
    using WriteProc = std::function<void(const TObject& item, TStream& stream)>;

    // Names match without regard to case; a second registration of a name replaces the first.
    void Register(const std::string& name, CreateProc create, ReadProc read, WriteProc write);
    bool IsRegistered(const std::string& name) const;

    // One item: its class name as a length-prefixed string, then its own data.
    std::unique_ptr<TObject> ReadObject(TStream& stream) const;
    void WriteObject(TStream& stream, const TObject* item) const;

private:
    struct Entry {
        std::string name;
        CreateProc create;
        ReadProc read;
        WriteProc write;
    };
    const Entry* Lookup(const std::string& name) const;

    std::vector<Entry> entries_;
};

}  // namespace pelorin
