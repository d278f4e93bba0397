// The project's details: name, customer, reference, revision, author, date
// and notes, edited in a dialog of their own. The date is written as
// ISO 8601 (YYYY-MM-DD), typed or picked from a calendar; a date the file
// gave in another form stays as it was until it is changed.
#pragma once

#include "project/project.h"

#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace projects {

class DetailsDialog : public QDialog {
    Q_OBJECT
public:
    DetailsDialog(const project::Details &details, int language, QWidget *parent = nullptr);

    // The details as the fields hold them.
    project::Details details() const;
    // Whether the date field holds a date the project may keep: empty, an
    // ISO 8601 date, or the text it had.
    bool dateAccepted() const;

    QLineEdit *nameEdit = nullptr, *customerEdit = nullptr, *referenceEdit = nullptr, *revisionEdit = nullptr,
              *authorEdit = nullptr, *dateEdit = nullptr;
    QToolButton *calendarButton = nullptr;
    QCalendarWidget *calendar = nullptr; // the button's popup
    QPlainTextEdit *notesEdit = nullptr;
    QLabel *dateHint = nullptr;
    QPushButton *okButton = nullptr, *cancelButton = nullptr;

private:
    void checkDate();
    void showCalendar();

    project::Details original_;
};

} // namespace projects
