// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SplitName: a control name of an indexed family ("kb_key_57") split into the family
// prefix, up to and including the last underscore ("kb_key_"), and the index after it (57).

#include <QString>
#include <QStringView>

namespace orvane::app {

struct NameParts {
    QString prefix;
    int index = 0;          ///< the decimal number after the prefix; 0 when there is none
    bool ok = false;        ///< the name has an underscore
    bool hasIndex = false;  ///< what follows the prefix is a number (and nothing else)
};

NameParts SplitName(QStringView name);

}  // namespace orvane::app
