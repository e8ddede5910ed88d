#pragma once
// The page and window steps of the presence actions, on the UI thread.

#include <chrono>

#include "app/main_window.h"
#include "app/presence_links.h"

namespace orvane::app::presence {

/// A device tab or panel shown or hidden (skipped when the skin lacks it).
void SetShown(MainWindow& window, const char* name, bool shown);
/// Selects a tab as a click would: the selection routing switches the page.
void SelectTab(MainWindow& window, const char* tab);
/// Shows a device page panel (the page switch decides which page is in front).
void ShowPanel(MainWindow& window, const char* panel);
/// The relayout after a connect (timer 7).
inline constexpr std::chrono::milliseconds kRelayoutAfterConnect{100};
void SelectStored(const PresenceLinks& links, const StoredProfileList& list);
void TellSettingsWindow(const PresenceLinks& links, SettingsMessage message);

}  // namespace orvane::app::presence
