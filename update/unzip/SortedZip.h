// TSortedZip: the archive directory as a sorted object list of TZipHeaderInfo, ordered by one
// of eight sort modes (ByNone is the physical order: disk, then local header offset).
#pragma once

#include "update/strings/SortedObjectList.h"
#include "update/unzip/ZipHeader.h"
#include "update/unzip/ZipTypes.h"

namespace pelorin {

class TSortedZip : public TSortedObjectList {
public:
    explicit TSortedZip(TZipSortMode mode, TDuplicates rule = TDuplicates::dupAccept);

    std::string ClassName() const override { return "TSortedZip"; }
    int Compare(const TObject* itemKey, const TObject* key) const override;

    TZipSortMode SortMode() const { return mode_; }
    TZipHeaderInfo* Entry(int index) const { return static_cast<TZipHeaderInfo*>(Items(index)); }

    // Where the entry with that disk and local header offset stands in a ByNone list; -1 if none.
    int FindPhysical(std::uint16_t disk, std::uint32_t localHeaderOffset) const;

private:
    TZipSortMode mode_;
};

// The compression rate of an entry: compressed x 100 / uncompressed, rounded, at most 100.
int EntryRate(const TZipHeaderInfo& entry);

}  // namespace pelorin
