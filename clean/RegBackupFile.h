// The registry backup file regbackupNNN.reg: the values and keys a registry
// Delete removes, written so that handing the file to regedit brings every
// one back with its name, type and data. A file whose every text the ANSI code page
// spells, with no line break in any data, is a REGEDIT4 file of ANSI lines;
// any other is the Unicode export form ("Windows Registry Editor Version
// 5.00", UTF-16 LE with a byte-order mark), as regedit itself writes them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace bs {

struct RegBackupValue {
    // "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER" or "HKEY_USERS".
    std::string rootName;
    // Below the root, beginning with "\".
    std::string keyPath;
    // Empty for the key's default value.
    std::string name;
    // Any type: strings as text, every other type as its raw bytes.
    RegValue value;
    // Only the key line, no value: importing creates the key, so that a key
    // deleted with everything below it comes back with its empty sub-keys.
    bool keyOnly = false;
};

// `text` (UTF-8) in the system's ANSI code page, or nullopt when that code
// page cannot spell every character exactly (Utf8ToAnsiExact on Windows).
// An unset function stands for plain ASCII.
using AnsiSpelling = std::function<std::optional<std::string>(const std::string&)>;

// True when the file can carry `value` so that regedit restores it exactly:
// a value whose name and key path are valid text without CR, LF or NUL (a
// name or key has no hex form, and regedit reads each within one line), of
// any type but a link's, a string's text being valid as well.
bool RegFileCanHold(const RegBackupValue& value);

// The file's bytes for `values` (each one RegFileCanHold), in their order;
// the key line is repeated before every value.
std::string FormatRegBackup(const std::vector<RegBackupValue>& values, const AnsiSpelling& toAnsi);

// "regbackup" + `number` in upper-case hexadecimal of at least three digits
// + ".reg".
std::string RegBackupFileName(uint32_t number);
// The first such name in `programDir`, from 0 upward, that no file has: a
// number freed by deleting an older backup is used again.
std::string FreeRegBackupPath(FileSystem& files, const std::string& programDir);
// Creates the file and writes `bytes` through to the disk. On failure the
// file is removed again and false returned.
bool WriteRegBackup(FileSystem& files, const std::string& path, const std::string& bytes);

} // namespace bs
