#include "selection/explain.h"

#include "rating/fields.h"
#include "rating/sentence.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace selection {

namespace {

// One text per language, in the order of the language list. %1, %2, ...
// stand for the arguments of fill().
using rating::fill;
using rating::Texts;

// %1, %2: the smallest and the largest duty the engine takes.
constexpr Texts kBadDuty = {
    "Adja meg a szükséges hőteljesítményt kW-ban, %1 és %2 közötti számként.",
    "Enter the required heat duty as a number of kW from %1 to %2.",
    "Введите требуемую тепловую мощность в kW числом от %1 до %2.",
    "Zadajte požadovaný tepelný výkon v kW ako číslo od %1 do %2.",
    "Geben Sie die erforderliche Wärmeleistung in kW als Zahl von %1 bis %2 ein.",
    "Introduceți puterea termică necesară în kW, ca număr de la %1 la %2.",
    "Inserire la potenza termica richiesta in kW come numero da %1 a %2.",
};

// %1: the largest count.
constexpr Texts kBadCount = {
    "A sorba és a párhuzamosan kapcsolt egységek legnagyobb száma 1 és %1 közötti egész szám lehet.",
    "The largest numbers in series and in parallel must be whole numbers from 1 to %1.",
    "Наибольшее число аппаратов последовательно и параллельно должно быть целым числом от 1 до %1.",
    "Najväčší počet jednotiek v sérii a paralelne musí byť celé číslo od 1 do %1.",
    "Die größte Anzahl in Reihe und parallel muss eine ganze Zahl von 1 bis %1 sein.",
    "Numărul maxim de unități în serie și în paralel trebuie să fie un număr întreg de la 1 la %1.",
    "Il numero massimo di unità in serie e in parallelo deve essere un numero intero da 1 a %1.",
};

constexpr Texts kBadLimit = {
    "A nyomásesés korlátja 0 vagy nagyobb szám lehet kPa-ban; korlát nélkül hagyja üresen.",
    "A pressure-drop limit must be a number of kPa, 0 or more; leave it empty for no limit.",
    "Ограничение перепада давлений задается числом в kPa не меньше 0; без ограничения оставьте поле пустым.",
    "Obmedzenie tlakového spádu musí byť číslo v kPa, 0 alebo viac; bez obmedzenia nechajte pole prázdne.",
    "Eine Druckverlustgrenze muss eine Zahl in kPa von 0 oder mehr sein; ohne Grenze bleibt das Feld leer.",
    "Limita căderii de presiune trebuie să fie un număr în kPa, 0 sau mai mare; fără limită lăsați câmpul gol.",
    "Il limite della perdita di carico deve essere un numero in kPa, 0 o più; senza limite lasciare il campo vuoto.",
};

constexpr Texts kNoType = {
    "Válasszon legalább egy típust.",
    "Choose at least one type to consider.",
    "Выберите хотя бы один тип.",
    "Vyberte aspoň jeden typ.",
    "Wählen Sie mindestens einen Typ.",
    "Alegeți cel puțin un tip.",
    "Scegliere almeno un tipo.",
};

constexpr Texts kNoRating = {
    "Ezekkel a bemenetekkel egy elrendezés sem számítható: mindkét térfogatáram legyen 0-nál nagyobb, "
    "és a belépő hőmérsékletek különbözzenek.",
    "No arrangement can be rated with these inputs: both flows must be above 0 and the inlet "
    "temperatures must differ.",
    "С этими данными ни одну схему нельзя рассчитать: оба расхода должны быть больше 0, а температуры "
    "на входе должны различаться.",
    "S týmito údajmi nemožno vypočítať žiadne zapojenie: oba prietoky musia byť väčšie ako 0 a vstupné "
    "teploty sa musia líšiť.",
    "Mit diesen Eingaben lässt sich keine Anordnung berechnen: beide Volumenströme müssen größer als 0 "
    "und die Eintrittstemperaturen verschieden sein.",
    "Cu aceste date nu se poate calcula nicio configurație: ambele debite trebuie să fie mai mari decât 0, "
    "iar temperaturile de intrare diferite.",
    "Con questi dati non si può calcolare nessuna configurazione: entrambe le portate devono essere "
    "maggiori di 0 e le temperature di ingresso diverse.",
};

// %1: the required duty, %2: the limit.
constexpr Texts kBeyondCapacity = {
    "Ezekkel a térfogatáramokkal és belépő hőmérsékletekkel egy hőcserélő sem visz át %1 teljesítményt: "
    "legfeljebb %2 (a kisebb hőkapacitásáram szorozva a belépő hőmérsékletek különbségével).",
    "No exchanger transfers %1 with these flows and inlet temperatures: at most %2 (the smaller capacity "
    "rate times the inlet difference).",
    "Ни один теплообменник не передаст %1 при этих расходах и температурах на входе: не более %2 "
    "(меньший водяной эквивалент, умноженный на разность температур на входе).",
    "Žiadny výmenník neprenesie %1 pri týchto prietokoch a vstupných teplotách: najviac %2 (menší "
    "tepelný kapacitný tok krát rozdiel vstupných teplôt).",
    "Kein Wärmeübertrager überträgt %1 bei diesen Volumenströmen und Eintrittstemperaturen: höchstens %2 "
    "(der kleinere Wärmekapazitätsstrom mal die Differenz der Eintrittstemperaturen).",
    "Niciun schimbător nu transferă %1 cu aceste debite și temperaturi de intrare: cel mult %2 (debitul "
    "capacitiv mai mic înmulțit cu diferența temperaturilor de intrare).",
    "Nessuno scambiatore trasferisce %1 con queste portate e temperature di ingresso: al massimo %2 (la "
    "minore portata termica per la differenza delle temperature di ingresso).",
};

// %1, %2: the largest counts in series and in parallel; %3: the required
// duty; %4: the most any considered arrangement reaches; %5: that
// arrangement (kArrangement).
constexpr Texts kNotReached = {
    "Legfeljebb %1 soros és %2 párhuzamos egységgel egy elrendezés sem ad %3 teljesítményt; a legtöbb %4 "
    "(%5): engedjen meg több egységet, vagy növelje valamelyik térfogatáramot.",
    "No arrangement up to %1 in series and %2 in parallel reaches %3; the most is %4 (%5): allow more "
    "units or raise a flow.",
    "Ни одна схема до %1 последовательно и %2 параллельно не достигает %3; наибольшая мощность %4 (%5): "
    "допустите больше аппаратов или увеличьте расход.",
    "Žiadne zapojenie do %1 v sérii a %2 paralelne nedosiahne %3; najviac %4 (%5): povoľte viac jednotiek "
    "alebo zvýšte prietok.",
    "Keine Anordnung bis %1 in Reihe und %2 parallel erreicht %3; höchstens %4 (%5): mehr Einheiten "
    "zulassen oder einen Volumenstrom erhöhen.",
    "Nicio configurație de până la %1 în serie și %2 în paralel nu atinge %3; cel mult %4 (%5): permiteți "
    "mai multe unități sau măriți un debit.",
    "Nessuna configurazione fino a %1 in serie e %2 in parallelo raggiunge %3; al massimo %4 (%5): "
    "consentire più unità o aumentare una portata.",
};

// %1: type, %2: in series, %3: in parallel.
constexpr Texts kArrangement = {
    "%1, %2 soros, %3 párhuzamos",
    "%1, %2 in series, %3 in parallel",
    "%1, %2 последовательно, %3 параллельно",
    "%1, %2 v sérii, %3 paralelne",
    "%1, %2 in Reihe, %3 parallel",
    "%1, %2 în serie, %3 în paralel",
    "%1, %2 in serie, %3 in parallelo",
};

// %1: the required duty; %2: the smallest drops ("side drop", joined by ", ").
constexpr Texts kPressureLimit = {
    "%1 teljesítményt több elrendezés is elér, de mindegyik túllépi valamelyik nyomásesés-korlátot; "
    "közülük a legkisebb nyomásesés: %2.",
    "Arrangements reach %1, but each exceeds a pressure-drop limit; the smallest drop among them: %2.",
    "Мощность %1 достигается, но каждая такая схема превышает ограничение перепада давлений; наименьший "
    "перепад среди них: %2.",
    "Výkon %1 dosahujú niektoré zapojenia, každé však prekračuje obmedzenie tlakového spádu; najmenší spád "
    "spomedzi nich: %2.",
    "Anordnungen erreichen %1, aber jede überschreitet eine Druckverlustgrenze; der kleinste Druckverlust "
    "unter ihnen: %2.",
    "Unele configurații ating %1, dar fiecare depășește o limită a căderii de presiune; cea mai mică "
    "cădere dintre ele: %2.",
    "Alcune configurazioni raggiungono %1, ma ciascuna supera un limite di perdita di carico; la perdita "
    "minima tra queste: %2.",
};

// %1: the largest fouling resistance.
constexpr Texts kBadFouling = {
    "A szennyeződési ellenállás 0 és %1 m2°C/W közötti szám lehet.",
    "The fouling resistance must be a number from 0 to %1 m2°C/W.",
    "Сопротивление загрязнения должно быть числом от 0 до %1 m2°C/W.",
    "Odpor znečistenia musí byť číslo od 0 do %1 m2°C/W.",
    "Der Verschmutzungswiderstand muss eine Zahl von 0 bis %1 m2°C/W sein.",
    "Rezistența de depunere trebuie să fie un număr de la 0 la %1 m2°C/W.",
    "La resistenza di sporcamento deve essere un numero da 0 a %1 m2°C/W.",
};

// %1: the largest design margin.
constexpr Texts kBadMargin = {
    "A tervezési tartalék 0 és %1 % közötti szám lehet.",
    "The design margin must be a number from 0 to %1 %.",
    "Запас по мощности должен быть числом от 0 до %1 %.",
    "Návrhová rezerva musí byť číslo od 0 do %1 %.",
    "Der Auslegungszuschlag muss eine Zahl von 0 bis %1 % sein.",
    "Marja de proiectare trebuie să fie un număr de la 0 la %1 %.",
    "Il margine di progetto deve essere un numero da 0 a %1 %.",
};

// The two sides in the main window's own words (its column headings).
constexpr Texts kShellSide = {
    "Köpeny oldal", "Shell side", "кожухная сторона", "Na strane plášťa", "Mantel",
    "Parte exterioară (mantaua)", "Lato a conchiglia",
};
constexpr Texts kSpiralSide = {
    "Spirál oldal", "Spiral side", "спиральная сторона", "Strana špirály", "Spiralseite",
    "Partea interioară (spirala)", "Lato a spirale",
};

std::string kw(double v, const std::string &sep) { return rating::FixedText(v, 2, sep) + " kW"; }
std::string kpa(double v, const std::string &sep) { return rating::FixedText(v, 3, sep) + " kPa"; }
std::string count(int n) { return std::to_string(n); }

// The duty the list requires: with a design margin, how it is made up
// ("66.00 kW (60.00 kW + 10.00 %)").
std::string required(const Request &r, const std::string &sep)
{
    if (r.marginPercent == 0) return kw(r.dutyKW, sep);
    return kw(requiredKW(r), sep) + " (" + kw(r.dutyKW, sep) + " + " + rating::FixedText(r.marginPercent, 2, sep) +
           " %)";
}

} // namespace

std::string explain(const Request &r, const Shortfall &why, int nyelv, const std::string &sep)
{
    const std::size_t n = rating::languageIndex(nyelv);
    return explain(r, why, nyelv, sep, {kShellSide[n], kSpiralSide[n]});
}

std::string explain(const Request &r, const Shortfall &why, int nyelv, const std::string &sep, const SideNames &sides)
{
    const std::size_t n = rating::languageIndex(nyelv);
    using K = Shortfall::Kind;
    switch (why.kind) {
    case K::None: return {};
    case K::BadDuty: return fill(kBadDuty[n], {rating::FixedText(MinDutyKW, 3, sep), rating::FixedText(MaxDutyKW, 0, sep)});
    case K::BadCount: return fill(kBadCount[n], {count(MaxCount)});
    case K::BadLimit: return kBadLimit[n];
    case K::NoType: return kNoType[n];
    case K::NoRating: return kNoRating[n];
    case K::BadFouling: return fill(kBadFouling[n], {rating::FixedText(rating::MaxFouling, 2, sep)});
    case K::BadMargin: return fill(kBadMargin[n], {rating::FixedText(MaxMarginPercent, 0, sep)});
    case K::BeyondCapacity: return fill(kBeyondCapacity[n], {required(r, sep), kw(why.capacityKW, sep)});
    case K::NotReached: {
        const int t = why.bestTipus >= 0 && why.bestTipus < rating::TipusCount ? why.bestTipus : 0;
        const std::string where =
            fill(kArrangement[n], {rating::TipusNevek[t], count(why.bestSoros), count(why.bestParh)});
        return fill(kNotReached[n], {count(r.maxSeries), count(r.maxParallel), required(r, sep),
                                     kw(why.bestDutyKW, sep), where});
    }
    case K::PressureLimit: {
        std::string drops;
        const std::pair<double, const std::string *> named[] = {{why.minDpJacketKPa, &sides.jacket},
                                                                {why.minDpCoilKPa, &sides.coil}};
        for (const auto &[dp, side] : named) {
            if (std::isnan(dp)) continue;
            if (!drops.empty()) drops += ", ";
            drops += *side + " " + kpa(dp, sep);
        }
        return fill(kPressureLimit[n], {required(r, sep), drops});
    }
    }
    return {};
}

} // namespace selection
