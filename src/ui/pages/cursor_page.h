// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's cursor page: four cursor sequences ("ms_gun_op_0" ... "_3") of 30 steps
// ("ms_bullet_op_0" ... "_29"), the step editor (delay 0-65535, horizontal and vertical
// distance 0-255 with their direction check boxes), and upload, reset, import and export of
// the chosen sequence. Every edit goes into the sequence's file through a mouse job (the
// data folder's lock may be kept by another program); only the upload sends (a mouse job
// with the progress ring). The page keeps no copy of a sequence, only which sequence and
// step are chosen.

#include <optional>

#include "macros/cursor_steps.h"
#include "runtime/runtime.h"
#include "ui/dialogs.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

inline constexpr int kCursorSequences = 4;
inline constexpr int kCursorSteps = 30;

struct CursorPageServices {
    Dialogs* dialogs = nullptr;
    QWidget* owner = nullptr;
    /// Text of a language id; the id itself when not given.
    std::function<QString(const QString& id)> translate;
};

class CursorPage {
public:
    CursorPage(ControlLookup lookup, runtime::Runtime& runtime, CursorPageServices services);
    CursorPage(const CursorPage&) = delete;
    CursorPage& operator=(const CursorPage&) = delete;

    /// Once: the user's sequence files on first start, then sequence 0, step 0.
    void prepare();
    const PageBindings& bindings() const { return bindings_; }

    /// Chooses sequence k and shows its step 0.
    void showSequence(int k);
    /// Reads the mouse's cursor image (a mouse job) and rewrites the sequence files from it;
    /// the page then shows sequence 0 again.
    void readFromMouse();

    int currentSequence() const { return sequence_; }
    std::optional<int> currentStep() const { return step_; }

private:
    QString tr(std::string_view id) const;
    void message(std::string_view id, std::optional<int> number = std::nullopt) const;
    void selectStep(int step);
    void stepToggled(int step);
    void showStep();
    void storeStep();
    void clampEdit(const char* edit, int max);
    void directionChanged();
    void upload();
    void reset();
    void importSequence();
    void exportSequence();

    PageControls controls_;
    runtime::Runtime& runtime_;
    CursorPageServices services_;
    int sequence_ = 0;
    std::optional<int> step_;
    /// A step edit failed to reach the file and the user was told; later failures of the
    /// same run stay quiet.
    bool toldStoreFailure_ = false;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
