#include "projectwindows/CompareWindow.h"

#include "languages/languages.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "projectwindows/casetexts.h"
#include "widgets/fonts.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using lang::Texts;

namespace projects {

namespace {

// Cells drawn without the keyboard's frame: the table is read, not edited.
class PlainCells : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

constexpr Texts kTooFew = {
    "Az összehasonlított változatokból kettőnél kevesebb van a projektben. Jelöljön ki két-nyolc változatot "
    "a változatok ablakában, és kattintson az Összehasonlítás gombra.",
    "Fewer than two of the compared cases are in the project. Choose two to eight cases in the cases window "
    "and click Compare.",
    "В проекте меньше двух сравниваемых вариантов. Выберите от двух до восьми вариантов в окне вариантов "
    "и нажмите «Сравнить».",
    "V projekte sú menej ako dva porovnávané varianty. Vyberte dva až osem variantov v okne variantov "
    "a kliknite na Porovnať.",
    "Von den verglichenen Fällen sind weniger als zwei im Projekt. Wählen Sie im Fenster der Fälle zwei bis "
    "acht Fälle und klicken Sie auf Vergleichen.",
    "În proiect sunt mai puțin de două dintre cazurile comparate. Alegeți două până la opt cazuri în "
    "fereastra cazurilor și apăsați Compară.",
    "Nel progetto ci sono meno di due dei casi confrontati. Scegliere da due a otto casi nella finestra dei "
    "casi e fare clic su Confronta.",
};
constexpr Texts kPrint = {
    "nyomtatás összehasonlítással", "print with comparison", "печать со сравнением", "tlač s porovnaním",
    "Druck mit Vergleich",          "tipărire cu comparație", "stampa con confronto",
};
constexpr Texts kPrintTip = {
    "A teljes jelentés (a főablak nyomtató gombja) ezzel az összehasonlítással zárul.",
    "The full report (the printer button of the main window) ends with this comparison.",
    "Полный отчёт (кнопка принтера в главном окне) завершается этим сравнением.",
    "Úplná správa (tlačidlo tlačiarne v hlavnom okne) končí týmto porovnaním.",
    "Der vollständige Bericht (Druckerknopf des Hauptfensters) endet mit diesem Vergleich.",
    "Raportul complet (butonul imprimantei din fereastra principală) se încheie cu această comparație.",
    "Il rapporto completo (pulsante della stampante nella finestra principale) termina con questo confronto.",
};
constexpr Texts kCopy = {"Másolás", "Copy", "Копировать", "Kopírovať", "Kopieren", "Copiază", "Copia"};
constexpr Texts kCopyTip = {
    "A táblázat a vágólapra: tabulátorral tagolt szöveg és HTML",
    "The table to the clipboard: tab-separated text and HTML",
    "Таблица в буфер обмена: текст с табуляциями и HTML",
    "Tabuľka do schránky: text oddelený tabulátormi a HTML",
    "Die Tabelle in die Zwischenablage: Text mit Tabulatoren und HTML",
    "Tabelul în clipboard: text separat prin tabulatori și HTML",
    "La tabella negli appunti: testo separato da tabulazioni e HTML",
};
constexpr Texts kClose = {"Bezárás", "Close", "Закрыть", "Zavrieť", "Schließen", "Închide", "Chiudi"};

} // namespace

CompareWindow::CompareWindow(CaseIds *ids, QWidget *parent)
    : QWidget(parent, Qt::Window), ids_(ids), document_(ids->document()), mainF_(ids->document()->mainWindow())
{
    setObjectName(QStringLiteral("compareF"));
    setFont(fonts::sansSerif(8));
}

void CompareWindow::ensureBuilt()
{
    // Made when cases are first compared, not at the program's start.
    if (built_) return;
    built_ = true;
    build();
    connect(ids_, &CaseIds::updated, this, &CompareWindow::refresh);
    connect(document_, &ProjectDocument::fileNameChanged, this, &CompareWindow::retranslate);
    connect(mainF_, &TmainF::languageApplied, this, &CompareWindow::retranslate);
    retranslate();
}

void CompareWindow::showEvent(QShowEvent *e)
{
    ensureBuilt();
    QWidget::showEvent(e);
}

CompareWindow::~CompareWindow() = default;

int CompareWindow::language() const { return mainF_->language(); }

void CompareWindow::build()
{
    auto *layout = new QVBoxLayout(this);
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    message->setFixedHeight(message->fontMetrics().lineSpacing() * 3 + 4);
    layout->addWidget(message);

    grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItemDelegate(new PlainCells(grid));
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::StrongFocus);
    grid->setWordWrap(false);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    layout->addWidget(grid, 1);

    auto *row = new QHBoxLayout;
    printBox = new QCheckBox(this);
    printBox->setObjectName(QStringLiteral("printBox"));
    row->addWidget(printBox);
    row->addStretch();
    copyButton = new QPushButton(this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton *b : {copyButton, closeButton}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        row->addWidget(b);
    }
    layout->addLayout(row);

    copyAction = new QAction(this);
    copyAction->setObjectName(QStringLiteral("copyAction"));
    copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, &CompareWindow::copy);
    connect(copyButton, &QPushButton::clicked, this, &CompareWindow::copy);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    setTabOrder(grid, printBox);
    setTabOrder(printBox, copyButton);
    setTabOrder(copyButton, closeButton);
}

void CompareWindow::fitTable()
{
    // As wide as its columns and as high as its rows (within the screen):
    // the window grows for them and never shrinks under the user.
    const QMargins m = layout()->contentsMargins();
    const int frame = grid->frameWidth() * 2, scroll = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int w = grid->verticalHeader()->sizeHint().width() + grid->horizontalHeader()->length() + frame + scroll +
                  m.left() + m.right() + 2;
    const int h = grid->horizontalHeader()->sizeHint().height() + grid->verticalHeader()->length() + frame +
                  message->height() + std::max(printBox->sizeHint().height(), copyButton->sizeHint().height()) +
                  2 * layout()->spacing() + m.top() + m.bottom() + 2;
    QSize size = this->size().expandedTo(QSize(std::max(w, 420), h));
    if (const QScreen *s = mainF_->screen() ? mainF_->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
}

void CompareWindow::retranslate()
{
    const int n = language();
    const lang::Language *l = lang::language(n);
    fonts::setCharset(this, l ? l->charset : lang::DefaultCharset);
    setWindowTitle(pageTitle());
    printBox->setText(lang::text(kPrint, n));
    printBox->setToolTip(lang::text(kPrintTip, n));
    copyButton->setText(lang::text(kCopy, n));
    const QString key = copyAction->shortcut().toString(QKeySequence::NativeText);
    copyButton->setToolTip(lang::text(kCopyTip, n) + QStringLiteral(" (") + key + QLatin1Char(')'));
    copyAction->setText(lang::text(kCopy, n));
    closeButton->setText(lang::text(kClose, n));
    refresh();
    if (isVisible()) fitTable();
}

void CompareWindow::compare(const std::vector<CaseIds::Id> &cases)
{
    const std::vector<int> at = ids_->indicesOf(cases);
    if (int(at.size()) < project::minCompared || int(at.size()) > project::maxCompared) return;
    ensureBuilt();
    compared_ = cases;
    refresh();
    if (!placed_) {
        placed_ = true;
        const QRect frame = mainF_->frameGeometry();
        move(frame.left() + 40, frame.top() + 80);
        resize(0, 0);
    }
    fitTable();
    platform::showToFront(this);
    activateWindow();
    grid->setFocus(Qt::OtherFocusReason);
}

std::vector<int> CompareWindow::cases() const { return ids_->indicesOf(compared_); }

void CompareWindow::refresh()
{
    const int n = language();
    const std::vector<int> at = cases();
    comparison_ = project::compare(document_->project(), document_->outcomes(), at);
    setWindowTitle(pageTitle());
    copyButton->setEnabled(comparison_.has_value());
    copyAction->setEnabled(comparison_.has_value());
    if (!comparison_) {
        message->setText(lang::text(kTooFew, n));
        grid->clear();
        grid->setRowCount(0);
        grid->setColumnCount(0);
        return;
    }
    message->setText(comparisonLegend(n));

    // The table as Copy gives it: its first row heads the columns, its
    // first cell in each row heads the row.
    const platform::Table t = *table();
    const int columns = int(t.rows.front().size()) - 1;
    grid->clear();
    grid->setColumnCount(columns);
    grid->setRowCount(int(t.rows.size()) - 1);
    QStringList headings;
    for (int c = 1; c <= columns; ++c) headings << t.rows.front()[c].text;
    grid->setHorizontalHeaderLabels(headings);
    QFont bold = grid->font();
    bold.setBold(true);
    const QColor tint(QString::fromLatin1(platform::markedTint));
    for (int r = 1; r < t.rows.size(); ++r) {
        const QList<platform::TableCell> &cells = t.rows[r];
        auto *caption = new QTableWidgetItem(cells.front().text);
        grid->setVerticalHeaderItem(r - 1, caption);
        for (int c = 1; c < cells.size() && c <= columns; ++c) {
            const platform::TableCell &cell = cells[c];
            auto *item = new QTableWidgetItem(cell.text);
            item->setTextAlignment(cell.number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
            if (cell.marked) {
                item->setFont(bold);
                item->setBackground(tint);
            }
            if (cell.text.size() > 24) item->setToolTip(cell.text);
            grid->setItem(r - 1, c - 1, item);
        }
    }
    for (int c = 0; c < columns; ++c) grid->horizontalHeaderItem(c)->setToolTip(headings[c]);
    grid->resizeColumnsToContents();
    // A reason a case is not rated may be long: a name's width is enough.
    for (int c = 1; c < columns; ++c) grid->setColumnWidth(c, std::min(grid->columnWidth(c), 220));
}

std::optional<platform::Table> CompareWindow::table() const
{
    if (!comparison_) return std::nullopt;
    return comparisonTable(document_->project(), document_->outcomes(), *comparison_, language(),
                           platform::decimalSeparator());
}

void CompareWindow::copy()
{
    if (const std::optional<platform::Table> t = table()) platform::copyTable(*t);
}

bool CompareWindow::printWithComparison() const { return built_ && printBox->isChecked(); }

QString CompareWindow::pageTitle() const
{
    return comparisonTitle(language()) + QStringLiteral(" \u2013 ") + document_->displayName();
}

QString CompareWindow::legend() const { return comparisonLegend(language()); }

void CompareWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace projects
