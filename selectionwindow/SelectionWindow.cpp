#include "selectionwindow/SelectionWindow.h"

#include "assets/assets.h"
#include "design/conditions.h"
#include "design/explain.h"
#include "mainwindow/fouling.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"
#include "languages/languages.h"
#include "languages/terms.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "selection/explain.h"
#include "selectionwindow/fields.h"
#include "selectionwindow/EntryTable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

using lang::Texts;
namespace terms = lang::terms;
using namespace selectionwindow;

namespace {

// ---------------------------------------------------------------- texts
// One per language, in the order of the language list.

constexpr Texts kTitle = {
    "Típus és kapcsolás kiválasztása", "Select type and arrangement", "Подбор типа и схемы подключения",
    "Výber typu a zapojenia",          "Typ und Schaltung auswählen", "Alegerea tipului și a conexiunii",
    "Scelta del tipo e del collegamento",
};
constexpr Texts kOpen = {
    "Típus és kapcsolás kiválasztása…", "Select type and arrangement…", "Подбор типа и схемы подключения…",
    "Výber typu a zapojenia…",          "Typ und Schaltung auswählen…", "Alegerea tipului și a conexiunii…",
    "Scelta del tipo e del collegamento…",
};
constexpr Texts kRequirements = {
    "Követelmények", "Requirements", "Требования", "Požiadavky", "Anforderungen", "Cerințe", "Requisiti",
};
constexpr Texts kDuty = {
    "Szükséges hőteljesítmény", "Required heat duty",        "Требуемая тепловая мощность",
    "Požadovaný tepelný výkon", "Erforderliche Wärmeleistung", "Puterea termică necesară",
    "Potenza termica richiesta",
};
constexpr Texts kSeries = {
    "Sorba kapcsolt egységek, legfeljebb", "Units in series, at most",      "Аппаратов последовательно, не более",
    "Jednotiek v sérii, najviac",          "Einheiten in Reihe, höchstens", "Unități în serie, cel mult",
    "Unità in serie, al massimo",
};
constexpr Texts kParallel = {
    "Párhuzamos ágak, legfeljebb", "Branches in parallel, at most", "Параллельных ветвей, не более",
    "Paralelných vetiev, najviac", "Parallele Stränge, höchstens",  "Ramuri în paralel, cel mult",
    "Rami in parallelo, al massimo",
};
constexpr Texts kTypes = {"Típusok", "Types", "Типы", "Typy", "Typen", "Tipuri", "Tipi"};
constexpr Texts kLimit = {
    "Legnagyobb nyomásesés", "Largest pressure drop",     "Наибольший перепад давлений", "Najväčší tlakový spád",
    "Größter Druckverlust",  "Cădere de presiune maximă", "Perdita di carico massima",
};
constexpr Texts kNoLimit = {
    "nincs korlát", "no limit", "без ограничения", "bez obmedzenia", "keine Grenze", "fără limită", "nessun limite",
};
constexpr Texts kFromMain = {
    "A főablakban megadott érték", "As set in the main window",     "Значение из главного окна",
    "Hodnota z hlavného okna",     "Wert aus dem Hauptfenster",     "Valoarea din fereastra principală",
    "Valore della finestra principale",
};
// %1: the number of arrangements listed.
constexpr Texts kFound = {
    "Talált elrendezések: %1. Egy sor dupla kattintása vagy az Enter átviszi a főablakba.",
    "Arrangements found: %1. Double click a row, or press Enter on it, to apply it in the main window.",
    "Найдено вариантов: %1. Двойной щелчок по строке или Enter переносит вариант в главное окно.",
    "Nájdené zapojenia: %1. Dvojklik na riadok alebo Enter ho prenesie do hlavného okna.",
    "Gefundene Anordnungen: %1. Doppelklick auf eine Zeile oder Enter übernimmt sie ins Hauptfenster.",
    "Configurații găsite: %1. Dublu clic pe un rând sau Enter o aplică în fereastra principală.",
    "Configurazioni trovate: %1. Doppio clic su una riga o Invio la applica nella finestra principale.",
};
constexpr Texts kDerivedFlow = {
    "A tervezési feltételekből számítva",      "Derived from the design conditions",
    "Вычислено из расчётных условий",          "Vypočítané z návrhových podmienok",
    "Aus den Auslegungsbedingungen berechnet", "Calculat din condițiile de proiectare",
    "Calcolato dalle condizioni di progetto",
};
constexpr Texts kApply = {"Átvétel", "Apply", "Применить", "Použiť", "Übernehmen", "Aplică", "Applica"};
constexpr Texts kAddToProject = {
    "Hozzáadás a projekthez", "Add to project",        "Добавить в проект", "Pridať do projektu",
    "Zum Projekt hinzufügen", "Adaugă la proiect",      "Aggiungi al progetto",
};
constexpr Texts kAddToProjectTip = {
    "A kijelölt sorok új változatként a projektbe, a lista térfogatáramaival, belépő hőmérsékleteivel és "
    "szennyeződési ellenállásával",
    "The selected rows as new cases of the project, with the flows, inlet temperatures and fouling resistance the "
    "list was rated with",
    "Выбранные строки как новые варианты проекта, с расходами, температурами на входе и сопротивлением "
    "загрязнения, с которыми рассчитан список",
    "Vybrané riadky ako nové varianty projektu, s prietokmi, vstupnými teplotami a odporom znečistenia, s ktorými "
    "bol zoznam vypočítaný",
    "Die ausgewählten Zeilen als neue Fälle des Projekts, mit den Durchflüssen, Eintrittstemperaturen und dem "
    "Verschmutzungswiderstand, mit denen die Liste berechnet wurde",
    "Rândurile selectate ca noi cazuri ale proiectului, cu debitele, temperaturile de intrare și rezistența de "
    "depunere cu care a fost calculată lista",
    "Le righe selezionate come nuovi casi del progetto, con le portate, le temperature di ingresso e la resistenza "
    "di sporcamento con cui è stato calcolato l'elenco",
};
// %1: the number of cases added.
constexpr Texts kAdded = {
    "A projekthez adott változatok: %1.", "Cases added to the project: %1.", "Добавлено вариантов в проект: %1.",
    "Varianty pridané do projektu: %1.",  "Dem Projekt hinzugefügte Fälle: %1.", "Cazuri adăugate la proiect: %1.",
    "Casi aggiunti al progetto: %1.",
};
constexpr Texts kClose = {"Bezárás", "Close", "Закрыть", "Zavrieť", "Schließen", "Închide", "Chiudi"};

// Column headings and their tooltips; the side columns take the quantity's
// texts; the side is named above them.
using terms::ColumnTexts;
const ColumnTexts kColUnits = {
    {"Egység", "Units", "Аппаратов", "Jednotky", "Einheiten", "Unități", "Unità"},
    {"Egységek összesen (soros × párhuzamos)", "Units in all (series × parallel)",
     "Всего аппаратов (последовательно × параллельно)", "Jednotiek spolu (v sérii × paralelne)",
     "Einheiten insgesamt (Reihe × parallel)", "Unități în total (serie × paralel)",
     "Unità in totale (serie × parallelo)"},
};
const ColumnTexts kColSurface = {
    {"Felület\nm2", "Surface\nm2", "Поверхность\nm2", "Plocha\nm2", "Fläche\nm2", "Suprafață\nm2", "Superficie\nm2"},
    {"Hőátadó felület, m2", "Heat-transfer surface, m2", "Поверхность теплообмена, m2", "Teplovýmenná plocha, m2",
     "Wärmeübertragungsfläche, m2", "Suprafața de transfer termic, m2", "Superficie di scambio termico, m2"},
};
const ColumnTexts kColMargin = {
    {"Tartalék\n%", "Margin\n%", "Запас\n%", "Rezerva\n%", "Reserve\n%", "Rezervă\n%", "Margine\n%"},
    {"A szükségesen felüli teljesítmény, %", "Duty above the required one, %", "Запас мощности сверх требуемой, %",
     "Výkon nad požadovaný, %", "Leistung über der erforderlichen, %", "Putere peste cea necesară, %",
     "Potenza oltre quella richiesta, %"},
};
const ColumnTexts kColVelocity = {
    {"Sebesség\nm/s", "Velocity\nm/s", "Скорость\nm/s", "Rýchlosť\nm/s", "Geschw.\nm/s", "Viteză\nm/s",
     "Velocità\nm/s"},
    {"Áramlási sebesség, m/s", "Flow velocity, m/s", "Скорость потока, m/s", "Rýchlosť prúdenia, m/s",
     "Strömungsgeschwindigkeit, m/s", "Viteza de curgere, m/s", "Velocità del flusso, m/s"},
};
const ColumnTexts kColFilm = {
    {"Hőátadás\nW/m2°C", "Film coeff.\nW/m2°C", "Теплоотдача\nW/m2°C", "Prestup\nW/m2°C", "Übergang\nW/m2°C",
     "Convecție\nW/m2°C", "Convezione\nW/m2°C"},
    {"Hőátadási tényező, W/m2°C", "Film coefficient, W/m2°C", "Коэффициент теплоотдачи, W/m2°C",
     "Súčiniteľ prestupu tepla, W/m2°C", "Wärmeübergangskoeffizient, W/m2°C", "Coeficient de convecție, W/m2°C",
     "Coefficiente di convezione, W/m2°C"},
};
const ColumnTexts kColOverall = {
    {"Hőátbocsátás\nW/m2°C", "Overall\nW/m2°C", "Теплопередача\nW/m2°C", "Prechod\nW/m2°C", "Durchgang\nW/m2°C",
     "Global\nW/m2°C", "Globale\nW/m2°C"},
    {"Hőátbocsátási tényező, W/m2°C", "Overall heat-transfer coefficient, W/m2°C", "Коэффициент теплопередачи, W/m2°C",
     "Súčiniteľ prechodu tepla, W/m2°C", "Wärmedurchgangskoeffizient, W/m2°C",
     "Coeficient global de transfer termic, W/m2°C", "Coefficiente globale di scambio termico, W/m2°C"},
};
const ColumnTexts *const kColumns[ColumnCount] = {
    &terms::TypeColumn,   &terms::SeriesColumn, &terms::ParallelColumn, &kColUnits,
    &kColSurface,         &terms::DutyColumn,   &kColMargin,            &terms::OutletColumn,
    &terms::DropColumn,   &kColVelocity,        &kColFilm,              &terms::OutletColumn,
    &terms::DropColumn,   &kColVelocity,        &kColFilm,              &kColOverall,
};

const QColor kShortfallText(160, 0, 0);
const QColor kDerivedText(0, 0, 160); // a value the design conditions derive

// A field's text: empty, a number, or no number (nullopt value).
struct Reading {
    bool empty = true;
    std::optional<double> value;
};
Reading read(const QLineEdit *e)
{
    Reading r;
    const QString t = e->text().trimmed();
    r.empty = t.isEmpty();
    if (!r.empty) r.value = numfield::readNumber(t, NumEdit::regionalSeparators());
    return r;
}

// A count of 1..MaxCount, or 0 for anything else.
int readCount(const QLineEdit *e)
{
    const Reading r = read(e);
    if (!r.value || !(*r.value >= 1 && *r.value <= selection::MaxCount) || std::trunc(*r.value) != *r.value)
        return 0;
    return static_cast<int>(*r.value);
}

bool sameLimit(const std::optional<double> &a, const std::optional<double> &b)
{
    if (a.has_value() != b.has_value()) return false;
    return !a || *a == *b || (std::isnan(*a) && std::isnan(*b));
}

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool sameRequest(const selection::Request &a, const selection::Request &b)
{
    const bool sameDuty = a.dutyKW == b.dutyKW || (std::isnan(a.dutyKW) && std::isnan(b.dutyKW));
    return a.MVk == b.MVk && a.CbMVkIndex == b.CbMVkIndex && a.tkb == b.tkb && a.MVs == b.MVs &&
           a.CbMVsIndex == b.CbMVsIndex && a.tsb == b.tsb && sameDuty && sameLimit(a.maxDpJacketKPa, b.maxDpJacketKPa) &&
           sameLimit(a.maxDpCoilKPa, b.maxDpCoilKPa) && a.maxSeries == b.maxSeries &&
           a.maxParallel == b.maxParallel && a.types == b.types && same(a.Rf, b.Rf) &&
           same(a.marginPercent, b.marginPercent);
}

QLabel *valueBox(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(90);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

QColor SelectionWindow::invalidColor() { return selectionwindow::invalidColor(); }

SelectionWindow::SelectionWindow(TmainF *mainF, QWidget *parent) : QWidget(parent, Qt::Window), mainF_(mainF)
{
    setObjectName(QStringLiteral("selectionF"));
    setFont(fonts::sansSerif(8));
    openAction_ = new QAction(this);
    openAction_->setObjectName(QStringLiteral("selectionAction"));
    openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    openAction_->setIcon(assets::selectionIcon());
    connect(openAction_, &QAction::triggered, this, &SelectionWindow::open);
    connect(mainF_, &TmainF::languageApplied, this, [this] { retranslate(); });
    retranslate();
}

void SelectionWindow::ensureBuilt()
{
    // Its controls are made when it first opens: the program starts without
    // spending the few milliseconds they take.
    if (built_) return;
    built_ = true;
    build();
    connectMainWindow();
    retranslate();
}

SelectionWindow::~SelectionWindow() = default;

QSize SelectionWindow::fitEveryLanguage()
{
    // The window is laid out for the widest texts of any language once, so
    // that a change of language neither resizes it nor clips a text. Done at
    // the first opening, not at the program's start: laying out seven
    // languages' texts takes a few milliseconds.
    ensurePolished();
    QSize least(0, 0);
    int tableWidth = 0;
    for (int n = 0; n < lang::count(); ++n) {
        retranslate(n);
        least = least.expandedTo(minimumSizeHint());
        int width = 0;
        for (int w : natural_) width += w;
        tableWidth = std::max(tableWidth, width);
    }
    setMinimumSize(least);
    const int chrome = table->frameWidth() * 2 + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       layout()->contentsMargins().left() + layout()->contentsMargins().right() + 4;
    retranslate();
    // High enough for a dozen rows of the list under the conditions.
    return QSize(std::max(least.width(), tableWidth + chrome), std::max(least.height(), 660));
}

void SelectionWindow::build()
{
    auto *layout = new QVBoxLayout(this);
    designBox = new DesignConditions(this);
    layout->addWidget(designBox);
    auto *top = new QHBoxLayout;
    layout->addLayout(top);

    // Requirements: the duty, the largest counts, the types.
    auto *req = new QGroupBox(this);
    requirementsBox_ = req;
    auto *rg = new QGridLayout(req);
    dutyLabel_ = new QLabel(req);
    dutyEd = field(req, "dutyEd", 80);
    rg->addWidget(dutyLabel_, 0, 0);
    rg->addWidget(dutyEd, 0, 1);
    rg->addWidget(new QLabel(QStringLiteral("kW"), req), 0, 2);
    seriesLabel_ = new QLabel(req);
    maxSeriesEd = field(req, "maxSeriesEd", 50);
    maxSeriesEd->setText(QString::number(selection::Request{}.maxSeries));
    rg->addWidget(seriesLabel_, 1, 0);
    rg->addWidget(maxSeriesEd, 1, 1);
    rangeHint_ = new QLabel(QStringLiteral("1 … %1").arg(selection::MaxCount), req);
    rg->addWidget(rangeHint_, 1, 2, 2, 1);
    parallelLabel_ = new QLabel(req);
    maxParallelEd = field(req, "maxParallelEd", 50);
    maxParallelEd->setText(QString::number(selection::Request{}.maxParallel));
    rg->addWidget(parallelLabel_, 2, 0);
    rg->addWidget(maxParallelEd, 2, 1);
    typesLabel_ = new QLabel(req);
    auto *types = new QHBoxLayout;
    for (int t = 0; t < rating::TipusCount; ++t) {
        auto *b = new QCheckBox(QString::fromLatin1(rating::TipusNevek[t]), req);
        b->setObjectName(QStringLiteral("typeBox%1").arg(t));
        b->setChecked(true);
        typeBoxes[static_cast<std::size_t>(t)] = b;
        types->addWidget(b);
    }
    types->addStretch();
    rg->addWidget(typesLabel_, 3, 0);
    rg->addLayout(types, 3, 1, 1, 3);
    rg->setColumnStretch(3, 1);
    top->addWidget(req, 1);

    // Both sides: the main window's flows and inlets, the pressure-drop limits.
    auto *sides = new QGroupBox(this);
    inputsBox_ = sides;
    auto *sg = new QGridLayout(sides);
    for (int i = 0; i < 2; ++i) {
        auto *h = new QLabel(sides);
        h->setAlignment(Qt::AlignCenter);
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        sideHeadings_.append(h);
        sg->addWidget(h, 0, 1 + 2 * i, 1, 2);
    }
    for (int row = 0; row < 3; ++row) {
        auto *l = new QLabel(sides);
        rowLabels_.append(l);
        sg->addWidget(l, 1 + row, 0);
    }
    shellFlow = valueBox(sides, "shellFlow");
    spiralFlow = valueBox(sides, "spiralFlow");
    shellInlet = valueBox(sides, "shellInlet");
    spiralInlet = valueBox(sides, "spiralInlet");
    sg->addWidget(shellFlow, 1, 1, 1, 2);
    sg->addWidget(spiralFlow, 1, 3, 1, 2);
    sg->addWidget(shellInlet, 2, 1, 1, 2);
    sg->addWidget(spiralInlet, 2, 3, 1, 2);
    dpShellEd = field(sides, "dpShellEd", 90);
    dpSpiralEd = field(sides, "dpSpiralEd", 90);
    sg->addWidget(dpShellEd, 3, 1);
    sg->addWidget(new QLabel(QStringLiteral("kPa"), sides), 3, 2);
    sg->addWidget(dpSpiralEd, 3, 3);
    sg->addWidget(new QLabel(QStringLiteral("kPa"), sides), 3, 4);
    top->addWidget(sides, 0);

    // Why nothing is listed, or how many are: three lines at most, so that the
    // window keeps its size whatever the sentence.
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    message->setFixedHeight(message->fontMetrics().lineSpacing() * 3 + 4);
    layout->addWidget(message);

    model_ = new EntryModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(SortRole);
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("table"));
    header_ = new GroupedHeader(table);
    table->setHorizontalHeader(header_);
    table->setModel(sorted_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows may go into the project at once; Enter and a double
    // click apply the row they are on.
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false); // Tab leaves the list, arrows move in it
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    header_->setSectionsClickable(true);
    header_->setSortIndicatorShown(true);
    header_->setSortIndicatorClearable(true);
    header_->setSortIndicator(-1, Qt::AscendingOrder); // the engine's order
    header_->setHighlightSections(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setDefaultAlignment(Qt::AlignCenter);
    table->setSortingEnabled(true);
    table->installEventFilter(this);
    table->viewport()->installEventFilter(this);
    layout->addWidget(table, 1);
    connect(table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { applyRow(i.row()); });
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &SelectionWindow::updateApply);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SelectionWindow::updateApply);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    addButton = new QPushButton(this);
    addButton->setObjectName(QStringLiteral("addButton"));
    applyButton = new QPushButton(this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton *b : {addButton, applyButton, closeButton}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(applyButton, &QPushButton::clicked, this, [this] {
        if (table->currentIndex().isValid()) applyRow(table->currentIndex().row());
    });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(addButton, &QPushButton::clicked, this, &SelectionWindow::addSelectedToProject);

    // Keyboard order: the design conditions, the requirements, the limits,
    // the list, the buttons.
    QList<QWidget *> order = designBox->focusOrder();
    order << QList<QWidget *>{dutyEd,       maxSeriesEd,  maxParallelEd, typeBoxes[0], typeBoxes[1],
                              typeBoxes[2], typeBoxes[3], typeBoxes[4],  dpShellEd,    dpSpiralEd,
                              table,        addButton,    applyButton,   closeButton};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

    for (QLineEdit *e : {dutyEd, dpShellEd, dpSpiralEd, maxSeriesEd, maxParallelEd})
        connect(e, &QLineEdit::textChanged, this, &SelectionWindow::refresh);
    for (QCheckBox *b : typeBoxes) connect(b, &QCheckBox::toggled, this, &SelectionWindow::refresh);
    for (QLineEdit *e : {designBox->shellOutletEd, designBox->spiralOutletEd, designBox->foulingEd, designBox->marginEd})
        connect(e, &QLineEdit::textChanged, this, &SelectionWindow::refresh);
    for (QCheckBox *b : {designBox->dutyBox, designBox->shellFlowBox, designBox->spiralFlowBox})
        connect(b, &QCheckBox::toggled, this, &SelectionWindow::refresh);
    updateApply();
}

void SelectionWindow::connectMainWindow()
{
    // The main window's fields as they are typed, reformatted or set, and
    // its unit lists.
    connect(mainF_, &TmainF::inputsEdited, this, &SelectionWindow::refresh);
}

int SelectionWindow::language() const { return mainF_->language(); }

void SelectionWindow::retranslate() { retranslate(language()); }

void SelectionWindow::retranslate(int n)
{
    const lang::Language *l = lang::language(n);
    fonts::setCharset(this, l ? l->charset : lang::DefaultCharset);
    setWindowTitle(lang::text(kTitle, n));
    openAction_->setText(lang::text(kOpen, n));
    const QString tip = lang::text(kTitle, n) + QStringLiteral(" (") +
                        openAction_->shortcut().toString(QKeySequence::NativeText) + QStringLiteral(")");
    openAction_->setToolTip(tip);
    mainF_->setSelectionButtonText(tip, lang::text(kTitle, n));
    if (!built_) return;

    requirementsBox_->setTitle(lang::text(kRequirements, n));
    dutyLabel_->setText(lang::text(kDuty, n));
    seriesLabel_->setText(lang::text(kSeries, n));
    parallelLabel_->setText(lang::text(kParallel, n));
    typesLabel_->setText(lang::text(kTypes, n));
    const QString shell = mainF_->caption(lang::LbKopeny);
    const QString spiral = mainF_->caption(lang::LbSpiral);
    sideHeadings_[0]->setText(shell);
    sideHeadings_[1]->setText(spiral);
    designBox->retranslate(n, mainF_->inputs().Rf, shell, spiral);
    rowLabels_[0]->setText(lang::text(terms::VolumeFlow, n));
    rowLabels_[1]->setText(lang::text(terms::InletTemperature, n));
    rowLabels_[2]->setText(lang::text(kLimit, n));
    for (QLabel *v : {shellFlow, spiralFlow, shellInlet, spiralInlet}) v->setToolTip(lang::text(kFromMain, n));
    for (QLineEdit *e : {dpShellEd, dpSpiralEd}) {
        e->setPlaceholderText(lang::text(kNoLimit, n));
        e->setFixedWidth(std::max(80, e->fontMetrics().horizontalAdvance(e->placeholderText()) + 16));
    }
    applyButton->setText(lang::text(kApply, n));
    addButton->setText(lang::text(kAddToProject, n));
    addButton->setToolTip(lang::text(kAddToProjectTip, n));
    closeButton->setText(lang::text(kClose, n));

    QStringList headings, tips;
    for (int c = 0; c < ColumnCount; ++c) {
        headings << lang::text(kColumns[c]->heading, n);
        QString t = lang::text(kColumns[c]->tip, n);
        if (c >= ColShellOutlet && c <= ColShellFilm) t = shell + QStringLiteral(": ") + t;
        if (c >= ColSpiralOutlet && c <= ColSpiralFilm) t = spiral + QStringLiteral(": ") + t;
        tips << t;
    }
    model_->setHeaders(headings, tips);
    header_->setGroups({{ColShellOutlet, ColShellFilm, shell}, {ColSpiralOutlet, ColSpiralFilm, spiral}});
    model_->setDecimalSeparator(platform::decimalSeparator());
    fitColumns();
    refresh();
    showMessage();
}

void SelectionWindow::fitColumns()
{
    // Widths from the headings and the widest number a column shows, set
    // once per language so that the columns stay put while the list follows
    // the fields.
    const QFontMetrics fm(table->font());
    const QFontMetrics hm(header_->font());
    // Any column may be the sorted one: its heading keeps room for the
    // sort arrow beside the text (the style draws the text in what the
    // arrow and the margins leave), which would otherwise be cut short.
    const int margin = header_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header_);
    const int arrow = header_->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header_) + 3 * margin;
    static const char *const widest[ColumnCount] = {"VR/T-4", "150",     "150",    "22500", "31500.000", "99999.99",
                                                    "99999.9", "150.00", "9999.999", "99.99", "999999",    "150.00",
                                                    "9999.999", "99.99", "999999",  "99999"};
    for (int c = 0; c < ColumnCount; ++c) {
        int w = fm.horizontalAdvance(QString::fromLatin1(widest[c])) + 14;
        for (const QString &line : model_->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
            w = std::max(w, hm.horizontalAdvance(line) + arrow + 2);
        header_->resizeSection(c, w);
    }
    // A side's title fits over its four columns.
    for (const GroupedHeader::Group &g : header_->groups()) {
        int width = 0;
        for (int c = g.first; c <= g.last; ++c) width += header_->sectionSize(c);
        const int need = hm.horizontalAdvance(g.title) + 16;
        if (need <= width) continue;
        const int n = g.last - g.first + 1, extra = (need - width + n - 1) / n;
        for (int c = g.first; c <= g.last; ++c) header_->resizeSection(c, header_->sectionSize(c) + extra);
    }
    natural_.clear();
    for (int c = 0; c < ColumnCount; ++c) natural_ << header_->sectionSize(c);
    spreadColumns();
}

void SelectionWindow::spreadColumns()
{
    // Room the columns do not need goes to all of them alike, so that the
    // list fills its width in every language.
    if (natural_.size() != ColumnCount) return;
    int need = 0;
    for (int w : natural_) need += w;
    const int extra = std::max(0, table->viewport()->width() - need);
    for (int c = 0; c < ColumnCount; ++c)
        header_->resizeSection(c, natural_[c] + extra / ColumnCount + (c < extra % ColumnCount ? 1 : 0));
}

void SelectionWindow::open()
{
    ensureBuilt();
    if (!placed_) {
        // First opening: under the main window's title bar, level with it,
        // kept on its screen.
        placed_ = true;
        QSize size = fitEveryLanguage();
        if (const QScreen *s = mainF_->screen() ? mainF_->screen() : QGuiApplication::primaryScreen())
            size = size.boundedTo(s->availableGeometry().size()).expandedTo(minimumSize());
        resize(size);
        QRect frame = mainF_->frameGeometry();
        QPoint at(frame.center().x() - width() / 2, frame.top() + 40);
        if (const QScreen *s = mainF_->screen() ? mainF_->screen() : QGuiApplication::primaryScreen()) {
            const QRect a = s->availableGeometry();
            at.setX(std::clamp(at.x(), a.left(), std::max(a.left(), a.right() - width())));
            at.setY(std::clamp(at.y(), a.top(), std::max(a.top(), a.bottom() - height())));
        }
        move(at);
    }
    platform::showToFront(this);
    activateWindow();
    // The duty, unless the design conditions derive it.
    QLineEdit *first = dutyEd->isEnabled() ? dutyEd : designBox->shellOutletEd;
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
}

void SelectionWindow::showEvent(QShowEvent *e)
{
    ensureBuilt();
    QWidget::showEvent(e);
    refresh();
}

selection::Request SelectionWindow::readRequest() const
{
    selection::Request r;
    const rating::Case c = mainF_->inputs();
    r.MVk = c.MVk;
    r.CbMVkIndex = c.CbMVkIndex;
    r.tkb = c.tkb;
    r.MVs = c.MVs;
    r.CbMVsIndex = c.CbMVsIndex;
    r.tsb = c.tsb;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Reading duty = read(dutyEd);
    r.dutyKW = duty.value ? *duty.value : nan;
    const std::pair<QLineEdit *, std::optional<double> *> limits[] = {{dpShellEd, &r.maxDpJacketKPa},
                                                                      {dpSpiralEd, &r.maxDpCoilKPa}};
    for (const auto &[e, limit] : limits) {
        const Reading l = read(e);
        if (!l.empty) *limit = l.value ? *l.value : nan;
    }
    r.maxSeries = readCount(maxSeriesEd);
    r.maxParallel = readCount(maxParallelEd);
    for (std::size_t t = 0; t < r.types.size(); ++t) r.types[t] = typeBoxes[t]->isChecked();
    return r;
}

void SelectionWindow::showRequest(const selection::Request &r)
{
    const TmainF::InputTexts in = mainF_->inputTexts();
    shellInlet->setText(in.jacketInlet + QStringLiteral(" °C"));
    spiralInlet->setText(in.coilInlet + QStringLiteral(" °C"));
    // A flow the design conditions derive shows in place of the main
    // window's, slanted, with the digits a flow field keeps.
    const int n = language();
    const bool balanced = reading_.used && refusal_.isEmpty();
    const std::pair<QLabel *, QString> flows[] = {
        {shellFlow, balanced && !reading_.conditions.MVk ? QString() : in.jacketFlow},
        {spiralFlow, balanced && !reading_.conditions.MVs ? QString() : in.coilFlow}};
    for (const auto &[label, fromMain] : flows) {
        const bool coil = label == spiralFlow;
        QString text = fromMain;
        if (text.isNull())
            text = numfield::formatNumber(coil ? r.MVs : r.MVk, numfield::FormatPattern::parse(u"0.##"),
                                          NumEdit::regionalSeparators());
        label->setText(text + QLatin1Char(' ') + (coil ? in.coilUnit : in.jacketUnit));
        QFont f = label->font();
        f.setItalic(fromMain.isNull());
        label->setFont(f);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, fromMain.isNull() ? kDerivedText : palette().color(QPalette::WindowText));
        label->setPalette(p);
        label->setToolTip(lang::text(fromMain.isNull() ? kDerivedFlow : kFromMain, n));
    }

    // A field is marked when it holds text that is no valid value; an empty
    // one is not (no duty yet, no limit). The duty is not read while the
    // design conditions derive it.
    dutyEd->setEnabled(!(reading_.used && designBox->dutyBox->isChecked()));
    markInvalid(dutyEd, dutyEd->isEnabled() && !read(dutyEd).empty &&
                            !(r.dutyKW >= selection::MinDutyKW && r.dutyKW <= selection::MaxDutyKW));
    markInvalid(dpShellEd, r.maxDpJacketKPa && !(*r.maxDpJacketKPa >= 0));
    markInvalid(dpSpiralEd, r.maxDpCoilKPa && !(*r.maxDpCoilKPa >= 0));
    markInvalid(maxSeriesEd, r.maxSeries == 0);
    markInvalid(maxParallelEd, r.maxParallel == 0);
}

void SelectionWindow::refresh()
{
    if (!isVisible()) return; // a closed window follows nothing
    selection::Request r = readRequest();

    // The design conditions: the fouling and the margin go into the request
    // as they are; outlets given take the place of the duty or of flows,
    // which the balance derives (on a refusal nothing is listed).
    const rating::Case m = mainF_->inputs();
    const int n = language();
    reading_ = designBox->read(m, r.dutyKW);
    r.Rf = reading_.Rf;
    r.marginPercent = reading_.marginPercent;
    balance_ = {};
    QString refusal;
    if (reading_.used) {
        if (!reading_.countsAgree()) {
            refusal = DesignConditions::countSentence(reading_, n);
        } else {
            balance_ = design::designRequest(reading_.conditions, r);
            if (!balance_.ok())
                refusal = QString::fromStdString(design::explainBalance(
                    reading_.conditions, balance_.why, n, platform::decimalSeparator().toStdString()));
        }
    }
    const bool sameRefusal = refusal == refusal_;
    refusal_ = refusal;
    designBox->foulingEd->setPlaceholderText(mainwindow::foulingText(m.Rf, platform::decimalSeparator()));
    designBox->showReading(reading_, reading_.used && refusal.isEmpty() ? &balance_ : nullptr, n);
    showRequest(r);
    if (asked_ && sameRequest(r, request_) && sameRefusal) return;

    // Keep the chosen arrangement chosen when it is listed again.
    int tipus = -1, soros = 0, parh = 0;
    if (const QModelIndex cur = table->currentIndex(); cur.isValid()) {
        const selection::Entry &e = model_->entries()[static_cast<std::size_t>(sorted_->mapToSource(cur).row())];
        tipus = e.Tipus, soros = e.Soros, parh = e.Parh;
    }
    request_ = r;
    if (refusal_.isEmpty()) {
        result_ = selection::select(r);
        ++selections_;
    } else {
        result_ = {};
    }
    asked_ = true;
    model_->setEntries(result_.entries);
    int row = model_->rowOf(tipus, soros, parh);
    if (row < 0 && !result_.entries.empty()) row = 0;
    if (row >= 0) {
        const QModelIndex at = sorted_->mapFromSource(model_->index(row, 0));
        table->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table->scrollTo(at);
    }
    showMessage();
    updateApply();
}

void SelectionWindow::showMessage()
{
    if (!asked_) {
        message->clear();
        return;
    }
    const int n = language();
    QPalette p = message->palette();
    if (!refusal_.isEmpty()) {
        message->setText(refusal_);
        p.setColor(QPalette::WindowText, kShortfallText);
    } else if (result_.entries.empty()) {
        message->setText(QString::fromStdString(selection::explain(request_, result_.why, n,
                                                                   platform::decimalSeparator().toStdString())));
        p.setColor(QPalette::WindowText, kShortfallText);
    } else {
        message->setText(lang::text(kFound, n).arg(result_.entries.size()));
        p.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    }
    message->setPalette(p);
}

void SelectionWindow::updateApply()
{
    const int selected = int(table->selectionModel()->selectedRows().size());
    applyButton->setEnabled(table->currentIndex().isValid() && selected <= 1);
    addButton->setEnabled(selected >= 1);
}

QString SelectionWindow::caseName(int tipus, int soros, int parh)
{
    const QString type = tipus >= 0 && tipus < rating::TipusCount ? QString::fromLatin1(rating::TipusNevek[tipus])
                                                                   : QString();
    return type + QLatin1Char(' ') + QString::number(soros) + QChar(0x00D7) + QString::number(parh);
}

SelectionWindow::NamedCases SelectionWindow::selectedCases() const
{
    NamedCases out;
    if (!built_) return out;
    QList<int> rows;
    for (const QModelIndex &i : table->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    // The flows, inlets and fouling the list was rated with (the main
    // window's, or what the design conditions give), and the rest of the
    // main window's case: each case rates as its row shows.
    rating::Case base = mainF_->inputs();
    base.MVk = request_.MVk, base.CbMVkIndex = request_.CbMVkIndex, base.tkb = request_.tkb;
    base.MVs = request_.MVs, base.CbMVsIndex = request_.CbMVsIndex, base.tsb = request_.tsb;
    base.Rf = request_.Rf;
    for (int row : rows) {
        const selection::Entry &e =
            model_->entries()[static_cast<std::size_t>(sorted_->mapToSource(sorted_->index(row, 0)).row())];
        rating::Case c = base;
        c.Tipus = e.Tipus, c.Soros = e.Soros, c.Parh = e.Parh;
        out.emplace_back(caseName(e.Tipus, e.Soros, e.Parh), c);
    }
    return out;
}

void SelectionWindow::addSelectedToProject()
{
    const NamedCases cases = selectedCases();
    if (!cases.empty()) emit addToProjectRequested(cases);
}

void SelectionWindow::showAdded(int count)
{
    if (!built_ || count <= 0) return;
    message->setText(lang::text(kAdded, language()).arg(count));
    QPalette p = message->palette();
    p.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    message->setPalette(p);
}

void SelectionWindow::applyRow(int row)
{
    if (!built_) return;
    const QModelIndex at = sorted_->index(row, 0);
    if (!at.isValid()) return;
    const selection::Entry &e = model_->entries()[static_cast<std::size_t>(sorted_->mapToSource(at).row())];
    // The arrangement, the flows the list was made for (those the design
    // conditions derived) and its fouling: the main window then shows the
    // row's numbers.
    rating::Case c = mainF_->inputs();
    c.Tipus = e.Tipus, c.Soros = e.Soros, c.Parh = e.Parh;
    if (reading_.used && refusal_.isEmpty()) c.MVk = request_.MVk, c.MVs = request_.MVs;
    c.Rf = request_.Rf;
    mainF_->setInputs(c);
    emit applied();
}

bool SelectionWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table->viewport() && event->type() == QEvent::Resize) spreadColumns();
    // Enter on a row of the list applies it.
    if (watched == table && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && table->currentIndex().isValid()) {
            applyRow(table->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SelectionWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
