// An in-memory registry for tests: a tree of keys whose names compare
// case-insensitively and keep their insertion order, with settable
// last-write times, keys that refuse to open, and keys that refuse writes.
// Names are counted as the registry counts them: set-up may give a name
// holding a NUL (as NtSetValueKey makes one), listings show it whole, and
// calls that name a key or value refuse it, as the Win32 backend does.
// Its 32-bit view is laid out as on 64-bit Windows: below
// HKEY_LOCAL_MACHINE\Software it is the native view's Software\WOW6432Node,
// and everywhere else the two views are one.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bs {

class FakeRegistry : public Registry {
public:
    struct Key;

    FakeRegistry();
    ~FakeRegistry() override;

    // --- set-up for tests -------------------------------------------------
    void SetString(RegRoot root, const std::string& path, const std::string& name,
                   const std::string& value, uint32_t type = RegSz);
    void SetValue(RegRoot root, const std::string& path, const std::string& name,
                  const RegValue& value);
    void CreateKey(RegRoot root, const std::string& path);
    void SetLastWrite(RegRoot root, const std::string& path, FileTime time);
    // Removes the key with everything below it, as RegDeleteTree does:
    // sub-keys first, so a handle still open on any of them sees an empty,
    // deleted key that opens nothing below it.
    void DeleteTree(RegRoot root, const std::string& path);
    // The key exists but cannot be opened at all.
    void SetUnopenable(RegRoot root, const std::string& path, bool unopenable);
    // The key (and everything below it) can be opened for reading only, and
    // no sub-key can be created in it: a standard user under HKLM.
    void SetWriteProtected(RegRoot root, const std::string& path, bool writeProtected);

    // A link key at `path` (created with its parents) leading to the key
    // `targetPath` (created when missing), as REG_OPTION_CREATE_LINK makes
    // them: every open through the link's name reaches the target; opened
    // itself, the link has no sub-keys and no values of its own.
    void CreateLink(RegRoot root, const std::string& path, RegRoot targetRoot,
                    const std::string& targetPath);
    // The link at `path` behaves as Wine's do: opened itself, it lists its
    // target's sub-keys, and opening one of them through it reaches it.
    void LetLinkLeadOnBelowItsHandle(RegRoot root, const std::string& path);

    // --- inspection -------------------------------------------------------
    bool KeyExists(RegRoot root, const std::string& path) const;
    std::optional<RegValue> GetValue(RegRoot root, const std::string& path,
                                     const std::string& name) const;

    std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& path, RegAccess access,
                                      bool create) override;
    std::unique_ptr<RegistryKey> OpenInView(RegView view, RegRoot root, const std::string& path,
                                            RegAccess access, bool create) override;

private:
    std::shared_ptr<Key> Walk(RegRoot root, const std::string& path, bool create,
                              bool* writeProtected = nullptr) const;
    std::map<RegRoot, std::shared_ptr<Key>> roots_;
};

} // namespace bs
