#include "app/SelfUninstall.h"

#include "app/ShortcutSteps.h"
#include "app/StartUpEntries.h"
#include "clean/RegistryTree.h"
#include "clean/StartOnce.h"

namespace bs {

const std::vector<std::string> ProgramFileNames = {
    "brimsweep.exe", "bck.exe",  "brimclean.exe", "deletebat.exe", HelpFileName,
    "language.txt",  "keep.txt", "cleaners.ini",  "brimclean.log"};

namespace {

void DeleteValue(Registry& registry, RegRoot root, const std::string& path,
                 const std::string& name) {
    // A key or value that is not there has nothing to remove.
    if (auto key = registry.Open(root, path, RegAccess::ReadWrite, false))
        key->DeleteValue(name);
}

void DeleteTree(Registry& registry, RegRoot root, const std::string& path,
                SelfUninstallResult& result) {
    size_t slash = path.find_last_of('\\');
    std::string parent = path.substr(0, slash), name = path.substr(slash + 1);
    if (!registry.Open(root, path, RegAccess::Read, false))
        return;
    if (!DeleteKeyTree(registry, RegView::Native, root, parent, name))
        result.leftOver.push_back(path);
}

void RemoveFile(FileSystem& files, const std::string& path, SelfUninstallResult& result) {
    if (files.FileExists(path) && !files.RemoveFile(path))
        result.leftOver.push_back(path);
}

} // namespace

SelfUninstallResult RemoveProgramTraces(Registry& registry, FileSystem& files,
                                        const std::string& programDir) {
    SelfUninstallResult result;
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
        DeleteValue(registry, root, RunKey, RunValueName);
    // A clean.bat still waiting for the next start keeps its RunOnce value:
    // it deletes files the user already chose to delete.
    if (!files.FileExists(programDir + "clean.bat"))
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
            DeleteValue(registry, root, RunOnceKey, RunOnceValueName);
    DeleteTree(registry, RegRoot::ClassesRoot, ContextMenuClassKey, result);
    DeleteTree(registry, RegRoot::CurrentUser, "Software\\Quorvel\\Brimsweep", result);
    // The maker's key goes too once nothing else of the maker is in it.
    if (auto maker =
            registry.Open(RegRoot::CurrentUser, "Software\\Quorvel", RegAccess::Read, false);
        maker && maker->SubKeyNames().empty() && maker->ValueNames().empty()) {
        maker.reset();
        DeleteTree(registry, RegRoot::CurrentUser, "Software\\Quorvel", result);
    }
    DeleteTree(registry, RegRoot::LocalMachine, ProgramUninstallKey, result);

    auto shellFolder = [&](const std::string& name) {
        return ReadRegistryString(registry, RegRoot::CurrentUser, ShellFoldersKey, name);
    };
    if (std::string desktop = shellFolder("Desktop"); !desktop.empty())
        RemoveFile(files, desktop + "\\brimsweep.lnk", result);
    if (std::string programs = shellFolder("Programs"); !programs.empty()) {
        result.programMenuFolder = programs + "\\Tarn Brimsweep Pro";
        for (const char* link : {"BrimsweepPro.lnk", "uninstall.lnk", "Help.lnk"})
            RemoveFile(files, result.programMenuFolder + "\\" + link, result);
    }
    for (const auto& name : ProgramFileNames)
        RemoveFile(files, programDir + name, result);
    return result;
}

} // namespace bs
