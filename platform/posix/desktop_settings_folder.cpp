#include "platform/desktop_settings_folder.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/home_folder.hpp"

namespace platform {

namespace {

// Makes FOLDER when it is missing, but only inside a folder of this user:
// root working with another user's HOME must leave that home as it is.
bool MakeInOwnFolder(const std::string& folder, std::string& error) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) == 0) return true;
    const std::string parent = folder.substr(0, folder.find_last_of('/'));
    if (stat(parent.empty() ? "/" : parent.c_str(), &info) != 0 || info.st_uid != geteuid()) {
        error = "cannot create " + folder + ": " + parent + " is not a folder of this user";
        return false;
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

std::string DesktopSettingsFolderName() {
    std::string configuration = AbsoluteVariable("XDG_CONFIG_HOME");
    if (configuration.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return "";
        configuration = home + "/.config";
    }
    return configuration + "/korvane16";
}

std::optional<std::string> DesktopSettingsFolder(std::string& error) {
    const std::string folder = DesktopSettingsFolderName();
    if (folder.empty()) {
        error = "no home folder to keep the settings in (HOME is not set)";
        return std::nullopt;
    }
    // The user's first program to keep settings there makes the configuration folder.
    if (!MakeInOwnFolder(folder.substr(0, folder.find_last_of('/')), error) || !MakeInOwnFolder(folder, error))
        return std::nullopt;
    // A link is followed only when it is this user's or root's: another user
    // could point it at a folder of theirs and read or plant settings.
    struct stat link {};
    if (lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && link.st_uid != geteuid() &&
        link.st_uid != 0) {
        error = folder + " is a link of another user";
        return std::nullopt;
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + folder + " as a folder: " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    bool usable = fstat(fd, &info) == 0 && info.st_uid == geteuid();
    if (usable && (info.st_mode & 077) != 0) usable = fchmod(fd, 0700) == 0;
    close(fd);
    if (!usable) {
        error = folder + " is not a folder of this user that can be made private";
        return std::nullopt;
    }
    return folder;
}

}  // namespace platform
