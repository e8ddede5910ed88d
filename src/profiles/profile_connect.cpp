// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_connect.h"

namespace orvane::profiles {

ReadResult LoadRecordedMouseLighting(ProfileStore& store) {
    auto guard = store.lock();
    return store.loadProfile(ListId::MouseLighting, store.recordedSelection(ListId::MouseLighting));
}

std::vector<RecordedSelection> SelectRecordedProfiles(ProfileOperations& operations, DeviceKind kind) {
    std::vector<RecordedSelection> made;
    auto& store = operations.store();
    for (const ListId id : ListsOf(kind)) {
        const int recorded = store.recordedSelection(id);
        const auto list = store.list(id);
        if (recorded < 0 || recorded >= list.count() || recorded == list.selection) continue;
        made.push_back({id, operations.selectProfile(id, recorded)});
    }
    return made;
}

}  // namespace orvane::profiles
