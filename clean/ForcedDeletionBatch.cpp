#include "clean/ForcedDeletionBatch.h"

#include "clean/ExactPath.h"
#include "platform/ReplaceFile.h"
#include "platform/Text.h"

namespace bs {
namespace {

const char Rule[] = "@echo ---------------------------------------";

// The command processor expands "%" even inside quotes; in a batch file "%%"
// stands for one "%". Unquoted, "&", "|", "<", ">" and "^" would start another
// command or a redirection; "^" makes the next character plain. Paths made of
// none of these are written exactly as they are.
std::string EscapeForBatch(const std::string& text, bool quoted) {
    std::string out;
    for (char c : text) {
        if (c == '%')
            out += '%';
        else if (!quoted && (c == '&' || c == '|' || c == '<' || c == '>' || c == '^'))
            out += '^';
        out += c;
    }
    return out;
}

// A line break would start another command; a double quote (which no
// Windows name holds) would end a quoted name early.
bool CannotBeWritten(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F || c == '"')
            return true;
    return false;
}

} // namespace

ForcedDeletionBatch::ForcedDeletionBatch(std::string programDir, BatchCodePage& codePage)
    : programDir_(std::move(programDir)), codePage_(codePage) {
    if (!CannotBeWritten(programDir_))
        spelledDir_ = codePage_.Spell(programDir_);
    lines_ = {
        "cls",
        Rule,
        "@echo Tarn Brimsweep Forced Deletion Batch File",
        Rule,
        "@echo * Files to be deleted are deleted with this batch.",
        "@echo * If deleted, index.dat is recreated by the system with small size.",
        "@echo * The last message \"Batch file missing, File not found\" is not an error "
        "message. It is generated when the batch deletes itself.",
        Rule,
        "@echo * Files to be deleted:",
        // Quoted: the program folder is usually under "C:\Program Files", and
        // unquoted the command processor would look for "C:\Program" instead.
        "@\"" + EscapeForBatch(spelledDir_.value_or(""), true) + "deletebat.exe\"",
    };
}

void ForcedDeletionBatch::KeepPending(const std::vector<PendingFile>& files) {
    for (const auto& file : files)
        if (Add(file.path, file.identity))
            --fileCount_;
}

bool ForcedDeletionBatch::AddFile(const std::string& path, const FileIdentity& identity) {
    // A folder (a name ending in "\\") is never a file to delete.
    if (CannotBeWritten(path) || !IsExactDrivePath(path) || path.back() == '\\')
        return false;
    // Pending already from an earlier Delete: still work this Delete leaves.
    if (!Add(path, identity))
        ++fileCount_;
    return true;
}

bool ForcedDeletionBatch::Add(const std::string& path, const FileIdentity& identity) {
    for (const auto& file : pending_)
        if (SameText(file.path, path))
            return false;
    pending_.push_back({path, identity});
    // Only shown: deletebat.exe deletes the file from clean.lst, which keeps
    // its name exactly. A name the code page cannot spell as it is is shown
    // by its folder only, never by a short name.
    auto spelled = codePage_.Spell(path);
    if (spelled && *spelled == path)
        lines_.push_back("@echo  " + EscapeForBatch(*spelled, false));
    else if (auto folder = codePage_.Spell(ExtractFilePath(path));
             folder && *folder == ExtractFilePath(path))
        lines_.push_back("@echo  " + EscapeForBatch(*folder, false) + "...");
    ++fileCount_;
    return true;
}

std::string ForcedDeletionBatch::Text() const {
    if (!spelledDir_)
        return {};
    std::string text;
    auto append = [&](const std::string& line) { text += codePage_.Encode(line) + "\r\n"; };
    for (const auto& line : lines_)
        append(line);
    // Quoted for the same reason: unquoted, del would take each blank-separated
    // part of the folder for a file of its own and delete those.
    append("@del \"" + EscapeForBatch(*spelledDir_, true) + "clean.bat\" >nul");
    append("@CLS >nul");
    return text;
}

bool ForcedDeletionBatch::Write(FileSystem& files) const {
    if (!spelledDir_)
        return false;
    return ReplaceFileContent(files, PendingListPath(programDir_), FormatPendingList(pending_)) &&
           ReplaceFileContent(files, Path(), Text());
}

std::string CannotCreateBatchMessage(const std::string& batchPath) {
    return "Cannot create file " + batchPath;
}

} // namespace bs
