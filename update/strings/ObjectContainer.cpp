// The "ObjectContainer" binary property around an object list's items.
// The items themselves are written by the list, through the class registry.
#include "update/strings/ObjectContainer.h"

#include <cstdint>
#include <string>

#include "update/strings/MemoryStream.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

namespace {

const std::string kPropertyName = "ObjectContainer";
constexpr std::uint8_t kBinaryValue = 10;

}  // namespace

bool WriteObjectContainer(TStream& stream, const TObjectList& list, const TClassRegistry& registry) {
    if (list.Count() == 0) return false;
    TMemoryStream items;
    list.WriteItems(items, registry);
    const auto nameLength = static_cast<std::uint8_t>(kPropertyName.size());
    stream.WriteBuffer(&nameLength, 1);
    stream.WriteBuffer(kPropertyName.data(), kPropertyName.size());
    stream.WriteBuffer(&kBinaryValue, 1);
    const auto length = static_cast<std::int32_t>(items.Bytes().size());
    stream.WriteBuffer(&length, sizeof length);
    stream.WriteBuffer(items.Bytes().data(), items.Bytes().size());
    return true;
}

void ReadObjectContainer(TStream& stream, TObjectList& list, const TClassRegistry& registry) {
    std::uint8_t nameLength = 0;
    stream.ReadBuffer(&nameLength, 1);
    std::string name(nameLength, '\0');
    if (nameLength > 0) stream.ReadBuffer(&name[0], nameLength);
    std::uint8_t valueType = 0;
    stream.ReadBuffer(&valueType, 1);
    if (name != kPropertyName || valueType != kBinaryValue) throw EStreamError("Invalid property value");
    std::int32_t length = 0;
    stream.ReadBuffer(&length, sizeof length);
    if (length < 0 || length > stream.Size() - stream.Position()) throw EStreamError("Invalid property value");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), bytes.size());
    TMemoryStream items(std::move(bytes));
    list.ReadItems(items, registry);
}

}  // namespace pelorin
