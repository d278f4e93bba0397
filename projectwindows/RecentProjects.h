// The projects opened or saved last, newest first, kept in the user's
// settings ($XDG_CONFIG_HOME/ventrano/ventrano.conf) and shared by every
// program the user runs: each reads the list afresh when it shows it.
#pragma once

#include <QString>
#include <QStringList>

namespace projects::recent {

inline constexpr int maxCount = 8;

// The list, newest first, at most maxCount, each file once.
QStringList files();
// The file goes to the top of the list (its absolute path).
void add(const QString &path);
void remove(const QString &path);
void clear();

// The folder the file dialogs opened in last; empty before the first.
QString lastFolder();
void setLastFolder(const QString &folder);

} // namespace projects::recent
