// Navigate To: from a text (a value's data as shown, or a key's name) to the file or the class
// key it names.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace hivora {

// True when `text` names an existing file or folder of the Windows installation the loaded
// file set came from; `path` then receives its path on this machine. The text may be a drive
// path (C:\...), begin with an environment variable (%SystemRoot%\...), be quoted with
// arguments after the closing quote, be an indirect resource reference (@path,-123), or carry
// a comma and more after the path.
//
// Windows paths are mapped onto the host below the folder that holds Windows/System32/config
// with the loaded SYSTEM or SOFTWARE file (drive C:); components match ignoring case. Without
// such a folder no file path resolves.
bool ResolveFilePath(std::string_view text, std::string& path);

// True when `text` names an existing key below HKEY_LOCAL_MACHINE\Software\Classes: a braced
// id (38 characters, dashes at 9, 14, 19 and 24) under CLSID, Interface or Typelib, in that
// order, or a name with one to three full stops (programmatic names, file extensions).
// `keyPath` then receives the path relative to HKEY_LOCAL_MACHINE.
bool ResolveClassKey(std::string_view text, std::string& keyPath);

// What a value's data text names, as far as Navigate To is concerned.
struct NavigationTarget {
    enum class Kind { None, File, Key };
    Kind kind = Kind::None;
    std::string target;  // the expanded file path, or the key's path below HKEY_LOCAL_MACHINE
};

// What Navigate To does with `dataText`: a file when ResolveFilePath finds one, else a class
// key when ResolveClassKey does, else nothing.
NavigationTarget ResolveNavigationTarget(std::string_view dataText);

// Shows `path` selected in the desktop's file manager. The core does nothing here; the desktop
// program installs the real action.
void OpenInExplorer(const std::string& path);
using OpenInExplorerHook = std::function<void(const std::string& path)>;
void SetOpenInExplorerHook(OpenInExplorerHook hook);

// The Windows installation folder (the host folder standing for drive C:) of the current file
// set, or empty. Exposed for tests and the command line.
std::string WindowsRootFolder();

}  // namespace hivora
