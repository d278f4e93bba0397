#include "projectwindows/casetexts.h"

#include "languages/languages.h"
#include "languages/terms.h"
#include "project/compare.h"
#include "rating/case.h"
#include "rating/fields.h"

namespace projects {

namespace {

using lang::Texts;
namespace terms = lang::terms;
using project::Quantity;

// ---- why a case is not rated
constexpr Texts kBothFlows = {
    "Egyik oldalon sincs térfogatáram: nincs mit számolni.",
    "There is no flow on either side: nothing to rate.",
    "Нет потока ни на одной стороне: рассчитывать нечего.",
    "Na žiadnej strane nie je prietok: nie je čo počítať.",
    "Auf keiner Seite fließt etwas: nichts zu berechnen.",
    "Nu există debit pe nicio parte: nimic de calculat.",
    "Non c'è portata su nessun lato: niente da calcolare.",
};
// %1: the side, as the main window names it.
constexpr Texts kOneFlow = {
    "Nincs térfogatáram (%1): nincs mit számolni.",
    "There is no flow on the %1: nothing to rate.",
    "Нет потока (%1): рассчитывать нечего.",
    "Nie je prietok (%1): nie je čo počítať.",
    "Kein Durchfluss (%1): nichts zu berechnen.",
    "Nu există debit (%1): nimic de calculat.",
    "Non c'è portata (%1): niente da calcolare.",
};
constexpr Texts kEqualInlets = {
    "A két belépő hőmérséklet egyenlő: nincs átadható hő.",
    "The inlet temperatures are equal: no heat to transfer.",
    "Температуры на входе равны: теплообмена нет.",
    "Vstupné teploty sú rovnaké: nie je čo prenášať.",
    "Die Eintrittstemperaturen sind gleich: keine Wärme zu übertragen.",
    "Temperaturile de intrare sunt egale: nu există căldură de transferat.",
    "Le temperature di ingresso sono uguali: nessun calore da scambiare.",
};
constexpr Texts kNotSettled = {
    "A kilépő hőmérsékletek nem állandósultak.",
    "The outlet temperatures did not settle.",
    "Температуры на выходе не установились.",
    "Výstupné teploty sa neustálili.",
    "Die Austrittstemperaturen haben sich nicht eingestellt.",
    "Temperaturile de ieșire nu s-au stabilizat.",
    "Le temperature di uscita non si sono stabilizzate.",
};
constexpr Texts kDropTooLarge = {
    "A nyomásesés eléri a 10000 bart: több párhuzamos ág vagy kevesebb soros egység kell.",
    "A pressure drop reaches 10000 bar: more branches in parallel or fewer units in series.",
    "Перепад давлений достигает 10000 бар: нужно больше параллельных ветвей или меньше аппаратов последовательно.",
    "Tlakový spád dosahuje 10000 bar: treba viac paralelných vetiev alebo menej jednotiek v sérii.",
    "Ein Druckverlust erreicht 10000 bar: mehr parallele Stränge oder weniger Einheiten in Reihe.",
    "O cădere de presiune atinge 10000 bar: mai multe ramuri în paralel sau mai puține unități în serie.",
    "Una perdita di carico raggiunge 10000 bar: più rami in parallelo o meno unità in serie.",
};
// %1: the arithmetic fault's message.
constexpr Texts kFault = {
    "Számítási hiba: %1", "Arithmetic error: %1", "Арифметическая ошибка: %1", "Aritmetická chyba: %1",
    "Rechenfehler: %1",   "Eroare aritmetică: %1", "Errore aritmetico: %1",
};
constexpr Texts kNotRated = {
    "Nem számítható.", "Cannot be rated.", "Расчёт невозможен.", "Nedá sa vypočítať.",
    "Nicht berechenbar.", "Nu se poate calcula.", "Non calcolabile.",
};
constexpr Texts kNotRatedRow = {
    "Nem számítható", "Not rated", "Расчёт невозможен", "Nedá sa vypočítať",
    "Nicht berechenbar", "Nu se poate calcula", "Non calcolabile",
};

// ---- the comparison's captions
constexpr Texts kType = {"Típus", "Type", "Тип", "Typ", "Typ", "Tip", "Tipo"};
constexpr Texts kSeries = {
    "Sorba kapcsolt egységek", "Units in series", "Аппаратов последовательно", "Jednotiek v sérii",
    "Einheiten in Reihe",      "Unități în serie", "Unità in serie",
};
constexpr Texts kParallel = {
    "Párhuzamos ágak", "Branches in parallel", "Параллельных ветвей", "Paralelných vetiev",
    "Parallele Stränge", "Ramuri în paralel", "Rami in parallelo",
};
constexpr Texts kDrop = {
    "Nyomásesés", "Pressure drop", "Перепад давлений", "Tlakový spád", "Druckverlust", "Cădere de presiune",
    "Perdita di carico",
};
constexpr Texts kMassFlow = {
    "Tömegáram", "Mass flow rate", "Массовый расход", "Hmotnostný prietok", "Massenstrom", "Debit masic",
    "Portata massica",
};
constexpr Texts kVelocity = {
    "Áramlási sebesség", "Flow velocity", "Скорость потока", "Rýchlosť prúdenia", "Strömungsgeschwindigkeit",
    "Viteza de curgere", "Velocità del flusso",
};
constexpr Texts kFilm = {
    "Hőátadási tényező",         "Film coefficient",       "Коэффициент теплоотдачи",
    "Súčiniteľ prestupu tepla",  "Wärmeübergangskoeffizient", "Coeficient de convecție",
    "Coefficiente di convezione",
};
constexpr Texts kFouling = {
    "Szennyeződési ellenállás", "Fouling resistance",       "Сопротивление загрязнений",
    "Odpor znečistenia",        "Verschmutzungswiderstand", "Rezistența depunerilor",
    "Resistenza di sporcamento",
};
constexpr Texts kDuty = {
    "Hőteljesítmény", "Heat duty", "Тепловая мощность", "Tepelný výkon", "Wärmeleistung", "Putere termică",
    "Potenza termica",
};
constexpr Texts kOverall = {
    "Hőátbocsátási tényező",     "Overall heat-transfer coefficient", "Коэффициент теплопередачи",
    "Súčiniteľ prechodu tepla",  "Wärmedurchgangskoeffizient",        "Coeficient global de transfer termic",
    "Coefficiente globale di scambio termico",
};

constexpr Texts kComparison = {
    "Változatok összehasonlítása", "Comparison of cases", "Сравнение вариантов", "Porovnanie variantov",
    "Vergleich der Fälle",         "Compararea cazurilor", "Confronto dei casi",
};
constexpr Texts kLegend = {
    "Félkövér, színes háttéren: eltér az első változattól.",
    "Bold on a tint: differs from the first case.",
    "Жирным на цветном фоне: отличается от первого варианта.",
    "Tučne na farebnom pozadí: líši sa od prvého variantu.",
    "Fett auf farbigem Grund: weicht vom ersten Fall ab.",
    "Îngroșat pe fond colorat: diferă de primul caz.",
    "Grassetto su sfondo colorato: diverso dal primo caso.",
};

// ---- the project's details
constexpr Texts kCustomer = {"Megrendelő", "Customer", "Заказчик", "Zákazník", "Kunde", "Client", "Cliente"};
constexpr Texts kReference = {
    "Hivatkozási szám", "Reference", "Номер запроса", "Referencia", "Referenz", "Referință", "Riferimento",
};
constexpr Texts kRevision = {"Revízió", "Revision", "Редакция", "Revízia", "Revision", "Revizie", "Revisione"};
constexpr Texts kAuthor = {"Készítette", "Author", "Автор", "Autor", "Verfasser", "Autor", "Autore"};
constexpr Texts kDate = {"Dátum", "Date", "Дата", "Dátum", "Datum", "Data", "Data"};
constexpr Texts kNotes = {"Megjegyzés", "Notes", "Примечания", "Poznámky", "Bemerkungen", "Note", "Note"};

// A side as the main window names it, within a sentence: in small letters
// but for German, whose nouns keep their capital.
QString side(bool jacket, int nyelv)
{
    const lang::Language *l = lang::language(nyelv);
    if (!l) l = lang::language(nyelv = lang::DefaultLanguage);
    QString s = lang::text(*l, jacket ? lang::LbKopeny : lang::LbSpiral).trimmed();
    if (nyelv != 4 && !s.isEmpty()) s[0] = s[0].toLower();
    return s;
}

QString sided(const Texts &t, bool jacket, int nyelv)
{
    return lang::text(t, nyelv) + QStringLiteral(", ") + side(jacket, nyelv);
}

} // namespace

QString numberText(double x, int decimals, bool trim, const QString &sep)
{
    return QString::fromStdString(project::roundedText(x, decimals, trim)).replace(QLatin1Char('.'), sep);
}

QString typeText(const rating::Case &c)
{
    return c.Tipus >= 0 && c.Tipus < rating::TipusCount ? QString::fromLatin1(rating::TipusNevek[c.Tipus]) : QString();
}

QString flowText(double flow, int unit, const QString &sep)
{
    return numberText(flow, 3, true, sep) + QLatin1Char(' ') + QLatin1String(rating::flowUnitName(unit));
}

QString inletText(double t, const QString &sep) { return numberText(t, 2, true, sep); }

QString whyNotRated(const rating::Case &c, const project::Outcome &o, int nyelv)
{
    const rating::Rating &r = o.rating;
    if (r.ok()) return QString();
    if (r.outcome == rating::Rating::Outcome::Fault)
        return lang::text(kFault, nyelv).arg(QString::fromUtf8(rating::ArithmeticError::messageOf(r.fault)));
    // The run's checks in its order, on a state of its own: the flows,
    // the inlets, the iteration, the pressure drops.
    rating::Model state;
    const rating::Rating again = rating::rate(state, c);
    if (again.ok()) return lang::text(kNotRated, nyelv);
    const bool settled = !state.PassLimitHit;
    const rating::Drops d = rating::drops(state, c);
    if (!d.flowsOk) {
        const bool jacket = !(state.Vk > 0), coil = !(state.Vs > 0);
        if (jacket && coil) return lang::text(kBothFlows, nyelv);
        return lang::text(kOneFlow, nyelv).arg(side(jacket, nyelv));
    }
    if (!d.temperaturesOk) return lang::text(kEqualInlets, nyelv);
    if (!settled) return lang::text(kNotSettled, nyelv);
    if (d.refused) return lang::text(kDropTooLarge, nyelv);
    return lang::text(kNotRated, nyelv);
}

QString quantityCaption(Quantity q, int nyelv)
{
    switch (q) {
    case Quantity::Type: return lang::text(kType, nyelv);
    case Quantity::Series: return lang::text(kSeries, nyelv);
    case Quantity::Parallel: return lang::text(kParallel, nyelv);
    case Quantity::JacketFlow: return sided(terms::VolumeFlow, true, nyelv);
    case Quantity::JacketInlet: return sided(terms::InletTemperature, true, nyelv);
    case Quantity::CoilFlow: return sided(terms::VolumeFlow, false, nyelv);
    case Quantity::CoilInlet: return sided(terms::InletTemperature, false, nyelv);
    case Quantity::Fouling: return lang::text(kFouling, nyelv);
    case Quantity::Duty: return lang::text(kDuty, nyelv);
    case Quantity::JacketOutlet: return sided(terms::OutletTemperature, true, nyelv);
    case Quantity::CoilOutlet: return sided(terms::OutletTemperature, false, nyelv);
    case Quantity::JacketDrop: return sided(kDrop, true, nyelv);
    case Quantity::CoilDrop: return sided(kDrop, false, nyelv);
    case Quantity::JacketMassFlow: return sided(kMassFlow, true, nyelv);
    case Quantity::CoilMassFlow: return sided(kMassFlow, false, nyelv);
    case Quantity::JacketVelocity: return sided(kVelocity, true, nyelv);
    case Quantity::CoilVelocity: return sided(kVelocity, false, nyelv);
    case Quantity::JacketFilm: return sided(kFilm, true, nyelv);
    case Quantity::CoilFilm: return sided(kFilm, false, nyelv);
    case Quantity::Overall: return lang::text(kOverall, nyelv);
    }
    return QString();
}

platform::Table comparisonTable(const project::Project &p, const std::vector<project::Outcome> &outcomes,
                                const project::Comparison &c, int nyelv, const QString &sep)
{
    platform::Table t;
    QList<platform::TableCell> names = {{QString(), 1, true}, {QString(), 1, true}};
    for (int index : c.cases) names.append({QString::fromStdString(p.cases[std::size_t(index)].name), 1, true});
    t.rows.append(names);
    const std::string sepStd = sep.toStdString();
    for (const project::Comparison::Row &row : c.rows) {
        QList<platform::TableCell> cells = {{quantityCaption(row.quantity, nyelv), 1, true},
                                            {QString::fromUtf8(row.unit)}};
        for (const project::Comparison::Cell &cell : row.cells) {
            platform::TableCell out;
            out.text = QString::fromStdString(project::cellText(cell, sepStd));
            out.number = row.quantity != Quantity::Type;
            out.marked = cell.differs;
            cells.append(out);
        }
        t.rows.append(cells);
    }
    bool unrated = false;
    for (int index : c.cases) unrated |= !outcomes[std::size_t(index)].ok();
    if (unrated) {
        QList<platform::TableCell> why = {{lang::text(kNotRatedRow, nyelv), 1, true}, {QString()}};
        for (int index : c.cases)
            why.append({whyNotRated(p.cases[std::size_t(index)].inputs, outcomes[std::size_t(index)], nyelv)});
        t.rows.append(why);
    }
    return t;
}

QString comparisonTitle(int nyelv) { return lang::text(kComparison, nyelv); }
QString comparisonLegend(int nyelv) { return lang::text(kLegend, nyelv); }

QList<QPair<QString, QString>> detailFields(const project::Details &d, int nyelv)
{
    QList<QPair<QString, QString>> out;
    const std::pair<const Texts *, const std::string *> fields[] = {
        {&kCustomer, &d.customer}, {&kReference, &d.reference}, {&kRevision, &d.revision},
        {&kAuthor, &d.author},     {&kDate, &d.date}};
    for (const auto &[caption, value] : fields) {
        const QString v = QString::fromStdString(*value).trimmed();
        if (!v.isEmpty()) out.append({lang::text(*caption, nyelv), v});
    }
    return out;
}

QString notesCaption(int nyelv) { return lang::text(kNotes, nyelv); }

} // namespace projects
