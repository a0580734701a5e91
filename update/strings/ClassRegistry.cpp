// TClassRegistry: lookup by class name and the per-item stream layout.
// A name is a length byte and at most 63 characters.
#include "update/strings/ClassRegistry.h"

#include <cstdint>

#include "core/TextCase.h"
#include "core/TextFormat.h"
#include "update/strings/Stream.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

void TClassRegistry::Register(const std::string& name, CreateProc create, ReadProc read, WriteProc write) {
    if (name.empty() || name.size() > kMaxNameLength) {
        throw EClassNotFound(FormatText("Class <%s> not registered", name));
    }
    Entry entry{name, std::move(create), std::move(read), std::move(write)};
    for (Entry& existing : entries_) {
        if (SameText(existing.name, name)) {
            existing = std::move(entry);
            return;
        }
    }
    entries_.push_back(std::move(entry));
}

bool TClassRegistry::IsRegistered(const std::string& name) const { return Lookup(name) != nullptr; }

const TClassRegistry::Entry* TClassRegistry::Lookup(const std::string& name) const {
    for (const Entry& entry : entries_) {
        if (SameText(entry.name, name)) return &entry;
    }
    return nullptr;
}

std::unique_ptr<TObject> TClassRegistry::ReadObject(TStream& stream) const {
    std::uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length > 0) stream.ReadBuffer(&name[0], length);
    const Entry* entry = Lookup(name);
    if (!entry) throw EClassNotFound(FormatText("Class <%s> not registered", name));
    std::unique_ptr<TObject> item = entry->create();
    entry->read(*item, stream);
    return item;
}

void TClassRegistry::WriteObject(TStream& stream, const TObject* item) const {
    if (!item) throw EClassNotFound("Nil Source Class!");
    const Entry* entry = Lookup(item->ClassName());
    if (!entry) throw EClassNotFound(FormatText("Source Class <%s> not registered", item->ClassName()));
    const auto length = static_cast<std::uint8_t>(entry->name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(entry->name.data(), entry->name.size());
    entry->write(*item, stream);
}

}  // namespace pelorin
