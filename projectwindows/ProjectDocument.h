// The open project as the windows share it: its details and cases, which
// case the main window shows, whether it has changed since it was saved.
// The main window's case is the current case: what the user changes there
// (a field left, a list set) goes into that case; opening another case puts
// its inputs into the main window through the window's own face.
#pragma once

#include "project/project.h"

#include <QObject>
#include <QString>

#include <vector>

class TmainF;

namespace projects {

class ProjectDocument : public QObject {
    Q_OBJECT
public:
    // Starts with an untitled project of one case: the main window's.
    explicit ProjectDocument(TmainF *mainF, QObject *parent = nullptr);

    const project::Project &project() const { return project_; }
    // Every case rated as the main window rates it, in case order.
    const std::vector<project::Outcome> &outcomes() const { return outcomes_; }
    int caseCount() const { return static_cast<int>(project_.cases.size()); }
    int current() const { return project_.current; }
    TmainF *mainWindow() const { return mainF_; }

    // ---- edits: each marks the project changed and emits changed()
    void setDetails(const project::Details &details);
    // Appends a case (named newCaseName() when no name is given) and
    // returns its index; the main window stays on its case. -1 when the
    // project holds project::maxCases already.
    int addCase(const rating::Case &inputs, const QString &name = QString());
    // The main window's case as a new case, which becomes the current one.
    int addMainWindowCase();
    // A case's inputs replaced (the current one's also go into the main
    // window).
    void updateCase(int index, const rating::Case &inputs);
    void renameCase(int index, const QString &name);
    // A copy inserted after the case; its index, or -1 when full.
    int duplicateCase(int index);
    // False for the last case, which a project keeps.
    bool removeCase(int index);
    // The case moves to position `to`; the current case stays current.
    void moveCase(int from, int to);
    // The case becomes the current one and its inputs go into the main
    // window (through its own controls, so that charts and report follow).
    // False where the main window is busy with another handler.
    bool openCase(int index);
    // "Case N" in the interface language, with the first N no case is
    // named by.
    QString newCaseName() const;

    // ---- the whole project
    // Replaces the project (a file opened, a recovery restored, New): the
    // current case goes into the main window. Not marked changed.
    void replace(project::Project p, const QString &fileName);
    QString fileName() const { return fileName_; }
    void setFileName(const QString &fileName);
    // The project's name; else the file's name without its folder; else
    // "Untitled" in the interface language.
    QString displayName() const;
    bool isModified() const { return modified_; }
    void setModified(bool modified);
    // Takes what the main window holds now (fields as they are typed) into
    // the current case, as leaving the field would; before a save.
    void takeMainWindowCase();

    // The project with what the main window holds now (fields as they are
    // typed) as its current case, the document left as it is: what a
    // recovery file keeps.
    project::Project snapshot() const;
    // Changed since saved, or a field typed into and not yet left.
    bool hasUnsavedChanges() const;

    // "Untitled" in an interface language.
    static QString untitledName(int language);
    // A new project: one case at the main window's defaults, named as a
    // first case is in the interface language.
    static project::Project newProject(int language);

signals:
    // Another project was put in place (replace()): its cases are not the
    // ones before, whatever their number. Emitted before the other signals
    // that the new project sends.
    void replaced();
    // Anything in the project changed (details, cases, their order, the
    // current case, a case's inputs).
    void changed();
    // The list of cases or a case's name, inputs or results changed.
    void casesChanged();
    void currentChanged(int index);
    void modifiedChanged(bool modified);
    void fileNameChanged();

private:
    void edited(bool cases);
    void rateCase(int index);
    void followMainWindow();
    rating::Case mainWindowCase() const;

    TmainF *mainF_;
    project::Project project_;
    std::vector<project::Outcome> outcomes_;
    QString fileName_;
    bool modified_ = false;
    bool opening_ = false; // a case is going into the main window
};

} // namespace projects
