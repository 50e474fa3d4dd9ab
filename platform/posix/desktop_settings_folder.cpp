#include "platform/desktop_settings_folder.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/home_folder.hpp"

namespace platform {

std::optional<std::string> DesktopSettingsFolder(std::string& error) {
    std::string configuration = AbsoluteVariable("XDG_CONFIG_HOME");
    if (configuration.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) {
            error = "no home folder to keep the settings in (HOME is not set)";
            return std::nullopt;
        }
        configuration = home + "/.config";
    }
    mkdir(configuration.c_str(), 0700);  // the user's first program to keep settings there
    const std::string folder = configuration + "/korvane16";
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
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
