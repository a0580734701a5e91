// Runs the signing command on a copy in a private scratch folder, so that neither an unsigned
// intermediate nor a half-signed file can stay beside the tools' outputs.
#include "tools/signing/SignCommand.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/WriteFailure.h"
#include "core/ScratchFolder.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

// What went wrong according to the status std::system returned; empty on success.
std::string Failure(int status) {
    if (status == -1) return "could not be started";
#ifdef _WIN32
    if (status != 0) return "ended with exit status " + std::to_string(status);
#else
    if (WIFSIGNALED(status)) return "was ended by signal " + std::to_string(WTERMSIG(status));
    if (!WIFEXITED(status)) return "ended abnormally";
    if (WEXITSTATUS(status) != 0) return "ended with exit status " + std::to_string(WEXITSTATUS(status));
#endif
    return std::string();
}

int RunShell(const std::string& commandLine) {
    std::fflush(nullptr);  // the tool's own output first, then the command's
#ifdef _WIN32
    // cmd /c drops the first and the last quote of a line that starts with one; an outer pair
    // keeps the quotes of a quoted program path and its arguments.
    return std::system(("\"" + commandLine + "\"").c_str());
#else
    return std::system(commandLine.c_str());
#endif
}

}  // namespace

std::string QuoteForShell(const std::string& path) {
#ifdef _WIN32
    return "\"" + path + "\"";
#else
    std::string quoted = "'";
    for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
#endif
}

SignCommand::SignCommand(std::string pattern) : pattern_(std::move(pattern)) {
    if (pattern_.find("%1") == std::string::npos)
        throw Exception("the signing command must name the file to sign as %1 (and the signed file to write as %2)");
    inPlace_ = pattern_.find("%2") == std::string::npos;
}

std::string SignCommand::CommandLine(const std::string& input, const std::string& output) const {
    std::string line;
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        const char next = i + 1 < pattern_.size() ? pattern_[i + 1] : '\0';
        if (pattern_[i] == '%' && (next == '1' || next == '2')) {
            line += QuoteForShell(next == '1' ? input : output);
            ++i;
        } else {
            line += pattern_[i];
        }
    }
    return line;
}

void SignCommand::Sign(const std::string& input, const std::string& output, const std::string& name) const {
    const auto fail = [&](const std::string& problem) {
        throw ESignError(name + ": the signing command \"" + pattern_ + "\" " + problem);
    };
    const ScratchFolder folder("pelorin-sign");
    const fs::path unsignedFile = fs::path(folder.Path()) / name;
    fs::path signedFile = unsignedFile;
    std::error_code error;
    fs::copy_file(input, unsignedFile, error);
    if (error) throw ESignError(input + ": cannot be copied for signing: " + error.message());
    if (!inPlace_) {
        signedFile = fs::path(folder.Path()) / "signed" / name;
        fs::create_directory(signedFile.parent_path(), error);
        if (error) throw ESignError(name + ": cannot prepare the signing: " + error.message());
    }

    const std::string failure = Failure(RunShell(CommandLine(unsignedFile.string(), signedFile.string())));
    if (!failure.empty()) fail(failure);
    const std::uintmax_t size = fs::file_size(signedFile, error);
    if (error) fail(inPlace_ ? "removed the file it was to sign (%1)" : "wrote no signed file (%2)");
    if (size == 0) fail(inPlace_ ? "left the file empty (%1)" : "wrote an empty signed file (%2)");

    // Streams rather than copy_file: on Windows the runtime's copy_file refuses to overwrite.
    ClearWriteFailure();
    std::ifstream in(signedFile, std::ios::binary);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (in && out) out << in.rdbuf();
    out.close();
    if (!in || !out) throw ESignError(output + ": cannot be written" + WriteFailureSuffix());
    fs::permissions(output, fs::status(input, error).permissions(), error);  // an executable stays one
}

}  // namespace pelorin
