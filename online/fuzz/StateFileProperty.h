// newsinfo.txt and version.txt as other programs or a damaged disk may leave
// them: the offers count as answered only when the first line is exactly
// "1", the local version is the first line as it stands (or "0" without
// one), a failed check leaves version.txt alone, and a written state reads
// back as written.
#pragma once

#include <cstdint>
#include <string>

#include "online/Endpoints.h"
#include "online/NewsForm.h"
#include "online/UpdateCheck.h"
#include "online/fuzz/HttpProperty.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// The first line of a settings file: up to the first LF, one CR before it
// dropped; nullopt for an empty file.
inline std::optional<std::string> FirstLine(const std::string& content) {
    if (content.empty())
        return std::nullopt;
    std::string line = content.substr(0, content.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

inline std::string FileText(FuzzInput& in) {
    static const char* const pieces[] = {"1",    "0", "\r", "\n", "\r\n", " ", "\xEF\xBB\xBF",
                                         "5.10", "\0"};
    std::string text;
    for (size_t count = in.Below(8); count > 0; --count)
        text += in.Bool() ? std::string(1, static_cast<char>(in.Byte())) : in.Pick(pieces);
    return text;
}

inline std::string CheckStateFiles(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    const std::string dir = "c:\\prog\\";
    fs.AddFolder("c:\\prog");
    const bool hasNews = in.Bool();
    const std::string news = FileText(in);
    if (hasNews)
        fs.AddFile(dir + "newsinfo.txt", news);
    bool answered = OffersAnswered(fs, dir);
    bool expected = hasNews && FirstLine(news) == std::optional<std::string>("1");
    if (answered != expected)
        return "newsinfo.txt " + Shown(news) + (answered ? " counts" : " does not count") +
               " as answered";
    bool state = in.Bool();
    if (!WriteOffersState(fs, dir, state) || OffersAnswered(fs, dir) != state)
        return std::string("the state ") + (state ? "answered" : "remind later") +
               " does not read back";

    const bool hasVersion = in.Bool();
    const std::string version = FileText(in);
    if (hasVersion)
        fs.AddFile(dir + "version.txt", version);
    ScriptedHttp offline;
    offline.sendFails = true;
    FakeClock clock;
    UpdateCheck check(fs, offline, clock, dir, Endpoints().VersionFile());
    if (check.CheckForUpdate())
        return "an update reported without an answer";
    std::string local = hasVersion ? FirstLine(version).value_or("0") : "0";
    if (check.LocalVersion() != local)
        return "version.txt " + Shown(version) + " gives the local version " +
               Shown(check.LocalVersion()) + ", not " + Shown(local);
    if (hasVersion ? fs.ReadAll(dir + "version.txt") != version : fs.Exists(dir + "version.txt"))
        return "a failed check changed version.txt";
    return {};
}

} // namespace bs::fuzz
