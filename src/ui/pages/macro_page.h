// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro editor of the keyboard page and of the mouse page: one controller for both, the
// differences in a row of kMacroPages (control prefix, macro set, device, capture target).
//
// The name list chooses the macro; its actions live in a macros::MacroDocument shown by a
// model/view list (one view, not one widget per action). Recording takes the input the
// capture service delivers (inputCaptured of this page's target) through a
// macros::MacroRecorder. While the action list differs from the macro's file the
// save/cancel bar ("*_macro_tab_saveorcancel") is shown and the name list is locked; the
// window keeps the page while that bar is up. Every change of the stored set runs as a job of
// the device's session, which raises macrosChanged(kind) so the key editors' lists follow.

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "macros/macro_document.h"
#include "macros/macro_recorder.h"
#include "macros/macro_store.h"
#include "runtime/runtime.h"
#include "ui/dialogs.h"
#include "ui/pages/leave_check.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

class QAbstractItemView;
class QListWidget;

namespace orvane::ui {
class MacroListModel;
}

namespace orvane::ui::pages {

/// What tells the two editors apart.
struct MacroPageRow {
    const char* prefix;  ///< "kb" / "ms": every control name starts with it and "_"
    macros::MacroSet set;
    device::DeviceKind kind;
    runtime::CaptureTarget target;
    int captureMode;  ///< ui::capture_mode: 4 keyboard, 64 mouse
};
extern const std::array<MacroPageRow, 2> kMacroPages;
const MacroPageRow& MacroPageOf(macros::MacroSet set);

/// What the page needs of the program besides its controls and the runtime.
struct MacroPageServices {
    Dialogs* dialogs = nullptr;
    QWidget* owner = nullptr;
    /// Text of a language id; the id itself when not given.
    std::function<QString(const QString& id)> translate;
    /// Starts the capture service in a mode (false: refused); stops it.
    std::function<bool(int mode, bool keyboard, bool mouse)> startCapture;
    std::function<void()> stopCapture;
    /// Milliseconds on the clock the captured input is stamped with; steady clock when not given.
    std::function<int64_t()> clock;
};

class MacroPage final : public LeaveCheck {
public:
    MacroPage(ControlLookup lookup, runtime::Runtime& runtime, const MacroPageRow& row, MacroPageServices services);
    ~MacroPage();
    MacroPage(const MacroPage&) = delete;
    MacroPage& operator=(const MacroPage&) = delete;

    /// Once the skin is loaded: the action view and its model, the key and mouse-event
    /// lists, the names from the store (the last macro opened).
    void prepare();
    const PageBindings& bindings() const { return bindings_; }
    const MacroPageRow& row() const { return row_; }

    /// Input of this page's capture target.
    void record(const runtime::CapturedInput& input);
    /// The capture ended (the window lost activation, the page changed): recording stops.
    void captureEnded();
    /// The language changed: the lists' texts again.
    void retranslate();

    bool recording() const { return recorder_.has_value(); }
    bool unsaved() const { return document_.unsaved() || recording(); }
    /// Not while an open macro has unsaved edits (its save/cancel bar is up); a recording
    /// alone ends with the page.
    bool mayLeave() const override { return !(current_ && document_.unsaved()); }
    const macros::MacroDocument& document() const { return document_; }
    /// Index of the open macro, nullopt with none.
    std::optional<int> current() const { return current_; }

private:
    QString name(const char* suffix) const;
    QString tr(std::string_view id) const;
    void message(std::string_view id, std::optional<int> number = std::nullopt) const;
    bool ask(std::string_view id) const;

    // names (macro_page.cpp)
    void fillNames(std::optional<int> select);
    void tellIndexProblem();
    void selectName(std::optional<int> row);
    void openSelected();
    void openMacro(int index);
    void newMacro();
    void removeMacro();
    void renameFromEdit();
    void setMacroControlsEnabled(bool enabled);
    /// The device's session: every change of the macro set goes through it, as a job.
    runtime::KeyDeviceSession& session();

    // editing (macro_page_edit.cpp)
    void markUnsaved();
    void endEditing();
    void saveEdits();
    void discardEdits();
    void toggleRecording();
    void startRecording();
    /// `endedBy`: how the stop control was worked, when it ended the recording.
    void stopRecording(std::optional<functions::CapturedInput::Kind> endedBy = std::nullopt);
    void scrollToNewest();
    void showAction();
    void showDetail(int item);
    void syncSelection();
    void insertMouseAction(size_t tableRow, const char* distanceEdit);
    void showInsertTab(int which);
    void moveSelected(macros::MoveTo where);
    void editKey();
    void editUpDown();
    void editMouseEvent();
    void editDelay(const char* edit);
    /// The typing is done: the edit shows the delay as kept (to 10 ms).
    void showStoredDelay(const char* edit);
    void editDistance();
    void fillLists();
    void fillCombos();
    void bindEditing();

    PageControls controls_;
    runtime::Runtime& runtime_;
    const MacroPageRow& row_;
    MacroPageServices services_;
    macros::MacroDocument document_;
    std::unique_ptr<MacroListModel> model_;
    std::optional<macros::MacroRecorder> recorder_;
    std::optional<int> current_;
    bool renaming_ = false;
    /// The index problem the user was told about last; told again only when it changes.
    std::optional<std::string> toldIndexProblem_;
    bool scrollPending_ = false;
    QTimer* releaseWait_ = nullptr;  ///< lets a recorded key release wait for a repeat press
    QObject* stopPressWatch_ = nullptr;
    std::optional<functions::CapturedInput::Kind> stopPressKind_;  ///< how the stop control was last pressed
    PageBindings bindings_;
    QObject lifetime_;  ///< ends the page's posted work with it
};

}  // namespace orvane::ui::pages
