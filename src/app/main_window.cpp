// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QBoxLayout>
#include <QLayout>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QWindow>

#include "app/app_icon.h"
#include "app/desktop_frame.h"
#include "app/screenshot_pages.h"
#include "app/message_box.h"
#include "app/notice_toast.h"
#include "app/scaled_picture.h"
#include "app/tray.h"
#include "app/window_frame.h"
#include "app/wrapping_panels.h"
#include "ui/controls/circle_progress.h"
#include "ui/log.h"
#include "ui/pages/sub_pages.h"
#include "ui/skin_files.h"

namespace orvane::app {

namespace {

/// A background picture that is not an ordinary file, too large or not a picture.
constexpr char kPictureUnusableMessage[] = "message_picture_unusable";


bool Is(const QString& name, const char* other) {
    return name.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

// The device tabs, the page of "tab_switch" each selects and the device it shows.
struct DeviceTab {
    const char* option;
    int page;
    std::optional<device::DeviceKind> device;
};
constexpr std::array<DeviceTab, 6> kDeviceTabs{{
    {"kb_tab", 0, device::DeviceKind::Keyboard},
    {"kb_onecolor_tab", 0, device::DeviceKind::Keyboard},
    {"ms_tab", 1, device::DeviceKind::Mouse},
    {"mp_tab", 2, device::DeviceKind::Mousepad},
    {"ani_tab", 3, std::nullopt},
    {"split_tab", 4, std::nullopt},
}};
// Each device's controls that the window shows for it: the panel of its page shown with
// its tab, and its lighting page's "same mode" option (offered while another device is there).
struct DeviceControls {
    device::DeviceKind kind;
    const char* panel;
    const char* sameMode;
};
constexpr std::array<DeviceControls, 3> kDeviceControls{{
    {device::DeviceKind::Keyboard, "kb_tab_panel", "kb_deng_same_mode"},
    {device::DeviceKind::Mouse, "ms_tab_panel", "ms_deng_same_mode"},
    {device::DeviceKind::Mousepad, nullptr, "mp_deng_same_mode"},
}};
const DeviceControls& ControlsOf(device::DeviceKind kind) {
    for (const auto& row : kDeviceControls)
        if (row.kind == kind) return row;
    return kDeviceControls[0];
}
const char* PanelOf(device::DeviceKind kind) { return ControlsOf(kind).panel; }

const DeviceTab* FindDeviceTab(const QString& name) {
    for (const auto& tab : kDeviceTabs)
        if (Is(name, tab.option)) return &tab;
    return nullptr;
}

void ShowPage(QWidget* pages, int index) {
    if (auto* stack = qobject_cast<QStackedWidget*>(pages)) stack->setCurrentIndex(index);
    else if (auto* tabs = qobject_cast<QTabWidget*>(pages)) tabs->setCurrentIndex(index);
}

// The pages in a scroll area: a window smaller than a page scrolls it, a larger one gives
// the page the room up to kMaximumContentWidth and centres it.
void MakePagesScrollable(QWidget* pages) {
    auto* layout = pages && pages->parentWidget() ? qobject_cast<QBoxLayout*>(pages->parentWidget()->layout()) : nullptr;
    if (!layout) return;
    const int index = layout->indexOf(pages);
    auto* scroll = new QScrollArea(pages->parentWidget());
    scroll->setObjectName(QStringLiteral("pages_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    layout->removeWidget(pages);
    pages->setMaximumWidth(MainWindow::kMaximumContentWidth);
    scroll->setWidget(pages);
    scroll->viewport()->setAutoFillBackground(false);
    layout->insertWidget(index, scroll, 1);
}

// The device tabs start where the pages do: a window wider than the pages centres them,
// and the tabs follow them instead of staying at the window's left edge.
class TabsFollowPages : public QObject {
public:
    TabsFollowPages(QWidget* tabBar, QWidget* pages) : QObject(tabBar), tabBar_(tabBar), pages_(pages) {
        margin_ = tabBar->layout()->contentsMargins().left();
        pages->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Move && event->type() != QEvent::Resize) return false;
        const int left = pages_->mapTo(tabBar_->window(), QPoint()).x() - tabBar_->mapTo(tabBar_->window(), QPoint()).x();
        const int inset = std::max(margin_, left);
        QMargins margins = tabBar_->layout()->contentsMargins();
        if (margins.left() != inset) {
            margins.setLeft(inset);
            margins.setRight(inset);
            tabBar_->layout()->setContentsMargins(margins);
        }
        return false;
    }

private:
    QWidget* tabBar_;
    QWidget* pages_;
    int margin_ = 0;
};

void AlignTabsWithPages(QWidget* tabBar, QWidget* pages) {
    if (tabBar && tabBar->layout() && pages) new TabsFollowPages(tabBar, pages);
}

// A stack of pages sized by the page it shows: the others ignore their size, so that one wide
// page (the macro editor) does not make every page scroll sideways.
void SizeStackByCurrentPage(QStackedWidget* stack) {
    if (!stack) return;
    auto follow = [stack](int current) {
        for (int i = 0; i < stack->count(); ++i) {
            const auto policy = i == current ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            stack->widget(i)->setSizePolicy(policy, policy);
        }
        stack->updateGeometry();
    };
    follow(stack->currentIndex());
    QObject::connect(stack, &QStackedWidget::currentChanged, stack, follow);
}

// The device pictures that grow with the window, and how: each is at its design size in
// the first window (880 × 620). The keyboards and the mousepad stand above their panels and
// may take the page's width; the mouse stands beside its panels. The drawing of the mouse's
// buttons carries their callouts, whose texts need its design size at least.
struct PictureFitRow {
    const char* picture;
    PictureFit fit;
};
constexpr std::array<PictureFitRow, 5> kPictureFits{{
    {"kb_lighting_picture", {}},
    {"kb_key_picture", {}},
    {"mp_lighting_picture", {.heightShare = 0.34}},
    {"ms_lighting_picture", {.widthShare = 0.35, .heightShare = 0.66}},
    {"ms_key_picture", {.widthShare = 0.5, .heightShare = 0.49, .smallest = 1.0}},
}};

// The window-level buttons looked up once.
constexpr std::array<const char*, 6> kWindowButtons{"closebtn", "maxbtn", "restorebtn", "minbtn", "skinbtn", "setbtn"};

}  // namespace

MainWindow::MainWindow(runtime::Runtime& runtime, Options options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      runtime_(runtime),
      options_(std::move(options)),
      skin_(options_.skinFolder),
      bridge_([this](const ui::Notification& n) { notify(n); }),
      mainIni_(options_.mainIni.empty() ? platform::MainIniPath() : options_.mainIni),
      machine_(options_.machineSettings.empty() ? platform::MachineSettings::DefaultPath() : options_.machineSettings) {
    setObjectName(QStringLiteral("MainWnd"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setAttribute(Qt::WA_StyledBackground);
    setMinimumSize(kMinimumSize);
    // The first size, within the screen (a scaled 800 × 572 may not fit a small one).
    // Roomier than kSize, the size every page is laid out for, so that the longer texts of
    // some languages do not make a page scroll.
    const QSize firstSize = kFirstWindowSize;
    const QSize screenRoom = screen() ? screen()->availableGeometry().size() : firstSize;
    resize(firstSize.boundedTo(screenRoom).expandedTo(kMinimumSize));
    setWindowIcon(AppIcon(skin_.folder()));

    keepHiddenForDevices_ = options_.startMinimized;
    if (options_.dialogs) {
        dialogs_ = options_.dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtDialogs>(skin_, language_);
        dialogs_ = ownDialogs_.get();
    }

    skin_.load(QStringLiteral("XML_MAIN"), this);
    const QString qss = skin_.styleSheet();
    if (!qss.isEmpty()) setStyleSheet(qss);
    controls_.add(this);
    MakePagesScrollable(control(QStringLiteral("tab_switch")));
    AlignTabsWithPages(control(QStringLiteral("device_tab_bar")), control(QStringLiteral("tab_switch")));
    for (const char* stack : {"tab_switch", "kb_tab_switch", "ms_tab_switch"})
        SizeStackByCurrentPage(control<QStackedWidget>(QLatin1String(stack)));
    for (const auto& [picture, fit] : kPictureFits)
        ScaledPicture::Attach(control(QLatin1String(picture)), kMaximumContentWidth, kPageMargins, fit);
    if (auto* scroll = findChild<QScrollArea*>(QStringLiteral("pages_scroll")))
        WrappingPanels::Attach(control(QStringLiteral("keyboard_deng_ui")), scroll->viewport(), kMaximumContentWidth,
                               kPageMargins);
    bridge_.attach(this);
    frame_ = WindowFrame::Attach(this, control(QStringLiteral("title_bar")));
    useDesktopFrame(ReadDesktopFrame(mainIni_));
    bindWindowControls();
    watchSubPages();

    notice_ = new NoticeToast(this);
    controls_.add(notice_);
    progressHideTimer_.setSingleShot(true);
    progressHideTimer_.setInterval(1000);
    connect(&progressHideTimer_, &QTimer::timeout, this, [this] {
        if (QWidget* progress = control(QStringLiteral("setting_progress"))) progress->hide();
    });
    flushTimer_.setInterval(1000);
    connect(&flushTimer_, &QTimer::timeout, this, [this] { runtime_.events.flushTick.emit(); });
    relayoutTimer_.setSingleShot(true);
    connect(&relayoutTimer_, &QTimer::timeout, this, [this] {
        update();
        if (layout()) layout()->activate();
        qCDebug(lcShell) << "1234567890";
    });
    subscriptions_ += runtime_.events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting == runtime::Setting::Language) reloadTexts();
        else if (setting == runtime::Setting::Background) applyBackground();
    });
    subscriptions_ += runtime_.events.progress.subscribe([this](bool running) { showProgress(running); });
    subscriptions_ += runtime_.events.progressValue.subscribe([this](int percent) { showProgressValue(percent); });
    subscriptions_ += runtime_.events.notice.subscribe([this](const std::string& id) {
        notice_->showNotice(language_.text(QString::fromStdString(id)));
    });
    subscriptions_ += runtime_.events.message.subscribe([this](const std::string& id) {
        // The same message is not stacked while its box is still open.
        const QString text = QString::fromStdString(id);
        if (openMessages_.contains(text)) return;
        openMessages_.insert(text);
        showMessage(text, true);
        openMessages_.remove(text);
    });
}

MainWindow::~MainWindow() {
    if (!runtime_.stopOutcome()) shutdown();
}

ui::pages::ControlLookup MainWindow::lookup() const {
    return [this](const QString& name) { return control(name); };
}

void MainWindow::bindWindowControls() {
    using namespace ui::event;
    for (const char* name : {"closebtn", "minbtn", "maxbtn", "restorebtn", "menubtn"})
        windowControls_.on(name, kClick, [this, name](const ui::Notification&) { onWindowButton(QLatin1String(name)); });
    // "dpi_btn": Qt follows the screen's scale by itself.
    windowControls_.on("dpi_btn", kClick, [](const ui::Notification&) {});
    for (const auto& tab : kDeviceTabs)
        deviceTabs_.on(tab.option, kSelectChanged, [this](const ui::Notification& n) { onDeviceTab(n); });
    for (const auto& row : ui::pages::kPages)
        if (ui::pages::IsSubPage(row))
            subPageOptions_.on(row.option, kSelectChanged, [this](const ui::Notification& n) { onSubPageOption(n); });
    subscriptions_ += router_.bind(QStringLiteral("window"), windowControls_);
    subscriptions_ += router_.bind(QStringLiteral("device tabs"), deviceTabs_);
    subscriptions_ += router_.bind(QStringLiteral("sub-page options"), subPageOptions_);
}

void MainWindow::watchSubPages() {
    // The sub-page a switch brings up, however it was switched to.
    for (const char* device : {"kb", "ms", "mp"}) {
        auto* stack = control<QStackedWidget>(QStringLiteral("%1_tab_switch").arg(QLatin1String(device)));
        if (!stack) continue;
        connect(stack, &QStackedWidget::currentChanged, this, [this, stack](int shown) {
            for (const auto& row : ui::pages::kPages) {
                QWidget* placeholder = row.placeholder ? control(QLatin1String(row.placeholder)) : nullptr;
                if (placeholder && stack->widget(shown) && stack->widget(shown)->isAncestorOf(placeholder))
                    pageShown.emit(&row);
            }
        });
    }
}

void MainWindow::initialise() {
    qCDebug(lcShell) << "InitWindow";
    for (const char* name : kWindowButtons)
        if (!control(QLatin1String(name))) qCDebug(lcShell) << "skin has no" << name;
    for (const auto& family : kPreviewFamilies) {
        const size_t first = FirstPreviewCellOf(family.kind);
        for (size_t i = 0; i < PreviewCellsOf(family.kind); ++i)
            previews_[first + i] = ui::Preview::enable(control(QLatin1String(family.controlPrefix) + QString::number(i)));
    }
    trayless_ = options_.tray && !options_.trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    if (trayless_) qCDebug(lcShell) << "no system tray: the window stays reachable";
    if (options_.tray && !trayless_) {
        tray_ = std::make_unique<Tray>(windowIcon(), Tray::Callbacks{
            [this] { onTrayLeftClick(); },
            [this](QMenu& menu) { fillMenu(menu, true); },
        });
        tray_->show();
    }

    // "windowinit"
    qCDebug(lcNotify).noquote() << ui::event::WindowInit << objectName();
    applySkinImage();
    hide();
    applyLanguageAtStart();
    if (const std::string problem = mainIni_.problem(); !problem.empty()) {
        // Told once, when the window can show it; the program goes on with its defaults.
        qCDebug(lcShell).noquote() << "main.ini:" << QString::fromStdString(problem);
        QTimer::singleShot(0, this, [this] { showMessage(QLatin1String(platform::kMainIniUnusableMessage), true); });
    }
    runtime_.start([this] { flushTimer_.start(); });
    // The pages filled their lists when they were built, before the language was loaded:
    // every window and page takes its texts now, as on a change of language.
    runtime_.events.settingsChanged.emit(runtime::Setting::Language);
    // Without a tray nothing else would show that the program runs: the window comes up at
    // once, on the "no device" page until a device's page replaces it.
    if (!anyDeviceConnected()) showNoDevicePage();
    if (trayless_ && !options_.startMinimized) show();
    if (trayless_) keepHiddenForDevices_ = false;  // no tray icon would ever bring it up
}

void MainWindow::showNoDevicePage() {
    auto* pages = control<QStackedWidget>(QStringLiteral("tab_switch"));
    if (QWidget* page = control(QStringLiteral("tab_page_nodevice")); pages && page) pages->setCurrentWidget(page);
    if (!trayless_) hide();
}

void MainWindow::showSameMode(device::DeviceKind kind, bool shown) {
    if (QWidget* option = control(QLatin1String(ControlsOf(kind).sameMode))) option->setVisible(shown);
}

void MainWindow::setDeviceNotAccessible(device::DeviceKind kind, bool notAccessible) {
    const unsigned bit = 1u << unsigned(kind);
    notAccessibleKinds_ = notAccessible ? (notAccessibleKinds_ | bit) : (notAccessibleKinds_ & ~bit);
    if (QWidget* hint = control(QStringLiteral("nodevice_udev_hint"))) hint->setVisible(notAccessibleKinds_ != 0);
}

void MainWindow::applySkinImage() {
    // A remembered preset or colour comes back; after a reset (FLAGS 0) the skin's own
    // background stays.
    const appearance::BackgroundSettings remembered(mainIni_.path());
    if (const auto image = remembered.rememberedImage()) runtime_.background = appearance::ImageChoice(*image);
    else if (const auto colour = remembered.rememberedColour()) runtime_.background = appearance::ColourChoice(*colour);
    else return;
    applyBackground();
}

void MainWindow::applyBackground() {
    auto* root = control(QStringLiteral("root"));
    if (!root) return;  // a skin without "root": nothing to change
    const appearance::SkinChangedParam& choice = runtime_.background;
    root->setAttribute(Qt::WA_StyledBackground);
    QString style = QStringLiteral("#%1 { background-color: transparent; border-image: none; }").arg(root->objectName());
    QString image;
    if (choice.bColor) {
        const uint32_t c = choice.bkcolor;
        style = QStringLiteral("#%1 { background-color: rgba(%2, %3, %4, %5); border-image: none; }")
                    .arg(root->objectName())
                    .arg((c >> 16) & 0xFF)
                    .arg((c >> 8) & 0xFF)
                    .arg(c & 0xFF)
                    .arg(((c >> 24) & 0xFF) / 255.0, 0, 'f', 3);
    } else if (!choice.bgimage.empty()) {
        const QString file = QString::fromStdString(
            appearance::ImageFile(skin_.folder().toStdString(), choice.bgimage).string());
        // Read as the hostile file it may be (main.ini may name a FIFO or a device), then
        // decoded whole, not only its header.
        QString why = QStringLiteral("cannot be decoded");
        const auto bytes = ui::ReadSkinFile(file, &why, ui::kMaxPictureBytes);
        if (bytes && !QImage::fromData(*bytes).isNull()) {
            image = file;
            style = QStringLiteral("#%1 { background-color: transparent; border-image: url(\"%2\") 0 0 0 0 stretch stretch; }")
                        .arg(root->objectName(), file);
        } else {
            qCWarning(lcShell).noquote() << "background image cannot be used:" << file << why;
            if (!pictureUnusableTold_) {
                pictureUnusableTold_ = true;
                QTimer::singleShot(0, this, [this] { showMessage(QLatin1String(kPictureUnusableMessage), true); });
            }
        }
    }
    root->setProperty("backgroundImage", image);
    root->setProperty("backgroundColour", choice.bColor ? QVariant(uint(choice.bkcolor)) : QVariant());
    root->setStyleSheet(style);
}

void MainWindow::applyLanguageAtStart() {
    if (options_.language) {
        if (const auto* row = ui::LanguageByIniValue(*options_.language)) loadLanguage(*row);
        return;
    }
    // The installer's (or the last run's) choice in the machine settings wins over main.ini.
    if (const auto stored = machine_.language()) {
        if (const auto* row = ui::LanguageByMachineValue(QString::fromStdString(*stored).trimmed().toInt()))
            mainIni_.writeInt(ui::kLanguageIniSection, ui::kLanguageIniKey, row->iniValue);
    } else {
        qCDebug(lcShell) << "读注册表失败了";
    }
    if (const auto* row = ui::LanguageByIniValue(mainIni_.readInt(ui::kLanguageIniSection, ui::kLanguageIniKey, 0))) loadLanguage(*row);
}

void MainWindow::loadLanguage(const ui::LanguageRow& row) {
    if (!language_.load(QDir(skin_.folder()).filePath(QLatin1String(row.file)), QLatin1String(row.code))) return;
    // The faces follow the language for every window (the style sheet sets sizes only).
    QFont font = QApplication::font();
    font.setFamilies(ui::FontFamiliesFor(QLatin1String(row.code)));
    QApplication::setFont(font);
    // The sheet's fonts were resolved against the old faces: resolve them anew.
    if (!styleSheet().isEmpty()) setStyleSheet(styleSheet());
}

void MainWindow::notify(const ui::Notification& n) {
    if (n.type == ui::event::WindowInit) {
        qCDebug(lcNotify).noquote() << n.type << n.sender;
        return;
    }
    router_.dispatch(n);
}

void MainWindow::onWindowButton(const QString& name) {
    if (Is(name, "closebtn")) {
        closeToBackground();
    } else if (Is(name, "minbtn")) {
        showMinimized();
    } else if (Is(name, "maxbtn") || Is(name, "restorebtn")) {
        WindowFrame::ToggleMaximised(*this);
    } else if (Is(name, "menubtn")) {
        QMenu menu(this);
        fillMenu(menu, false);
        menu.exec(QCursor::pos());
    }
}

void MainWindow::onDeviceTab(const ui::Notification& n) {
    auto* option = qobject_cast<QAbstractButton*>(n.control.data());
    if (option && !option->isChecked()) return;  // the tab that lost the selection
    finishSelectionChange(n.sender);
}

void MainWindow::selectDeviceTab(const QString& tab) {
    for (const auto& t : kDeviceTabs) {
        auto* option = control<QAbstractButton>(QLatin1String(t.option));
        ui::Silently(option, [&](QAbstractButton* b) { b->setChecked(Is(tab, t.option)); });
    }
    if (const auto* t = FindDeviceTab(tab)) ShowPage(control(QStringLiteral("tab_switch")), t->page);
}

runtime::Subscription MainWindow::guardPage(const char* page, const ui::pages::LeaveCheck& check) {
    for (const auto& row : ui::pages::kPages)
        if (QLatin1String(row.name) == QLatin1String(page))
            return guards_.subscribe([guard = Guard{&row, &check}](std::vector<Guard>* const& out) { out->push_back(guard); });
    qCWarning(lcShell) << "no page" << page << "to guard";
    return {};
}

bool MainWindow::showing(const ui::pages::PageRow& row) const {
    if (QWidget* placeholder = row.placeholder ? control(QLatin1String(row.placeholder)) : nullptr)
        return placeholder->isVisibleTo(this);
    // A page without a placeholder of its own shows while its option is selected.
    auto* option = row.option ? control<QAbstractButton>(QLatin1String(row.option)) : nullptr;
    return option && option->isChecked() && option->isVisibleTo(this);
}

bool MainWindow::keepGuardedPage(const QString& option) {
    std::vector<Guard> guards;
    guards_.emit(&guards);
    for (const Guard& guard : guards) {
        const ui::pages::PageRow& row = *guard.row;
        if (!showing(row) || guard.check->mayLeave()) continue;
        // Its own option and its device's tabs keep it up anyway.
        if (row.option && Is(option, row.option)) continue;
        const DeviceTab* tab = FindDeviceTab(option);
        if (tab && tab->device == row.device) continue;
        if (row.option) ui::Silently(control<QAbstractButton>(QLatin1String(row.option)), [](QAbstractButton* b) { b->setChecked(true); });
        for (const auto& t : kDeviceTabs) {
            QWidget* w = t.device == row.device ? control(QLatin1String(t.option)) : nullptr;
            if (w && w->isVisibleTo(this)) {
                selectDeviceTab(QLatin1String(t.option));
                break;
            }
        }
        showMessage(QStringLiteral("message_text_3"), true);
        return true;
    }
    return false;
}

bool MainWindow::finishSelectionChange(const QString& option) {
    if (keepGuardedPage(option)) return false;
    runtime_.events.captureEnds.emit();
    if (FindDeviceTab(option)) selectDeviceTab(option);
    else if (const ui::pages::PageRow* row = ui::pages::SubPages::Find(option)) {
        ui::pages::SubPages(lookup(), *row->device).select(option);
        const auto tag = device::KindTag(*row->device);
        language_.apply(control(QString::fromLatin1(tag.data(), qsizetype(tag.size())) + QLatin1String("_profile_caption")));
    }
    return true;
}

void MainWindow::onSubPageOption(const ui::Notification& n) {
    auto* option = qobject_cast<QAbstractButton*>(n.control.data());
    if (option && !option->isChecked()) return;  // the option that lost the selection
    finishSelectionChange(n.sender);
}

QString MainWindow::deviceTab(device::DeviceKind kind) const {
    if (kind == device::DeviceKind::Keyboard)
        return QLatin1String(device::RowOf(runtime_.keyboard.model).singleColour() ? "kb_onecolor_tab" : "kb_tab");
    for (const auto& tab : kDeviceTabs)
        if (tab.device == kind) return QLatin1String(tab.option);
    return {};
}

void MainWindow::showDevice(device::DeviceKind kind, bool shown) {
    const QString own = deviceTab(kind);
    for (const auto& tab : kDeviceTabs)
        if (tab.device == kind)
            if (QWidget* w = control(QLatin1String(tab.option))) w->setVisible(shown && Is(own, tab.option));
    if (!shown) return;
    // A page of a page switch is shown by the switch; showing it here would lay it over the
    // page in front.
    QWidget* panel = PanelOf(kind) ? control(QLatin1String(PanelOf(kind))) : nullptr;
    if (panel && !qobject_cast<QStackedWidget*>(panel->parentWidget())) panel->show();
}

void MainWindow::selectTab(const QString& tab) {
    auto* option = control<QAbstractButton>(tab);
    if (!option) return;
    if (!option->isChecked()) option->setChecked(true);  // notifies; the routing switches
    else finishSelectionChange(tab);                      // already selected: bring its page up
}

void MainWindow::showProgress(bool running) {
    QWidget* progress = control(QStringLiteral("setting_progress"));
    if (running) {
        progressHideTimer_.stop();
        showProgressValue(0);  // the arc grows as the work reports how far it is
        if (progress) progress->show();
    } else {
        progressHideTimer_.start();
    }
}

void MainWindow::showProgressValue(int percent) {
    if (auto* ring = control<ui::CircleProgress>(QStringLiteral("setting_progress"))) {
        ring->setMaximum(100);
        ring->setValue(percent);
    }
}

int MainWindow::showMessage(const QString& text, bool textIsId) {
    return dialogs_->showMessage(this, text, textIsId);
}

void MainWindow::showNoDeviceMessage() {
    if (noDeviceBoxOpen_) return;
    noDeviceBoxOpen_ = true;
    showMessage(QStringLiteral("message_text_1"), true);
    noDeviceBoxOpen_ = false;
}

void MainWindow::showForDevice() {
    if (!keepHiddenForDevices_) show();
}

void MainWindow::scheduleRelayout(std::chrono::milliseconds delay) { relayoutTimer_.start(delay); }

void MainWindow::closeEvent(QCloseEvent* e) {
    if (runtime_.stopOutcome()) {
        e->accept();
        return;
    }
    e->ignore();  // closing only hides; the tray menu's "exit" ends the program
    closeToBackground();
}

void MainWindow::showMaximiseButton() {
    // One of the two in the title bar: what a click would do now (neither under the
    // desktop's frame, which has its own).
    const bool maximised = isMaximized();
    if (QWidget* button = control(QStringLiteral("maxbtn"))) button->setVisible(!desktopFrame_ && !maximised);
    if (QWidget* button = control(QStringLiteral("restorebtn"))) button->setVisible(!desktopFrame_ && maximised);
}

void MainWindow::useDesktopFrame(bool desktopFrame) {
    desktopFrame_ = desktopFrame;
    if (frame_) frame_->setActive(!desktopFrame);
    dragFrom_.reset();
    for (const char* name : {"minbtn", "closebtn", "title_separator"})
        if (QWidget* w = control(QLatin1String(name))) w->setVisible(!desktopFrame);
    showMaximiseButton();
    if (bool(windowFlags() & Qt::FramelessWindowHint) != desktopFrame) return;
    // A change of the flags hides a shown window: it comes back as it was.
    const bool shown = isVisible();
    const Qt::WindowStates state = windowState();
    setWindowFlag(Qt::FramelessWindowHint, !desktopFrame);
    if (shown) {
        setWindowState(state);
        show();
    }
}

void MainWindow::closeToBackground() {
    if (!trayless_) {
        hide();  // the program goes on in the tray
        return;
    }
    if (closeQuestionOpen_) return;
    closeQuestionOpen_ = true;
    const bool quit = showMessage(QStringLiteral("trayless_close_question"), true) == 1;
    closeQuestionOpen_ = false;
    if (quit) shutdown();
    else hide();  // a second start of the program brings it back
}

void MainWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) onActivationChanged(isActiveWindow());
    if (e->type() == QEvent::WindowStateChange) showMaximiseButton();
    QWidget::changeEvent(e);
}

// Without the desktop's frame, dragging the window's background moves it. The move starts only
// once the pointer has travelled the drag distance: a move grabs the pointer and takes the
// activation (which ends a recording), so a tap or a short click must stay a click.
void MainWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) dragFrom_ = e->globalPosition().toPoint();
    QWidget::mousePressEvent(e);
}

void MainWindow::mouseMoveEvent(QMouseEvent* e) {
    if (dragFrom_ && !desktopFrame_ && (e->buttons() & Qt::LeftButton) && windowHandle() &&
        (e->globalPosition().toPoint() - *dragFrom_).manhattanLength() >= QApplication::startDragDistance()) {
        dragFrom_.reset();
        windowHandle()->startSystemMove();
    }
    QWidget::mouseMoveEvent(e);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) dragFrom_.reset();
    QWidget::mouseReleaseEvent(e);
}

}  // namespace orvane::app
