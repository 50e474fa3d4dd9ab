// How long a board call takes to reach the monitor's screen: the stand-in
// driver is loaded here and driven as the panel drives it, korvane16-monitor
// watches the board, and each call that switches channel 1 off or on is timed
// from the call to the first drawing in the monitor's window (an X damage
// report) whose pixels show the change. Medians and 99th percentiles are
// printed beside the video's frame period, for NTSC and PAL.
// Usage: korvane16-monitor-latency [CALLS [--median]]  (on an X display, e.g.
// under xvfb-run; CALLS per standard, default 200). Exit status 1 when a
// standard's 99th percentile is not within its frame period, or with --median
// (the check in the tests, which a busy machine's stray late frame does not
// upset) when its median is not within a third of it: a monitor that showed
// changes only at its next frame would take half a period and its drawing.
#include <dlfcn.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "driver/tile_spec.hpp"
#include "layout/layout_specs.hpp"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

struct Free {
    void operator()(void* p) const { std::free(p); }
};

// The stand-in driver, driven directly.
class StandIn {
public:
    StandIn() : library_(dlopen(KORVANE16_STAND_IN, RTLD_NOW | RTLD_LOCAL)) {}
    ~StandIn() {
        if (library_ != nullptr) dlclose(library_);
    }
    bool Loaded() const { return library_ != nullptr; }
    template <typename Entry>
    Entry* Find(const char* name) const {
        return reinterpret_cast<Entry*>(dlsym(library_, name));
    }
    // The board up on STANDARD with channel i in tile i of the 16-tile layout.
    void BringUp(std::int32_t standard) const {
        Find<void(std::int32_t)>("OvrSetup")(0);
        Find<void(std::int32_t)>("OvrSetVideoFormat")(standard);
        for (int ch = 0; ch < 16; ++ch) Enable(ch, true);
        Find<void()>("OvrRun")();
        Find<void()>("OvrCaptureStart")();
        std::vector<TileSpec> table;
        for (int tile = 0; tile < 16; ++tile) {
            const TileGeometry& g = FindLayout(16)->tiles[static_cast<std::size_t>(tile)];
            table.push_back({static_cast<std::uint8_t>(tile), {}, g.scale, g.x, g.y, g.width, g.height});
        }
        table.push_back({kEndMark, {}, 3, 0, 0, 0, 0});
        Find<void(const TileSpec*)>("OvrSetDisplayFormatForTV")(table.data());
    }
    void Enable(int channel, bool on) const { Find<void(std::int32_t, std::int32_t)>("OvrEnableChannel")(channel, on); }
    void ShutDown() const {
        Find<void()>("OvrCaptureStop")();
        Find<void()>("OvrStop")();
        Find<void()>("OvrEndup")();
    }

private:
    void* library_;
};

// The monitor's window on the X server, and the drawings reported in it.
class Watched {
public:
    Watched(xcb_connection_t* x, xcb_window_t window) : x_(x), window_(window), damage_(xcb_generate_id(x)) {
        xcb_damage_create(x_, damage_, window_, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        damageEvent_ = xcb_get_extension_data(x_, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
        xcb_flush(x_);
    }
    // A patch in the middle of tile 1 (channel 1's picture), as bytes.
    std::string Patch() {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(x_, xcb_get_geometry(x_, window_), nullptr);
        const int w = g != nullptr ? g->width : 0, h = g != nullptr ? g->height : 0;
        std::free(g);
        std::unique_ptr<xcb_get_image_reply_t, Free> image(xcb_get_image_reply(
            x_, xcb_get_image(x_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, static_cast<std::int16_t>(w / 8),
                              static_cast<std::int16_t>(h / 8), 8, 8, ~0u),
            nullptr));
        if (!image) return {};
        return std::string(reinterpret_cast<const char*>(xcb_get_image_data(image.get())),
                           static_cast<std::size_t>(xcb_get_image_data_length(image.get())));
    }
    // Waits until a drawing shows a patch other than FROM; the time it came, or
    // nothing after SECONDS.
    bool WaitForChange(const std::string& from, Clock::time_point& when, double seconds = 2) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < deadline) {
            std::unique_ptr<xcb_generic_event_t, Free> event(xcb_poll_for_event(x_));
            if (!event) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                continue;
            }
            if ((event->response_type & 0x7F) != damageEvent_) continue;
            const auto drawn = Clock::now();
            xcb_damage_subtract(x_, damage_, XCB_NONE, XCB_NONE);
            xcb_flush(x_);
            if (Patch() != from) {
                when = drawn;
                return true;
            }
        }
        return false;
    }

private:
    xcb_connection_t* x_;
    xcb_window_t window_;
    xcb_damage_damage_t damage_;
    std::uint8_t damageEvent_ = 0;
};

// Starts the monitor and returns its window once mapped (0 when none came).
xcb_window_t StartMonitor(xcb_connection_t* x, xcb_window_t root, pid_t& monitor) {
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    std::vector<std::string> words{KORVANE16_MONITOR, "-geometry", "640x480+0+0"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&monitor, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        std::unique_ptr<xcb_generic_event_t, Free> event(xcb_poll_for_event(x));
        if (!event) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY)
            return reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
    }
    return 0;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.empty() ? -1 : values[std::min(at, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const bool judgeMedian = argc > 2 && std::string(argv[2]) == "--median";
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fputs("korvane16-monitor-latency: no X display (run it under xvfb-run)\n", stderr);
        return 1;
    }
    std::free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;

    // A board of this tool's own, in a private runtime folder.
    std::string folder = (std::filesystem::temp_directory_path() / "korvane16-latency-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 1;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    unsetenv("TAVRIND_JOURNAL");
    const StandIn standIn;
    if (!standIn.Loaded()) {
        std::fprintf(stderr, "korvane16-monitor-latency: cannot load %s\n", KORVANE16_STAND_IN);
        return 1;
    }
    pid_t monitor = -1;
    const xcb_window_t window = StartMonitor(x, root, monitor);
    Watched watched(x, window);

    std::printf("| standard | frame period, ms | call to frame shown: median, ms | 99th percentile, ms |\n"
                "|---|---|---|---|\n");
    bool within = window != 0;
    std::mt19937 random(1);
    for (const std::int32_t standard : {0, 1}) {
        const double period = standard == 1 ? 40.0 : 1001.0 / 30;
        standIn.BringUp(standard);
        Clock::time_point shown;
        // The running board on the screen first.
        watched.WaitForChange(watched.Patch(), shown, 5);
        std::vector<double> latencies;
        bool on = true;
        for (int call = 0; call < calls && window != 0; ++call) {
            // Calls land anywhere in the frame period.
            std::this_thread::sleep_for(Milliseconds(std::uniform_real_distribution<double>(0, period)(random)));
            const std::string before = watched.Patch();
            on = !on;
            const auto called = Clock::now();
            standIn.Enable(0, on);
            if (!watched.WaitForChange(before, shown)) continue;
            latencies.push_back(Milliseconds(shown - called).count());
        }
        const double median = Percentile(latencies, 0.5), p99 = Percentile(latencies, 0.99);
        std::printf("| %s | %.1f | %.1f | %.1f |\n", standard == 1 ? "PAL" : "NTSC", period, median, p99);
        if (latencies.size() < static_cast<std::size_t>(calls) || (judgeMedian ? median > period / 3 : p99 > period))
            within = false;
        standIn.Enable(0, true);
        standIn.ShutDown();
    }
    std::printf("(%d calls each, switching channel 1 off and on)\n", calls);
    if (monitor > 0) {
        kill(monitor, SIGTERM);
        waitpid(monitor, nullptr, 0);
    }
    std::filesystem::remove_all(folder);
    xcb_disconnect(x);
    return within ? 0 : 1;
}
