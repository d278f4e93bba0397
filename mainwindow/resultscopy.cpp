#include "mainwindow/resultscopy.h"

#include "languages/languages.h"
#include "mainwindow/fouling.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QAction>
#include <QKeySequence>

namespace mainwindow {

namespace {

const lang::Texts kCopyResults = {
    "Eredmények másolása",   // Magyar
    "Copy results",          // English
    "Копировать результаты", // RUS
    "Kopírovať výsledky",    // Slovensko
    "Ergebnisse kopieren",   // Deutsch
    "Copiază rezultatele",   // Romană
    "Copia risultati",       // Italiano
};

const lang::Texts kNoResults = {
    "Nincs mit másolni: ezekkel a bemenő adatokkal nincs eredmény "
    "(például nulla térfogatáram vagy egyenlő belépő hőmérsékletek).",
    "There are no results to copy: these inputs cannot be rated "
    "(for example a flow of zero or equal inlet temperatures).",
    "Нет результатов для копирования: при этих входных данных расчёт невозможен "
    "(например, нулевой поток или одинаковые температуры на входе).",
    "Nie sú žiadne výsledky na kopírovanie: s týmito vstupmi sa nedá počítať "
    "(napríklad nulový prietok alebo rovnaké vstupné teploty).",
    "Keine Ergebnisse zum Kopieren: mit diesen Eingaben ist keine Berechnung möglich "
    "(zum Beispiel Durchfluss null oder gleiche Eintrittstemperaturen).",
    "Nu există rezultate de copiat: cu aceste date nu se poate calcula "
    "(de exemplu debit zero sau temperaturi de intrare egale).",
    "Nessun risultato da copiare: con questi dati il calcolo non è possibile "
    "(per esempio portata zero o temperature di ingresso uguali).",
};

// A result text as the window shows it, split into its number and unit:
// "98.000 kPa", or after a phrase ("Total heat transfer=46.37 kW").
// Nothing for a mark of results out of date ("***", " ").
struct Shown {
    QString number, unit;
};
std::optional<Shown> split(const QString &text, const QString &prefix = QString())
{
    if (!text.startsWith(prefix)) return std::nullopt;
    const QString rest = text.mid(prefix.size());
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    if (blank <= 0 || blank + 1 >= rest.size()) return std::nullopt;
    const QString number = rest.left(blank);
    bool digit = false;
    for (QChar c : number) {
        if (c.isDigit()) digit = true;
        else if (c == QLatin1Char('*')) return std::nullopt;
    }
    if (!digit) return std::nullopt;
    return Shown{number, rest.mid(blank + 1)};
}

platform::TableCell heading(const QString &s, int span = 1) { return {s.trimmed(), span, true, false}; }
platform::TableCell value(const QString &s, int span = 1) { return {s, span, false, false}; }
platform::TableCell number(const QString &s) { return {s, 1, false, true}; }

} // namespace

ResultsCopy::ResultsCopy(TmainF *mainF) : QObject(mainF), mainF_(mainF), action_(new QAction(mainF))
{
    action_->setObjectName(QStringLiteral("CopyResults"));
    action_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(action_, &QAction::triggered, this, &ResultsCopy::copy);
    mainF_->addContextAction(action_);
    connect(mainF_, &TmainF::languageApplied, this, &ResultsCopy::applyLanguage);
    applyLanguage();
}

void ResultsCopy::applyLanguage() { action_->setText(lang::text(kCopyResults, mainF_->language())); }

std::optional<platform::Table> ResultsCopy::table(const TmainF &w)
{
    auto caption = [&w](lang::Target t) { return w.caption(t); };

    // Every result, or none: a table half of marks would be worse than none.
    const TmainF::ResultTexts r = w.resultTexts();
    const QString duty = caption(lang::SzHoteljesitmeny), overall = caption(lang::SzHoatbocsT);
    const auto dpk = split(r.DPK), dps = split(r.DPS), tkk = split(r.LbTKK), tsk = split(r.LbTSK),
               mk = split(r.LbTomegaramK), ms = split(r.LbTomegaramS), wk = split(r.LbArsebK),
               ws = split(r.LbArsebS), ak = split(r.LbHoatadK), as = split(r.LbHoatadS),
               q = split(r.QLabel, duty + QLatin1Char('=')), k = split(r.LbHoatbocsT, overall + QLatin1Char(' '));
    for (const auto *x : {&dpk, &dps, &tkk, &tsk, &mk, &ms, &wk, &ws, &ak, &as, &q, &k})
        if (!*x) return std::nullopt;

    const TmainF::InputTexts in = w.inputTexts();
    const QString degC = QStringLiteral("°C");
    platform::Table t;
    t.rows.append({heading(caption(lang::LbTipus)), value(in.type, 4)});
    t.rows.append({heading(caption(lang::LbSoros)), value(in.series, 4)});
    t.rows.append({heading(caption(lang::LbParhuzamos)), value(in.parallel, 4)});
    t.rows.append({value(QString()), heading(caption(lang::LbKopeny), 2), heading(caption(lang::LbSpiral), 2)});
    t.rows.append({heading(caption(lang::LbTerfaramK)), number(in.jacketFlow), value(in.jacketUnit),
                   number(in.coilFlow), value(in.coilUnit)});
    t.rows.append({heading(caption(lang::LbBelhomK)), number(in.jacketInlet), value(degC), number(in.coilInlet),
                   value(degC)});
    // The fouling resistance, as the schematic shows it: only where it is
    // not the default.
    if (const double rf = w.inputs().Rf; rf != rating::Rf)
        t.rows.append({heading(foulingName(w.language())), number(foulingText(rf, platform::decimalSeparator())),
                       value(QStringLiteral("m²·K/W"), 3)});
    const auto pair = [&](lang::Target c, const std::optional<Shown> &jacket, const std::optional<Shown> &coil) {
        t.rows.append({heading(caption(c)), number(jacket->number), value(jacket->unit), number(coil->number),
                       value(coil->unit)});
    };
    pair(lang::LbKilhomK, tkk, tsk);
    pair(lang::LbNyomasesesK, dpk, dps);
    pair(lang::LbTomegaram, mk, ms);
    pair(lang::LbArseb, wk, ws);
    pair(lang::LbHoatad, ak, as);
    t.rows.append({heading(duty), number(q->number), value(q->unit)});
    t.rows.append({heading(overall), number(k->number), value(k->unit)});
    return t;
}

void ResultsCopy::copy()
{
    std::optional<platform::Table> t = table(*mainF_);
    if (!t) {
        // Out of date: recalculate as leaving the field would, and copy
        // what that gives. When the run cannot start (another handler is at
        // work) or faults (its message is shown), nothing is copied.
        if (!mainF_->recalculate()) return;
        t = table(*mainF_);
    }
    if (!t) {
        platform::showError(lang::text(kNoResults, mainF_->language()));
        return;
    }
    platform::copyTable(*t);
}

} // namespace mainwindow
