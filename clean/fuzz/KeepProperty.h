// keep.txt: normalising an entry twice changes nothing, every entry read is
// one the list takes, and the entry the window makes for a row (a file, its
// folder, a registry value or key) keeps that row once written to keep.txt
// and read back, but not its sibling whose name only begins the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/KeepList.h"
#include "clean/KeepListFile.h"
#include "clean/fuzz/BatchProperty.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/Text.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// A registry key or value name: anything but "\" in a key name, anything at
// all in a value name; blanks, "/" and "*" included.
inline std::string RegistryName(FuzzInput& in, bool value) {
    static const char* const pieces[] = {"a",  "Z", " ", "/",  "*",  "?",         ".",       "\\\\",
                                         "\\", "é", "#", "HK", "\t", "S-1-5-21-", "_Classes"};
    std::string name;
    for (size_t count = 1 + in.Below(6); count > 0; --count) {
        std::string piece = in.Bool() ? std::string(1, "abcxyz"[in.Below(6)]) : in.Pick(pieces);
        if (!value && piece.find('\\') != std::string::npos)
            piece = "k";
        name += piece;
    }
    return name;
}

inline std::string CheckKeepList(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    // Lines as a user may have typed them.
    std::vector<std::string> lines;
    for (size_t count = in.Below(6); count > 0; --count)
        lines.push_back(in.Text(60));
    FakeFileSystem spelling; // how the list compares paths
    spelling.AddDrive('c', DriveType::Fixed);
    KeepListLoad load = ParseKeepList(spelling, lines);
    for (const auto& line : lines) {
        std::string entry = NormalizeKeepEntry(line);
        if (!entry.empty() && NormalizeKeepEntry(entry) != entry)
            return "normalising " + Shown(entry) + " again gives " +
                   Shown(NormalizeKeepEntry(entry));
        KeepList list(spelling);
        if (!entry.empty() && !list.Add(entry))
            return "the list refuses its own normal form " + Shown(entry);
    }

    // One row of each kind and the entry the window makes for it.
    const bool registry = in.Bool();
    ListRow row, sibling;
    std::string entry;
    if (!registry) {
        std::string folder = WindowsPath(in) + "\\";
        row.caption = WindowsComponent(in);
        row.subItems = {folder};
        sibling = row;
        bool byFile = in.Bool();
        entry = byFile ? KeepEntryForFile(row) : KeepEntryForFolder(row);
        // Beside the file, or in the folder beside its folder.
        if (byFile)
            sibling.caption += "x";
        else
            sibling.subItems[0] = folder.substr(0, folder.size() - 1) + "x\\";
    } else {
        static const char* const roots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                                            "HKEY_USERS"};
        std::string key = "\\" + RegistryName(in, false);
        for (size_t parts = in.Below(3); parts > 0; --parts)
            key += "\\" + RegistryName(in, false);
        row.caption = std::string(in.Pick(roots)) + ": " + key;
        row.subItems = {in.Below(4) == 0 ? std::string() : RegistryName(in, true)};
        bool byValue = in.Bool();
        entry = byValue ? KeepEntryForValue(row) : KeepEntryForKey(row);
        sibling = row;
        if (byValue)
            sibling.subItems[0] += "x";
        else
            sibling.caption += "x";
    }
    auto keeps = [registry](const KeepList& list, const ListRow& r) {
        return registry ? list.KeepsRegistryRow(r) : list.KeepsFileRow(r);
    };
    KeepList direct(spelling);
    if (!direct.Add(entry))
        return "the entry for its own row is refused: " + Shown(entry);
    if (!keeps(direct, row))
        return Shown(entry) + " does not keep its own row " + Shown(row.caption) + " / " +
               Shown(row.subItems[0]);
    // Every user's hive below HKEY_USERS\S-1-5-21-... is also the current
    // user's, so what one keeps another may keep by design.
    const bool userHive = StartsWithText(row.caption, "HKEY_USERS: \\S-1-5-21-");
    if (!userHive && keeps(direct, sibling))
        return Shown(entry) + " also keeps the row " + Shown(sibling.caption) + " / " +
               Shown(sibling.subItems[0]);

    // The same through keep.txt, beside what the user typed.
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    fs.AddFile("c:\\prog\\keep.txt", text);
    if (!AddKeepEntry(fs, "c:\\prog\\", entry))
        return "keep.txt does not take " + Shown(entry);
    KeepListLoad read = ReadKeepList(fs, "c:\\prog\\");
    if (!keeps(read.list, row))
        return "keep.txt with " + Shown(entry) + " does not keep its row " + Shown(row.caption) +
               " / " + Shown(row.subItems[0]) + " (file " +
               Shown(fs.ReadAll("c:\\prog\\keep.txt")) + ")";
    return {};
}

} // namespace bs::fuzz
