// How paths become the 8-bit text of a batch file. The command processor
// reads a batch in the console's code page (the OEM code page at start-up),
// so a path is written only in a form that code page spells exactly: a path
// that it would spell approximately could name a different file.
#pragma once

#include <optional>
#include <string>

namespace bs {

class BatchCodePage {
public:
    virtual ~BatchCodePage() = default;
    // `path` (UTF-8) in a form whose every character the code page holds and
    // that names the same file or folder: the path itself or, failing that,
    // its short name. nullopt when there is no such form.
    virtual std::optional<std::string> Spell(const std::string& path) = 0;
    // `text` (UTF-8 made of characters the code page holds) as 8-bit text.
    virtual std::string Encode(const std::string& text) = 0;
};

// Plain ASCII, the part every OEM and ANSI code page shares; for tests and for
// platforms without a code page of their own. Any other character: no form.
class AsciiBatchCodePage : public BatchCodePage {
public:
    std::optional<std::string> Spell(const std::string& path) override;
    std::string Encode(const std::string& text) override { return text; }
};

} // namespace bs
