#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/win32/Scoped.h"
#include "platform/win32/ComScope.h"
#include "platform/win32/Utf.h"

namespace bs {

bool Win32Shell::CreateLink(const std::string& target, const std::string& linkPath) {
    ComScope com;
    if (!com.Usable())
        return false;
    ComPointer<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.ReceiveVoid())))
        return false;
    if (FAILED(link->SetPath(Widen(target).c_str())))
        return false;
    ComPointer<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())))
        return false;
    return SUCCEEDED(file->Save(Widen(linkPath).c_str(), FALSE));
}

// The shell names files by their plain path, never the "\\?\" form.
bool Win32Shell::ShowInFolder(const std::string& path) {
    ComScope com;
    if (!com.Usable())
        return false;
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(Widen(path).c_str());
    if (!item)
        return false;
    HRESULT result = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ILFree(item);
    return SUCCEEDED(result);
}

} // namespace bs
