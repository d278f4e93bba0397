#include "selectionwindow/DesignConditions.h"

#include "design/explain.h"
#include "languages/languages.h"
#include "languages/terms.h"
#include "mainwindow/fouling.h"
#include "rating/fields.h"
#include "rating/model.h"
#include "selection/select.h"
#include "selectionwindow/fields.h"
#include "widgets/NumEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include <cmath>
#include <limits>

namespace selectionwindow {

namespace {

using lang::Texts;
namespace terms = lang::terms;

// One per language, in the order of the language list.
constexpr Texts kTitle = {
    "Tervezési feltételek",  "Design conditions",      "Расчётные условия",      "Návrhové podmienky",
    "Auslegungsbedingungen", "Condiții de proiectare", "Condizioni di progetto",
};
constexpr Texts kReplace = {
    "Ezekből számítva", "Derived from them", "Вычисляются из них", "Vypočítajú sa z nich", "Daraus berechnet",
    "Calculate din ele", "Calcolate da esse",
};
constexpr Texts kMargin = {
    "Tervezési tartalék", "Design margin",         "Расчётный запас",    "Návrhová rezerva",
    "Auslegungsreserve",  "Rezervă de proiectare", "Margine di progetto",
};
constexpr Texts kNotGiven = {
    "nincs megadva", "not given", "не задана", "nezadaná", "nicht angegeben", "nedată", "non data",
};
constexpr Texts kFromMain = {
    "Üresen: a főablakban megadott érték",  "Empty: as set in the main window",
    "Пусто: значение из главного окна",     "Prázdne: hodnota z hlavného okna",
    "Leer: Wert aus dem Hauptfenster",      "Gol: valoarea din fereastra principală",
    "Vuoto: valore della finestra principale",
};
constexpr Texts kHint = {
    "Adjon meg kilépő hőmérsékletet: a bejelölt mennyiséget a program az energiamérlegből számítja.",
    "Give an outlet temperature, and the quantity ticked is derived from the energy balance.",
    "Задайте температуру на выходе, и отмеченная величина будет вычислена из теплового баланса.",
    "Zadajte výstupnú teplotu a označená veličina sa vypočíta z energetickej bilancie.",
    "Geben Sie eine Austrittstemperatur an, und die angekreuzte Größe wird aus der Energiebilanz berechnet.",
    "Introduceți o temperatură de ieșire, iar mărimea bifată se calculează din bilanțul energetic.",
    "Inserire una temperatura di uscita: la grandezza spuntata viene calcolata dal bilancio energetico.",
};
// %1: the derived quantities with their values.
constexpr Texts kDerived = {
    "Számított: %1", "Derived: %1", "Вычислено: %1", "Vypočítané: %1", "Berechnet: %1", "Calculat: %1",
    "Calcolato: %1",
};
// %1: outlets given, %2: quantities ticked.
constexpr Texts kCount = {
    "Jelöljön be annyit a hőteljesítmény és a két térfogatáram közül, ahány kilépő hőmérsékletet megadott "
    "(kilépő hőmérséklet: %1, bejelölve: %2).",
    "Tick as many of the heat duty and the two flows as outlet temperatures are given (outlet temperatures: %1, "
    "ticked: %2).",
    "Отметьте среди тепловой мощности и двух расходов столько величин, сколько задано температур на выходе "
    "(температур на выходе: %1, отмечено: %2).",
    "Označte z tepelného výkonu a oboch prietokov toľko veličín, koľko je zadaných výstupných teplôt (výstupné "
    "teploty: %1, označené: %2).",
    "Kreuzen Sie von der Wärmeleistung und den beiden Volumenströmen so viele an, wie Austrittstemperaturen "
    "angegeben sind (Austrittstemperaturen: %1, angekreuzt: %2).",
    "Bifați dintre puterea termică și cele două debite atâtea mărimi câte temperaturi de ieșire sunt date "
    "(temperaturi de ieșire: %1, bifate: %2).",
    "Spuntare tra la potenza termica e le due portate tante grandezze quante sono le temperature di uscita "
    "inserite (temperature di uscita: %1, spuntate: %2).",
};

const QColor kHintText(96, 96, 96);

numfield::Separators seps() { return NumEdit::regionalSeparators(); }
QString sep() { return QString(seps().decimal); }

QString capitalised(const std::string &s)
{
    QString t = QString::fromStdString(s);
    if (!t.isEmpty()) t[0] = t[0].toUpper();
    return t;
}

// An outlet field: nothing when empty, NaN when its text is no temperature
// of the inlet fields' range.
std::optional<double> outlet(const QLineEdit *e, bool &bad)
{
    const QString t = e->text().trimmed();
    bad = false;
    if (t.isEmpty()) return std::nullopt;
    const std::optional<double> v = numfield::readNumber(t, seps());
    bad = !v || !(*v >= rating::MinInlet && *v <= rating::MaxInlet);
    return v && !bad ? *v : std::numeric_limits<double>::quiet_NaN();
}

std::string number(double v, int decimals) { return rating::FixedText(v, decimals, sep().toStdString()); }

} // namespace

DesignConditions::DesignConditions(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("designConditions"));
    auto *g = new QGridLayout(this);
    outletLabel_ = new QLabel(this);
    shellLabel_ = new QLabel(this);
    spiralLabel_ = new QLabel(this);
    shellOutletEd = field(this, "shellOutletEd", 80);
    spiralOutletEd = field(this, "spiralOutletEd", 80);
    shellLabel_->setBuddy(shellOutletEd);
    spiralLabel_->setBuddy(spiralOutletEd);
    auto *outlets = new QHBoxLayout;
    outlets->addWidget(shellLabel_);
    outlets->addWidget(shellOutletEd);
    outlets->addWidget(new QLabel(QStringLiteral("°C"), this));
    outlets->addSpacing(12);
    outlets->addWidget(spiralLabel_);
    outlets->addWidget(spiralOutletEd);
    outlets->addWidget(new QLabel(QStringLiteral("°C"), this));
    outlets->addStretch();
    g->addWidget(outletLabel_, 0, 0);
    g->addLayout(outlets, 0, 1);

    replaceLabel_ = new QLabel(this);
    auto *boxes = new QHBoxLayout;
    auto box = [this, boxes](const char *name, bool on) {
        auto *b = new QCheckBox(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked(on);
        boxes->addWidget(b);
        return b;
    };
    dutyBox = box("dutyBox", true);
    shellFlowBox = box("shellFlowBox", false);
    spiralFlowBox = box("spiralFlowBox", false);
    boxes->addStretch();
    g->addWidget(replaceLabel_, 1, 0);
    g->addLayout(boxes, 1, 1);

    foulingLabel_ = new QLabel(this);
    foulingEd = field(this, "foulingEd", fontMetrics().horizontalAdvance(QStringLiteral("0.00000000")) + 16);
    foulingLabel_->setBuddy(foulingEd);
    marginLabel_ = new QLabel(this);
    marginEd = field(this, "marginEd", 50);
    marginEd->setPlaceholderText(QStringLiteral("0"));
    marginLabel_->setBuddy(marginEd);
    g->addWidget(foulingLabel_, 0, 3);
    g->addWidget(foulingEd, 0, 4);
    g->addWidget(new QLabel(QStringLiteral("m²·K/W"), this), 0, 5);
    g->addWidget(marginLabel_, 1, 3);
    g->addWidget(marginEd, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("%"), this), 1, 5);
    g->setColumnMinimumWidth(2, 16);
    g->setColumnStretch(1, 1);

    // One line: the derived quantities, or how to use the conditions. Its
    // text changes with every keystroke; it never widens the window.
    derived = new QLabel(this);
    derived->setObjectName(QStringLiteral("derived"));
    derived->setTextFormat(Qt::PlainText);
    derived->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    derived->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(derived, 2, 0, 1, 6);
}

QList<QWidget *> DesignConditions::focusOrder() const
{
    return {shellOutletEd, spiralOutletEd, dutyBox, shellFlowBox, spiralFlowBox, foulingEd, marginEd};
}

DesignConditions::Reading DesignConditions::read(const rating::Case &m, double dutyKW) const
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Reading r;
    design::Conditions &c = r.conditions;
    c.tkb = m.tkb, c.tsb = m.tsb;
    c.CbMVkIndex = m.CbMVkIndex, c.CbMVsIndex = m.CbMVsIndex;
    c.tkk = outlet(shellOutletEd, r.badShellOutlet);
    c.tsk = outlet(spiralOutletEd, r.badSpiralOutlet);
    r.outlets = int(c.tkk.has_value()) + int(c.tsk.has_value());
    r.used = r.outlets > 0;
    r.ticked = int(dutyBox->isChecked()) + int(shellFlowBox->isChecked()) + int(spiralFlowBox->isChecked());
    if (!dutyBox->isChecked()) c.dutyKW = dutyKW;
    if (!shellFlowBox->isChecked()) c.MVk = m.MVk;
    if (!spiralFlowBox->isChecked()) c.MVs = m.MVs;

    // The fouling read to its grid, as the main window's dialog reads it.
    const QString f = foulingEd->text().trimmed();
    if (f.isEmpty()) {
        r.Rf = m.Rf;
    } else {
        const std::optional<long long> count = mainwindow::readFoulingCount(f, seps());
        r.badFouling = !count || *count < 0 || *count > mainwindow::MaxFoulingCount;
        r.Rf = r.badFouling ? nan : mainwindow::foulingValue(*count);
    }
    const QString mg = marginEd->text().trimmed();
    if (!mg.isEmpty()) {
        const std::optional<double> v = numfield::readNumber(mg, seps());
        r.badMargin = !v || !(*v >= 0 && *v <= selection::MaxMarginPercent);
        r.marginPercent = r.badMargin ? nan : *v;
    }
    return r;
}

void DesignConditions::retranslate(int n, double mainFouling, const QString &shellSide, const QString &spiralSide)
{
    setTitle(lang::text(kTitle, n));
    outletLabel_->setText(lang::text(terms::OutletTemperature, n));
    shellLabel_->setText(shellSide);
    spiralLabel_->setText(spiralSide);
    for (QLineEdit *e : {shellOutletEd, spiralOutletEd}) e->setPlaceholderText(lang::text(kNotGiven, n));
    replaceLabel_->setText(lang::text(kReplace, n));
    dutyBox->setText(capitalised(design::nameOf(design::Quantity::Duty, n)));
    shellFlowBox->setText(capitalised(design::nameOf(design::Quantity::JacketFlow, n)));
    spiralFlowBox->setText(capitalised(design::nameOf(design::Quantity::CoilFlow, n)));
    foulingLabel_->setText(mainwindow::foulingName(n));
    foulingEd->setPlaceholderText(mainwindow::foulingText(mainFouling, sep()));
    foulingEd->setToolTip(lang::text(kFromMain, n));
    marginLabel_->setText(lang::text(kMargin, n));
}

QString DesignConditions::countSentence(const Reading &r, int n)
{
    return lang::text(kCount, n).arg(r.outlets).arg(r.ticked);
}

void DesignConditions::showReading(const Reading &r, const design::BalanceResult *b, int n)
{
    markInvalid(shellOutletEd, r.badShellOutlet);
    markInvalid(spiralOutletEd, r.badSpiralOutlet);
    markInvalid(foulingEd, r.badFouling);
    markInvalid(marginEd, r.badMargin);

    QPalette p = derived->palette();
    if (!r.used) {
        derived->setText(lang::text(kHint, n));
        p.setColor(QPalette::WindowText, kHintText);
    } else if (b && b->ok()) {
        // The two quantities the balance gave, in the order of the fields.
        const design::Conditions &c = r.conditions;
        const design::Balance &v = b->values;
        QStringList items;
        auto item = [&](design::Quantity q, const std::string &value) {
            items << QString::fromStdString(design::nameOf(q, n) + " " + value);
        };
        auto flowUnit = [](int index) { return std::string(" ") + rating::flowUnitName(index); };
        if (!c.dutyKW) item(design::Quantity::Duty, number(v.dutyKW, 2) + " kW");
        if (!c.MVk) item(design::Quantity::JacketFlow, number(v.MVk, 2) + flowUnit(c.CbMVkIndex));
        if (!c.MVs) item(design::Quantity::CoilFlow, number(v.MVs, 2) + flowUnit(c.CbMVsIndex));
        if (!c.tkk) item(design::Quantity::JacketOutlet, number(v.tkk, 2) + " \u00B0C");
        if (!c.tsk) item(design::Quantity::CoilOutlet, number(v.tsk, 2) + " \u00B0C");
        derived->setText(lang::text(kDerived, n).arg(items.join(QStringLiteral(", "))));
        p.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    } else {
        derived->clear(); // the window's message says why
    }
    derived->setPalette(p);
}

} // namespace selectionwindow
