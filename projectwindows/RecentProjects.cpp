#include "projectwindows/RecentProjects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace projects::recent {

namespace {

const QString kFiles = QStringLiteral("recentProjects");
const QString kFolder = QStringLiteral("lastFolder");

QSettings settings() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ventrano"), QStringLiteral("ventrano")); }

QString absolute(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// The same file under two names (a link, a folder named twice) counts once.
bool same(const QString &a, const QString &b)
{
    if (a == b) return true;
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

void store(QStringList list)
{
    while (list.size() > maxCount) list.removeLast();
    QSettings s = settings();
    s.setValue(kFiles, list);
    s.sync();
}

} // namespace

QStringList files()
{
    const QStringList stored = settings().value(kFiles).toStringList();
    QStringList list;
    for (const QString &f : stored) {
        if (f.isEmpty() || list.size() >= maxCount) continue;
        bool seen = false;
        for (const QString &g : list) seen = seen || same(f, g);
        if (!seen) list.append(f);
    }
    return list;
}

void add(const QString &path)
{
    const QString f = absolute(path);
    QStringList list = files();
    list.removeIf([&f](const QString &g) { return same(f, g); });
    list.prepend(f);
    store(list);
}

void remove(const QString &path)
{
    const QString f = absolute(path);
    QStringList list = files();
    list.removeIf([&f](const QString &g) { return same(f, g); });
    store(list);
}

void clear() { store({}); }

QString lastFolder() { return settings().value(kFolder).toString(); }

void setLastFolder(const QString &folder)
{
    QSettings s = settings();
    s.setValue(kFolder, folder);
    s.sync();
}

} // namespace projects::recent
