#include "app/ShortcutSteps.h"

namespace bs {

namespace {

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ShellFolder(Registry& registry, const std::string& name) {
    return ReadRegistryString(registry, RegRoot::CurrentUser, ShellFoldersKey, name);
}

} // namespace

bool IsShortcutSwitch(const std::string& firstArgument) {
    return firstArgument == "-shortcut";
}

std::string LinkFileName(const std::string& target, const std::string& name) {
    std::string file = FileNameOf(name.empty() ? target : name);
    size_t dot = file.find_last_of('.');
    return (dot == std::string::npos ? file : file.substr(0, dot)) + ".lnk";
}

bool CreateShortcut(const ShortcutServices& services, const std::string& target,
                    const std::string& folder, const std::string& name) {
    std::string place = folder.empty() ? ShellFolder(services.registry, "Desktop") : folder;
    if (place.empty())
        return false;
    if (place.back() != '\\')
        place += '\\';
    return services.shell.CreateLink(target, place + LinkFileName(target, name));
}

void RunShortcutSteps(const ShortcutServices& services, const std::string& programDir) {
    const std::string program = programDir + "brimsweep.exe";
    const std::string help = programDir + HelpFileName;
    // A desktop without its folder value gets no link; the steps go on.
    CreateShortcut(services, program, "", "");
    // The help is an HTML page: the old help viewer is gone from Windows.
    services.process.ShellOpen(help);

    // From here an error ends the steps silently, as a missing folder must.
    std::string programs = ShellFolder(services.registry, "Programs");
    if (programs.empty())
        return;
    const std::string folder = programs + "\\Tarn Brimsweep Pro";
    if (!services.files.CreateFolders(folder))
        return;
    if (!CreateShortcut(services, program, folder, "BrimsweepPro") ||
        !CreateShortcut(services, programDir + "uninstall.exe", folder, "") ||
        !CreateShortcut(services, help, folder, "Help"))
        return;
    auto entry = services.registry.Open(RegRoot::LocalMachine, ProgramUninstallKey,
                                        RegAccess::ReadWrite, true);
    if (!entry || !entry->SetString("DisplayName", "Tarn Brimsweep Pro"))
        return;
    // Quoted: under C:\Program Files\... an unquoted path could start
    // C:\Program.exe instead.
    entry->SetString("UninstallString", "\"" + programDir + "uninstall.exe\"");
}

} // namespace bs
