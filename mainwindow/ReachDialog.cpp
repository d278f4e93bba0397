#include "mainwindow/ReachDialog.h"

#include "design/explain.h"
#include "languages/languages.h"
#include "mainwindow/fouling.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "rating/fields.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace mainwindow {

namespace {

using design::Input;
using design::Output;
using lang::Texts;

// One per language, in the order of the language list.
constexpr Texts kTitle = {
    "Érték elérése",       "Reach a value",         "Достижение значения",    "Dosiahnutie hodnoty",
    "Einen Wert erreichen", "Atingerea unei valori", "Raggiungere un valore",
};
constexpr Texts kEntry = {
    "Érték elérése…",       "Reach a value…",         "Достижение значения…",    "Dosiahnutie hodnoty…",
    "Einen Wert erreichen…", "Atingerea unei valori…", "Raggiungere un valore…",
};
constexpr Texts kResult = {"Eredmény", "Result", "Результат", "Výsledok", "Ergebnis", "Rezultat", "Risultato"};
constexpr Texts kTarget = {
    "Célérték", "Target value", "Целевое значение", "Cieľová hodnota", "Zielwert", "Valoare țintă",
    "Valore obiettivo",
};
constexpr Texts kInput = {
    "Változtatott adat",  "Input to change",   "Изменяемая величина", "Menená veličina",
    "Zu ändernde Größe", "Mărimea modificată", "Grandezza da modificare",
};
constexpr Texts kFound = {
    "Talált érték", "Value found", "Найденное значение", "Nájdená hodnota", "Gefundener Wert", "Valoarea găsită",
    "Valore trovato",
};
constexpr Texts kGives = {
    "Eredmény ezzel", "Result with it", "Результат при нём", "Výsledok s ňou", "Ergebnis damit",
    "Rezultatul cu ea", "Risultato con esso",
};
// %1: the input's value in the main window now.
constexpr Texts kNow = {"(most %1)", "(now %1)", "(сейчас %1)", "(teraz %1)", "(jetzt %1)", "(acum %1)", "(ora %1)"};
constexpr Texts kHint = {
    "A mező által felvehető értékek közül a célhoz legközelebbi eredményt adó. Az Átvétel beírja a főablakba.",
    "Of the values the field holds, the one whose result lies nearest the target. Apply puts it into the main "
    "window.",
    "Из значений, которые принимает поле, то, при котором результат ближе всего к цели. «Применить» переносит его "
    "в главное окно.",
    "Z hodnôt, ktoré pole pripúšťa, tá, pri ktorej je výsledok najbližšie k cieľu. „Použiť“ ju prenesie do hlavného "
    "okna.",
    "Von den Werten, die das Feld annimmt, der, dessen Ergebnis dem Ziel am nächsten liegt. „Übernehmen“ setzt ihn "
    "ins Hauptfenster.",
    "Dintre valorile pe care le acceptă câmpul, cea al cărei rezultat este cel mai aproape de țintă. „Aplică” o "
    "trece în fereastra principală.",
    "Tra i valori ammessi dal campo, quello il cui risultato è più vicino all'obiettivo. «Applica» lo inserisce "
    "nella finestra principale.",
};
constexpr Texts kApply = {"Átvétel", "Apply", "Применить", "Použiť", "Übernehmen", "Aplică", "Applica"};
constexpr Texts kClose = {"Bezárás", "Close", "Закрыть", "Zavrieť", "Schließen", "Închide", "Chiudi"};

constexpr Output kOutputs[] = {Output::Duty, Output::JacketOutlet, Output::CoilOutlet, Output::JacketDrop,
                               Output::CoilDrop};
constexpr Input kInputs[] = {Input::JacketFlow, Input::CoilFlow, Input::JacketInlet, Input::CoilInlet,
                             Input::Fouling};

const QColor kBadText(160, 0, 0);
const QColor kInvalid(255, 210, 210);

QString sep() { return QString(NumEdit::regionalSeparators().decimal); }

// A name as a label or a list entry writes it: its first letter capital.
QString capitalised(const std::string &s)
{
    QString t = QString::fromStdString(s);
    if (!t.isEmpty()) t[0] = t[0].toUpper();
    return t;
}

const char *unitOf(Output o)
{
    switch (o) {
    case Output::Duty: return "kW";
    case Output::JacketOutlet:
    case Output::CoilOutlet: return "\u00B0C";
    case Output::JacketDrop:
    case Output::CoilDrop: return "kPa";
    }
    return "";
}
int decimalsOf(Output o) { return o == Output::JacketDrop || o == Output::CoilDrop ? 3 : 2; }

// A result's number as the main window writes it (without its unit).
QString resultNumber(Output o, double v)
{
    return QString::fromStdString(rating::FixedText(v, decimalsOf(o), sep().toStdString()));
}

// An input's value as its field shows it, with its unit.
QString inputText(Input in, double v, const rating::Case &c)
{
    if (in == Input::Fouling) return foulingText(v, sep()) + QStringLiteral(" m²·K/W");
    const QString number =
        numfield::formatNumber(v, numfield::FormatPattern::parse(u"0.##"), NumEdit::regionalSeparators());
    switch (in) {
    case Input::JacketFlow: return number + QLatin1Char(' ') + QLatin1String(rating::flowUnitName(c.CbMVkIndex));
    case Input::CoilFlow: return number + QLatin1Char(' ') + QLatin1String(rating::flowUnitName(c.CbMVsIndex));
    default: return number + QStringLiteral(" °C");
    }
}

bool sameCase(const rating::Case &a, const rating::Case &b)
{
    auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return a.Tipus == b.Tipus && a.Soros == b.Soros && a.Parh == b.Parh && same(a.MVk, b.MVk) &&
           a.CbMVkIndex == b.CbMVkIndex && same(a.tkb, b.tkb) && same(a.MVs, b.MVs) && a.CbMVsIndex == b.CbMVsIndex &&
           same(a.tsb, b.tsb) && same(a.Rf, b.Rf);
}

void setTextColor(QLabel *l, const QColor &c)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, c);
    l->setPalette(p);
}

} // namespace

ReachDialog::ReachDialog(TmainF *mainF) : QDialog(mainF), mainF_(mainF), openAction_(new QAction(mainF))
{
    setObjectName(QStringLiteral("reachF"));
    openAction_->setObjectName(QStringLiteral("ReachAction"));
    connect(openAction_, &QAction::triggered, this, [this] {
        const std::optional<Output> o = fromMenu_;
        fromMenu_.reset();
        openDialog(o);
    });
    mainF_->addContextAction(openAction_);
    connect(mainF_, &TmainF::contextMenuOpening, this, &ReachDialog::menuOpening);
    connect(mainF_, &TmainF::languageApplied, this, [this] { retranslate(); });
    retranslate();
}

ReachDialog::~ReachDialog() = default;

std::optional<Output> ReachDialog::resultShownBy(const TmainF &w, const QWidget *label)
{
    if (!label) return std::nullopt;
    if (label == w.QLabel) return Output::Duty;
    if (label == w.LbTKK || label == w.LbKilhomK) return Output::JacketOutlet;
    if (label == w.LbTSK || label == w.LbKilhomS) return Output::CoilOutlet;
    if (label == w.DPK || label == w.LbNyomasesesK) return Output::JacketDrop;
    if (label == w.DPS || label == w.LbNyomasesesS) return Output::CoilDrop;
    return std::nullopt;
}

void ReachDialog::menuOpening(QMenu *menu, QWidget *under)
{
    fromMenu_ = resultShownBy(*mainF_, under);
    if (fromMenu_) {
        // Over a result the entry is the menu's own choice: shown in bold,
        // and Enter takes it.
        menu->setDefaultAction(openAction_);
        menu->setActiveAction(openAction_);
    }
}

Output ReachDialog::chosenResult() const
{
    const int i = resultList ? resultList->currentIndex() : 0;
    return kOutputs[i >= 0 && i < 5 ? i : 0];
}

Input ReachDialog::chosenInput() const
{
    const int i = inputList ? inputList->currentIndex() : 0;
    return kInputs[i >= 0 && i < 5 ? i : 0];
}

void ReachDialog::build()
{
    setFont(fonts::sansSerif(8));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);

    auto named = [](auto *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        w->setAccessibleName(QString::fromLatin1(name));
        return w;
    };
    resultLabel_ = new QLabel(this);
    resultList = named(new QComboBox(this), "resultList");
    for (int i = 0; i < 5; ++i) resultList->addItem(QString());
    targetLabel_ = new QLabel(this);
    targetEd = named(new QLineEdit(this), "targetEd");
    targetEd->setAlignment(Qt::AlignRight);
    targetEd->setMaxLength(40);
    targetEd->setFixedWidth(targetEd->fontMetrics().horizontalAdvance(QStringLiteral("-99999.999")) + 16);
    targetEd->setProperty("invalid", false);
    targetUnit = named(new QLabel(this), "targetUnit");
    targetUnit->setFixedWidth(targetUnit->fontMetrics().horizontalAdvance(QStringLiteral("kPa")) + 4);
    inputLabel_ = new QLabel(this);
    inputList = named(new QComboBox(this), "inputList");
    for (int i = 0; i < 5; ++i) inputList->addItem(QString());
    resultLabel_->setBuddy(resultList);
    targetLabel_->setBuddy(targetEd);
    inputLabel_->setBuddy(inputList);

    grid->addWidget(resultLabel_, 0, 0);
    grid->addWidget(resultList, 0, 1, 1, 2);
    grid->addWidget(targetLabel_, 1, 0);
    auto *target = new QHBoxLayout;
    target->addWidget(targetEd);
    target->addWidget(targetUnit);
    target->addStretch();
    grid->addLayout(target, 1, 1, 1, 2);
    grid->addWidget(inputLabel_, 2, 0);
    grid->addWidget(inputList, 2, 1, 1, 2);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 3, 0, 1, 3);

    answerLabel_ = new QLabel(this);
    answerValue = named(new QLabel(this), "answerValue");
    givesLabel_ = new QLabel(this);
    resultValue = named(new QLabel(this), "resultValue");
    for (QLabel *l : {answerValue, resultValue}) {
        l->setTextFormat(Qt::PlainText);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    grid->addWidget(answerLabel_, 4, 0);
    grid->addWidget(answerValue, 4, 1, 1, 2);
    grid->addWidget(givesLabel_, 5, 0);
    grid->addWidget(resultValue, 5, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    // Why there is no answer: four lines at most, so that the dialog keeps
    // its size whatever the sentence.
    message = named(new QLabel(this), "message");
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    message->setFixedHeight(message->fontMetrics().lineSpacing() * 4 + 4);
    layout->addWidget(message);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    applyButton = named(new QPushButton(this), "applyButton");
    closeButton = named(new QPushButton(this), "closeButton");
    for (QPushButton *b : {applyButton, closeButton}) {
        b->setMinimumWidth(90);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    applyButton->setDefault(true); // Enter applies
    layout->addLayout(buttons);

    setTabOrder(resultList, targetEd);
    setTabOrder(targetEd, inputList);
    setTabOrder(inputList, applyButton);
    setTabOrder(applyButton, closeButton);

    connect(resultList, &QComboBox::currentIndexChanged, this, [this] {
        targetFromWindow();
        refresh();
    });
    connect(inputList, &QComboBox::currentIndexChanged, this, &ReachDialog::refresh);
    connect(targetEd, &QLineEdit::textChanged, this, &ReachDialog::refresh);
    connect(applyButton, &QPushButton::clicked, this, &ReachDialog::apply);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // The main window's fields as they are typed, its lists, a case put in.
    connect(mainF_, &TmainF::inputsEdited, this, &ReachDialog::refresh);
}

void ReachDialog::fitEveryLanguage()
{
    // Laid out once for the widest texts of any language, so that a change
    // of language neither resizes the dialog nor clips a text.
    ensurePolished();
    QSize least(0, 0);
    for (int n = 0; n < lang::count(); ++n) {
        retranslate(n);
        answerValue->setText(QStringLiteral("150.00 l/min (now 150.00 l/min)"));
        resultValue->setText(QStringLiteral("99999.999 kPa"));
        least = least.expandedTo(minimumSizeHint());
    }
    least.setWidth(std::max(least.width(), 440));
    setMinimumSize(least);
    resize(least);
    retranslate();
}

void ReachDialog::retranslate() { retranslate(mainF_->language()); }

void ReachDialog::retranslate(int n)
{
    openAction_->setText(lang::text(kEntry, n));
    if (!resultList) return;
    const lang::Language *l = lang::language(n);
    fonts::setCharset(this, l ? l->charset : lang::DefaultCharset);
    setWindowTitle(lang::text(kTitle, n));
    resultLabel_->setText(lang::text(kResult, n));
    targetLabel_->setText(lang::text(kTarget, n));
    inputLabel_->setText(lang::text(kInput, n));
    answerLabel_->setText(lang::text(kFound, n));
    givesLabel_->setText(lang::text(kGives, n));
    for (int i = 0; i < 5; ++i) {
        resultList->setItemText(i, capitalised(design::nameOf(kOutputs[i], n)));
        inputList->setItemText(i, capitalised(design::nameOf(kInputs[i], n)));
    }
    applyButton->setText(lang::text(kApply, n));
    closeButton->setText(lang::text(kClose, n));
    if (asked_) showAnswer(case_);
}

void ReachDialog::openDialog(std::optional<Output> result)
{
    const bool first = !resultList;
    if (first) {
        build();
        fitEveryLanguage();
    }
    if (result) {
        const QSignalBlocker quiet(resultList);
        resultList->setCurrentIndex(static_cast<int>(*result));
    }
    if (result || first) targetFromWindow();
    platform::showToFront(this);
    activateWindow();
    targetEd->setFocus(Qt::OtherFocusReason);
    targetEd->selectAll();
    refresh();
}

void ReachDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    refresh();
}

void ReachDialog::targetFromWindow()
{
    const QSignalBlocker quiet(targetEd);
    const Output o = chosenResult();
    targetUnit->setText(QString::fromUtf8(unitOf(o)));
    if (mainF_->resultsCurrent()) targetEd->setText(resultNumber(o, design::outputOf(mainF_->resultValues(), o)));
    else targetEd->clear();
    targetEd->selectAll();
}

void ReachDialog::refresh()
{
    if (!resultList || !isVisible()) return; // a closed dialog follows nothing
    const rating::Case c = mainF_->inputs();
    const Input in = chosenInput();
    const Output out = chosenResult();
    const QString text = targetEd->text().trimmed();
    const std::optional<double> read =
        text.isEmpty() ? std::nullopt : numfield::readNumber(text, NumEdit::regionalSeparators());
    const bool isNumber = read.has_value();
    const double t = read.value_or(std::numeric_limits<double>::quiet_NaN());
    const bool same = asked_ && sameCase(c, case_) && in == input_ && out == output_ && isNumber == targetRead_ &&
                      (!isNumber || t == target_);
    if (!same) {
        case_ = c, input_ = in, output_ = out;
        targetRead_ = isNumber;
        target_ = t;
        if (isNumber) {
            answer_ = design::reach(c, in, out, t);
            ++searches_;
        } else {
            answer_ = {};
            answer_.why.kind = design::ReachRefusal::Kind::BadTarget;
        }
        asked_ = true;
    }
    showAnswer(c);
}

void ReachDialog::showAnswer(const rating::Case &c)
{
    const int n = mainF_->language();
    const bool empty = targetEd->text().trimmed().isEmpty();
    const bool bad = !empty && !targetRead_;
    if (targetEd->property("invalid").toBool() != bad) {
        targetEd->setProperty("invalid", bad);
        QPalette p = targetEd->palette();
        p.setColor(QPalette::Base, bad ? kInvalid : style()->standardPalette().color(QPalette::Base));
        targetEd->setPalette(p);
    }
    targetUnit->setText(QString::fromUtf8(unitOf(output_)));
    if (answer_.ok()) {
        answerValue->setText(inputText(input_, answer_.answer.value, c) + QLatin1Char(' ') +
                             lang::text(kNow, n).arg(inputText(input_, design::inputOf(c, input_), c)));
        resultValue->setText(resultNumber(output_, answer_.answer.result) + QLatin1Char(' ') +
                             QString::fromUtf8(unitOf(output_)));
        message->setText(lang::text(kHint, n));
        setTextColor(message, palette().color(QPalette::WindowText));
    } else {
        answerValue->setText(QStringLiteral("—"));
        resultValue->setText(QStringLiteral("—"));
        message->setText(QString::fromStdString(design::explainReach(c, input_, output_, target_, answer_.why, n,
                                                                     sep().toStdString())));
        setTextColor(message, empty ? palette().color(QPalette::WindowText) : kBadText);
    }
    applyButton->setEnabled(answer_.ok());
}

bool ReachDialog::apply()
{
    if (!resultList) return false;
    refresh(); // the answer to the question as it stands
    if (!answer_.ok()) return false;
    rating::Case c = mainF_->inputs();
    design::setInput(c, input_, answer_.answer.value);
    if (!mainF_->setInputs(c)) return false;
    emit applied();
    return true;
}

} // namespace mainwindow
