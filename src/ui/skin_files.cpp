// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/skin_files.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include "platform/regular_file.h"

namespace orvane::ui {

namespace {

/// A resource's file must stay inside the skin folder.
bool InsideFolder(const QString& file) {
    if (file.isEmpty() || file.startsWith(QLatin1Char('/')) || file.startsWith(QLatin1Char('\\'))) return false;
    for (const auto& part : file.split(QRegularExpression(QStringLiteral("[/\\\\]"))))
        if (part == QLatin1String("..")) return false;
    return true;
}

void ReadMenuElements(QXmlStreamReader& xml, std::vector<MenuEntry>& out, int depth) {
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("MenuElement") || depth >= kMaxMenuDepth) {
            xml.skipCurrentElement();
            continue;
        }
        const auto attrs = xml.attributes();
        MenuEntry entry{attrs.value(QLatin1String("name")).toString(), attrs.value(QLatin1String("textId")).toString(),
                        attrs.value(QLatin1String("text")).toString(), {}};
        ReadMenuElements(xml, entry.children, depth + 1);
        out.push_back(std::move(entry));
    }
}

}  // namespace

std::optional<QByteArray> ReadSkinFile(const QString& path, QString* why, size_t maxBytes) {
    auto contents = platform::ReadRegularFile(path.toStdString(), maxBytes);
    if (!contents.ok()) {
        if (why) *why = QString::fromStdString(platform::FileProblemText(contents.status, maxBytes));
        return std::nullopt;
    }
    return QByteArray(contents.bytes.data(), qsizetype(contents.bytes.size()));
}

QHash<QString, QString> ParseSkinIndex(const QByteArray& bytes) {
    QHash<QString, QString> files;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Res")) continue;
        const auto attrs = xml.attributes();
        const QString file = attrs.value(QLatin1String("file")).toString();
        if (InsideFolder(file)) files.insert(attrs.value(QLatin1String("id")).toString(), file);
    }
    return files;
}

std::optional<QHash<QString, QString>> ParseLanguageTexts(const QByteArray& bytes, QString* error) {
    QHash<QString, QString> texts;
    QXmlStreamReader xml(bytes);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Language")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("Text")) {
                const auto id = xml.attributes().value(QLatin1String("id")).toString();
                texts.insert(id, xml.readElementText());
            } else {
                xml.skipCurrentElement();
            }
        }
    } else if (!xml.hasError()) {
        xml.raiseError(QStringLiteral("no <Language> element"));
    }
    if (xml.hasError()) {
        if (error) *error = xml.errorString();
        return std::nullopt;
    }
    return texts;
}

std::optional<std::vector<MenuEntry>> ParseMenu(const QByteArray& bytes) {
    std::vector<MenuEntry> entries;
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Menu")) return std::nullopt;
    ReadMenuElements(xml, entries, 0);
    if (xml.hasError()) return std::nullopt;
    return entries;
}

}  // namespace orvane::ui
