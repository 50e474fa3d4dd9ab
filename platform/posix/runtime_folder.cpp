// The user's private run-time folder, chosen the same way by every process of
// the user's session so they meet there:
//   1. $XDG_RUNTIME_DIR, when it is a folder of this user that only the user
//      may enter (after su or sudo it is often another user's, or missing);
//   2. "korvane16" in the user's cache folder ($XDG_CACHE_HOME, else
//      $HOME/.cache, else the home folder the user database names), when
//      that folder (or, while it is missing, the folder it would be made in)
//      is this user's: after "sudo -E" HOME is another user's home, and
//      nothing may be made there;
//   3. as a last resort "korvane16-UID" in $TMPDIR or /tmp, or, when another
//      user took that name first, "korvane16-UID.1" up to ".9".
// A candidate that is missing is created private; one that is another user's,
// a link, a file, or open to others where it is not ours to close, is passed
// over, never fatal.
#include "platform/runtime_folder.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/home_folder.hpp"

namespace platform {

namespace {

constexpr int kTemporaryAlternatives = 9;

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// True when PATH is a folder of this user (a link to one counts), or missing
// from such a folder, so that whatever is made there is the user's own.
bool OwnPlace(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        const std::size_t slash = path.find_last_of('/');
        return errno == ENOENT && slash != std::string::npos &&
               stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
               info.st_uid == geteuid();
    }
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

enum class Creation {
    MustExist,   // use it as it is, or not at all
    CreateOwn,   // create it when missing; ours, it may be made private
};

// FOLDER when it is (or, as CREATION allows, has been made) a folder of this
// user that no other user may enter; "" with the reason added to WHY otherwise.
std::string Private(const std::string& folder, Creation creation, std::string& why) {
    if (creation == Creation::CreateOwn && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        why += "; " + Reason("cannot create " + folder);
        return "";
    }
    // Not followed when it is a link: another user could point it anywhere.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        why += "; " + Reason("cannot open " + folder + " as a folder");
        return "";
    }
    struct stat info {};
    bool usable = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
    if (usable && (info.st_mode & 077) != 0)
        usable = creation == Creation::CreateOwn && fchmod(fd, 0700) == 0;
    close(fd);
    if (!usable) {
        why += "; " + folder + " is not a private folder of this user";
        return "";
    }
    return folder;
}

}  // namespace

std::optional<std::string> UserRuntimeFolder(std::string& error) {
    std::string why;
    if (const std::string runtime = AbsoluteVariable("XDG_RUNTIME_DIR"); !runtime.empty()) {
        if (std::string folder = Private(runtime, Creation::MustExist, why); !folder.empty()) return folder;
    }

    std::string cache = AbsoluteVariable("XDG_CACHE_HOME");
    if (cache.empty()) {
        const std::string home = HomeFolder();
        if (!home.empty()) cache = home + "/.cache";
    }
    if (!cache.empty() && OwnPlace(cache)) {
        mkdir(cache.c_str(), 0700);  // the cache folder itself, when the user has none yet
        if (std::string folder = Private(cache + "/korvane16", Creation::CreateOwn, why); !folder.empty())
            return folder;
    }

    std::string temporary = AbsoluteVariable("TMPDIR");
    if (temporary.empty()) temporary = "/tmp";
    const std::string stem = temporary + "/korvane16-" + std::to_string(geteuid());
    for (int alternative = 0; alternative <= kTemporaryAlternatives; ++alternative) {
        const std::string candidate = alternative == 0 ? stem : stem + "." + std::to_string(alternative);
        if (std::string folder = Private(candidate, Creation::CreateOwn, why); !folder.empty()) return folder;
    }
    error = "no private folder of this user for run-time files (set XDG_RUNTIME_DIR to a folder of yours that "
            "only you may enter, e.g. mkdir -m 700 ~/run; export XDG_RUNTIME_DIR=~/run)" + why;
    return std::nullopt;
}

}  // namespace platform
