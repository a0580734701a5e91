// TObjectList: an indexed list of objects that frees its items when it owns them, with
// stepwise growth up to 65534 items, neighbours and streaming through a class registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "update/strings/Persistent.h"

namespace pelorin {

class TClassRegistry;
class TStream;

class TObjectList : public TPersistent {
public:
    static constexpr int kMaxCapacity = 65534;

    TObjectList() = default;
    ~TObjectList() override;
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;

    std::string ClassName() const override { return "TObjectList"; }

    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }
    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity);
    TObject* Items(int index) const;

    // Frees the owned items, then count and capacity become 0.
    void Clear();

    // Raises the list error with the message.
    [[noreturn]] virtual void Error(const std::string& message) const;
    virtual void Grow();
    // Replaces item i; an owned item that is replaced is freed.
    virtual void Put(int index, TObject* item);
    virtual void FreeItem(TObject* item);
    // Appends and returns the index. Once Add or Insert returns, the list has the item;
    // when they raise an error, the caller still has it.
    virtual int Add(TObject* item);
    // Count and capacity to 0 without freeing anything.
    virtual void Empty();
    virtual int IndexOf(const TObject* item) const;
    virtual void Insert(int index, TObject* item);
    virtual void ReadItems(TStream& stream, const TClassRegistry& registry);
    virtual void WriteItems(TStream& stream, const TClassRegistry& registry) const;
    virtual TObject* First() const;
    virtual TObject* Last() const;
    // Direction 0 is the previous item, 1 the next; with no item, 0 gives the last and 1 the first.
    virtual TObject* Neighbour(const TObject* item, int direction) const;

protected:
    // Stores the item at index without any rule of the sorted lists.
    void InsertAt(int index, TObject* item);
    void CheckIndex(int index) const;

private:
    bool ownsObjects_ = true;
    int capacity_ = 0;
    std::vector<TObject*> items_;
};

}  // namespace pelorin
