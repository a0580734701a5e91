// TSortedObjectList: an object list kept in the order of a comparison that subclasses supply,
// found by binary search, with a rule for equal items (ignore, accept before, or error).
#pragma once

#include <cstdint>

#include "update/strings/ObjectList.h"

namespace pelorin {

enum class TDuplicates : std::uint8_t { dupIgnore = 0, dupAccept = 1, dupError = 2 };

class TSortedObjectList : public TObjectList {
public:
    std::string ClassName() const override { return "TSortedObjectList"; }

    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates rule) { duplicates_ = rule; }

    // The key an item is ordered by: the item itself unless a subclass says otherwise.
    virtual const TObject* KeyOf(const TObject* item) const { return item; }
    // Negative, zero or positive as the item's key sorts before, with or after the key.
    virtual int Compare(const TObject* itemKey, const TObject* key) const = 0;
    // Whether an equal item exists, and the position where the key belongs.
    virtual bool Find(const TObject* key, int& index) const;

    // Inserts at the sorted position. An item dropped by the ignore rule is freed when the
    // list owns its items, and the result is -1.
    int Add(TObject* item) override;
    void Put(int index, TObject* item) override;
    // The index is ignored: the item goes where it sorts.
    void Insert(int index, TObject* item) override;
    int IndexOf(const TObject* item) const override;
    void ReadItems(TStream& stream, const TClassRegistry& registry) override;
    void WriteItems(TStream& stream, const TClassRegistry& registry) const override;

private:
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

}  // namespace pelorin
