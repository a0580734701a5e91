// Extraction file by file: destinations are judged first, then each file is inflated into
// "~pbNNNN.tmp" beside its place, checked, stamped and renamed; a failure removes the file.
#include "tools/pelorin-build/PackageExtract.h"

#include <filesystem>
#include <fstream>

#include "core/WriteFailure.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/DataArchiveReader.h"
#include "tools/pelorin-build/ExtractPath.h"
#include "tools/pelorin-build/FileTimeStamp.h"
#include "tools/pelorin-build/PackageFolder.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

fs::path Below(const fs::path& root, const std::vector<std::string>& parts) {
    fs::path path = root;
    for (const std::string& part : parts) path /= part;
    return path;
}

// A folder for the path's parent below root, whose real place (links resolved) is still
// below root; empty when there is none.
std::string MakeParent(const fs::path& root, const fs::path& path) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) return "cannot create the folder " + path.parent_path().string() + ": " + error.message();
    const fs::path real = fs::canonical(path.parent_path(), error);
    if (error) return "cannot resolve the folder " + path.parent_path().string() + ": " + error.message();
    const fs::path relative = real.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..")
        return "the folder " + path.parent_path().string() + " leads out of the output folder";
    return std::string();
}

fs::path TemporaryBeside(const fs::path& path, std::size_t index) {
    std::error_code error;
    for (std::size_t attempt = 0;; ++attempt) {
        const fs::path candidate = path.parent_path() / ("~pb" + std::to_string(index) +
                                                         (attempt ? "-" + std::to_string(attempt) : "") + ".tmp");
        if (!fs::exists(candidate, error)) return candidate;
    }
}

// Writes one entry whole or not at all; the problem, or empty.
std::string WriteEntry(DataArchiveReader& reader, const FileEntry& entry, std::size_t index, const fs::path& root,
                       const fs::path& path) {
    std::string problem = reader.CheckPlacement(entry);
    if (problem.empty()) problem = MakeParent(root, path);
    if (!problem.empty()) return problem;
    const fs::path temporary = TemporaryBeside(path, index);
    std::error_code error;
    {
        ClearWriteFailure();
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot create " + temporary.string();
        problem = reader.Inflate(entry, [&out](const std::uint8_t* data, std::size_t size) {
            out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        });
        out.close();
        if (problem.empty() && !out) problem = "cannot write " + temporary.string() + WriteFailureSuffix();
    }
    if (problem.empty() && !SetLastWriteTime(temporary.string(), entry.FileTime))
        problem = "cannot set the time stamp of " + temporary.string();
    if (problem.empty()) {
        fs::rename(temporary, path, error);
        if (error) problem = "cannot move the file into place at " + path.string() + ": " + error.message();
    }
    if (!problem.empty()) fs::remove(temporary, error);
    return problem;
}

}  // namespace

ExtractReport ExtractPackage(const std::string& dir, const std::string& outDir) {
    const PackageFolder folder(dir);
    const SetupData description = folder.LoadDescription();
    ExtractReport report;

    std::vector<ExtractPath> files;
    for (std::size_t i = 0; i < description.FileEntries.size(); ++i) {
        files.push_back(MapDestination(description.FileEntries[i].DestName));
        if (!files.back().refusal.empty())
            report.problems.push_back(EntryLabel(i, description.FileEntries[i]) + ": " + files.back().refusal);
    }
    std::vector<ExtractPath> folders;
    for (std::size_t i = 0; i < description.DirEntries.size(); ++i) {
        folders.push_back(MapDestination(description.DirEntries[i].DirName));
        if (!folders.back().refusal.empty())
            report.problems.push_back("folder " + std::to_string(i + 1) + " " +
                                      PrintableText(description.DirEntries[i].DirName) + ": " + folders.back().refusal);
    }
    if (!report.problems.empty()) return report;

    std::error_code error;
    fs::create_directories(outDir, error);
    const fs::path root = fs::canonical(outDir, error);
    if (error) throw BuildError(outDir, 0, "", "cannot create the output folder: " + error.message());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // A folder's own name is checked like a file's place: by making its parent.
        const fs::path path = Below(root, folders[i].parts);
        std::string problem = MakeParent(root, path);
        if (problem.empty()) {
            fs::create_directory(path, error);
            if (error) problem = "cannot create the folder " + path.string() + ": " + error.message();
        }
        if (!problem.empty())
            report.problems.push_back("folder " + std::to_string(i + 1) + " " +
                                      PrintableText(description.DirEntries[i].DirName) + ": " + problem);
    }

    std::ifstream in(folder.Data(), std::ios::binary);
    const auto size = fs::file_size(folder.Data(), error);
    if (!in || error) throw BuildError(folder.Data(), 0, "", "cannot open the file");
    DataArchiveReader reader(in, size);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileEntry& entry = description.FileEntries[i];
        const std::string problem = WriteEntry(reader, entry, i, root, Below(root, files[i].parts));
        if (!problem.empty()) {
            report.problems.push_back(EntryLabel(i, entry) + ": " + problem);
            continue;
        }
        ++report.written;
        report.bytes += entry.UncompressedSize;
    }
    return report;
}

}  // namespace pelorin
