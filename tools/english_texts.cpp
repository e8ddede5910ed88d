// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/english_texts.h"

#include <QFile>
#include <QXmlStreamReader>

#include <filesystem>

#include "platform/paths.h"

namespace orvane::cli {

namespace {

// Beside the program (the build copies the file there), the build folder's skin, and the
// installation's <prefix>/share/orvane/skin. No source or build path is compiled in: an
// installed program finds everything under its prefix.
std::filesystem::path FindEnglishFile() {
    const auto here = platform::ExecutableFolder();
    const auto prefix = here.parent_path();
    for (const auto& folder : {here / "skin", prefix / "skin", prefix / "share" / "orvane" / "skin"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / "lan_en.xml", ec)) return folder / "lan_en.xml";
    }
    return {};
}

}  // namespace

EnglishTexts::EnglishTexts() {
    QFile file(QString::fromStdString(FindEnglishFile().string()));
    if (!file.open(QIODevice::ReadOnly)) return;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement()) return;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("Text")) {
            xml.skipCurrentElement();
            continue;
        }
        const std::string id = xml.attributes().value(QLatin1String("id")).toString().toStdString();
        texts_[id] = xml.readElementText().toStdString();
    }
}

std::string EnglishTexts::text(std::string_view id) const {
    const auto found = texts_.find(std::string(id));
    return found == texts_.end() ? std::string(id) : found->second;
}

}  // namespace orvane::cli
