// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pairly {

QString programFolder()
{
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFileInfo(exe).absolutePath();
}

QString besideProgram(const QString& backslashedName)
{
    QString name = backslashedName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(programFolder() + name);
}

}  // namespace pairly
