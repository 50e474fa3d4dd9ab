// The folder of the one settings file a user's desktop starts share (the menu
// entry, the log-in entry, and korvane16-ctl when asked for that file):
// "korvane16" in the user's configuration folder ($XDG_CONFIG_HOME, else
// $HOME/.config). A start from a terminal keeps the working folder's file.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The folder's name, without a trailing slash; nothing is made. "" when
// neither XDG_CONFIG_HOME nor HOME is a full path. POSIX only.
std::string DesktopSettingsFolderName();

// The folder, without a trailing slash, created when missing (with the
// configuration folder) and made private to this user (mode 0700); nullopt
// with the reason in ERROR when it cannot be had: no home folder, a folder of
// another user, or a link that another user (not root) owns, which is never
// followed. Nothing is created in a folder of another user (root with a
// user's HOME makes nothing there). POSIX only.
std::optional<std::string> DesktopSettingsFolder(std::string& error);

}  // namespace platform
