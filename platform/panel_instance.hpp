// One panel per user session. A starting panel claims the session; the claim
// lasts exactly as long as the panel's process: the system drops it when the
// process ends, however it ends, so nothing stale is left after a crash.
//
// For the panel:
//     platform::PanelInstance instance;          // at start, before the board
//     if (instance.State() != platform::PanelInstance::Claim::Ours) ...  // say so, exit 1
// For another program that must not work the board beside a panel (such as
// korvane16-ctl): hold a PanelInstance of its own for as long as it works the
// board (a panel started meanwhile finds it and stops).
// POSIX: an exclusive flock on "korvane16-panel.lock" in the user's private
// run-time folder. Windows: the named mutex "KORVANE16.Panel" of the session.
#pragma once

#include <string>
#include <vector>

namespace platform {

class PanelInstance {
public:
    enum class Claim { Ours, AnotherPanelRuns, Failed };

    PanelInstance();
    ~PanelInstance();
    PanelInstance(const PanelInstance&) = delete;
    PanelInstance& operator=(const PanelInstance&) = delete;

    Claim State() const { return claim_; }
    // Why the claim failed (State() == Claim::Failed).
    const std::string& Error() const { return error_; }

#if !defined(_WIN32)
    // A descriptor that becomes readable when another start asks this panel to
    // come to the front (see AskRunningPanelToFront), or -1.
    int FrontRequests() const { return requests_; }
    // Reads the waiting requests; true when there was at least one.
    bool TakeFrontRequests();
    // Tells the starts whose requests were taken that the window is in front.
    void AnswerFrontRequests();
#endif

private:
    Claim claim_ = Claim::Failed;
    std::string error_;
    long long lock_ = -1;  // the lock file (POSIX) or the mutex (Windows)
#if !defined(_WIN32)
    int requests_ = -1;
    std::string requestsPath_;
    std::vector<int> answers_;  // where each taken request waits for its answer
#endif
};

#if !defined(_WIN32)
enum class FrontAnswer { NotDelivered, Unanswered, BroughtToFront };
// Asks the panel that holds the claim to bring its window to the front and
// waits a moment for its answer: a stopped or hung panel gives none. (On
// Windows the second start finds the first panel's window by its title instead.)
FrontAnswer AskRunningPanelToFront();
#endif

}  // namespace platform
