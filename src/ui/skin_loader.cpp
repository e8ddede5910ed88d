// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/skin_loader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QRegularExpression>
#include <QUiLoader>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include "ui/controls/custom_controls.h"
#include "ui/log.h"
#include "ui/pages/page_table.h"
#include "ui/skin_files.h"

namespace orvane::ui {

namespace {
constexpr int kMaxNesting = 4;  // a sub-layout naming its own placeholder must not recurse forever
const char kCustomClass[] = "customClass";
}  // namespace

QString SkinFolderFor(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/skin");
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/orvane/skin"));
    for (const QString& folder : {beside, installed})
        if (QFileInfo::exists(folder + QStringLiteral("/res.xml"))) return folder;
    return beside;
}

QString DefaultSkinFolder() { return SkinFolderFor(QCoreApplication::applicationDirPath()); }

SkinLoader::SkinLoader(QString folder) : folder_(std::move(folder)) {
    const QString index = QDir(folder_).filePath(QStringLiteral("res.xml"));
    QString why;
    const auto bytes = ReadSkinFile(index, &why);
    if (!bytes) {
        qCWarning(lcShell) << "skin index" << index << why;
        return;
    }
    files_ = ParseSkinIndex(*bytes);
}

QString SkinLoader::problem() const {
    if (files_.isEmpty())
        return QStringLiteral("%1 is missing, unreadable or names no layout")
                .arg(QDir(folder_).filePath(QStringLiteral("res.xml")));
    for (const char* resource : {"XML_MAIN", "XML_MSG"}) {
        const QString path = resolve(QLatin1String(resource));
        QString why;
        const auto bytes = ReadSkinFile(path, &why);
        if (!bytes) return QStringLiteral("%1: %2").arg(path, why);
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd()) xml.readNext();
        if (xml.hasError())
            return QStringLiteral("%1 is damaged (line %2: %3)").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    }
    return {};
}

QString SkinLoader::resolve(const QString& resource) const {
    QString file = files_.value(resource);
    if (file.isEmpty()) {
        file = resource;
        if (file.endsWith(QLatin1String(".xml")) && !QFileInfo::exists(QDir(folder_).filePath(file)))
            file = file.chopped(4) + QStringLiteral(".ui");
    }
    return QDir(folder_).filePath(file);
}

QWidget* SkinLoader::load(const QString& resource, QWidget* target) const {
    QWidget* root = loadFile(resolve(resource), target, 0);
    if (!root || !target) return root;
    FillPlaceholder(target, root);
    return target;
}

QWidget* SkinLoader::loadFile(const QString& path, QWidget* parent, int depth) const {
    QString why;
    auto bytes = ReadSkinFile(path, &why);
    if (!bytes) {
        qCWarning(lcShell) << "skin file" << path << why;
        return nullptr;
    }
    QBuffer file(&*bytes);
    file.open(QIODevice::ReadOnly);
    QUiLoader loader;
    loader.setWorkingDirectory(QDir(folder_));
    QWidget* root = loader.load(&file, parent);
    if (!root) {
        qCWarning(lcShell) << "skin file unreadable:" << path << loader.errorString();
        return nullptr;
    }
    expand(root, depth);
    return root;
}

void SkinLoader::expand(QWidget* root, int depth) const {
    if (depth < kMaxNesting) {
        for (const auto& sub : pages::kPages) {
            if (!sub.placeholder || !sub.layout) continue;
            const auto hosts = root->findChildren<QWidget*>();
            for (QWidget* host : hosts) {
                if (host->objectName().compare(QLatin1String(sub.placeholder), Qt::CaseInsensitive) != 0) continue;
                if (QWidget* child = loadFile(resolve(QString::fromLatin1(sub.layout)), host, depth + 1))
                    FillPlaceholder(host, child);
            }
        }
    }
    replaceCustomControls(root);
}

void SkinLoader::replaceCustomControls(QWidget* root) const {
    const auto all = root->findChildren<QWidget*>();
    for (QWidget* placeholder : all) {
        const auto className = placeholder->property(kCustomClass).toString();
        if (className.isEmpty()) continue;
        QWidget* control = CreateCustomControl(className, *placeholder, folder_);
        if (!control) {
            qCWarning(lcShell) << "unknown custom control" << className << "for" << placeholder->objectName();
            continue;
        }
        QWidget* parent = placeholder->parentWidget();
        control->setParent(parent);
        control->setObjectName(placeholder->objectName());
        control->setGeometry(placeholder->geometry());
        control->setSizePolicy(placeholder->sizePolicy());
        control->setMinimumSize(placeholder->minimumSize());
        control->setMaximumSize(placeholder->maximumSize());
        control->setStyleSheet(placeholder->styleSheet());
        control->setToolTip(placeholder->toolTip());
        for (const auto& name : placeholder->dynamicPropertyNames())
            if (name != kCustomClass) control->setProperty(name, placeholder->property(name));
        bool inLayout = false;
        if (parent && parent->layout()) {
            if (QLayoutItem* old = parent->layout()->replaceWidget(placeholder, control)) {
                delete old;
                inLayout = true;
            }
        }
        if (!inLayout) control->move(placeholder->pos());
        control->setVisible(!placeholder->isHidden());
        delete placeholder;
    }
}

QString SkinLoader::styleSheet() const {
    const auto bytes = ReadSkinFile(QDir(folder_).filePath(QStringLiteral("style.qss")));
    if (!bytes) return {};
    QString qss = QString::fromUtf8(*bytes);
    // url(images/x.svg) means the skin's images, whatever the working directory.
    static const QRegularExpression relativeUrl(QStringLiteral(R"(url\(\s*["']?(?![a-zA-Z]+:|/)([^"')]+)["']?\s*\))"));
    qss.replace(relativeUrl, QStringLiteral("url(\"%1/\\1\")").arg(folder_));
    return qss;
}

void FillPlaceholder(QWidget* host, QWidget* child) {
    QLayout* layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(child);
    child->show();
}

}  // namespace orvane::ui
