#include "projectwindows/ProjectFiles.h"

#include "assets/assets.h"
#include "languages/languages.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "project/messages.h"
#include "projectwindows/DetailsDialog.h"
#include "projectwindows/RecentProjects.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

using lang::Texts;

namespace projects {

namespace {

// ---------------------------------------------------------------- texts
// One per language, in the order of the language list.

constexpr Texts kNew = {"Új projekt", "New project", "Новый проект", "Nový projekt",
                        "Neues Projekt", "Proiect nou", "Nuovo progetto"};
constexpr Texts kOpen = {"Projekt megnyitása…", "Open project…",     "Открыть проект…",  "Otvoriť projekt…",
                         "Projekt öffnen…",     "Deschide proiect…", "Apri progetto…"};
constexpr Texts kSave = {"Projekt mentése", "Save project", "Сохранить проект", "Uložiť projekt",
                         "Projekt speichern", "Salvează proiectul", "Salva progetto"};
constexpr Texts kSaveAs = {"Projekt mentése másként…", "Save project as…",       "Сохранить проект как…",
                           "Uložiť projekt ako…",      "Projekt speichern unter…", "Salvează proiectul ca…",
                           "Salva progetto con nome…"};
constexpr Texts kRecent = {"Legutóbbi projektek", "Recent projects", "Недавние проекты", "Nedávne projekty",
                           "Zuletzt geöffnete Projekte", "Proiecte recente", "Progetti recenti"};
constexpr Texts kNoRecent = {"Nincs legutóbbi projekt", "No recent projects", "Нет недавних проектов",
                             "Žiadne nedávne projekty", "Keine zuletzt geöffneten Projekte", "Niciun proiect recent",
                             "Nessun progetto recente"};
constexpr Texts kClearRecent = {"Lista törlése", "Clear the list", "Очистить список", "Vymazať zoznam",
                                "Liste leeren",  "Golește lista",  "Svuota l'elenco"};
constexpr Texts kDetails = {"Projekt adatai…", "Project details…",    "Сведения о проекте…", "Údaje o projekte…",
                            "Projektangaben…", "Datele proiectului…", "Dati del progetto…"};

// The file dialogs.
constexpr Texts kProjects = {"Ventrano projektek (*.ventrano)", "Ventrano projects (*.ventrano)",
                             "Проекты Ventrano (*.ventrano)",   "Projekty Ventrano (*.ventrano)",
                             "Ventrano-Projekte (*.ventrano)",  "Proiecte Ventrano (*.ventrano)",
                             "Progetti Ventrano (*.ventrano)"};
constexpr Texts kAllFiles = {"Minden fájl (*)", "All files (*)", "Все файлы (*)", "Všetky súbory (*)",
                             "Alle Dateien (*)", "Toate fișierele (*)", "Tutti i file (*)"};
constexpr Texts kLookIn = {"Hely:", "Look in:", "Папка:", "Priečinok:", "Suchen in:", "Caută în:", "Cerca in:"};
constexpr Texts kFileName = {"Fájlnév:", "File name:", "Имя файла:", "Názov súboru:",
                             "Dateiname:", "Nume fișier:", "Nome file:"};
constexpr Texts kFileType = {"Fájltípus:", "Files of type:", "Тип файлов:", "Typ súborov:",
                             "Dateityp:",  "Tip fișiere:",   "Tipo di file:"};
constexpr Texts kOpenButton = {"Megnyitás", "Open", "Открыть", "Otvoriť", "Öffnen", "Deschide", "Apri"};
constexpr Texts kSaveButton = {"Mentés", "Save", "Сохранить", "Uložiť", "Speichern", "Salvează", "Salva"};
constexpr Texts kCancel = {"Mégse", "Cancel", "Отмена", "Zrušiť", "Abbrechen", "Anulează", "Annulla"};
constexpr Texts kOk = {"OK", "OK", "ОК", "OK", "OK", "OK", "OK"};

// %1: the file.
constexpr Texts kReplace = {
    "A(z) „%1” fájl már létezik. Lecseréli?",
    "'%1' already exists. Do you want to replace it?",
    "Файл «%1» уже существует. Заменить его?",
    "Súbor „%1“ už existuje. Chcete ho nahradiť?",
    "Die Datei „%1“ ist bereits vorhanden. Möchten Sie sie ersetzen?",
    "Fișierul „%1” există deja. Doriți să îl înlocuiți?",
    "Il file “%1” esiste già. Sostituirlo?",
};
constexpr Texts kReplaceButton = {"Csere", "Replace", "Заменить", "Nahradiť", "Ersetzen", "Înlocuiește", "Sostituisci"};

// %1: the project's name.
constexpr Texts kUnsaved = {
    "A(z) „%1” projekt nem mentett változásokat tartalmaz. Menti őket?",
    "The project '%1' has unsaved changes. Do you want to save them?",
    "В проекте «%1» есть несохранённые изменения. Сохранить их?",
    "Projekt „%1“ obsahuje neuložené zmeny. Chcete ich uložiť?",
    "Das Projekt „%1“ enthält ungespeicherte Änderungen. Möchten Sie sie speichern?",
    "Proiectul „%1” are modificări nesalvate. Doriți să le salvați?",
    "Il progetto “%1” contiene modifiche non salvate. Salvarle?",
};
constexpr Texts kDiscard = {"Elvetés", "Discard", "Не сохранять", "Zahodiť", "Verwerfen", "Renunță", "Non salvare"};

// %1: the file; %2: why (the system's words).
constexpr Texts kSaveFailed = {
    "A projekt nem menthető ide: „%1”: %2.\n\nA lemezen lévő fájl változatlan; a változások megmaradtak az ablakban.",
    "The project could not be saved as '%1': %2.\n\nThe file on the disk is as it was; the changes are kept in the "
    "window.",
    "Не удалось сохранить проект в «%1»: %2.\n\nФайл на диске не изменён; изменения остаются в окне.",
    "Projekt sa nepodarilo uložiť do „%1“: %2.\n\nSúbor na disku zostal nezmenený; zmeny zostávajú v okne.",
    "Das Projekt konnte nicht als „%1“ gespeichert werden: %2.\n\nDie Datei auf dem Datenträger ist unverändert; die "
    "Änderungen bleiben im Fenster erhalten.",
    "Proiectul nu a putut fi salvat ca „%1”: %2.\n\nFișierul de pe disc a rămas neschimbat; modificările se păstrează "
    "în fereastră.",
    "Impossibile salvare il progetto come “%1”: %2.\n\nIl file sul disco è invariato; le modifiche restano nella "
    "finestra.",
};

// A file that is no file to read (a named pipe, a device, a socket): the
// reason in the sentence that a file cannot be read.
constexpr Texts kNotRegular = {"nem közönséges fájl", "it is not a regular file", "это не обычный файл",
                               "nie je to bežný súbor", "es ist keine reguläre Datei", "nu este un fișier obișnuit",
                               "non è un file regolare"};

// %1: the file; %2: the cases, "3 (name), 7 (name)".
constexpr Texts kDiffering = {
    "A(z) „%1” fájlban tárolt eredmények eltérnek az újraszámoltaktól ezekben az esetekben: %2. Az ablak az "
    "újraszámolt eredményeket mutatja; a projekt mentése ezeket írja ki.",
    "The results stored in '%1' differ from the recalculated ones in these cases: %2. The window shows the "
    "recalculated results; saving the project writes them.",
    "Результаты, сохранённые в «%1», отличаются от пересчитанных в вариантах: %2. В окне показаны пересчитанные "
    "результаты; при сохранении проекта записываются они.",
    "Výsledky uložené v „%1“ sa líšia od prepočítaných v týchto prípadoch: %2. Okno ukazuje prepočítané výsledky; "
    "uloženie projektu zapíše tie.",
    "Die in „%1“ gespeicherten Ergebnisse weichen in diesen Fällen von den neu berechneten ab: %2. Das Fenster zeigt "
    "die neu berechneten Ergebnisse; beim Speichern des Projekts werden diese geschrieben.",
    "Rezultatele salvate în „%1” diferă de cele recalculate în aceste cazuri: %2. Fereastra arată rezultatele "
    "recalculate; salvarea proiectului le scrie pe acestea.",
    "I risultati salvati in “%1” differiscono da quelli ricalcolati in questi casi: %2. La finestra mostra i "
    "risultati ricalcolati; salvando il progetto si scrivono questi.",
};
// %1: how many cases differ.
constexpr Texts kInAll = {"összesen %1", "%1 in all", "всего %1", "spolu %1", "insgesamt %1", "în total %1",
                          "%1 in tutto"};

// The recovery offer. %1: the project (its file or "Untitled"); %2: when.
constexpr Texts kRecoveryTitle = {"Nem mentett projekt", "Unsaved project", "Несохранённый проект",
                                  "Neuložený projekt",   "Ungespeichertes Projekt", "Proiect nesalvat",
                                  "Progetto non salvato"};
constexpr Texts kRecovery = {
    "Az előző munkamenet a projekt mentése előtt ért véget.\n\nProjekt: %1\nUtolsó automatikus mentés: %2\n\n"
    "Visszaállítja nem mentett változásokként, vagy elveti?",
    "The last session ended before the project was saved.\n\nProject: %1\nLast kept: %2\n\n"
    "Restore it as unsaved changes, or discard it?",
    "Предыдущий сеанс завершился до сохранения проекта.\n\nПроект: %1\nПоследнее автосохранение: %2\n\n"
    "Восстановить его как несохранённые изменения или отбросить?",
    "Predchádzajúca relácia sa skončila pred uložením projektu.\n\nProjekt: %1\nPosledné automatické uloženie: %2\n\n"
    "Obnoviť ho ako neuložené zmeny, alebo ho zahodiť?",
    "Die letzte Sitzung endete, bevor das Projekt gespeichert wurde.\n\nProjekt: %1\nZuletzt gesichert: %2\n\n"
    "Als ungespeicherte Änderungen wiederherstellen oder verwerfen?",
    "Sesiunea anterioară s-a încheiat înainte ca proiectul să fie salvat.\n\nProiect: %1\nUltima salvare automată: "
    "%2\n\nÎl restaurați ca modificări nesalvate sau renunțați la el?",
    "La sessione precedente si è chiusa prima che il progetto fosse salvato.\n\nProgetto: %1\nUltimo salvataggio "
    "automatico: %2\n\nRipristinarlo come modifiche non salvate o scartarlo?",
};
constexpr Texts kRestore = {"Visszaállítás", "Restore", "Восстановить", "Obnoviť", "Wiederherstellen", "Restaurează",
                            "Ripristina"};
constexpr Texts kDiscardRecovery = {"Elvetés", "Discard", "Отбросить", "Zahodiť", "Verwerfen", "Renunță", "Scarta"};

// %1: the folder or file; %2: why.
constexpr Texts kAutosaveFailed = {
    "A nem mentett változások biztonsági mentése nem sikerült ide: „%1”: %2. Mentse a projektet, hogy megmaradjanak.",
    "Unsaved changes could not be kept for recovery in '%1': %2. Save the project to keep them.",
    "Не удалось сохранить резервную копию несохранённых изменений в «%1»: %2. Сохраните проект, чтобы не потерять "
    "их.",
    "Zálohovanie neuložených zmien do „%1“ zlyhalo: %2. Uložte projekt, aby ste o ne neprišli.",
    "Die ungespeicherten Änderungen konnten nicht in „%1“ gesichert werden: %2. Speichern Sie das Projekt, um sie "
    "zu behalten.",
    "Copia de siguranță a modificărilor nesalvate în „%1” a eșuat: %2. Salvați proiectul pentru a le păstra.",
    "Il backup delle modifiche non salvate in “%1” non è riuscito: %2. Salvare il progetto per non perderle.",
};

const QString kExtension = QStringLiteral(".ventrano");

// The reason a system gives, without its own full stop: the sentences put
// one after it.
QString reason(QString why)
{
    while (why.endsWith(QLatin1Char('.'))) why.chop(1);
    return why;
}

// A command's text without its dots and accelerators: a dialog's title, a
// tooltip, a name for a screen reader.
QString plain(QString text) { return text.remove(QChar(0x2026)).remove(QLatin1Char('&')); }

class Busy {
public:
    explicit Busy(bool &flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    bool &flag_;
};

QAction *command(QObject *parent, const char *name, const QKeySequence &keys, const QIcon &icon)
{
    auto *a = new QAction(parent);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(keys);
    a->setIcon(icon);
    return a;
}

} // namespace

ProjectFiles::ProjectFiles(TmainF *mainF, ProjectDocument *document, QObject *parent)
    : QObject(parent), mainF_(mainF), document_(document)
{
    new_ = command(this, "newProject", QKeySequence(Qt::CTRL | Qt::Key_N), assets::newIcon());
    open_ = command(this, "openProject", QKeySequence(Qt::CTRL | Qt::Key_O), assets::openIcon());
    save_ = command(this, "saveProject", QKeySequence(Qt::CTRL | Qt::Key_S), assets::saveIcon());
    saveAs_ = command(this, "saveProjectAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), assets::saveAsIcon());
    details_ = command(this, "projectDetails", QKeySequence(), assets::detailsIcon());
    auto separator = [this] {
        auto *a = new QAction(this);
        a->setSeparator(true);
        return a;
    };
    connect(new_, &QAction::triggered, this, &ProjectFiles::newProject);
    connect(open_, &QAction::triggered, this, &ProjectFiles::open);
    connect(save_, &QAction::triggered, this, &ProjectFiles::save);
    connect(saveAs_, &QAction::triggered, this, &ProjectFiles::saveAs);
    connect(details_, &QAction::triggered, this, &ProjectFiles::editDetails);

    recent_ = new QMenu(mainF_);
    recent_->setObjectName(QStringLiteral("recentProjects"));
    recent_->setToolTipsVisible(true);
    recent_->menuAction()->setObjectName(QStringLiteral("recentProjectsAction"));
    // Read afresh each time: another program of the user's may have added
    // to the list meanwhile.
    connect(recent_, &QMenu::aboutToShow, this, &ProjectFiles::fillRecentMenu);
    fillRecentMenu();

    for (QAction *a : {separator(), new_, open_, recent_->menuAction(), save_, saveAs_, details_, separator()})
        mainF_->addContextAction(a);
    mainF_->addButtonAction(new_);
    mainF_->addButtonAction(open_, recent_);
    mainF_->addButtonAction(save_);
    mainF_->addButtonAction(saveAs_);
    mainF_->addButtonAction(details_);

    mainF_->setCloseGuard([this] { return closeRequested(); });
    connect(mainF_, &TmainF::fileDropped, this, &ProjectFiles::openFile);
    connect(mainF_, &TmainF::languageApplied, this, &ProjectFiles::retranslate);
    connect(document_, &ProjectDocument::fileNameChanged, this, &ProjectFiles::updateTitle);
    connect(document_, &ProjectDocument::modifiedChanged, this, &ProjectFiles::updateTitle);

    // Within two seconds of a change (a field typed into counts), the
    // unsaved state is on the disk.
    autosaveTimer_.setSingleShot(true);
    autosaveTimer_.setInterval(autosaveDelayMs);
    connect(&autosaveTimer_, &QTimer::timeout, this, &ProjectFiles::autosaveNow);
    connect(document_, &ProjectDocument::changed, this, &ProjectFiles::changed);
    connect(mainF_, &TmainF::inputsEdited, this, &ProjectFiles::changed);
    connect(&autosave_, &Autosave::failed, this, [this](const QString &where, const QString &why) {
        if (autosaveWarned_) return; // said once: a box every second would stop the work it is to keep
        autosaveWarned_ = true;
        platform::showError(lang::text(kAutosaveFailed, language()).arg(QDir::toNativeSeparators(where), reason(why)));
    });

    retranslate();
}

ProjectFiles::~ProjectFiles() = default;

int ProjectFiles::language() const { return mainF_->language(); }

void ProjectFiles::changed()
{
    if (!autosaveTimer_.isActive()) autosaveTimer_.start();
}

void ProjectFiles::retranslate()
{
    const int n = language();
    const std::pair<QAction *, const Texts *> commands[] = {
        {new_, &kNew}, {open_, &kOpen}, {save_, &kSave}, {saveAs_, &kSaveAs}, {details_, &kDetails}};
    for (const auto &[action, text] : commands) {
        action->setText(lang::text(*text, n));
        QString tip = plain(action->text());
        if (!action->shortcut().isEmpty())
            tip += QStringLiteral(" (") + action->shortcut().toString(QKeySequence::NativeText) + QStringLiteral(")");
        action->setToolTip(tip);
    }
    recent_->setTitle(lang::text(kRecent, n));
    fillRecentMenu();
    updateTitle();
}

void ProjectFiles::updateTitle()
{
    mainF_->setProjectTitle(document_->displayName());
    mainF_->setWindowModified(document_->isModified());
}

// ---------------------------------------------------------------- recent

void ProjectFiles::fillRecentMenu()
{
    const int n = language();
    recent_->clear();
    const QStringList files = recent::files();
    if (files.isEmpty()) {
        recent_->addAction(lang::text(kNoRecent, n))->setEnabled(false);
        return;
    }
    QStringList names;
    for (const QString &f : files) names.append(QFileInfo(f).fileName());
    for (int i = 0; i < files.size(); ++i) {
        // A name that two files share is told apart by its folder.
        QString shown = names[i];
        if (names.count(shown) > 1)
            shown += QStringLiteral(" (") + QDir::toNativeSeparators(QFileInfo(files[i]).absolutePath()) +
                     QStringLiteral(")");
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        a->setToolTip(QDir::toNativeSeparators(files[i]));
        a->setData(files[i]);
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    recent_->addSeparator();
    QAction *clear = recent_->addAction(lang::text(kClearRecent, n));
    clear->setObjectName(QStringLiteral("clearRecentProjects"));
    connect(clear, &QAction::triggered, this, [this] {
        recent::clear();
        fillRecentMenu();
    });
}

// ---------------------------------------------------------------- commands

bool ProjectFiles::newProject()
{
    if (busy_) return false;
    Busy busy(busy_);
    if (!maybeSave()) return false;
    document_->replace(ProjectDocument::newProject(language()), QString());
    autosave_.remove();
    return true;
}

QString ProjectFiles::dialogFolder() const
{
    if (!document_->fileName().isEmpty()) return QFileInfo(document_->fileName()).absolutePath();
    const QString last = recent::lastFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return QDir::homePath();
}

namespace {

void labelDialog(QFileDialog &d, int n, bool saving)
{
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setLabelText(QFileDialog::LookIn, lang::text(kLookIn, n));
    d.setLabelText(QFileDialog::FileName, lang::text(kFileName, n));
    d.setLabelText(QFileDialog::FileType, lang::text(kFileType, n));
    d.setLabelText(QFileDialog::Accept, lang::text(saving ? kSaveButton : kOpenButton, n));
    d.setLabelText(QFileDialog::Reject, lang::text(kCancel, n));
}

} // namespace

bool ProjectFiles::open()
{
    if (busy_) return false;
    Busy busy(busy_);
    const int n = language();
    QFileDialog d(mainF_, plain(lang::text(kOpen, n)));
    d.setObjectName(QStringLiteral("openProjectDialog"));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    labelDialog(d, n, false);
    d.setNameFilters({lang::text(kProjects, n), lang::text(kAllFiles, n)});
    d.setDirectory(dialogFolder());
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
    recent::setLastFolder(d.directory().absolutePath());
    return openFileNow(d.selectedFiles().first());
}

bool ProjectFiles::openFile(const QString &path)
{
    if (busy_) return false;
    Busy busy(busy_);
    return openFileNow(path);
}

bool ProjectFiles::openFileNow(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(absolute);
    project::Result<project::Opened> opened = project::Error{};
    if (info.exists() && !info.isFile() && !info.isDir()) {
        // A named pipe would wait for a writer, a device never end: no file
        // to read.
        project::Error e;
        e.kind = project::Error::Kind::Unreadable;
        e.detail = lang::text(kNotRegular, language()).toStdString();
        opened = e;
    } else {
        opened = project::openFile(QFile::encodeName(absolute).toStdString());
    }
    if (!opened.ok()) {
        project::Error e = opened.error();
        e.fileName = info.fileName().toStdString();
        platform::showError(QString::fromStdString(
            project::sentence(e, language(), platform::decimalSeparator().toStdString())));
        // A project that is gone leaves the list of recent ones.
        if (!info.exists()) recent::remove(absolute);
        return false;
    }
    // Only a file that opens replaces the project, so an answer to the
    // question below never loses work for a file that is then refused.
    if (!maybeSave()) return false;
    project::Opened &o = opened.value();
    const std::vector<int> differing = o.differing;
    document_->replace(std::move(o.project), absolute);
    autosave_.remove();
    recent::add(absolute);
    if (!differing.empty()) showDiffering(info.fileName(), document_->project(), differing);
    return true;
}

void ProjectFiles::showDiffering(const QString &fileName, const project::Project &p, const std::vector<int> &differing)
{
    const int n = language();
    constexpr std::size_t shownAtMost = 10;
    QStringList cases;
    for (std::size_t i = 0; i < differing.size() && i < shownAtMost; ++i) {
        const auto c = static_cast<std::size_t>(differing[i]);
        QString item = QString::number(differing[i] + 1);
        if (c < p.cases.size() && !p.cases[c].name.empty())
            item += QStringLiteral(" (") + QString::fromStdString(p.cases[c].name) + QStringLiteral(")");
        cases.append(item);
    }
    QString list = cases.join(QStringLiteral(", "));
    if (differing.size() > shownAtMost)
        list += QStringLiteral(", … (") + lang::text(kInAll, n).arg(differing.size()) + QStringLiteral(")");
    // Once, in the window, without holding it: the project is open.
    auto *box = new QMessageBox(QMessageBox::Information, TmainF::programTitle(),
                                lang::text(kDiffering, n).arg(fileName, list), QMessageBox::NoButton, mainF_);
    box->setObjectName(QStringLiteral("differingResults"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->addButton(lang::text(kOk, n), QMessageBox::AcceptRole);
    box->open();
}

bool ProjectFiles::save()
{
    if (busy_) return false;
    Busy busy(busy_);
    return saveNow();
}

bool ProjectFiles::saveAs()
{
    if (busy_) return false;
    Busy busy(busy_);
    document_->takeMainWindowCase();
    return saveAsNow();
}

bool ProjectFiles::saveNow()
{
    document_->takeMainWindowCase();
    if (document_->fileName().isEmpty()) return saveAsNow();
    return writeTo(document_->fileName());
}

bool ProjectFiles::saveAsNow()
{
    const int n = language();
    QFileDialog d(mainF_, plain(lang::text(kSaveAs, n)));
    d.setObjectName(QStringLiteral("saveProjectDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    // The question whether to replace a file comes after the extension is
    // added, in the interface language.
    d.setOption(QFileDialog::DontConfirmOverwrite);
    labelDialog(d, n, true);
    d.setNameFilters({lang::text(kProjects, n)});
    d.setDefaultSuffix(kExtension.mid(1));
    d.setDirectory(dialogFolder());
    QString suggested = QFileInfo(document_->fileName()).fileName();
    if (suggested.isEmpty()) {
        suggested = document_->displayName();
        for (QChar &c : suggested)
            if (c == QLatin1Char('/') || c == QChar(0) || c.category() == QChar::Other_Control) c = QLatin1Char('-');
        suggested += kExtension;
    }
    d.selectFile(suggested);
    for (;;) {
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
        QString path = d.selectedFiles().first();
        // Whatever the name, a project file ends in its extension.
        if (!path.endsWith(kExtension, Qt::CaseInsensitive)) path += kExtension;
        path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        recent::setLastFolder(QFileInfo(path).absolutePath());
        const bool same = path == document_->fileName();
        if (!same && QFileInfo::exists(path)) {
            QMessageBox ask(QMessageBox::Warning, TmainF::programTitle(),
                            lang::text(kReplace, n).arg(QDir::toNativeSeparators(path)), QMessageBox::NoButton, mainF_);
            ask.setObjectName(QStringLiteral("replaceQuestion"));
            QPushButton *replace = ask.addButton(lang::text(kReplaceButton, n), QMessageBox::AcceptRole);
            QPushButton *cancel = ask.addButton(lang::text(kCancel, n), QMessageBox::RejectRole);
            ask.setDefaultButton(cancel);
            ask.setEscapeButton(cancel);
            ask.exec();
            if (ask.clickedButton() != replace) {
                d.selectFile(QFileInfo(path).fileName());
                continue; // another name
            }
        }
        return writeTo(path);
    }
}

bool ProjectFiles::writeTo(const QString &path)
{
    const int n = language();
    project::Result<std::string> text = project::write(document_->project());
    if (!text.ok()) {
        project::Error e = text.error();
        e.fileName = QFileInfo(path).fileName().toStdString();
        platform::showError(QString::fromStdString(project::sentence(e, n, platform::decimalSeparator().toStdString())));
        return false;
    }
    const QString why = platform::writeWholeFile(path, QByteArray::fromStdString(text.value()));
    if (!why.isEmpty()) {
        // The old file stays, and the changes stay unsaved in the window.
        platform::showError(lang::text(kSaveFailed, n).arg(QDir::toNativeSeparators(path), reason(why)));
        return false;
    }
    document_->setFileName(path);
    document_->setModified(false);
    autosaveTimer_.stop();
    autosave_.remove();
    recent::add(path);
    updateTitle();
    return true;
}

bool ProjectFiles::editDetails()
{
    if (busy_) return false;
    Busy busy(busy_);
    DetailsDialog d(document_->project().details, language(), mainF_);
    if (d.exec() != QDialog::Accepted) return false;
    document_->setDetails(d.details());
    return true;
}

bool ProjectFiles::maybeSave()
{
    document_->takeMainWindowCase();
    if (!document_->isModified()) return true;
    const int n = language();
    QMessageBox ask(QMessageBox::Warning, TmainF::programTitle(), lang::text(kUnsaved, n).arg(document_->displayName()),
                    QMessageBox::NoButton, mainF_);
    ask.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    QPushButton *save = ask.addButton(lang::text(kSaveButton, n), QMessageBox::AcceptRole);
    QPushButton *discard = ask.addButton(lang::text(kDiscard, n), QMessageBox::DestructiveRole);
    QPushButton *cancel = ask.addButton(lang::text(kCancel, n), QMessageBox::RejectRole);
    save->setObjectName(QStringLiteral("save"));
    discard->setObjectName(QStringLiteral("discard"));
    cancel->setObjectName(QStringLiteral("cancel"));
    ask.setDefaultButton(save);
    ask.setEscapeButton(cancel);
    ask.exec();
    if (ask.clickedButton() == save) return saveNow();
    return ask.clickedButton() == discard;
}

bool ProjectFiles::closeRequested()
{
    if (busy_) return false;
    Busy busy(busy_);
    if (!maybeSave()) return false;
    // Saved or discarded: nothing is left to recover.
    autosaveTimer_.stop();
    autosave_.remove();
    return true;
}

// ---------------------------------------------------------------- recovery

void ProjectFiles::start(const QString &file)
{
    {
        Busy busy(busy_);
        offerRecovery();
    }
    if (!file.isEmpty()) openFile(file);
}

void ProjectFiles::offerRecovery()
{
    const int n = language();
    std::vector<Orphan> orphans = findOrphans();
    for (Orphan &o : orphans) {
        const Recovered &r = o.recovered;
        QString project = r.note.projectFile.isEmpty() ? ProjectDocument::untitledName(n)
                                                       : QDir::toNativeSeparators(r.note.projectFile);
        if (!r.project.details.name.empty())
            project = QString::fromStdString(r.project.details.name) + QStringLiteral(" (") + project + QStringLiteral(")");
        QMessageBox ask(QMessageBox::Question, lang::text(kRecoveryTitle, n),
                        lang::text(kRecovery, n).arg(project, r.note.written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                        QMessageBox::NoButton, mainF_);
        ask.setObjectName(QStringLiteral("recoveryOffer"));
        QPushButton *restore = ask.addButton(lang::text(kRestore, n), QMessageBox::AcceptRole);
        QPushButton *discard = ask.addButton(lang::text(kDiscardRecovery, n), QMessageBox::DestructiveRole);
        restore->setObjectName(QStringLiteral("restore"));
        discard->setObjectName(QStringLiteral("discard"));
        ask.setDefaultButton(restore);
        ask.exec();
        if (ask.clickedButton() == discard) {
            discardOrphan(std::move(o));
            continue;
        }
        if (ask.clickedButton() != restore) continue; // no answer: left for a later start
        // The work comes back as unsaved changes of its project, whose file
        // a save then writes.
        document_->replace(r.project, r.note.projectFile);
        document_->setModified(true);
        autosave_.adopt(std::move(o));
        break; // one project a window: the others wait for a later start
    }
}

void ProjectFiles::autosaveNow()
{
    autosaveTimer_.stop();
    if (!document_->hasUnsavedChanges()) {
        autosave_.remove();
        return;
    }
    // The fields as typed; where one holds what no file may hold, the
    // project as last taken.
    std::vector<project::Project> choices;
    choices.push_back(document_->snapshot());
    choices.push_back(document_->project());
    autosave_.store(std::move(choices), {document_->fileName(), QDateTime::currentDateTime()});
}

} // namespace projects
