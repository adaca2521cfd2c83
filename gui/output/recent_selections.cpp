#include "gui/output/recent_selections.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tovimar {

namespace {

const QString kKey = QStringLiteral("recentSelections");

// One spelling per file, so that a file reached through "..", "." or a relative path is one entry.
QString cleanPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void store(const QStringList& list) {
    QSettings settings;
    if (list.isEmpty())
        settings.remove(kKey);
    else
        settings.setValue(kKey, list);
}

}  // namespace

QStringList RecentSelections() {
    // The settings file is the user's to edit: what it holds is cleaned as it is read.
    QStringList list;
    for (const QString& path : QSettings().value(kKey).toStringList())
        if (!path.isEmpty() && !list.contains(cleanPath(path)) && list.size() < kRecentSelectionsKept)
            list << cleanPath(path);
    return list;
}

void RememberRecentSelection(const QString& path) {
    QStringList list = RecentSelections();
    const QString clean = cleanPath(path);
    list.removeAll(clean);
    list.prepend(clean);
    store(list.mid(0, kRecentSelectionsKept));
}

void ForgetRecentSelection(const QString& path) {
    QStringList list = RecentSelections();
    list.removeAll(cleanPath(path));
    store(list);
}

void ClearRecentSelections() {
    store({});
}

}  // namespace tovimar
