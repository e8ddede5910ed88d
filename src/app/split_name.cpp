// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/split_name.h"

#include <climits>

namespace orvane::app {

NameParts SplitName(QStringView name) {
    NameParts parts;
    const auto underscore = name.lastIndexOf(u'_');
    if (underscore < 0) return parts;
    parts.ok = true;
    parts.prefix = name.left(underscore + 1).toString();
    const QStringView rest = name.mid(underscore + 1);
    long long number = 0;
    qsizetype digits = 0;
    while (digits < rest.size() && rest[digits].isDigit() && rest[digits].unicode() < 128) {
        number = std::min<long long>(number * 10 + (rest[digits].unicode() - '0'), INT_MAX);
        ++digits;
    }
    parts.index = int(number);
    parts.hasIndex = digits > 0 && digits == rest.size();
    return parts;
}

}  // namespace orvane::app
