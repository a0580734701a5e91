// TMachineDrives: GetDiskFreeSpace with the critical-error box turned off (an empty floppy
// drive answers "no drive" instead of asking), and DirExists.
#include "setup/wizard/MachineDrives.h"

#include <windows.h>

#include "setup/CmnFunc.h"

namespace pelorin {
namespace {

class TMachineDrives : public IDriveQuery {
public:
    std::optional<std::uint64_t> FreeBytes(const std::string& root) override {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
        const BOOL ok =
            ::GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
        ::SetErrorMode(oldMode);
        if (!ok) return std::nullopt;
        return std::uint64_t{bytesPerSector} * sectorsPerCluster * freeClusters;
    }
    bool DirExists(const std::string& path) override { return pelorin::DirExists(path); }
};

}  // namespace

IDriveQuery& MachineDrives() {
    static TMachineDrives drives;
    return drives;
}

}  // namespace pelorin
