// Target folders: the RootDir prefix goes, drive and root prefixes go below DestDir, and
// the remaining parts are kept only when they name a real subfolder.
#include "update/unzip/TargetPath.h"

#include "core/TextCase.h"

namespace pelorin {

namespace {

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string Folder(const std::string& destDir) { return destDir.empty() ? std::string() : destDir + "\\"; }

}  // namespace

std::string SafeRelativePath(const std::string& path) {
    std::string result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (!part.empty() && part != "." && part != "..") result += part + "\\";
        start = end + 1;
    }
    return result;
}

std::string EntryFolder(const std::string& destDir, const std::string& rootDir, const std::string& path,
                        bool recreateDirs) {
    if (!recreateDirs || path.empty()) return Folder(destDir);
    std::string p = path;
    if (!rootDir.empty() && p.size() >= rootDir.size() && SameText(p.substr(0, rootDir.size()), rootDir)) {
        p = p.substr(rootDir.size());
    }
    const bool rooted = !p.empty() && p[0] == '\\';
    const bool drive = HasDrive(p);
    if (destDir.empty() && (rooted || drive)) return p;
    return Folder(destDir) + SafeRelativePath(drive ? p.substr(2) : p);
}

bool IsUnsafeFileName(const std::string& name) {
    return name.empty() || name == "." || name == ".." || name.find(':') != std::string::npos;
}

bool HasStrayColon(const std::string& path) { return path.find(':', HasDrive(path) ? 2 : 0) != std::string::npos; }

}  // namespace pelorin
