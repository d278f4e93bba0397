#include "projectwindows/CasesWindow.h"

#include "languages/languages.h"
#include "languages/terms.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "projectwindows/casetexts.h"
#include "selectionwindow/EntryTable.h"
#include "widgets/fonts.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using lang::Texts;
namespace terms = lang::terms;

namespace projects {

namespace {

// ---------------------------------------------------------------- texts
// One per language, in the order of the language list.

constexpr Texts kTitle = {"Változatok", "Cases", "Варианты", "Varianty", "Fälle", "Cazuri", "Casi"};
constexpr Texts kOpenWindow = {"Változatok…", "Cases…", "Варианты…", "Varianty…", "Fälle…", "Cazuri…", "Casi…"};
constexpr Texts kOpen = {
    "Megnyitás",  "Open",    "Открыть", "Otvoriť",
    "Öffnen",     "Deschide", "Apri",
};
constexpr Texts kOpenTip = {
    "A változat megnyitása a főablakban",  "Open the case in the main window", "Открыть вариант в главном окне",
    "Otvoriť variant v hlavnom okne",      "Den Fall im Hauptfenster öffnen",  "Deschide cazul în fereastra principală",
    "Apri il caso nella finestra principale",
};
constexpr Texts kAdd = {
    "Hozzáadás", "Add", "Добавить", "Pridať", "Hinzufügen", "Adaugă", "Aggiungi",
};
constexpr Texts kAddTip = {
    "A főablak adatai új változatként; a főablak ezt mutatja ezután",
    "The main window's case as a new case, which the main window then shows",
    "Данные главного окна как новый вариант; главное окно затем показывает его",
    "Údaje hlavného okna ako nový variant; hlavné okno ho potom zobrazuje",
    "Der Fall des Hauptfensters als neuer Fall, den das Hauptfenster dann zeigt",
    "Cazul din fereastra principală ca un caz nou, pe care fereastra îl arată apoi",
    "Il caso della finestra principale come nuovo caso, che la finestra poi mostra",
};
constexpr Texts kUpdate = {
    "Frissítés", "Update", "Обновить", "Aktualizovať", "Aktualisieren", "Actualizează", "Aggiorna",
};
constexpr Texts kUpdateTip = {
    "A kijelölt változat a főablak bemenő adatait kapja",
    "The selected case takes the main window's inputs",
    "Выбранный вариант получает входные данные главного окна",
    "Vybraný variant prevezme vstupy hlavného okna",
    "Der ausgewählte Fall übernimmt die Eingaben des Hauptfensters",
    "Cazul selectat preia datele din fereastra principală",
    "Il caso selezionato prende i dati della finestra principale",
};
constexpr Texts kDuplicate = {
    "Másolat", "Duplicate", "Дублировать", "Duplikovať", "Duplizieren", "Duplică", "Duplica",
};
constexpr Texts kDuplicateTip = {
    "A kijelölt változatok másolata mögéjük", "A copy of each selected case after it",
    "Копия каждого выбранного варианта после него", "Kópia každého vybraného variantu za ním",
    "Eine Kopie jedes ausgewählten Falls dahinter", "O copie a fiecărui caz selectat după el",
    "Una copia di ogni caso selezionato dopo di esso",
};
constexpr Texts kRename = {
    "Átnevezés", "Rename", "Переименовать", "Premenovať", "Umbenennen", "Redenumește", "Rinomina",
};
constexpr Texts kRenameTip = {
    "A változat nevének szerkesztése", "Edit the case's name", "Изменить название варианта",
    "Upraviť názov variantu", "Den Namen des Falls bearbeiten", "Editează numele cazului",
    "Modifica il nome del caso",
};
constexpr Texts kDelete = {"Törlés", "Delete", "Удалить", "Odstrániť", "Löschen", "Șterge", "Elimina"};
constexpr Texts kDeleteTip = {
    "A kijelölt változatok törlése a projektből", "Delete the selected cases from the project",
    "Удалить выбранные варианты из проекта", "Odstrániť vybrané varianty z projektu",
    "Die ausgewählten Fälle aus dem Projekt löschen", "Șterge cazurile selectate din proiect",
    "Elimina i casi selezionati dal progetto",
};
constexpr Texts kKeepOne = {
    "Egy projektben legalább egy változat marad.", "A project keeps at least one case.",
    "В проекте остаётся хотя бы один вариант.", "Projekt si ponecháva aspoň jeden variant.",
    "Ein Projekt behält mindestens einen Fall.", "Un proiect păstrează cel puțin un caz.",
    "Un progetto mantiene almeno un caso.",
};
constexpr Texts kUp = {"Fel", "Move up", "Вверх", "Nahor", "Nach oben", "Mută în sus", "Sposta su"};
constexpr Texts kDown = {"Le", "Move down", "Вниз", "Nadol", "Nach unten", "Mută în jos", "Sposta giù"};
constexpr Texts kUpTip = {
    "A kijelölt változatok eggyel feljebb", "The selected cases one place up", "Выбранные варианты на одну строку выше",
    "Vybrané varianty o jedno miesto vyššie", "Die ausgewählten Fälle eine Stelle nach oben",
    "Cazurile selectate cu un loc mai sus", "I casi selezionati di un posto in su",
};
constexpr Texts kDownTip = {
    "A kijelölt változatok eggyel lejjebb", "The selected cases one place down", "Выбранные варианты на одну строку ниже",
    "Vybrané varianty o jedno miesto nižšie", "Die ausgewählten Fälle eine Stelle nach unten",
    "Cazurile selectate cu un loc mai jos", "I casi selezionati di un posto in giù",
};
constexpr Texts kCompare = {
    "Összehasonlítás", "Compare", "Сравнить", "Porovnať", "Vergleichen", "Compară", "Confronta",
};
constexpr Texts kCompareTip = {
    "Két-nyolc kijelölt változat egymás mellett", "Two to eight selected cases side by side",
    "От двух до восьми выбранных вариантов рядом", "Dva až osem vybraných variantov vedľa seba",
    "Zwei bis acht ausgewählte Fälle nebeneinander", "Două până la opt cazuri selectate alăturate",
    "Da due a otto casi selezionati affiancati",
};
constexpr Texts kClose = {"Bezárás", "Close", "Закрыть", "Zavrieť", "Schließen", "Închide", "Chiudi"};
constexpr Texts kCancel = {"Mégse", "Cancel", "Отмена", "Zrušiť", "Abbrechen", "Anulează", "Annulla"};
// %1: the number of cases.
constexpr Texts kDeleteQuestion = {
    "Törli a kijelölt %1 változatot a projektből?",
    "Delete the %1 selected cases from the project?",
    "Удалить выбранные варианты (%1) из проекта?",
    "Odstrániť vybrané varianty (%1) z projektu?",
    "Die %1 ausgewählten Fälle aus dem Projekt löschen?",
    "Ștergeți cele %1 cazuri selectate din proiect?",
    "Eliminare i %1 casi selezionati dal progetto?",
};
// %1: the most cases a project holds.
constexpr Texts kFull = {
    "A projekt %1 változatot tartalmaz, ennél többet nem lehet: a többi nem került bele.",
    "The project holds %1 cases, as many as a project can: the others were not added.",
    "Проект содержит %1 вариантов, больше нельзя: остальные не добавлены.",
    "Projekt obsahuje %1 variantov, viac sa nedá: ostatné neboli pridané.",
    "Das Projekt enthält %1 Fälle, mehr geht nicht: die übrigen wurden nicht hinzugefügt.",
    "Proiectul conține %1 cazuri, cât poate cuprinde: celelalte nu au fost adăugate.",
    "Il progetto contiene %1 casi, il massimo possibile: gli altri non sono stati aggiunti.",
};
constexpr Texts kHint = {
    "▶ a főablakban látható változat. Dupla kattintás vagy Enter megnyitja a főablakban; F2 átnevezi; "
    "húzás vagy Ctrl+Fel/Le áthelyezi.",
    "▶ the case the main window shows. Double click or Enter opens a case there; F2 renames it; "
    "drag it or press Ctrl+Up/Down to move it.",
    "▶ вариант, показанный в главном окне. Двойной щелчок или Enter открывает вариант в главном окне; "
    "F2 переименовывает; перетаскивание или Ctrl+Вверх/Вниз перемещает.",
    "▶ variant zobrazený v hlavnom okne. Dvojklik alebo Enter ho otvorí v hlavnom okne; F2 ho premenuje; "
    "potiahnutie alebo Ctrl+Hore/Dole ho presunie.",
    "▶ der im Hauptfenster gezeigte Fall. Doppelklick oder Enter öffnet einen Fall dort; F2 benennt ihn um; "
    "Ziehen oder Strg+Auf/Ab verschiebt ihn.",
    "▶ cazul afișat în fereastra principală. Dublu clic sau Enter deschide un caz acolo; F2 îl redenumește; "
    "tragerea sau Ctrl+Sus/Jos îl mută.",
    "▶ il caso mostrato nella finestra principale. Doppio clic o Invio apre un caso lì; F2 lo rinomina; "
    "trascinarlo o Ctrl+Su/Giù lo sposta.",
};
constexpr Texts kCurrentTip = {
    "A főablakban látható változat", "The case the main window shows", "Вариант, показанный в главном окне",
    "Variant zobrazený v hlavnom okne", "Der im Hauptfenster gezeigte Fall", "Cazul afișat în fereastra principală",
    "Il caso mostrato nella finestra principale",
};

// Column headings (lines split by '\n') and their tooltips.
using terms::ColumnTexts;
const ColumnTexts kColNumber = {
    {"Sz.", "No.", "№", "Č.", "Nr.", "Nr.", "N."},
    {"A változat sorszáma; ▶ a főablakban látható változat", "The case's number; ▶ the case the main window shows",
     "Номер варианта; ▶ вариант, показанный в главном окне", "Číslo variantu; ▶ variant zobrazený v hlavnom okne",
     "Nummer des Falls; ▶ der im Hauptfenster gezeigte Fall", "Numărul cazului; ▶ cazul afișat în fereastra principală",
     "Numero del caso; ▶ il caso mostrato nella finestra principale"},
};
const ColumnTexts kColName = {
    {"Név", "Name", "Название", "Názov", "Name", "Nume", "Nome"},
    {"A változat neve", "The case's name", "Название варианта", "Názov variantu", "Name des Falls", "Numele cazului",
     "Nome del caso"},
};
const ColumnTexts kColFlow = {
    {"Térfogatáram", "Flow", "Расход", "Prietok", "Durchfluss", "Debit", "Portata"},
    {"Térfogatáram", "Volume flow rate", "Объемный расход", "Objemový prietok", "Volumenstrom", "Debit volumic",
     "Portata volumetrica"},
};
const ColumnTexts kColInlet = {
    {"Belépő\n°C", "Inlet\n°C", "Вход\n°C", "Vstup\n°C", "Eintritt\n°C", "Intrare\n°C", "Ingresso\n°C"},
    {"Belépő hőmérséklet, °C", "Inlet temperature, °C", "Температура на входе, °C", "Vstupná teplota, °C",
     "Eintrittstemperatur, °C", "Temperatura de intrare, °C", "Temperatura di ingresso, °C"},
};
const ColumnTexts *const kColumns[CaseColumnCount] = {
    &kColNumber,          &kColName,          &terms::TypeColumn,   &terms::SeriesColumn, &terms::ParallelColumn,
    &kColFlow,            &kColInlet,         &kColFlow,            &kColInlet,           &terms::DutyColumn,
    &terms::OutletColumn, &terms::DropColumn, &terms::OutletColumn, &terms::DropColumn,
};

constexpr const char *kMime = "application/x-ventrano-case-ids";

bool isShell(int column)
{
    return column == ColShellFlow || column == ColShellInlet || column == ColShellOutlet || column == ColShellDp;
}
bool isSpiral(int column)
{
    return column == ColSpiralFlow || column == ColSpiralInlet || column == ColSpiralOutlet || column == ColSpiralDp;
}

// A button's tooltip with its key.
QString withKey(const QString &tip, const QKeySequence &key)
{
    return key.isEmpty() ? tip : tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')');
}

} // namespace

// ---------------------------------------------------------------- CaseModel

CaseModel::CaseModel(CaseIds *ids, QObject *parent) : QAbstractTableModel(parent), ids_(ids)
{
    rows_ = ids_->document()->caseCount();
    rowIds_ = ids_->ids();
}

void CaseModel::setTexts(int nyelv, const QString &sep, const QStringList &headings, const QStringList &tips)
{
    nyelv_ = nyelv;
    sep_ = sep;
    headings_ = headings;
    tips_ = tips;
    emit headerDataChanged(Qt::Horizontal, 0, CaseColumnCount - 1);
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, CaseColumnCount - 1));
}

void CaseModel::refresh()
{
    const int n = ids_->document()->caseCount();
    if (n != rows_) {
        beginResetModel();
        rows_ = n;
        rowIds_ = ids_->ids();
        endResetModel();
    } else if (rows_ > 0) {
        rowIds_ = ids_->ids();
        emit dataChanged(index(0, 0), index(rows_ - 1, CaseColumnCount - 1));
    }
}

CaseIds::Id CaseModel::idOf(int row) const
{
    return row >= 0 && std::size_t(row) < rowIds_.size() ? rowIds_[std::size_t(row)] : 0;
}

int CaseModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }
int CaseModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : CaseColumnCount; }

QVariant CaseModel::data(const QModelIndex &index, int role) const
{
    const ProjectDocument *d = ids_->document();
    if (!index.isValid() || index.row() >= rows_ || index.row() >= d->caseCount()) return {};
    const auto row = std::size_t(index.row());
    const project::Case &c = d->project().cases[row];
    const project::Outcome &o = d->outcomes()[row];
    const rating::Case &in = c.inputs;
    const int col = index.column();
    const bool current = index.row() == d->current();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (col) {
        case ColNumber:
            return current ? QString(QChar(currentMark)) + QLatin1Char(' ') + QString::number(index.row() + 1)
                           : QString::number(index.row() + 1);
        case ColName: return QString::fromStdString(c.name);
        case ColType: return typeText(in);
        case ColSeries: return QString::number(in.Soros);
        case ColParallel: return QString::number(in.Parh);
        case ColShellFlow: return flowText(in.MVk, in.CbMVkIndex, sep_);
        case ColShellInlet: return inletText(in.tkb, sep_);
        case ColSpiralFlow: return flowText(in.MVs, in.CbMVsIndex, sep_);
        case ColSpiralInlet: return inletText(in.tsb, sep_);
        default: break;
        }
        if (!o.ok()) return col == ColDuty ? whyNotRated(in, o, nyelv_) : QString();
        switch (col) {
        case ColDuty: return numberText(o.rating.values.QLabel, 2, false, sep_);
        case ColShellOutlet: return numberText(o.rating.values.LbTKK, 2, false, sep_);
        case ColSpiralOutlet: return numberText(o.rating.values.LbTSK, 2, false, sep_);
        case ColShellDp: return numberText(o.rating.values.DPK, 3, false, sep_);
        case ColSpiralDp: return numberText(o.rating.values.DPS, 3, false, sep_);
        default: return {};
        }
    case Qt::ToolTipRole:
        if (col == ColNumber && current) return lang::text(kCurrentTip, nyelv_);
        if (col == ColName) return QString::fromStdString(c.name);
        if (col >= firstResultColumn && !o.ok()) return whyNotRated(in, o, nyelv_);
        return {};
    case Qt::FontRole:
        if (current) return fonts::sansSerif(8, true);
        return {};
    case Qt::ForegroundRole:
        if (col >= firstResultColumn && !o.ok()) return QColor(160, 0, 0);
        return {};
    case Qt::TextAlignmentRole:
        if (col == ColName || col == ColType || (col >= firstResultColumn && !o.ok()))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default: return {};
    }
}

bool CaseModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ColName || index.row() >= rows_) return false;
    // A name left blank keeps the one the case had: a case is picked by it.
    const QString name = value.toString().trimmed();
    if (name.isEmpty()) return false;
    ids_->document()->renameCase(index.row(), name);
    return true;
}

Qt::ItemFlags CaseModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == ColName) f |= Qt::ItemIsEditable;
    return f;
}

QVariant CaseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= CaseColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole: return section < headings_.size() ? headings_[section] : QString();
    case Qt::ToolTipRole: return section < tips_.size() ? tips_[section] : QString();
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default: return {};
    }
}

QStringList CaseModel::mimeTypes() const { return {QString::fromLatin1(kMime)}; }

QMimeData *CaseModel::mimeData(const QModelIndexList &indexes) const
{
    // The dragged cases by their identities, in list order.
    std::vector<int> rows;
    for (const QModelIndex &i : indexes)
        if (i.isValid()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray ids;
    for (int r : rows) ids += QByteArray::number(qulonglong(ids_->at(r))) + ' ';
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMime), ids);
    return mime;
}

bool CaseModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int, const QModelIndex &parent)
{
    if (action != Qt::MoveAction || !data || !data->hasFormat(QString::fromLatin1(kMime))) return false;
    std::vector<CaseIds::Id> dragged;
    for (const QByteArray &t : data->data(QString::fromLatin1(kMime)).split(' '))
        if (bool ok = false; !t.isEmpty()) {
            const qulonglong id = t.toULongLong(&ok);
            if (ok && ids_->indexOf(id) >= 0) dragged.push_back(id);
        }
    if (dragged.empty()) return false;
    // Where the rows go: before `row`; dropped on a row, into its place.
    int to = row;
    if (to < 0 && parent.isValid()) {
        to = parent.row();
        if (ids_->indexOf(dragged.front()) < to) ++to;
    }
    if (to < 0 || to > rows_) to = rows_;
    for (CaseIds::Id id : dragged) {
        const int from = ids_->indexOf(id);
        if (from < 0) continue;
        if (from < to) {
            ids_->move(from, to - 1);
        } else {
            ids_->move(from, to);
            ++to;
        }
    }
    // The view removes nothing: the rows moved here.
    return false;
}

// ---------------------------------------------------------------- CasesWindow

CasesWindow::CasesWindow(CaseIds *ids, QWidget *parent)
    : QWidget(parent, Qt::Window), ids_(ids), document_(ids->document()), mainF_(ids->document()->mainWindow())
{
    setObjectName(QStringLiteral("casesF"));
    setFont(fonts::sansSerif(8));
    openAction_ = new QAction(this);
    openAction_->setObjectName(QStringLiteral("casesAction"));
    openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(openAction_, &QAction::triggered, this, &CasesWindow::open);
    connect(mainF_, &TmainF::languageApplied, this, [this] { retranslate(); });
    retranslate();
}

void CasesWindow::ensureBuilt()
{
    // Its controls are made when it first opens: the program starts without
    // spending the milliseconds they take.
    if (built_) return;
    built_ = true;
    build();
    connect(ids_, &CaseIds::updated, this, &CasesWindow::refresh);
    connect(document_, &ProjectDocument::fileNameChanged, this, [this] { retranslate(); });
    retranslate();
}

void CasesWindow::showEvent(QShowEvent *e)
{
    ensureBuilt();
    QWidget::showEvent(e);
}

CasesWindow::~CasesWindow() = default;

int CasesWindow::language() const { return mainF_->language(); }

void CasesWindow::build()
{
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    layout->addLayout(left, 1);

    model_ = new CaseModel(ids_, this);
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("table"));
    header_ = new selectionwindow::GroupedHeader(table);
    table->setHorizontalHeader(header_);
    table->setModel(model_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Names are edited on F2 or the button: a double click opens the case.
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false); // Tab leaves the list, arrows move in it
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    header_->setHighlightSections(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setDefaultAlignment(Qt::AlignCenter);
    table->setDragEnabled(true);
    table->setAcceptDrops(true);
    table->setDragDropMode(QAbstractItemView::InternalMove);
    table->setDefaultDropAction(Qt::MoveAction);
    table->setDragDropOverwriteMode(false);
    table->setDropIndicatorShown(true);
    table->installEventFilter(this);
    left->addWidget(table, 1);
    connect(table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) {
        if (i.isValid()) document_->openCase(i.row());
    });
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CasesWindow::updateButtons);

    hint = new QLabel(this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    hint->setTextFormat(Qt::PlainText);
    hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    hint->setFixedHeight(hint->fontMetrics().lineSpacing() * 2 + 4);
    left->addWidget(hint);

    auto *buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    auto button = [this, buttons](const char *name) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    openButton = button("openButton");
    buttons->addSpacing(8);
    addButton = button("addButton");
    updateButton = button("updateButton");
    duplicateButton = button("duplicateButton");
    renameButton = button("renameButton");
    deleteButton = button("deleteButton");
    buttons->addSpacing(8);
    upButton = button("upButton");
    downButton = button("downButton");
    buttons->addSpacing(8);
    compareButton = button("compareButton");
    buttons->addStretch();
    closeButton = button("closeButton");

    connect(openButton, &QPushButton::clicked, this, &CasesWindow::openSelected);
    connect(addButton, &QPushButton::clicked, this, &CasesWindow::addFromMainWindow);
    connect(updateButton, &QPushButton::clicked, this, &CasesWindow::updateSelected);
    connect(duplicateButton, &QPushButton::clicked, this, &CasesWindow::duplicateSelected);
    connect(renameButton, &QPushButton::clicked, this, &CasesWindow::renameSelected);
    connect(deleteButton, &QPushButton::clicked, this, &CasesWindow::deleteSelected);
    connect(upButton, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(downButton, &QPushButton::clicked, this, [this] { moveSelected(1); });
    connect(compareButton, &QPushButton::clicked, this, &CasesWindow::compareSelected);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    // Keyboard order: the list, then the buttons from the top.
    const QList<QWidget *> order = {table,        openButton,   addButton, updateButton,  duplicateButton, renameButton,
                                    deleteButton, upButton,     downButton, compareButton, closeButton};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    refresh();
}

void CasesWindow::retranslate() { retranslate(language()); }

void CasesWindow::retranslate(int n)
{
    const lang::Language *l = lang::language(n);
    fonts::setCharset(this, l ? l->charset : lang::DefaultCharset);
    setWindowTitle(lang::text(kTitle, n) + QStringLiteral(" \u2013 ") + document_->displayName());
    openAction_->setText(lang::text(kOpenWindow, n));
    openAction_->setToolTip(withKey(lang::text(kTitle, n), openAction_->shortcut()));
    if (!built_) return;

    const struct {
        QPushButton *button;
        const Texts &text, &tip;
        QKeySequence key;
    } buttons[] = {
        {openButton, kOpen, kOpenTip, QKeySequence(Qt::Key_Return)},
        {addButton, kAdd, kAddTip, QKeySequence(Qt::Key_Insert)},
        {updateButton, kUpdate, kUpdateTip, QKeySequence()},
        {duplicateButton, kDuplicate, kDuplicateTip, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {renameButton, kRename, kRenameTip, QKeySequence(Qt::Key_F2)},
        {deleteButton, kDelete, kDeleteTip, QKeySequence(Qt::Key_Delete)},
        {upButton, kUp, kUpTip, QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {downButton, kDown, kDownTip, QKeySequence(Qt::CTRL | Qt::Key_Down)},
        {compareButton, kCompare, kCompareTip, QKeySequence()},
        {closeButton, kClose, kClose, QKeySequence(Qt::Key_Escape)},
    };
    for (const auto &b : buttons) {
        b.button->setText(lang::text(b.text, n));
        b.button->setToolTip(withKey(lang::text(b.tip, n), b.key));
    }
    hint->setText(lang::text(kHint, n));

    QStringList headings, tips;
    const QString shell = mainF_->caption(lang::LbKopeny).trimmed();
    const QString spiral = mainF_->caption(lang::LbSpiral).trimmed();
    for (int c = 0; c < CaseColumnCount; ++c) {
        headings << lang::text(kColumns[c]->heading, n);
        QString t = lang::text(kColumns[c]->tip, n);
        if (isShell(c)) t = shell + QStringLiteral(": ") + t;
        if (isSpiral(c)) t = spiral + QStringLiteral(": ") + t;
        tips << t;
    }
    model_->setTexts(n, platform::decimalSeparator(), headings, tips);
    header_->setGroups({{ColShellFlow, ColShellInlet, shell},
                        {ColSpiralFlow, ColSpiralInlet, spiral},
                        {ColShellOutlet, ColShellDp, shell},
                        {ColSpiralOutlet, ColSpiralDp, spiral}});
    fitColumns();
    updateButtons();
}

void CasesWindow::fitColumns()
{
    // Widths from the headings and the widest text a column shows; the
    // name takes what is left.
    const QFontMetrics fm(fonts::sansSerif(8, true));
    const QFontMetrics hm(header_->font());
    const QString sep = platform::decimalSeparator();
    const QString widest[CaseColumnCount] = {
        QString(QChar(currentMark)) + QStringLiteral(" 1000"), QStringLiteral("Case 1000 (a name)"),
        QStringLiteral("VR/T-4"), QStringLiteral("150"), QStringLiteral("150"),
        QStringLiteral("116") + sep + QStringLiteral("667 l/min"), QStringLiteral("-4") + sep + QStringLiteral("99"),
        QStringLiteral("116") + sep + QStringLiteral("667 l/min"), QStringLiteral("-4") + sep + QStringLiteral("99"),
        QStringLiteral("99999") + sep + QStringLiteral("99"), QStringLiteral("150") + sep + QStringLiteral("00"),
        QStringLiteral("99999") + sep + QStringLiteral("999"), QStringLiteral("150") + sep + QStringLiteral("00"),
        QStringLiteral("99999") + sep + QStringLiteral("999"),
    };
    for (int c = 0; c < CaseColumnCount; ++c) {
        int w = fm.horizontalAdvance(widest[c]) + 14;
        for (const QString &line : model_->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
            w = std::max(w, hm.horizontalAdvance(line) + 16);
        header_->resizeSection(c, w);
    }
    for (const selectionwindow::GroupedHeader::Group &g : header_->groups()) {
        int width = 0;
        for (int c = g.first; c <= g.last; ++c) width += header_->sectionSize(c);
        const int need = hm.horizontalAdvance(g.title) + 16;
        if (need <= width) continue;
        const int k = g.last - g.first + 1, extra = (need - width + k - 1) / k;
        for (int c = g.first; c <= g.last; ++c) header_->resizeSection(c, header_->sectionSize(c) + extra);
    }
    header_->setSectionResizeMode(ColName, QHeaderView::Stretch);
}

void CasesWindow::open()
{
    ensureBuilt();
    if (!placed_) {
        // First opening: below the main window's title bar, level with it,
        // kept on its screen; wide enough for every column in any language
        // with room for a name.
        placed_ = true;
        ensurePolished();
        int columns = 0, buttons = 0;
        for (int n = 0; n < lang::count(); ++n) {
            retranslate(n);
            int w = 0;
            for (int c = 0; c < CaseColumnCount; ++c)
                if (c != ColName) w += header_->sectionSize(c);
            columns = std::max(columns, w);
            for (QPushButton *b : findChildren<QPushButton *>()) buttons = std::max(buttons, b->sizeHint().width());
        }
        retranslate();
        for (QPushButton *b : findChildren<QPushButton *>()) b->setMinimumWidth(buttons);
        const QMargins m = layout()->contentsMargins();
        const int chrome = table->frameWidth() * 2 + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                           m.left() + m.right() + layout()->spacing() + 4;
        QSize size(columns + 170 + buttons + chrome, 440);
        if (const QScreen *s = mainF_->screen() ? mainF_->screen() : QGuiApplication::primaryScreen())
            size = size.boundedTo(s->availableGeometry().size()).expandedTo(minimumSizeHint());
        resize(size);
        const QRect frame = mainF_->frameGeometry();
        QPoint at(frame.center().x() - width() / 2, frame.top() + 60);
        if (const QScreen *s = mainF_->screen() ? mainF_->screen() : QGuiApplication::primaryScreen()) {
            const QRect a = s->availableGeometry();
            at.setX(std::clamp(at.x(), a.left(), std::max(a.left(), a.right() - width())));
            at.setY(std::clamp(at.y(), a.top(), std::max(a.top(), a.bottom() - height())));
        }
        move(at);
    }
    platform::showToFront(this);
    activateWindow();
    table->setFocus(Qt::OtherFocusReason);
    if (selectedRows().empty()) select({ids_->at(document_->current())}, ids_->at(document_->current()));
}

void CasesWindow::refresh()
{
    // The selection and the row with the keyboard stay on their cases
    // wherever these went (the model still names the rows as they were).
    const std::vector<CaseIds::Id> shown = model_->rowIds();
    const std::vector<CaseIds::Id> chosen = selectedIds();
    const QModelIndex cur = table->currentIndex();
    const CaseIds::Id current = cur.isValid() ? model_->idOf(cur.row()) : 0;
    model_->refresh();
    table->clearSpans();
    const std::vector<project::Outcome> &outcomes = document_->outcomes();
    for (int r = 0; r < model_->rowCount(); ++r)
        if (!outcomes[std::size_t(r)].ok()) table->setSpan(r, firstResultColumn, 1, CaseColumnCount - firstResultColumn);
    if (shown != model_->rowIds()) select(chosen, current);
    setWindowTitle(lang::text(kTitle, language()) + QStringLiteral(" \u2013 ") + document_->displayName());
    updateButtons();
}

std::vector<int> CasesWindow::selectedRows() const
{
    std::vector<int> rows;
    if (!built_) return rows;
    for (const QModelIndex &i : table->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<CaseIds::Id> CasesWindow::selectedIds() const
{
    std::vector<CaseIds::Id> out;
    for (int r : selectedRows()) out.push_back(model_->idOf(r));
    return out;
}

void CasesWindow::select(const std::vector<CaseIds::Id> &ids, CaseIds::Id current)
{
    if (!built_) return;
    QItemSelection s;
    for (CaseIds::Id id : ids)
        if (const int r = ids_->indexOf(id); r >= 0)
            s.select(model_->index(r, 0), model_->index(r, CaseColumnCount - 1));
    QItemSelectionModel *sm = table->selectionModel();
    int currentRow = ids_->indexOf(current);
    if (currentRow < 0 && !s.isEmpty()) currentRow = s.first().top();
    if (currentRow >= 0) {
        const QModelIndex at = model_->index(currentRow, std::max(0, table->currentIndex().column()));
        sm->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        table->scrollTo(at);
    }
    sm->select(s, QItemSelectionModel::ClearAndSelect);
    updateButtons();
}

void CasesWindow::updateButtons()
{
    if (!built_) return;
    const std::vector<int> rows = selectedRows();
    const int n = int(rows.size()), count = document_->caseCount();
    const bool one = n == 1;
    openButton->setEnabled(one);
    addButton->setEnabled(count < project::maxCases);
    updateButton->setEnabled(one && rows[0] != document_->current());
    duplicateButton->setEnabled(n >= 1 && count + n <= project::maxCases);
    renameButton->setEnabled(one);
    // The last case stays: a project holds one at least.
    deleteButton->setEnabled(n >= 1 && n < count);
    deleteButton->setToolTip(n >= count && count > 0
                                 ? lang::text(kKeepOne, language())
                                 : withKey(lang::text(kDeleteTip, language()), QKeySequence(Qt::Key_Delete)));
    upButton->setEnabled(n >= 1 && rows.front() > 0);
    downButton->setEnabled(n >= 1 && rows.back() < count - 1);
    compareButton->setEnabled(n >= project::minCompared && n <= project::maxCompared);
}

// ---------------------------------------------------------------- commands

void CasesWindow::openSelected()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1) return;
    document_->openCase(rows[0]);
}

void CasesWindow::addFromMainWindow()
{
    const int index = ids_->addMainWindowCase();
    if (index < 0) {
        platform::showError(lang::text(kFull, language()).arg(project::maxCases));
        return;
    }
    select({ids_->at(index)}, ids_->at(index));
}

void CasesWindow::updateSelected()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1) return;
    document_->updateCase(rows[0], mainF_->inputs());
}

void CasesWindow::duplicateSelected()
{
    const std::vector<CaseIds::Id> chosen = selectedIds();
    std::vector<CaseIds::Id> copies;
    for (CaseIds::Id id : chosen) {
        const int index = ids_->duplicate(ids_->indexOf(id));
        if (index < 0) {
            platform::showError(lang::text(kFull, language()).arg(project::maxCases));
            break;
        }
        copies.push_back(ids_->at(index));
    }
    if (!copies.empty()) select(copies, copies.front());
}

void CasesWindow::renameSelected()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1) return;
    const QModelIndex at = model_->index(rows[0], ColName);
    table->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    table->setFocus(Qt::OtherFocusReason);
    table->edit(at);
}

void CasesWindow::deleteSelected()
{
    const std::vector<CaseIds::Id> chosen = selectedIds();
    const int n = int(chosen.size());
    if (n < 1 || n >= document_->caseCount()) return;
    if (n > 1) {
        // Several at once: asked first. One goes without a question, as a
        // list's Del does; the file keeps it until the project is saved.
        QMessageBox box(QMessageBox::Question, lang::text(kTitle, language()),
                        lang::text(kDeleteQuestion, language()).arg(n), QMessageBox::NoButton, this);
        QPushButton *yes = box.addButton(lang::text(kDelete, language()), QMessageBox::DestructiveRole);
        QPushButton *no = box.addButton(lang::text(kCancel, language()), QMessageBox::RejectRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        if (box.clickedButton() != yes) return;
    }
    int first = document_->caseCount();
    for (CaseIds::Id id : chosen) first = std::min(first, ids_->indexOf(id));
    for (CaseIds::Id id : chosen)
        if (const int i = ids_->indexOf(id); i >= 0) ids_->remove(i);
    // The row that took the place of the first one deleted.
    const CaseIds::Id next = ids_->at(std::min(first, document_->caseCount() - 1));
    select({next}, next);
}

void CasesWindow::moveSelected(int by)
{
    const std::vector<CaseIds::Id> chosen = selectedIds();
    if (chosen.empty() || (by != -1 && by != 1)) return;
    std::vector<int> rows = selectedRows();
    if ((by < 0 && rows.front() == 0) || (by > 0 && rows.back() == document_->caseCount() - 1)) return;
    const CaseIds::Id current = table->currentIndex().isValid() ? model_->idOf(table->currentIndex().row()) : 0;
    if (by > 0) std::reverse(rows.begin(), rows.end());
    for (int r : rows) ids_->move(r, r + by);
    select(chosen, current);
}

void CasesWindow::compareSelected()
{
    const std::vector<CaseIds::Id> chosen = selectedIds();
    if (int(chosen.size()) < project::minCompared || int(chosen.size()) > project::maxCompared) return;
    emit compareRequested(chosen);
}

int CasesWindow::addCases(const std::vector<std::pair<QString, rating::Case>> &cases)
{
    std::vector<CaseIds::Id> added;
    for (const auto &[name, inputs] : cases) {
        const int index = ids_->add(inputs, name);
        if (index < 0) {
            platform::showError(lang::text(kFull, language()).arg(project::maxCases));
            break;
        }
        added.push_back(ids_->at(index));
    }
    if (!added.empty()) select(added, added.front());
    return int(added.size());
}

// ---------------------------------------------------------------- keys

bool CasesWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Keys an editor of a name passes on (its Return, say) are the editor's.
    const QWidget *focus = QApplication::focusWidget();
    const bool editing = focus && focus != table && table->isAncestorOf(focus);
    if (watched == table && event->type() == QEvent::KeyPress && !editing) {
        const auto *k = static_cast<QKeyEvent *>(event);
        const auto mods = k->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier) {
            switch (k->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (table->currentIndex().isValid()) document_->openCase(table->currentIndex().row());
                return true;
            case Qt::Key_F2: renameSelected(); return true;
            case Qt::Key_Delete: deleteSelected(); return true;
            case Qt::Key_Insert: addFromMainWindow(); return true;
            default: break;
            }
        } else if (mods == Qt::ControlModifier) {
            switch (k->key()) {
            case Qt::Key_Up: moveSelected(-1); return true;
            case Qt::Key_Down: moveSelected(1); return true;
            case Qt::Key_D: duplicateSelected(); return true;
            default: break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CasesWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace projects
