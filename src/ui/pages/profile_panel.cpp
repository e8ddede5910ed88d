// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/profile_panel.h"

#include <QComboBox>

#include "ui/pages/page_messages.h"
#include "profiles/profile_names.h"

namespace orvane::ui::pages {

using profiles::ListId;
using profiles::ProfileResult;

namespace {

QString Latin(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

FileChoice ChoiceOf(const profiles::DialogSpec& listSpec, bool save) {
    return {save, Latin(listSpec.defaultExtension), Latin(listSpec.initialName), Latin(listSpec.filter)};
}

}  // namespace

ProfilePanelNames ProfilePanelNames::Of(ListId id) {
    const auto& listSpec = profiles::ListSpecOf(id);
    const QString word = Latin(listSpec.controlWord);              // "kb_deng"
    const QString device = word.section(QLatin1Char('_'), 0, 0);  // "kb"
    const QString kind = word.section(QLatin1Char('_'), 1);       // "deng"
    const QString tool = device + QStringLiteral("_pro_") + kind + QLatin1Char('_');
    ProfilePanelNames n;
    n.combo = word + QStringLiteral("_profile_combo");
    n.nameEdit = word + QStringLiteral("_profile_name_edit");
    n.editArea = word + QStringLiteral("_profile_edit");
    n.renameButton = word + QStringLiteral("_profile_edit_save_btn");
    n.add = tool + QStringLiteral("add_btn");
    n.remove = tool + QStringLiteral("sub_btn");
    n.copy = tool + QStringLiteral("copy_btn");
    n.import = tool + QStringLiteral("import_btn");
    n.exportButton = tool + QStringLiteral("export_btn");
    n.reset = tool + QStringLiteral("reset_btn");
    n.edit = tool + QStringLiteral("edit_btn");
    n.linkCheck = word + QStringLiteral("_profile_link_check");
    n.linkEdit = word + QStringLiteral("_profile_link_edit");
    n.linkArea = word + QStringLiteral("_profile_link_name_hor");
    if (!listSpec.lighting) n.functionTab = device + QStringLiteral("_tab_function");
    return n;
}

ProfilePanel::ProfilePanel(ListId id, const ProfilePanelEnv& env)
    : id_(id), env_(env), controls_(env.lookup), names_(ProfilePanelNames::Of(id)) {
    using namespace event;
    using profiles::ProfileOperations;
    bindings_
        .on(names_.combo, kItemSelect,
            [this](const Notification&) {
                const int entry = controls_.comboIndex(names_.combo);
                if (entry >= 0) select(entry);
            })
        .on(names_.add, kClick, [this](const Notification&) { run("add profile", [this](ProfileOperations& o) { return o.addProfile(id_); }); })
        .on(names_.remove, kClick, [this](const Notification&) { remove(); })
        .on(names_.copy, kClick, [this](const Notification&) { run("copy profile", [this](ProfileOperations& o) { return o.copyProfile(id_); }); })
        .on(names_.import, kClick, [this](const Notification&) { importFile(); })
        .on(names_.exportButton, kClick, [this](const Notification&) { exportFile(); })
        .on(names_.reset, kClick, [this](const Notification&) { run("reset profile", [this](ProfileOperations& o) { return o.resetProfile(id_); }); })
        .on(names_.edit, kClick,
            [this](const Notification&) {
                QWidget* area = controls_.find(names_.editArea);
                if (area) area->setVisible(area->isHidden());
            })
        .on(names_.renameButton, kClick, [this](const Notification&) {
            const std::string name = controls_.text(names_.nameEdit).toStdString();
            run("rename profile", [this, name](ProfileOperations& o) { return o.renameProfile(id_, name); });
        });
}

void ProfilePanel::run(const char* name, std::function<ProfileResult(profiles::ProfileOperations&)> operation) {
    if (!env_.runtime) return;
    env_.runtime->session(profiles::ListSpecOf(id_).kind)
        .runProfile(name, std::move(operation), [this](runtime::JobStatus status, const ProfileResult& r) {
            if (status == runtime::JobStatus::Done) show(r);
        });
}

void ProfilePanel::remove() {
    if (!env_.runtime) return;
    const auto ask = env_.runtime->operations.deleteQuestion(id_);
    if (!ask.refusal.empty()) {
        message(ask.refusal);
        return;
    }
    if (ask.question.empty()) return;
    if (!env_.dialogs || env_.dialogs->showMessage(env_.owner, Latin(ask.question), true) != 1) return;
    // Asked and answered: the delete itself checks the list again as it then is.
    run("delete profile", [this](profiles::ProfileOperations& o) { return o.deleteProfile(id_, [](std::string_view) { return true; }); });
}

void ProfilePanel::importFile() {
    if (!env_.runtime || !env_.runtime->store.list(id_).hasSelection() || !env_.dialogs) return;
    const QString file = env_.dialogs->chooseFile(env_.owner, ChoiceOf(profiles::ListSpecOf(id_).importDialog, false));
    if (file.isEmpty()) return;
    const std::filesystem::path source(file.toStdString());
    run("import profile", [this, source](profiles::ProfileOperations& o) { return o.importProfile(id_, source); });
}

void ProfilePanel::exportFile() {
    if (!env_.runtime || !env_.runtime->store.list(id_).hasSelection() || !env_.dialogs) return;
    const QString file = env_.dialogs->chooseFile(env_.owner, ChoiceOf(profiles::ListSpecOf(id_).exportDialog, true));
    if (file.isEmpty()) return;
    const std::filesystem::path target(file.toStdString());
    run("export profile", [this, target](profiles::ProfileOperations& o) { return o.exportProfile(id_, target); });
}

void ProfilePanel::fill() {
    if (!env_.runtime) return;
    auto* combo = controls_.find<QComboBox>(names_.combo);
    const auto list = env_.runtime->store.list(id_);
    Silently(combo, [this, &list](QComboBox* c) {
        c->clear();
        // The text is what the user reads; the user data is the name as stored.
        for (const auto& name : list.names) c->addItem(shownName(name), Utf8(name));
        c->setCurrentIndex(list.hasSelection() ? list.selection : -1);
    });
}

QString ProfilePanel::shownName(const std::string& name) const {
    // The names the program makes up read in the user's language; the files keep them.
    const auto number = profiles::NewProfileNumber(name);
    if (!number || !env_.translate) return Utf8(name);
    const QString text = env_.translate(QStringLiteral("profile_new_name_text"));
    return text.contains(QLatin1String("%1")) ? text.arg(Utf8(*number)) : Utf8(name);
}

void ProfilePanel::select(int n) {
    run("select profile", [this, n](profiles::ProfileOperations& o) { return o.selectProfile(id_, n); });
}

void ProfilePanel::show(const ProfileResult& r) {
    if (r.listChanged) fill();
    if (r.selected) controls_.setComboIndex(names_.combo, *r.selected);
    if (!r.selectedName.empty()) controls_.setText(names_.nameEdit, Utf8(r.selectedName));
    if (r.selected) showLink(r.link);
    if (r.hideFunctionTab && !names_.functionTab.isEmpty()) {
        QWidget* tab = controls_.find(names_.functionTab);
        if (tab && !tab->isHidden()) {
            tab->hide();
            tab->setEnabled(false);
        }
    }
    if (r.loaded == profiles::ReadResult::Read && env_.runtime) {
        env_.runtime->events.profileLoaded.emit(id_, r);
        env_.runtime->events.modelChanged.emit(profiles::ListSpecOf(id_).kind);
    }
    if (!r.message.empty()) message(r.message);
    if (r.writeFailed) message(kWriteFailedMessage);
}

void ProfilePanel::showLink(const profiles::LinkDisplay& link) {
    controls_.setChecked(names_.linkCheck, link.linked);
    controls_.setText(names_.linkEdit, link.linked ? Utf8(link.application) : QStringLiteral(" "));
    controls_.setVisible(names_.linkArea, link.linked);
}

void ProfilePanel::message(std::string_view id) {
    if (env_.dialogs) env_.dialogs->showMessage(env_.owner, Latin(id), true);
}

}  // namespace orvane::ui::pages
