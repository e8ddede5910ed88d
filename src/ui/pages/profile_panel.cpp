#include "ui/pages/profile_panel.h"

#include <QComboBox>

namespace orvane::ui::pages {

using profiles::ListId;
using profiles::ProfileResult;

namespace {

QString Latin(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }
QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

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

ProfilePanel::ProfilePanel(ListId id, profiles::ProfileOperations& operations, const ProfilePanelEnv& env)
    : id_(id), operations_(operations), env_(env), controls_(env.lookup), names_(ProfilePanelNames::Of(id)) {}

bool ProfilePanel::handle(const Notification& n) {
    const QString& s = n.sender;
    auto is = [&s](const QString& name) { return s.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(names_.combo)) {
        if (n.type != event::ItemSelect) return true;
        const int entry = controls_.comboIndex(names_.combo);
        if (entry >= 0) select(entry);
        return true;
    }
    if (n.type != event::Click) return is(names_.add) || is(names_.remove) || is(names_.copy) || is(names_.import) ||
                                        is(names_.exportButton) || is(names_.reset) || is(names_.edit) ||
                                        is(names_.renameButton);
    if (is(names_.add)) {
        show(operations_.addProfile(id_));
    } else if (is(names_.remove)) {
        show(operations_.deleteProfile(id_, [this](std::string_view question) {
            return env_.dialogs && env_.dialogs->showMessage(env_.owner, Latin(question), true) == 1;
        }));
    } else if (is(names_.copy)) {
        show(operations_.copyProfile(id_));
    } else if (is(names_.import)) {
        importFile();
    } else if (is(names_.exportButton)) {
        exportFile();
    } else if (is(names_.reset)) {
        show(operations_.resetProfile(id_));
    } else if (is(names_.edit)) {
        QWidget* area = controls_.find(names_.editArea);
        if (area) area->setVisible(area->isHidden());
    } else if (is(names_.renameButton)) {
        show(operations_.renameProfile(id_, controls_.text(names_.nameEdit).toStdString()));
    } else {
        return false;
    }
    return true;
}

void ProfilePanel::importFile() {
    if (!operations_.store().list(id_).hasSelection() || !env_.dialogs) return;
    const QString file = env_.dialogs->chooseFile(env_.owner, ChoiceOf(profiles::ListSpecOf(id_).importDialog, false));
    if (file.isEmpty()) return;
    show(operations_.importProfile(id_, std::filesystem::path(file.toStdString())));
}

void ProfilePanel::exportFile() {
    if (!operations_.store().list(id_).hasSelection() || !env_.dialogs) return;
    const QString file = env_.dialogs->chooseFile(env_.owner, ChoiceOf(profiles::ListSpecOf(id_).exportDialog, true));
    if (file.isEmpty()) return;
    show(operations_.exportProfile(id_, std::filesystem::path(file.toStdString())));
}

void ProfilePanel::fill() {
    auto* combo = controls_.find<QComboBox>(names_.combo);
    const auto list = operations_.store().list(id_);
    Silently(combo, [&list](QComboBox* c) {
        c->clear();
        for (const auto& name : list.names) c->addItem(Utf8(name), Utf8(name));  // text and user data
        c->setCurrentIndex(list.hasSelection() ? list.selection : -1);
    });
}

void ProfilePanel::select(int n) { show(operations_.selectProfile(id_, n)); }

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
    if (r.loaded == profiles::ReadResult::Read && r.page != profiles::PageAction::None && env_.applyPage)
        env_.applyPage(id_, r);
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
