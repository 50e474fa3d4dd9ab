// How long the desktop window takes from the program's start (exec) to its
// first frame on the screen, and the most memory its process held, beside an
// empty Qt dialog's and the same controls' in a plain Qt dialog. A frame is on
// the screen when the X server reports the first drawing (a damage) in a
// top-level window the program mapped.
// Usage: korvane16-window-start [RUNS]  (on an X display, e.g. under xvfb-run);
// each program is started RUNS times in turn (default 10), the medians shown.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    double firstFrameMs = -1;
    long peakKb = 0;
};

struct Free {
    void operator()(void* p) const { std::free(p); }
};

// One start of ARGV: spawned, watched until its first frame, then asked to
// close (SIGTERM closes either window as its close box does) and waited for.
Start Measure(xcb_connection_t* x, xcb_window_t root, std::vector<std::string> argv) {
    Start result;
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto started = Clock::now();
    pid_t child = -1;
    if (posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ) != 0) return result;
    posix_spawn_file_actions_destroy(&actions);

    const std::uint8_t damageEvent = xcb_get_extension_data(x, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
    std::set<xcb_window_t> mapped;
    std::vector<xcb_damage_damage_t> damages;
    const auto deadline = started + std::chrono::seconds(20);
    while (result.firstFrameMs < 0 && Clock::now() < deadline) {
        std::unique_ptr<xcb_generic_event_t, Free> event(xcb_poll_for_event(x));
        if (!event) {
            usleep(200);
            continue;
        }
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            // Every new top-level window is watched from its creation on, so no drawing is missed.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            if (created->parent != root) continue;
            damages.push_back(xcb_generate_id(x));
            xcb_damage_create(x, damages.back(), created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(x);
        } else if (type == XCB_MAP_NOTIFY) {
            mapped.insert(reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window);
        } else if (type == damageEvent) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
            if (mapped.count(damage->drawable) != 0)
                result.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        }
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.peakKb = usage.ru_maxrss;
    for (const xcb_damage_damage_t damage : damages) xcb_damage_destroy(x, damage);
    xcb_flush(x);
    // Events of this start that came after its first frame are not the next one's.
    while (std::unique_ptr<xcb_generic_event_t, Free> late{xcb_poll_for_event(x)}) {
    }
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fputs("korvane16-window-start: no X display (run it under xvfb-run)\n", stderr);
        return 1;
    }
    std::unique_ptr<xcb_damage_query_version_reply_t, Free> version(
        xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    if (!version) {
        std::fputs("korvane16-window-start: the X server has no damage extension\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // The panel works in a folder of its own, on the stand-in board.
    std::string folder = (std::filesystem::temp_directory_path() / "korvane16-window-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) return 1;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);

    const std::vector<std::pair<const char*, std::vector<std::string>>> programs = {
        {"korvane16 --show", {KORVANE16_PANEL, "--show"}},
        {"empty Qt dialog", {KORVANE16_EMPTY_DIALOG}},
        {"the template's controls in a plain Qt dialog", {KORVANE16_CONTROLS_DIALOG}},
    };
    std::vector<std::vector<double>> frames(programs.size()), peaks(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const Start start = Measure(x, root, programs[p].second);
            if (start.firstFrameMs < 0) {
                std::fprintf(stderr, "korvane16-window-start: %s showed no frame\n", programs[p].first);
                return 1;
            }
            frames[p].push_back(start.firstFrameMs);
            peaks[p].push_back(static_cast<double>(start.peakKb) / 1024);
        }
    }
    std::printf("| program | exec to first frame, ms | peak memory, MB |\n|---|---|---|\n");
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("| %s | %.1f | %.1f |\n", programs[p].first, Median(frames[p]), Median(peaks[p]));
    std::printf("(medians of %d starts each, in turn)\n", runs);
    std::filesystem::remove_all(folder);
    xcb_disconnect(x);
    return 0;
}
