// The enumerations of the zip component: view order, overwrite rule, the reading of an
// archive without end record, the reasons for skipping an entry, and how an archive is spanned.
#pragma once

namespace pelorin {

enum class TZipSortMode {
    ByName = 0,
    ByFileName = 1,
    ByDirectoryName = 2,
    ByDate = 3,
    ByCompressedSize = 4,
    ByUnCompressedSize = 5,
    ByRate = 6,
    ByNone = 7
};

enum class TUZOverwriteMode { Prompt = 0, Always = 1, Never = 2 };

enum class TIncompleteZipMode { izAssumeMulti = 0, izAssumeBad = 1 };

// SkipUnsafeName: an entry whose file name is "." or "..", or whose name holds a colon past a
// leading drive, has nothing safe to write to.
enum class TSkipReason { SkipBadPassword = 0, SkipNoOverwrite = 1, SkipUnsafeName = 2 };

enum class TSpanMode { SpanNone, SpanRemovableDisks, SpanOtherDrives };

}  // namespace pelorin
