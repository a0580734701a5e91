// TSortedObjectList: binary search and the duplicate rules.
// An equal key lands before the equal items under accept, on the found one otherwise.
#include "update/strings/SortedObjectList.h"

#include "update/strings/Stream.h"

namespace pelorin {

bool TSortedObjectList::Find(const TObject* key, int& index) const {
    bool found = false;
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int c = Compare(KeyOf(Items(middle)), key);
        if (c < 0) {
            low = middle + 1;
            continue;
        }
        high = middle - 1;
        if (c == 0) {
            found = true;
            if (duplicates_ != TDuplicates::dupAccept) low = middle;
        }
    }
    index = low;
    return found;
}

int TSortedObjectList::Add(TObject* item) {
    int index = 0;
    if (Find(KeyOf(item), index)) {
        if (duplicates_ == TDuplicates::dupIgnore) {
            FreeItem(item);
            return -1;
        }
        if (duplicates_ == TDuplicates::dupError) Error("Duplicate Object index");
    }
    InsertAt(index, item);
    return index;
}

void TSortedObjectList::Put(int /*index*/, TObject* /*item*/) { Error("Cannot <Put> an Object in a sorted list!"); }

void TSortedObjectList::Insert(int /*index*/, TObject* item) { Add(item); }

// Equal keys may belong to several items: the search lands on the first, the identity decides.
int TSortedObjectList::IndexOf(const TObject* item) const {
    if (!item) return -1;
    int index = 0;
    if (!Find(KeyOf(item), index)) return -1;
    for (int i = index; i < Count() && Compare(KeyOf(Items(i)), KeyOf(item)) == 0; ++i) {
        if (Items(i) == item) return i;
    }
    return -1;
}

void TSortedObjectList::ReadItems(TStream& stream, const TClassRegistry& registry) {
    std::uint8_t rule = 0;
    stream.ReadBuffer(&rule, 1);
    duplicates_ = rule <= 2 ? static_cast<TDuplicates>(rule) : TDuplicates::dupIgnore;
    TObjectList::ReadItems(stream, registry);
}

void TSortedObjectList::WriteItems(TStream& stream, const TClassRegistry& registry) const {
    const auto rule = static_cast<std::uint8_t>(duplicates_);
    stream.WriteBuffer(&rule, 1);
    TObjectList::WriteItems(stream, registry);
}

}  // namespace pelorin
