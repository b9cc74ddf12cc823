#include "folders/FileKinds.h"

#include <algorithm>

#include "platform/Text.h"

namespace bs {

namespace {

struct GroupExtensions {
    FileGroup group;
    std::initializer_list<std::string_view> extensions;
};

const GroupExtensions Known[] = {
    {FileGroup::Pictures,
     {"bmp", "gif", "heic", "ico", "jpeg", "jpg", "png", "psd", "raw", "svg", "tif", "tiff",
      "webp"}},
    {FileGroup::Music, {"aac", "flac", "m4a", "mid", "mp3", "ogg", "opus", "wav", "wma"}},
    {FileGroup::Video, {"avi", "flv", "m4v", "mkv", "mov", "mp4", "mpeg", "mpg", "webm", "wmv"}},
    {FileGroup::Documents,
     {"csv", "doc", "docx", "epub", "htm", "html", "md", "odp", "ods", "odt", "pdf", "ppt", "pptx",
      "rtf", "txt", "xls", "xlsx", "xml"}},
    {FileGroup::Archives,
     {"7z", "bck", "bz2", "cab", "gz", "iso", "rar", "tar", "tgz", "vhd", "vhdx", "xz", "zip"}},
    {FileGroup::Programs,
     {"bat", "cmd", "com", "cpl", "dll", "drv", "exe", "msi", "msp", "mui", "ocx", "ps1", "scr",
      "sys"}},
    {FileGroup::Code,
     {"c", "cc", "cpp", "cs", "go", "h", "hpp", "java", "js", "json", "lib", "obj", "pdb", "py",
      "rs", "ts"}},
};

} // namespace

std::string ExtensionOf(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size())
        return {};
    std::string_view tail = name.substr(dot + 1);
    if (tail.size() > LongestExtension || tail.find(' ') != std::string_view::npos)
        return {};
    return LowerAscii(tail);
}

FileGroup GroupOf(std::string_view extension) {
    for (const GroupExtensions& known : Known)
        if (std::find(known.extensions.begin(), known.extensions.end(), extension) !=
            known.extensions.end())
            return known.group;
    return FileGroup::Other;
}

Colour GroupColour(FileGroup group) {
    static constexpr std::array<Colour, FileGroupCount> colours = {
        Rgb(240, 170, 80),  // pictures
        Rgb(120, 190, 230), // music
        Rgb(200, 130, 210), // video
        Rgb(130, 200, 130), // documents
        Rgb(230, 210, 100), // archives
        Rgb(230, 120, 110), // programs
        Rgb(110, 160, 200), // code
        Rgb(185, 185, 185), // other
    };
    return colours[static_cast<size_t>(group)];
}

int GroupTextId(FileGroup group) {
    return 423 + static_cast<int>(group);
}

} // namespace bs
