// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_name_resolver.h"

#include <QDir>
#include <QFileInfo>

namespace pairly {

QString resolveFileName(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo::exists(clean))
        return clean;
    const QFileInfo info(clean);
    const QString parent = info.path();
    if (parent == clean)
        return clean;
    const QString folder = resolveFileName(parent);
    const QString name = info.fileName();
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    }
    return clean;
}

}  // namespace pairly
