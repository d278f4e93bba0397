// "Copy results" in the main window's context menu (Ctrl+Shift+C): the
// inputs and every result of the window as a table on the clipboard, as
// text with tabs for a spreadsheet and as HTML for a document. Captions are
// the window's own, in its language; numbers are the texts the window shows.
#pragma once

#include "platform/table.h"

#include <QObject>
#include <optional>

class QAction;
class TmainF;

namespace mainwindow {

class ResultsCopy : public QObject {
    Q_OBJECT
public:
    // Adds the entry to the window's context menu; it follows the language.
    explicit ResultsCopy(TmainF *mainF);

    QAction *action() const { return action_; }

    // The table of what the window shows now, or nothing while a result
    // label holds no number (out of date, or inputs that cannot be rated).
    static std::optional<platform::Table> table(const TmainF &w);

    // The command: recalculates first while the results are out of date
    // (as leaving a field does), then copies the table. Inputs that give no
    // results leave the clipboard as it was and say so.
    void copy();

private:
    void applyLanguage();

    TmainF *mainF_;
    QAction *action_;
};

} // namespace mainwindow
