// Registry services used by the engine. Key paths are UTF-8, relative to a
// root; a leading or trailing "\" is ignored, as the Windows API does for keys
// opened below a root.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

enum class RegRoot { LocalMachine, CurrentUser, Users, ClassesRoot };

// Same values as the Win32 REG_* types.
enum RegType : uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegLink = 6,
    RegMultiSz = 7,
    RegQword = 11,
};

struct RegValue {
    uint32_t type = RegNone;
    // For RegSz and RegExpandSz: the text in UTF-8 without its terminator.
    // For every other type: the raw bytes as stored.
    std::string data;
    // For RegSz and RegExpandSz: false when `data` is not all of the stored
    // text (characters after a NUL inside it, or UTF-16 that does not
    // convert), so that nothing relies on it as a faithful copy.
    bool textComplete = true;
};

struct RegKeyInfo {
    uint32_t subKeyCount = 0;
    uint32_t valueCount = 0;
    FileTime lastWrite = 0;
};

enum class RegAccess { Read, ReadWrite };

struct RegNamedValue {
    std::string name;
    RegValue value;
};

// An open key; closes on destruction.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Names in the registry's enumeration order; empty when it cannot be read.
    virtual std::vector<std::string> SubKeyNames() = 0;
    virtual std::vector<std::string> ValueNames() = 0;
    virtual std::optional<RegValue> QueryValue(const std::string& name) = 0;
    // Every value with its type and data, in enumeration order. A walk over
    // many keys reads each value once this way instead of naming it and then
    // asking for it; a value that vanishes meanwhile is left out.
    virtual std::vector<RegNamedValue> Values();
    virtual std::optional<RegKeyInfo> Info() = 0;
    // For a walk that has just read Info(): the first `count` sub-key names,
    // or values, without asking once more to learn that none is left. Under
    // Wine every question is a round trip to the registry server, and on a
    // key with one value that last question is a third of the reading.
    virtual std::vector<std::string> FirstSubKeyNames(uint32_t count);
    virtual std::vector<RegNamedValue> FirstValues(uint32_t count);
    // Opens a key below this one by a path relative to it, in the same view,
    // never creating it; nullptr when it cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path, RegAccess access) = 0;
    virtual bool SetString(const std::string& name, const std::string& value) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
    // Deletes a sub-key that has no sub-keys of its own.
    virtual bool DeleteSubKey(const std::string& name) = 0;

    // --- links ------------------------------------------------------------
    // A link key (REG_OPTION_CREATE_LINK) sends every open by its name on to
    // another key, anywhere in the registry; its own sub-keys are none.
    // Opens the sub-key `name` (one name, not a path) itself, also when it is
    // a link, for reading, writing and deleting; nullptr when it cannot be
    // opened. A registry without links opens it as OpenSubKey does.
    virtual std::unique_ptr<RegistryKey> OpenSubKeyItself(const std::string& name) {
        return OpenSubKey(name, RegAccess::ReadWrite);
    }
    // Deletes this key, opened by OpenSubKeyItself, when it has no sub-keys
    // of its own: a link goes as itself, never the key it leads to.
    virtual bool DeleteItself() { return false; }
    // True for a link opened by OpenSubKeyItself. Some registries (Wine's)
    // lead an open below a link's own handle on to its target, so a walk
    // that must not leave its tree asks before going on.
    virtual bool IsLink() { return false; }
};

// Which of the two registry views of 64-bit Windows a key is opened in: the
// program's own (64-bit) view, or the one 32-bit programs see. They differ
// only below HKEY_LOCAL_MACHINE\Software, where 32-bit programs write their
// own Uninstall entries.
enum class RegView { Native, Bits32 };

class Registry {
public:
    virtual ~Registry() = default;
    // nullptr when the key cannot be opened (or created, with `create`).
    virtual std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& path,
                                              RegAccess access, bool create) = 0;
    // Open in the given view. A registry with only one view has no 32-bit
    // view to open, so by default only the native view opens.
    virtual std::unique_ptr<RegistryKey>
    OpenInView(RegView view, RegRoot root, const std::string& path, RegAccess access, bool create) {
        if (view != RegView::Native)
            return nullptr;
        return Open(root, path, access, create);
    }
};

// Reads a string value, giving empty text for a missing key or value. Never
// creates anything.
std::string ReadRegistryString(Registry& registry, RegRoot root, const std::string& path,
                               const std::string& name);

} // namespace bs
