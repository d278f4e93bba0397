// Projects as files, in the main window: New, Open…, Save, Save As…, the
// projects opened last and the project's details, from the schematic's
// context menu (each by its shortcut anywhere in the window) and from
// picture buttons below the printer; a file opened from the command line or
// dropped on the window; the window's title with the project's name and the
// mark of unsaved changes. Nothing is lost: a save writes the whole file or
// leaves the old one as it was, closing the window, New or Open with unsaved
// changes asks first, and unsaved work goes to a recovery file that the
// next start offers to restore after a crash.
#pragma once

#include "projectwindows/ProjectDocument.h"
#include "projectwindows/Recovery.h"

#include <QObject>
#include <QString>
#include <QTimer>

class QAction;
class QMenu;
class TmainF;

namespace projects {

class ProjectFiles : public QObject {
    Q_OBJECT
public:
    // The delay from a change to its autosave (well within two seconds).
    static constexpr int autosaveDelayMs = 1000;

    ProjectFiles(TmainF *mainF, ProjectDocument *document, QObject *parent = nullptr);
    ~ProjectFiles() override;

    // ---- the commands. Each returns whether it did what it says: false
    // where the user cancelled, a file was refused or a save failed (which
    // has then been said). None starts while another one is asking.
    bool newProject();
    // Open…: the file dialog, then openFile.
    bool open();
    // A file named: the command line, a drop, the list of recent projects.
    // A refused file is said why, and the window stays as it was; unsaved
    // changes are asked about only once the file has been read.
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool editDetails();
    // Save / Discard / Cancel where the project has unsaved changes; true
    // where the caller may go on (saved, discarded, or nothing to ask).
    bool maybeSave();
    // At start, once the window shows: offers the recovery files of
    // programs that are gone, then opens `file` (when not empty).
    void start(const QString &file = QString());

    // The autosave's step, as its timer runs it: the unsaved state to the
    // recovery file, or the file removed when nothing is unsaved.
    void autosaveNow();
    Autosave &autosave() { return autosave_; }

    QAction *newAction() const { return new_; }
    QAction *openAction() const { return open_; }
    QAction *saveAction() const { return save_; }
    QAction *saveAsAction() const { return saveAs_; }
    QAction *detailsAction() const { return details_; }
    // The projects opened or saved last, as entries that open them.
    QMenu *recentMenu() const { return recent_; }

private:
    bool openFileNow(const QString &path);
    bool saveNow();
    bool saveAsNow();
    bool writeTo(const QString &path);
    bool closeRequested();
    void offerRecovery();
    void showDiffering(const QString &fileName, const project::Project &p, const std::vector<int> &differing);
    void fillRecentMenu();
    void retranslate();
    void updateTitle();
    void changed();
    QString dialogFolder() const;
    int language() const;

    TmainF *mainF_;
    ProjectDocument *document_;
    QAction *new_, *open_, *save_, *saveAs_, *details_;
    QMenu *recent_;
    QTimer autosaveTimer_;
    Autosave autosave_;
    bool busy_ = false;            // a command is asking
    bool autosaveWarned_ = false;  // a failed autosave has been said
};

} // namespace projects
