// TObjectList: growth, bounds, ownership and the neighbour walk.
// Items are kept in a vector; the capacity is the list's own count of reserved slots.
#include "update/strings/ObjectList.h"

#include <cstdint>
#include <memory>

#include "core/TextFormat.h"
#include "update/strings/ClassRegistry.h"
#include "update/strings/Stream.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

namespace {

const char* const kIndexOutOfBounds = "List index out of bounds (%d)";

}  // namespace

TObjectList::~TObjectList() { Clear(); }

void TObjectList::SetCapacity(int capacity) {
    if (capacity < Count() || capacity > kMaxCapacity) Error(FormatText(kIndexOutOfBounds, capacity));
    items_.reserve(static_cast<std::size_t>(capacity));
    capacity_ = capacity;
}

TObject* TObjectList::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

void TObjectList::Clear() {
    const std::vector<TObject*> items = std::move(items_);
    items_.clear();
    for (TObject* item : items) FreeItem(item);
    Empty();
}

void TObjectList::Error(const std::string& message) const { throw EListError(message); }

void TObjectList::Grow() {
    const int delta = capacity_ >= 9 ? 16 : capacity_ >= 5 ? 8 : 4;
    SetCapacity(capacity_ + delta);
}

void TObjectList::Put(int index, TObject* item) {
    CheckIndex(index);
    TObject*& slot = items_[static_cast<std::size_t>(index)];
    if (slot == item) return;
    TObject* const old = slot;
    slot = item;
    FreeItem(old);
}

void TObjectList::FreeItem(TObject* item) {
    if (ownsObjects_) delete item;
}

int TObjectList::Add(TObject* item) {
    const int index = Count();
    Insert(index, item);
    return index;
}

void TObjectList::Empty() {
    items_.clear();
    items_.shrink_to_fit();
    capacity_ = 0;
}

int TObjectList::IndexOf(const TObject* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == item) return static_cast<int>(i);
    }
    return -1;
}

void TObjectList::Insert(int index, TObject* item) { InsertAt(index, item); }

void TObjectList::InsertAt(int index, TObject* item) {
    if (index < 0 || index > Count()) Error(FormatText(kIndexOutOfBounds, index));
    if (Count() == capacity_) Grow();
    items_.insert(items_.begin() + index, item);
}

void TObjectList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error(FormatText(kIndexOutOfBounds, index));
}

// Layout: owns-objects byte, 32-bit count, then per item its class name and its own data.
void TObjectList::ReadItems(TStream& stream, const TClassRegistry& registry) {
    std::uint8_t owns = 0;
    stream.ReadBuffer(&owns, 1);
    ownsObjects_ = owns != 0;
    std::int32_t count = 0;
    stream.ReadBuffer(&count, sizeof count);
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TObject> item = registry.ReadObject(stream);
        Add(item.get());
        item.release();
    }
}

void TObjectList::WriteItems(TStream& stream, const TClassRegistry& registry) const {
    const std::uint8_t owns = ownsObjects_ ? 1 : 0;
    stream.WriteBuffer(&owns, 1);
    const std::int32_t count = Count();
    stream.WriteBuffer(&count, sizeof count);
    for (const TObject* item : items_) registry.WriteObject(stream, item);
}

TObject* TObjectList::First() const { return items_.empty() ? nullptr : items_.front(); }

TObject* TObjectList::Last() const { return items_.empty() ? nullptr : items_.back(); }

TObject* TObjectList::Neighbour(const TObject* item, int direction) const {
    if (!item) return direction == 0 ? Last() : First();
    const int index = IndexOf(item);
    if (index < 0) Error(FormatText("tObject %s not in item list", item->ClassName()));
    const int next = direction == 0 ? index - 1 : index + 1;
    return next >= 0 && next < Count() ? items_[static_cast<std::size_t>(next)] : nullptr;
}

}  // namespace pelorin
