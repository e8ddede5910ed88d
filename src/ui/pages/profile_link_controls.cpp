// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/profile_link_controls.h"

#include "ui/pages/profile_panel.h"

namespace orvane::ui::pages {

using profiles::LinkResult;
using profiles::LinkSource;

FileChoice ApplicationChoice() {
    FileChoice choice;
    choice.executables = true;
    return choice;
}

ProfileLinkControls::ProfileLinkControls(profiles::ListId id, ProfileLinkEnv env)
    : id_(id), env_(std::move(env)), controls_(env_.lookup) {
    const ProfilePanelNames names = ProfilePanelNames::Of(id);
    check_ = names.linkCheck;
    edit_ = names.linkEdit;
    area_ = names.linkArea;
    button_ = QString(check_).replace(QStringLiteral("_link_check"), QStringLiteral("_link_btn"));
    using namespace event;
    bindings_
        .on(check_, kSelectChanged,
            [this](const Notification&) {
                if (controls_.checked(check_)) link(LinkSource::CheckBox);
                else unlink();
            })
        .on(button_, kClick, [this](const Notification&) { link(LinkSource::Button); });
}

void ProfileLinkControls::link(LinkSource source) {
    if (!env_.runtime) return;
    if (!env_.runtime->store.list(id_).hasSelection()) {
        controls_.setChecked(check_, false);
        return;
    }
    const QString file = env_.dialogs ? env_.dialogs->chooseFile(env_.owner, ApplicationChoice()) : QString();
    std::optional<std::string> chosen;
    if (!file.isEmpty()) chosen = file.toStdString();
    // The position as the user saw it when they clicked.
    const int position = env_.runtime->store.list(id_).selection;
    session().linkProfile(id_, position, chosen, source, shown());
}

void ProfileLinkControls::unlink() {
    if (!env_.runtime) return;
    session().unlinkProfile(id_, env_.runtime->store.list(id_).selection, shown());
}

runtime::DeviceSession& ProfileLinkControls::session() { return env_.runtime->session(profiles::ListSpecOf(id_).kind); }

runtime::Done<LinkResult> ProfileLinkControls::shown() {
    return [this](runtime::JobStatus status, const LinkResult& r) {
        if (status == runtime::JobStatus::Done) showResult(r);
    };
}

void ProfileLinkControls::showResult(const LinkResult& r) {
    show(r.display);
    if (env_.dialogs && !r.message.empty())
        env_.dialogs->showMessage(env_.owner, QString::fromLatin1(r.message.data(), qsizetype(r.message.size())), true);
    if (env_.dialogs && r.writeFailed) env_.dialogs->showMessage(env_.owner, QLatin1String(kWriteFailedMessage), true);
    if (r.changed && r.display.linked && env_.linked) env_.linked(controls_.find(check_));
}

void ProfileLinkControls::show(const profiles::LinkDisplay& link) {
    controls_.setChecked(check_, link.linked);
    controls_.setText(edit_, link.linked ? QString::fromStdString(link.application) : QStringLiteral(" "));
    controls_.setVisible(area_, link.linked);
}

}  // namespace orvane::ui::pages
