// TSortedZip: the comparisons of the eight sort modes. The modes by date and sizes sort the
// largest first and never call two entries equal: a new entry goes after the ones it ties with.
#include "update/unzip/SortedZip.h"

#include "core/TextCase.h"
#include "update/unzip/DosDateTime.h"
#include "update/unzip/Percent.h"

namespace pelorin {

namespace {

template <typename T>
int Ascending(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The existing entry's value against the new one's, largest first, ties before the new entry.
template <typename T>
int LargestFirst(T existing, T added) {
    return existing >= added ? -1 : 1;
}

}  // namespace

TSortedZip::TSortedZip(TZipSortMode mode, TDuplicates rule) : mode_(mode) { SetDuplicates(rule); }

int EntryRate(const TZipHeaderInfo& entry) { return RoundPercent(entry.CompressedSize, entry.UncompressedSize); }

int TSortedZip::Compare(const TObject* itemKey, const TObject* key) const {
    const auto& a = *static_cast<const TZipHeaderInfo*>(itemKey);
    const auto& b = *static_cast<const TZipHeaderInfo*>(key);
    switch (mode_) {
    case TZipSortMode::ByName: return CompareTextAscii(a.FullName(), b.FullName());
    case TZipSortMode::ByFileName: return CompareTextAscii(a.FileName(), b.FileName());
    case TZipSortMode::ByDirectoryName: return CompareTextAscii(a.Path(), b.Path());
    case TZipSortMode::ByDate: return LargestFirst(DosDateTimeOrder(a.DateTime), DosDateTimeOrder(b.DateTime));
    case TZipSortMode::ByCompressedSize: return LargestFirst(a.CompressedSize, b.CompressedSize);
    case TZipSortMode::ByUnCompressedSize: return LargestFirst(a.UncompressedSize, b.UncompressedSize);
    case TZipSortMode::ByRate: return Ascending(EntryRate(b), EntryRate(a));
    case TZipSortMode::ByNone: break;
    }
    const int byDisk = Ascending(a.DiskNumberStart, b.DiskNumberStart);
    return byDisk != 0 ? byDisk : Ascending(a.LocalHeaderOffset, b.LocalHeaderOffset);
}

int TSortedZip::FindPhysical(std::uint16_t disk, std::uint32_t localHeaderOffset) const {
    TZipHeaderInfo probe;
    probe.DiskNumberStart = disk;
    probe.LocalHeaderOffset = localHeaderOffset;
    int index = 0;
    return Find(&probe, index) ? index : -1;
}

}  // namespace pelorin
