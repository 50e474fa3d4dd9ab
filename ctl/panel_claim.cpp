#include "ctl/panel_claim.hpp"

std::unique_ptr<platform::PanelInstance> ClaimSession(std::string_view why, std::ostream& err) {
    auto instance = std::make_unique<platform::PanelInstance>();
    switch (instance->State()) {
        case platform::PanelInstance::Claim::Ours: return instance;
        case platform::PanelInstance::Claim::AnotherPanelRuns:
            err << "korvane16-ctl: a KORVANE16 panel is running: close it first, " << why << '\n';
            return nullptr;
        case platform::PanelInstance::Claim::Failed:
            err << "korvane16-ctl: cannot tell whether a panel runs: " << instance->Error() << '\n';
            return nullptr;
    }
    return nullptr;
}
