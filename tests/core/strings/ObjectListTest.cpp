// Object lists: growth, bounds, ownership, neighbours, the sorted list's duplicate rules
// and streaming through the class registry.
#include <gtest/gtest.h>

#include "ErrorOf.h"

#include <memory>
#include <string>
#include <vector>

#include "update/strings/ClassRegistry.h"
#include "update/strings/MemoryStream.h"
#include "update/strings/ObjectContainer.h"
#include "update/strings/ObjectList.h"
#include "update/strings/SortedObjectList.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {
namespace {

// An item that counts its own destruction.
class Counted : public TObject {
public:
    Counted(int key, int* freed) : key(key), freed_(freed) {}
    ~Counted() override {
        if (freed_) ++*freed_;
    }
    std::string ClassName() const override { return "TCounted"; }
    int key;

private:
    int* freed_;
};

class ByKey : public TSortedObjectList {
public:
    int Compare(const TObject* itemKey, const TObject* key) const override {
        return static_cast<const Counted*>(itemKey)->key - static_cast<const Counted*>(key)->key;
    }
};

using test::ErrorOf;

TEST(ObjectList, GrowsInSteps) {
    TObjectList list;
    list.SetOwnsObjects(false);
    Counted item(0, nullptr);
    std::vector<int> capacities;
    for (int i = 0; i < 70; ++i) {
        const int before = list.Capacity();
        list.Add(&item);
        if (list.Capacity() != before) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 16, 32, 48, 64, 80}));
    EXPECT_EQ(ErrorOf([&] { list.SetCapacity(69); }), "List index out of bounds (69)");
    EXPECT_EQ(ErrorOf([&] { list.SetCapacity(65535); }), "List index out of bounds (65535)");
    list.SetCapacity(65534);
    EXPECT_EQ(ErrorOf([&] { list.Items(70); }), "List index out of bounds (70)");
    EXPECT_EQ(ErrorOf([&] { list.Insert(71, &item); }), "List index out of bounds (71)");
    list.Empty();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(ObjectList, OwnedItemsAreFreedByClearPutAndDestruction) {
    int freed = 0;
    {
        TObjectList list;
        list.Add(new Counted(1, &freed));
        list.Add(new Counted(2, &freed));
        list.Put(0, new Counted(3, &freed));
        EXPECT_EQ(freed, 1);
        list.Clear();
        EXPECT_EQ(freed, 3);
        EXPECT_EQ(list.Capacity(), 0);
        list.Add(new Counted(4, &freed));
    }
    EXPECT_EQ(freed, 4);

    Counted kept(5, &freed);
    {
        TObjectList borrowed;
        borrowed.SetOwnsObjects(false);
        borrowed.Add(&kept);
    }
    EXPECT_EQ(freed, 4);
}

TEST(ObjectList, InsertIndexOfAndNeighbours) {
    Counted a(1, nullptr), b(2, nullptr), c(3, nullptr), stranger(4, nullptr);
    TObjectList list;
    list.SetOwnsObjects(false);
    list.Add(&a);
    list.Add(&c);
    list.Insert(1, &b);
    EXPECT_EQ(list.IndexOf(&b), 1);
    EXPECT_EQ(list.IndexOf(&stranger), -1);
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Last(), &c);
    EXPECT_EQ(list.Neighbour(&b, 0), &a);
    EXPECT_EQ(list.Neighbour(&b, 1), &c);
    EXPECT_EQ(list.Neighbour(&a, 0), nullptr);
    EXPECT_EQ(list.Neighbour(&c, 1), nullptr);
    EXPECT_EQ(list.Neighbour(nullptr, 0), &c);
    EXPECT_EQ(list.Neighbour(nullptr, 1), &a);
    EXPECT_EQ(ErrorOf([&] { list.Neighbour(&stranger, 1); }), "tObject TCounted not in item list");
}

TEST(SortedObjectList, DuplicateRules) {
    int freed = 0;
    ByKey list;
    list.Add(new Counted(5, &freed));
    list.Add(new Counted(1, &freed));
    list.Add(new Counted(3, &freed));
    EXPECT_EQ(static_cast<Counted*>(list.Items(1))->key, 3);

    // Ignore: the equal item is dropped (and freed, since the list owns its items).
    EXPECT_EQ(list.Add(new Counted(3, &freed)), -1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(freed, 1);

    // Accept: inserted before the equal ones.
    list.SetDuplicates(TDuplicates::dupAccept);
    auto* second = new Counted(3, &freed);
    EXPECT_EQ(list.Add(second), 1);
    auto* third = new Counted(3, &freed);
    list.Insert(0, third);  // the index is ignored
    EXPECT_EQ(list.Items(1), third);
    EXPECT_EQ(list.IndexOf(second), 2);

    list.SetDuplicates(TDuplicates::dupError);
    auto duplicate = std::make_unique<Counted>(5, &freed);
    EXPECT_EQ(ErrorOf([&] { list.Add(duplicate.get()); }), "Duplicate Object index");
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(ErrorOf([&] { list.Put(0, duplicate.get()); }), "Cannot <Put> an Object in a sorted list!");

    int at = -1;
    Counted four(4, nullptr);
    EXPECT_FALSE(list.Find(&four, at));
    EXPECT_EQ(at, 4);
}

TEST(ObjectStreaming, RoundTripThroughTheRegistry) {
    TClassRegistry registry;
    registry.Register(
        "TCounted", [] { return std::make_unique<Counted>(0, nullptr); },
        [](TObject& item, TStream& stream) { stream.ReadBuffer(&static_cast<Counted&>(item).key, sizeof(int)); },
        [](const TObject& item, TStream& stream) {
            stream.WriteBuffer(&static_cast<const Counted&>(item).key, sizeof(int));
        });
    ByKey source;
    source.SetDuplicates(TDuplicates::dupAccept);
    source.Add(new Counted(7, nullptr));
    source.Add(new Counted(2, nullptr));
    TMemoryStream stream;
    ASSERT_TRUE(WriteObjectContainer(stream, source, registry));
    stream.SetPosition(0);
    ByKey copy;
    ReadObjectContainer(stream, copy, registry);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Duplicates(), TDuplicates::dupAccept);
    EXPECT_EQ(static_cast<Counted*>(copy.Items(0))->key, 2);
    EXPECT_EQ(static_cast<Counted*>(copy.Items(1))->key, 7);

    ByKey empty;
    TMemoryStream nothing;
    EXPECT_FALSE(WriteObjectContainer(nothing, empty, registry));
    EXPECT_EQ(nothing.Size(), 0);
}

TEST(ObjectStreaming, UnknownAndMissingClasses) {
    TClassRegistry registry;
    TObjectList list;
    list.SetOwnsObjects(false);
    Counted item(1, nullptr);
    list.Add(&item);
    TMemoryStream stream;
    EXPECT_EQ(ErrorOf([&] { list.WriteItems(stream, registry); }), "Source Class <TCounted> not registered");
    list.Put(0, nullptr);
    EXPECT_EQ(ErrorOf([&] { list.WriteItems(stream, registry); }), "Nil Source Class!");

    TMemoryStream written;
    const std::uint8_t bytes[] = {1, 1, 0, 0, 0, 6, 'T', 'O', 't', 'h', 'e', 'r'};
    written.WriteBuffer(bytes, sizeof bytes);
    written.SetPosition(0);
    TObjectList target;
    EXPECT_EQ(ErrorOf([&] { target.ReadItems(written, registry); }), "Class <TOther> not registered");
}

}  // namespace
}  // namespace pelorin
