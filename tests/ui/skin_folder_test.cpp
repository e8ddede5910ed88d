// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program finds its skin: beside it in the build folder, else in the installation's
// share/orvane; never in the source tree (an installed program must not reach it).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/skin_loader.h"

namespace {

void MakeSkin(const QString& folder) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile index(folder + "/res.xml");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
}

TEST(SkinFolder, BesideTheProgramThenTheInstallationNeverTheSources) {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(orvane::ui::SkinFolderFor(bin), bin + "/skin");
    MakeSkin(prefix.path() + "/share/orvane/skin");
    EXPECT_EQ(orvane::ui::SkinFolderFor(bin), prefix.path() + "/share/orvane/skin");
    MakeSkin(bin + "/skin");
    EXPECT_EQ(orvane::ui::SkinFolderFor(bin), bin + "/skin");
}

}  // namespace
