#pragma once
// The seam between the device read-backs and the profile store: where a read-back or a
// reload has to save the selected profile it calls these. The program's profile store fills
// them in; an empty function means there is no store (tests, orvanectl).

#include <functional>

namespace orvane::profiles {

struct ProfileHooks {
    /// Saves the device's current lighting settings into the selected lighting profile.
    std::function<void()> saveSelectedLightingProfile;
    /// Saves the device's key assignments into the selected key profile.
    std::function<void()> saveSelectedKeyProfile;

    void saveLighting() const {
        if (saveSelectedLightingProfile) saveSelectedLightingProfile();
    }
    void saveKeys() const {
        if (saveSelectedKeyProfile) saveSelectedKeyProfile();
    }
};

}  // namespace orvane::profiles
