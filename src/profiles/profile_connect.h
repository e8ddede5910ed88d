// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile steps of a device's arrival, for the presence clients:
//   keyboard  read-back, then SelectRecordedProfiles (lighting, then keys)
//   mouse     LoadRecordedMouseLighting, read-back, then SelectRecordedProfiles
//   mousepad  read-back, then SelectRecordedProfiles
// Call them without holding the device's connection lock: selecting a key profile sends
// the bank.

#include <utility>
#include <vector>

#include "profiles/profile_operations.h"

namespace orvane::profiles {

/// Loads the mouse lighting profile that "select" of the lighting set records (the state,
/// pointer speed and wheel lines the read-back then stages). Nothing is sent.
ReadResult LoadRecordedMouseLighting(ProfileStore& store);

struct RecordedSelection {
    ListId list;
    ProfileResult result;
};

/// Selects in each of the device's lists the entry its "select" records, as a list does:
/// the selection runs only when it changes the list's selection (a list does not report
/// re-selecting its current entry), and a recorded position outside the list selects
/// nothing. Returns the selections made, for the page to show.
std::vector<RecordedSelection> SelectRecordedProfiles(ProfileOperations& operations, DeviceKind kind);

}  // namespace orvane::profiles
