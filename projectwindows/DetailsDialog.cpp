#include "projectwindows/DetailsDialog.h"

#include "languages/languages.h"

#include <QCalendarWidget>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

using lang::Texts;

namespace projects {

namespace {

// One per language, in the order of the language list.
constexpr Texts kTitle = {"Projekt adatai", "Project details", "Сведения о проекте", "Údaje o projekte",
                          "Projektangaben", "Datele proiectului", "Dati del progetto"};
constexpr Texts kName = {"Név:", "Name:", "Название:", "Názov:", "Name:", "Denumire:", "Nome:"};
constexpr Texts kCustomer = {"Megrendelő:", "Customer:", "Заказчик:", "Zákazník:", "Kunde:", "Client:", "Cliente:"};
constexpr Texts kReference = {"Hivatkozási szám:", "Reference:", "Номер заявки:", "Číslo dopytu:",
                              "Referenz:",         "Referință:",  "Riferimento:"};
constexpr Texts kRevision = {"Revízió:", "Revision:", "Редакция:", "Revízia:", "Revision:", "Revizie:", "Revisione:"};
constexpr Texts kAuthor = {"Készítette:", "Author:", "Автор:", "Autor:", "Bearbeiter:", "Autor:", "Autore:"};
constexpr Texts kDate = {"Dátum:", "Date:", "Дата:", "Dátum:", "Datum:", "Data:", "Data:"};
constexpr Texts kNotes = {"Megjegyzés:", "Notes:", "Примечания:", "Poznámky:", "Notizen:", "Note:", "Note:"};
constexpr Texts kChooseDate = {"Dátum választása", "Choose a date", "Выбрать дату", "Vybrať dátum",
                               "Datum wählen",     "Alegeți data",  "Scegli una data"};
constexpr Texts kDateForm = {
    "A dátum formája ÉÉÉÉ-HH-NN (ISO 8601), például 2026-12-11.",
    "Write the date as YYYY-MM-DD (ISO 8601), for example 2026-12-11.",
    "Дата записывается как ГГГГ-ММ-ДД (ISO 8601), например 2026-12-11.",
    "Dátum sa píše ako RRRR-MM-DD (ISO 8601), napríklad 2026-12-11.",
    "Das Datum wird als JJJJ-MM-TT (ISO 8601) geschrieben, zum Beispiel 2026-12-11.",
    "Data se scrie ca AAAA-LL-ZZ (ISO 8601), de exemplu 2026-12-11.",
    "La data si scrive come AAAA-MM-GG (ISO 8601), per esempio 2026-12-11.",
};
constexpr Texts kOk = {"OK", "OK", "ОК", "OK", "OK", "OK", "OK"};
constexpr Texts kCancel = {"Mégse", "Cancel", "Отмена", "Zrušiť", "Abbrechen", "Anulează", "Annulla"};

// The calendar's month and day names in the interface language.
QLocale calendarLocale(int language)
{
    static const QLocale::Language languages[] = {QLocale::Hungarian, QLocale::English, QLocale::Russian,
                                                  QLocale::Slovak,    QLocale::German,  QLocale::Romanian,
                                                  QLocale::Italian};
    if (language < 0 || language >= 7) language = lang::DefaultLanguage;
    return QLocale(languages[language], language == 1 ? QLocale::UnitedKingdom : QLocale::AnyTerritory);
}

// An ISO 8601 calendar date, as the program writes it.
QDate isoDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!form.match(text).hasMatch()) return {};
    return QDate::fromString(text, Qt::ISODate);
}

} // namespace

DetailsDialog::DetailsDialog(const project::Details &details, int language, QWidget *parent)
    : QDialog(parent), original_(details)
{
    setObjectName(QStringLiteral("projectDetailsDialog"));
    setWindowTitle(lang::text(kTitle, language));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto line = [this](const char *name, const std::string &text) {
        auto *e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(320);
        e->setCursorPosition(0);
        return e;
    };
    nameEdit = line("name", details.name);
    customerEdit = line("customer", details.customer);
    referenceEdit = line("reference", details.reference);
    revisionEdit = line("revision", details.revision);
    authorEdit = line("author", details.author);
    dateEdit = line("date", details.date);
    dateEdit->setMinimumWidth(0);
    dateEdit->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));

    calendarButton = new QToolButton(this);
    calendarButton->setObjectName(QStringLiteral("calendarButton"));
    calendarButton->setText(QStringLiteral("…"));
    calendarButton->setToolTip(lang::text(kChooseDate, language));
    calendarButton->setAccessibleName(lang::text(kChooseDate, language));
    calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("calendar"));
    calendar->setWindowFlags(Qt::Popup);
    calendar->setLocale(calendarLocale(language));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->hide();
    connect(calendarButton, &QToolButton::clicked, this, &DetailsDialog::showCalendar);
    auto pick = [this](QDate d) {
        dateEdit->setText(d.toString(Qt::ISODate));
        dateEdit->setModified(true);
        calendar->hide();
        dateEdit->setFocus();
    };
    connect(calendar, &QCalendarWidget::clicked, this, pick);
    connect(calendar, &QCalendarWidget::activated, this, pick);

    dateHint = new QLabel(lang::text(kDateForm, language), this);
    dateHint->setObjectName(QStringLiteral("dateHint"));
    dateHint->setWordWrap(true);
    {
        QPalette p = dateHint->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        dateHint->setPalette(p);
    }

    notesEdit = new QPlainTextEdit(this);
    notesEdit->setObjectName(QStringLiteral("notes"));
    notesEdit->setPlainText(QString::fromStdString(details.notes));
    notesEdit->document()->setModified(false);
    notesEdit->setTabChangesFocus(true);
    notesEdit->setMinimumHeight(100);

    okButton = new QPushButton(lang::text(kOk, language), this);
    okButton->setObjectName(QStringLiteral("ok"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(lang::text(kCancel, language), this);
    cancelButton->setObjectName(QStringLiteral("cancel"));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(lang::text(kName, language), nameEdit);
    form->addRow(lang::text(kCustomer, language), customerEdit);
    form->addRow(lang::text(kReference, language), referenceEdit);
    form->addRow(lang::text(kRevision, language), revisionEdit);
    form->addRow(lang::text(kAuthor, language), authorEdit);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(dateEdit, 1);
    dateRow->addWidget(calendarButton);
    form->addRow(lang::text(kDate, language), dateRow);
    form->addRow(QString(), dateHint);
    form->addRow(lang::text(kNotes, language), notesEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addLayout(buttons);

    connect(dateEdit, &QLineEdit::textChanged, this, &DetailsDialog::checkDate);
    checkDate();
    nameEdit->setFocus();
}

bool DetailsDialog::dateAccepted() const
{
    const QString t = dateEdit->text();
    return t.isEmpty() || isoDate(t).isValid() || t == QString::fromStdString(original_.date);
}

void DetailsDialog::checkDate()
{
    const bool ok = dateAccepted();
    okButton->setEnabled(ok);
    dateHint->setVisible(!ok);
}

void DetailsDialog::showCalendar()
{
    const QDate shown = isoDate(dateEdit->text());
    calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    calendar->adjustSize();
    calendar->move(calendarButton->mapToGlobal(QPoint(calendarButton->width() - calendar->width(),
                                                      calendarButton->height())));
    calendar->show();
    calendar->setFocus();
}

project::Details DetailsDialog::details() const
{
    // A field left as it was keeps its text exactly as the project had it.
    auto text = [](const QLineEdit *e, const std::string &was) {
        return e->isModified() ? e->text().toStdString() : was;
    };
    project::Details d;
    d.name = text(nameEdit, original_.name);
    d.customer = text(customerEdit, original_.customer);
    d.reference = text(referenceEdit, original_.reference);
    d.revision = text(revisionEdit, original_.revision);
    d.author = text(authorEdit, original_.author);
    d.date = text(dateEdit, original_.date);
    d.notes = notesEdit->document()->isModified() ? notesEdit->toPlainText().toStdString() : original_.notes;
    return d;
}

} // namespace projects
