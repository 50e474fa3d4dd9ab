// Whole panel sessions inside one process, on the headless dialog, with the
// stand-in driver beside this program and an in-memory settings file: this
// program stands in for the platform's profile-file functions and notes, at
// each access, whether the settings lock was held.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/panel_dlg.hpp"
#include "app/process_state.hpp"
#include "headless/headless_dialog.hpp"
#include "dialog/control_ids.hpp"
#include "platform/profile_file.hpp"
#include "platform/profile_text.hpp"
#include "layout/layout_specs.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_lock.hpp"

namespace {

struct Access {
    std::string what;  // "read Section/Key" or "write Section/Key"
    bool lockHeld;
};

std::vector<Access> accesses;
std::string fileText;

}  // namespace

namespace platform {

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char*,
                            std::string* problem) {
    accesses.push_back({std::string("read ") + section + "/" + key, SettingsLock().Held()});
    if (problem != nullptr) problem->clear();
    const std::optional<std::string> value = profile::FindValue(fileText, section, key);
    return value ? profile::ParseInt(*value, defaultValue) : defaultValue;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char*,
                        std::string* problem) {
    accesses.push_back({std::string("write ") + section + "/" + key, SettingsLock().Held()});
    if (problem != nullptr) problem->clear();
    if (std::optional<std::string> text = profile::SetValue(fileText, section, key, value)) fileText = *text;
    return true;
}

void RemoveStaleTemporaries(const char*) { accesses.push_back({"remove stale temporaries", SettingsLock().Held()}); }

void ForgetProfileCopies() {}  // this file keeps nothing between accesses

}  // namespace platform

namespace {

TEST(SettingsLockRule, EveryReadAndWriteOfAPanelSessionHoldsTheLock) {
    ResetProcessState();
    accesses.clear();
    fileText = "[General]\nDIV=4\n";
    {
        CTvPanelDlg dlg;
        std::ostringstream events;
        HeadlessDialog dialog(dlg, events);
        dialog.Create();  // the start-up: reads, then the show-panel flag
        ASSERT_FALSE(dialog.Ended()) << "the stand-in driver beside this program did not load";
        ASSERT_FALSE(dialog.Click(ids::AllOff));
        ASSERT_FALSE(dialog.Drag(ids::BrightnessSlider, 40));
        dialog.End();  // the shut-down and the save
    }
    // Stale temporary files removed, 98 settings and the flag read, the flag
    // written; 99 writes at close.
    ASSERT_EQ(accesses.size(), 1u + 98u + 2u + 99u);
    for (const Access& access : accesses) EXPECT_TRUE(access.lockHeld) << access.what << " without the settings lock";
    EXPECT_FALSE(SettingsLock().Held()) << "the lock is still held after the session";
}

// Each layout's "Apply" radio reaches that layout's own editor: with its tile
// boxes as the start-up left them, the layout is sent and becomes the current one.
TEST(MessageRouting, EachApplyRadioRunsTheEditorOfItsOwnLayout) {
    for (const LayoutSpec& layout : kLayouts) {
        if (layout.code == 13) continue;  // its radio is hidden: only the program sets it
        SCOPED_TRACE(layout.code);
        ResetProcessState();
        fileText.clear();
        CTvPanelDlg dlg;
        std::ostringstream events;
        HeadlessDialog dialog(dlg, events);
        dialog.Create();
        ASSERT_FALSE(dialog.Click(ids::ApplyDiv1 == layout.applyRadio ? ids::ApplyDiv4 : ids::ApplyDiv1));
        ASSERT_NE(panelState.layoutCode, layout.code);
        ASSERT_FALSE(dialog.Click(layout.applyRadio));
        EXPECT_EQ(panelState.layoutCode, layout.code);
        EXPECT_EQ(panelState.positionMap[static_cast<std::size_t>(layout.code)], 255);
        dialog.End();
    }
}

}  // namespace
