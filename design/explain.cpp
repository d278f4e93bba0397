#include "design/explain.h"

#include "rating/fields.h"
#include "rating/model.h"
#include "rating/sentence.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace design {

namespace {

// One text per language, in the order of the language list. %1, %2, ...
// stand for the arguments of fill().
using rating::fill;
using rating::Texts;

enum Name { nDuty, nJacketFlow, nCoilFlow, nJacketOutlet, nCoilOutlet, nJacketInlet, nCoilInlet, nJacketDrop,
            nCoilDrop, nFouling, nSeries, nParallel, nType, NameCount };

constexpr Texts kNames[NameCount] = {
    {"hőteljesítmény", "heat duty", "тепловая мощность", "tepelný výkon", "Wärmeleistung", "puterea termică",
     "potenza termica"},
    {"köpeny oldali térfogatáram", "shell-side flow", "расход на кожухной стороне", "prietok na strane plášťa",
     "Volumenstrom im Mantel", "debitul pe partea exterioară", "portata lato conchiglia"},
    {"spirál oldali térfogatáram", "spiral-side flow", "расход на спиральной стороне", "prietok na strane špirály",
     "Volumenstrom in der Spirale", "debitul pe partea interioară", "portata lato spirale"},
    {"köpeny oldali kilépő hőmérséklet", "shell-side outlet temperature", "температура на выходе кожухной стороны",
     "výstupná teplota na strane plášťa", "Austrittstemperatur im Mantel",
     "temperatura de ieșire pe partea exterioară", "temperatura di uscita lato conchiglia"},
    {"spirál oldali kilépő hőmérséklet", "spiral-side outlet temperature",
     "температура на выходе спиральной стороны", "výstupná teplota na strane špirály",
     "Austrittstemperatur in der Spirale", "temperatura de ieșire pe partea interioară",
     "temperatura di uscita lato spirale"},
    {"köpeny oldali belépő hőmérséklet", "shell-side inlet temperature", "температура на входе кожухной стороны",
     "vstupná teplota na strane plášťa", "Eintrittstemperatur im Mantel",
     "temperatura de intrare pe partea exterioară", "temperatura di ingresso lato conchiglia"},
    {"spirál oldali belépő hőmérséklet", "spiral-side inlet temperature", "температура на входе спиральной стороны",
     "vstupná teplota na strane špirály", "Eintrittstemperatur in der Spirale",
     "temperatura de intrare pe partea interioară", "temperatura di ingresso lato spirale"},
    {"köpeny oldali nyomásesés", "shell-side pressure drop", "перепад давления на кожухной стороне",
     "tlakový spád na strane plášťa", "Druckverlust im Mantel", "căderea de presiune pe partea exterioară",
     "perdita di carico lato conchiglia"},
    {"spirál oldali nyomásesés", "spiral-side pressure drop", "перепад давления на спиральной стороне",
     "tlakový spád na strane špirály", "Druckverlust in der Spirale", "căderea de presiune pe partea interioară",
     "perdita di carico lato spirale"},
    {"szennyeződési ellenállás", "fouling resistance", "сопротивление загрязнения", "odpor znečistenia",
     "Verschmutzungswiderstand", "rezistența de depunere", "resistenza di sporcamento"},
    {"sorba kapcsolt egységek száma", "number of units in series", "число аппаратов последовательно",
     "počet jednotiek v sérii", "Anzahl in Reihe", "numărul de unități în serie", "numero di unità in serie"},
    {"párhuzamos ágak száma", "number of branches in parallel", "число параллельных ветвей",
     "počet paralelných vetiev", "Anzahl parallel", "numărul de ramuri în paralel", "numero di rami in parallelo"},
    {"típus", "type", "тип", "typ", "Typ", "tipul", "tipo"},
};

// ---------------------------------------------------------------- the balance

// %1: how many are given, %2: the five, joined.
constexpr Texts kNotThree = {
    "Az öt érték közül pontosan hármat adjon meg: %2 (most %1 van megadva).",
    "Give exactly three of the five: %2 (%1 given).",
    "Задайте ровно три из пяти величин: %2 (задано: %1).",
    "Zadajte presne tri z piatich hodnôt: %2 (zadané: %1).",
    "Geben Sie genau drei der fünf Werte an: %2 (angegeben: %1).",
    "Introduceți exact trei din cele cinci valori: %2 (introduse: %1).",
    "Inserire esattamente tre dei cinque valori: %2 (inseriti: %1).",
};

// %1: the name, %2 and %3: the ends of its field.
constexpr Texts kRange = {
    "A %1 %2 és %3 közötti szám lehet.",
    "The %1 must be a number from %2 to %3.",
    "Значение «%1» должно быть числом от %2 до %3.",
    "Hodnota „%1“ musí byť číslo od %2 do %3.",
    "%1: erforderlich ist eine Zahl von %2 bis %3.",
    "Valoarea „%1” trebuie să fie un număr de la %2 la %3.",
    "Il valore «%1» deve essere un numero da %2 a %3.",
};

// %1: the name, %2 and %3: the ends of its field.
constexpr Texts kWholeRange = {
    "A %1 %2 és %3 közötti egész szám lehet.",
    "The %1 must be a whole number from %2 to %3.",
    "Значение «%1» должно быть целым числом от %2 до %3.",
    "Hodnota „%1“ musí byť celé číslo od %2 do %3.",
    "%1: erforderlich ist eine ganze Zahl von %2 bis %3.",
    "Valoarea „%1” trebuie să fie un număr întreg de la %2 la %3.",
    "Il valore «%1» deve essere un numero intero da %2 a %3.",
};

// %1: the name.
constexpr Texts kPositiveDuty = {
    "A %1 0-nál nagyobb szám lehet kW-ban.",
    "The %1 must be a number of kW above 0.",
    "Значение «%1» должно быть числом больше 0 kW.",
    "Hodnota „%1“ musí byť číslo väčšie ako 0 kW.",
    "%1: erforderlich ist eine Zahl größer als 0 kW.",
    "Valoarea „%1” trebuie să fie un număr mai mare decât 0 kW.",
    "Il valore «%1» deve essere un numero maggiore di 0 kW.",
};

constexpr Texts kEqualInlets = {
    "A két belépő hőmérséklet egyenlő: a két oldal között nincs hőáram. Adjon meg különböző belépő hőmérsékleteket.",
    "The two inlet temperatures are equal: no heat flows between the sides. Give different inlet temperatures.",
    "Обе температуры на входе равны: теплообмена между сторонами нет. Задайте разные температуры на входе.",
    "Obe vstupné teploty sú rovnaké: medzi stranami neprechádza žiadne teplo. Zadajte rozdielne vstupné teploty.",
    "Beide Eintrittstemperaturen sind gleich: zwischen den Seiten fließt keine Wärme. Geben Sie verschiedene "
    "Eintrittstemperaturen an.",
    "Cele două temperaturi de intrare sunt egale: între cele două părți nu trece căldură. Introduceți temperaturi de "
    "intrare diferite.",
    "Le due temperature di ingresso sono uguali: tra i due lati non passa calore. Inserire temperature di ingresso "
    "diverse.",
};

constexpr Texts kJacketTwice = {
    "A köpeny oldali térfogatáram, a köpeny oldali kilépő hőmérséklet és a hőteljesítmény kétszer határozza meg a "
    "köpeny oldalt, a spirál oldalt pedig nyitva hagyja: ezek egyike helyett adja meg a spirál oldali "
    "térfogatáramot vagy kilépő hőmérsékletet.",
    "The shell-side flow, the shell-side outlet temperature and the heat duty fix the shell side twice and leave "
    "the spiral side open: give the spiral-side flow or outlet temperature in place of one of them.",
    "Расход и температура на выходе кожухной стороны вместе с тепловой мощностью дважды задают кожухную сторону и "
    "оставляют спиральную открытой: вместо одной из этих величин задайте расход или температуру на выходе "
    "спиральной стороны.",
    "Prietok a výstupná teplota na strane plášťa spolu s tepelným výkonom určujú stranu plášťa dvakrát a stranu "
    "špirály nechávajú otvorenú: namiesto jednej z týchto hodnôt zadajte prietok alebo výstupnú teplotu na strane "
    "špirály.",
    "Volumenstrom und Austrittstemperatur im Mantel legen zusammen mit der Wärmeleistung den Mantel doppelt fest und "
    "lassen die Spirale offen: geben Sie statt eines dieser Werte den Volumenstrom oder die Austrittstemperatur in "
    "der Spirale an.",
    "Debitul și temperatura de ieșire pe partea exterioară, împreună cu puterea termică, determină de două ori "
    "partea exterioară și lasă partea interioară nedeterminată: în locul uneia dintre ele introduceți debitul sau "
    "temperatura de ieșire pe partea interioară.",
    "Portata e temperatura di uscita lato conchiglia, insieme alla potenza termica, determinano due volte il lato "
    "conchiglia e lasciano aperto il lato spirale: al posto di uno di questi valori inserire la portata o la "
    "temperatura di uscita lato spirale.",
};

constexpr Texts kCoilTwice = {
    "A spirál oldali térfogatáram, a spirál oldali kilépő hőmérséklet és a hőteljesítmény kétszer határozza meg a "
    "spirál oldalt, a köpeny oldalt pedig nyitva hagyja: ezek egyike helyett adja meg a köpeny oldali "
    "térfogatáramot vagy kilépő hőmérsékletet.",
    "The spiral-side flow, the spiral-side outlet temperature and the heat duty fix the spiral side twice and leave "
    "the shell side open: give the shell-side flow or outlet temperature in place of one of them.",
    "Расход и температура на выходе спиральной стороны вместе с тепловой мощностью дважды задают спиральную "
    "сторону и оставляют кожухную открытой: вместо одной из этих величин задайте расход или температуру на выходе "
    "кожухной стороны.",
    "Prietok a výstupná teplota na strane špirály spolu s tepelným výkonom určujú stranu špirály dvakrát a stranu "
    "plášťa nechávajú otvorenú: namiesto jednej z týchto hodnôt zadajte prietok alebo výstupnú teplotu na strane "
    "plášťa.",
    "Volumenstrom und Austrittstemperatur in der Spirale legen zusammen mit der Wärmeleistung die Spirale doppelt "
    "fest und lassen den Mantel offen: geben Sie statt eines dieser Werte den Volumenstrom oder die "
    "Austrittstemperatur im Mantel an.",
    "Debitul și temperatura de ieșire pe partea interioară, împreună cu puterea termică, determină de două ori "
    "partea interioară și lasă partea exterioară nedeterminată: în locul uneia dintre ele introduceți debitul sau "
    "temperatura de ieșire pe partea exterioară.",
    "Portata e temperatura di uscita lato spirale, insieme alla potenza termica, determinano due volte il lato "
    "spirale e lasciano aperto il lato conchiglia: al posto di uno di questi valori inserire la portata o la "
    "temperatura di uscita lato conchiglia.",
};

// %1: the outlet, %2: its inlet, %3: the outlet's name, %4: the inlet's name.
constexpr Texts kMustBeBelow = {
    "A %3 (%1) a %4 (%2) alatt kell legyen: ez az oldal a melegebb, ez ad le hőt.",
    "The %3 (%1) must be below the %4 (%2): that side is the warmer one and gives off heat.",
    "Нужно, чтобы %3 (%1) была ниже, чем %4 (%2): эта сторона горячее и отдаёт тепло.",
    "Je potrebné, aby %3 (%1) bola nižšia ako %4 (%2): táto strana je teplejšia a odovzdáva teplo.",
    "Die %3 (%1) muss unter der %4 (%2) liegen: diese Seite ist die wärmere und gibt Wärme ab.",
    "Este necesar ca %3 (%1) să fie sub %4 (%2): această parte este cea mai caldă și cedează căldură.",
    "La %3 (%1) deve essere inferiore alla %4 (%2): questo lato è il più caldo e cede calore.",
};
constexpr Texts kMustBeAbove = {
    "A %3 (%1) a %4 (%2) felett kell legyen: ez az oldal a hidegebb, ez vesz fel hőt.",
    "The %3 (%1) must be above the %4 (%2): that side is the cooler one and takes up heat.",
    "Нужно, чтобы %3 (%1) была выше, чем %4 (%2): эта сторона холоднее и принимает тепло.",
    "Je potrebné, aby %3 (%1) bola vyššia ako %4 (%2): táto strana je chladnejšia a prijíma teplo.",
    "Die %3 (%1) muss über der %4 (%2) liegen: diese Seite ist die kältere und nimmt Wärme auf.",
    "Este necesar ca %3 (%1) să fie peste %4 (%2): această parte este cea mai rece și primește căldură.",
    "La %3 (%1) deve essere superiore alla %4 (%2): questo lato è il più freddo e riceve calore.",
};

// %1: the outlet, %2: the other inlet, %3: the outlet's name, %4: the other inlet's name.
constexpr Texts kCrossBelow = {
    "Hőmérséklet-keresztezés: a %3 (%1) a %4 (%2) alatt van. Ellenáramban egy oldal legfeljebb a másik oldal "
    "belépő hőmérsékletét érheti el.",
    "Temperature cross: the %3 (%1) is below the %4 (%2). In counter-current flow a side can at most reach the "
    "other side's inlet temperature.",
    "Пересечение температур: %3 (%1) ниже, чем %4 (%2). При противотоке сторона может достичь самое большее "
    "температуры на входе другой стороны.",
    "Kríženie teplôt: %3 (%1) je nižšia ako %4 (%2). Pri protiprúde môže strana dosiahnuť najviac vstupnú teplotu "
    "druhej strany.",
    "Temperaturkreuzung: die %3 (%1) liegt unter der %4 (%2). Im Gegenstrom erreicht eine Seite höchstens die "
    "Eintrittstemperatur der anderen.",
    "Încrucișare de temperaturi: %3 (%1) este sub %4 (%2). În contracurent o parte poate atinge cel mult "
    "temperatura de intrare a celeilalte.",
    "Incrocio di temperature: la %3 (%1) è inferiore alla %4 (%2). In controcorrente un lato può raggiungere al "
    "massimo la temperatura di ingresso dell'altro.",
};
constexpr Texts kCrossAbove = {
    "Hőmérséklet-keresztezés: a %3 (%1) a %4 (%2) felett van. Ellenáramban egy oldal legfeljebb a másik oldal "
    "belépő hőmérsékletét érheti el.",
    "Temperature cross: the %3 (%1) is above the %4 (%2). In counter-current flow a side can at most reach the "
    "other side's inlet temperature.",
    "Пересечение температур: %3 (%1) выше, чем %4 (%2). При противотоке сторона может достичь самое большее "
    "температуры на входе другой стороны.",
    "Kríženie teplôt: %3 (%1) je vyššia ako %4 (%2). Pri protiprúde môže strana dosiahnuť najviac vstupnú teplotu "
    "druhej strany.",
    "Temperaturkreuzung: die %3 (%1) liegt über der %4 (%2). Im Gegenstrom erreicht eine Seite höchstens die "
    "Eintrittstemperatur der anderen.",
    "Încrucișare de temperaturi: %3 (%1) este peste %4 (%2). În contracurent o parte poate atinge cel mult "
    "temperatura de intrare a celeilalte.",
    "Incrocio di temperature: la %3 (%1) è superiore alla %4 (%2). In controcorrente un lato può raggiungere al "
    "massimo la temperatura di ingresso dell'altro.",
};

// %1: the flow's name, %2: the flow, %3: the most it takes, %4: the duty,
// %5: the outlet's name, %6: the other inlet's name.
constexpr Texts kDutyBeyond = {
    "A %1 (%2) a két belépő hőmérséklet között legfeljebb %3 teljesítményt visz át: %4 hőteljesítményhez a %5 a "
    "%6 túloldalára kerülne (hőmérséklet-keresztezés). Csökkentse a teljesítményt vagy növelje a térfogatáramot.",
    "The %1 of %2 takes at most %3 between the two inlet temperatures: a heat duty of %4 would need a %5 beyond "
    "the %6 (a temperature cross). Lower the duty or raise the flow.",
    "При значении «%1» %2 между двумя температурами на входе передаётся не более %3: для мощности %4 величина "
    "«%5» оказалась бы по другую сторону величины «%6» (пересечение температур). Уменьшите мощность или "
    "увеличьте расход.",
    "Pri hodnote „%1“ %2 sa medzi oboma vstupnými teplotami prenesie najviac %3: výkon %4 by vyžadoval, aby "
    "hodnota „%5“ prekročila hodnotu „%6“ (kríženie teplôt). Znížte výkon alebo zvýšte prietok.",
    "Bei einem %1 von %2 werden zwischen den beiden Eintrittstemperaturen höchstens %3 übertragen: eine "
    "Wärmeleistung von %4 verlangte eine %5 jenseits der %6 (Temperaturkreuzung). Senken Sie die Leistung oder "
    "erhöhen Sie den Volumenstrom.",
    "Cu %1 de %2 se transferă cel mult %3 între cele două temperaturi de intrare: o putere de %4 ar cere ca %5 să "
    "treacă dincolo de %6 (încrucișare de temperaturi). Micșorați puterea sau măriți debitul.",
    "Con una %1 di %2 tra le due temperature di ingresso si trasferiscono al massimo %3: una potenza di %4 "
    "richiederebbe una %5 oltre la %6 (incrocio di temperature). Ridurre la potenza o aumentare la portata.",
};

// %1: the flow's name, %2: the flow derived, %3: by how much it exceeds, %4: the largest.
constexpr Texts kFlowAbove = {
    "A számított %1 (%2) %3 értékkel meghaladja a mező legnagyobb értékét (%4).",
    "The derived %1, %2, is %3 above the largest the field holds (%4).",
    "Вычисленное значение «%1» (%2) на %3 больше наибольшего допустимого (%4).",
    "Vypočítaná hodnota „%1“ (%2) je o %3 väčšia ako najväčšia povolená (%4).",
    "Der berechnete %1 (%2) liegt um %3 über dem größten Wert des Feldes (%4).",
    "Valoarea calculată pentru %1 (%2) depășește cu %3 cea mai mare valoare a câmpului (%4).",
    "La %1 calcolata (%2) supera di %3 il valore massimo del campo (%4).",
};
// %1: the flow's name, %2: the smallest the field holds above 0.
constexpr Texts kFlowBelow = {
    "A számított %1 0-ra kerekedik (a mező legkisebb értéke %2).",
    "The derived %1 rounds to 0 (the smallest the field holds is %2).",
    "Вычисленное значение «%1» округляется до 0 (наименьшее допустимое — %2).",
    "Vypočítaná hodnota „%1“ sa zaokrúhli na 0 (najmenšia povolená je %2).",
    "Der berechnete %1 rundet auf 0 (der kleinste Wert des Feldes ist %2).",
    "Valoarea calculată pentru %1 se rotunjește la 0 (cea mai mică valoare a câmpului este %2).",
    "La %1 calcolata si arrotonda a 0 (il valore minimo del campo è %2).",
};

// ---------------------------------------------------------------- reaching a target

// %1: the type names.
constexpr Texts kBadType = {
    "Válasszon típust a listából: %1.",
    "Choose a type of the list: %1.",
    "Выберите тип из списка: %1.",
    "Vyberte typ zo zoznamu: %1.",
    "Wählen Sie einen Typ aus der Liste: %1.",
    "Alegeți un tip din listă: %1.",
    "Scegliere un tipo dall'elenco: %1.",
};

constexpr Texts kBadTarget = {
    "A célértéket számként adja meg.",
    "Enter the target value as a number.",
    "Введите целевое значение числом.",
    "Zadajte cieľovú hodnotu ako číslo.",
    "Geben Sie den Zielwert als Zahl ein.",
    "Introduceți valoarea țintă ca număr.",
    "Inserire il valore obiettivo come numero.",
};

// %1: the result's name, %2: the input's name, %3: the result.
constexpr Texts kUnaffected = {
    "A %1 nem függ a %2 értékétől: %3 marad.",
    "The %1 does not depend on the %2: it stays at %3.",
    "Величина «%1» не зависит от величины «%2»: она остаётся равной %3.",
    "Hodnota „%1“ nezávisí od hodnoty „%2“: zostáva %3.",
    "„%1“ hängt nicht von „%2“ ab: der Wert bleibt %3.",
    "Valoarea „%1” nu depinde de „%2”: rămâne %3.",
    "Il valore «%1» non dipende da «%2»: resta %3.",
};
constexpr Texts kUnaffectedUnrated = {
    "A %1 nem függ a %2 értékétől.",
    "The %1 does not depend on the %2.",
    "Величина «%1» не зависит от величины «%2».",
    "Hodnota „%1“ nezávisí od hodnoty „%2“.",
    "„%1“ hängt nicht von „%2“ ab.",
    "Valoarea „%1” nu depinde de „%2”.",
    "Il valore «%1» non dipende da «%2».",
};

// %1: the input's name, %2: why (one of the reasons below).
constexpr Texts kNoRating = {
    "A %1 egyetlen értékével sem számítható ez a berendezés: %2",
    "No %1 gives a rating of this installation: %2",
    "Ни при каком значении «%1» эту установку нельзя рассчитать: %2",
    "Pri žiadnej hodnote „%1“ sa toto zariadenie nedá vypočítať: %2",
    "Mit keinem Wert von „%1“ lässt sich diese Anlage berechnen: %2",
    "Instalația nu poate fi calculată cu nicio valoare pentru „%1”: %2",
    "Per nessun valore di «%1» l'impianto si può calcolare: %2",
};
// %3: the flow's name.
constexpr Texts kZeroFlow = {
    "a %3 0.", "the %3 is 0.", "значение «%3» равно 0.", "hodnota „%3“ je 0.", "„%3“ ist 0.", "„%3” este 0.",
    "«%3» è 0.",
};
constexpr Texts kEqualInletsReason = {
    "a belépő hőmérsékletek egyenlők.", "the inlet temperatures are equal.", "температуры на входе равны.",
    "vstupné teploty sú rovnaké.",      "die Eintrittstemperaturen sind gleich.",
    "temperaturile de intrare sunt egale.", "le temperature di ingresso sono uguali.",
};
// %3: the drop's name.
constexpr Texts kDropLimit = {
    "a %3 eléri a 10000 bart.", "the %3 reaches 10000 bar.", "значение «%3» достигает 10000 bar.",
    "hodnota „%3“ dosahuje 10000 bar.", "„%3“ erreicht 10000 bar.", "„%3” atinge 10000 bar.",
    "«%3» raggiunge 10000 bar.",
};
constexpr Texts kOther = {
    "a számítás nem fut le.", "the rating fails.", "расчёт не выполняется.", "výpočet zlyhá.",
    "die Berechnung schlägt fehl.", "calculul eșuează.", "il calcolo non riesce.",
};

// %1: the input's name, %2 and %3: its field's ends, %4: the result's name,
// %5: the target, %6 and %7: the smallest and largest result.
constexpr Texts kUnreachable = {
    "A %1 %2 és %3 közötti értékeivel a %4 nem éri el a célértéket (%5): %6 és %7 között marad.",
    "No %1 from %2 to %3 brings the %4 to %5: it ranges from %6 to %7 over them.",
    "Ни при каком значении «%1» от %2 до %3 величина «%4» не равна %5: она лежит в пределах от %6 до %7.",
    "Pri žiadnej hodnote „%1“ od %2 do %3 nedosiahne „%4“ hodnotu %5: pohybuje sa od %6 do %7.",
    "Kein Wert von „%1“ zwischen %2 und %3 bringt „%4“ auf %5: der Wert liegt dort zwischen %6 und %7.",
    "Nicio valoare pentru „%1” între %2 și %3 nu aduce „%4” la %5: aceasta rămâne între %6 și %7.",
    "Nessun valore di «%1» tra %2 e %3 porta «%4» a %5: resta tra %6 e %7.",
};

std::size_t language(int nyelv) { return rating::languageIndex(nyelv); }

const char *unitOf(int index) { return rating::flowUnitName(index); }

// Numbers as the main window writes them.
std::string number(double v, int decimals, const std::string &sep)
{
    if (std::isnan(v)) return "?";
    return rating::FixedText(v, decimals, sep);
}
std::string kw(double v, const std::string &sep) { return number(v, 2, sep) + " kW"; }
std::string celsius(double v, const std::string &sep) { return number(v, 2, sep) + " \u00B0C"; }
std::string kpa(double v, const std::string &sep) { return number(v, 3, sep) + " kPa"; }
std::string flow(double v, int unit, const std::string &sep) { return number(v, 2, sep) + " " + unitOf(unit); }

// A field's ends without trailing zeros ("0.01", "150", "-5").
std::string end(double v, const std::string &sep)
{
    std::string s = rating::FixedText(v, 7, sep);
    const auto at = s.find(sep);
    if (at == std::string::npos) return s;
    while (s.size() > at + sep.size() && s.back() == '0') s.pop_back();
    if (s.size() == at + sep.size()) s.erase(at);
    return s;
}

Name nameOfQuantity(Quantity q)
{
    switch (q) {
    case Quantity::Duty: return nDuty;
    case Quantity::JacketFlow: return nJacketFlow;
    case Quantity::CoilFlow: return nCoilFlow;
    case Quantity::JacketOutlet: return nJacketOutlet;
    case Quantity::CoilOutlet: return nCoilOutlet;
    case Quantity::JacketInlet: return nJacketInlet;
    case Quantity::CoilInlet: return nCoilInlet;
    }
    return nDuty;
}

Name nameOfInput(Input i)
{
    switch (i) {
    case Input::JacketFlow: return nJacketFlow;
    case Input::CoilFlow: return nCoilFlow;
    case Input::JacketInlet: return nJacketInlet;
    case Input::CoilInlet: return nCoilInlet;
    case Input::Fouling: return nFouling;
    }
    return nJacketFlow;
}

Name nameOfOutput(Output o)
{
    switch (o) {
    case Output::Duty: return nDuty;
    case Output::JacketOutlet: return nJacketOutlet;
    case Output::CoilOutlet: return nCoilOutlet;
    case Output::JacketDrop: return nJacketDrop;
    case Output::CoilDrop: return nCoilDrop;
    }
    return nDuty;
}

std::string name(Name n, std::size_t lang) { return kNames[n][lang]; }

// The value of a result in its unit.
std::string resultText(Output o, double v, const std::string &sep)
{
    switch (o) {
    case Output::Duty: return kw(v, sep);
    case Output::JacketOutlet:
    case Output::CoilOutlet: return celsius(v, sep);
    default: return kpa(v, sep);
    }
}

} // namespace

std::string nameOf(Quantity q, int nyelv) { return name(nameOfQuantity(q), language(nyelv)); }
std::string nameOf(Input i, int nyelv) { return name(nameOfInput(i), language(nyelv)); }
std::string nameOf(Output o, int nyelv) { return name(nameOfOutput(o), language(nyelv)); }

std::string explainBalance(const Conditions &c, const BalanceRefusal &why, int nyelv, const std::string &sep)
{
    const std::size_t n = language(nyelv);
    using K = BalanceRefusal::Kind;
    const bool coil = why.side == Side::Coil;
    const Name ownFlow = coil ? nCoilFlow : nJacketFlow, ownOutlet = coil ? nCoilOutlet : nJacketOutlet;
    const Name ownInlet = coil ? nCoilInlet : nJacketInlet, otherInlet = coil ? nJacketInlet : nCoilInlet;
    const int unit = coil ? c.CbMVsIndex : c.CbMVkIndex;
    switch (why.kind) {
    case K::None: return {};
    case K::NotThree: {
        std::string all;
        for (Name q : {nJacketFlow, nCoilFlow, nJacketOutlet, nCoilOutlet, nDuty})
            all += (all.empty() ? "" : ", ") + name(q, n);
        return fill(kNotThree[n], {std::to_string(why.count), all});
    }
    case K::BadValue: {
        const std::string what = name(nameOfQuantity(why.what), n);
        switch (why.what) {
        case Quantity::Duty: return fill(kPositiveDuty[n], {what});
        case Quantity::JacketFlow:
        case Quantity::CoilFlow:
            return fill(kRange[n], {what, end(0.01, sep),
                                    end(rating::MaxFlow, sep) + " " +
                                        unitOf(why.what == Quantity::CoilFlow ? c.CbMVsIndex : c.CbMVkIndex)});
        default: return fill(kRange[n], {what, end(rating::MinInlet, sep), end(rating::MaxInlet, sep) + " \u00B0C"});
        }
    }
    case K::EqualInlets: return kEqualInlets[n];
    case K::SideTwice: return coil ? kCoilTwice[n] : kJacketTwice[n];
    case K::WrongSide: {
        const bool hot = why.limit > (coil ? c.tkb : c.tsb);
        return fill(hot ? kMustBeBelow[n] : kMustBeAbove[n],
                    {celsius(why.value, sep), celsius(why.limit, sep), name(ownOutlet, n), name(ownInlet, n)});
    }
    case K::Cross: {
        const bool below = why.value < why.limit;
        return fill(below ? kCrossBelow[n] : kCrossAbove[n],
                    {celsius(why.value, sep), celsius(why.limit, sep), name(ownOutlet, n), name(otherInlet, n)});
    }
    case K::DutyBeyond: {
        const std::optional<double> &f = coil ? c.MVs : c.MVk;
        return fill(kDutyBeyond[n], {name(ownFlow, n), flow(f.value_or(std::nan("")), unit, sep), kw(why.limit, sep),
                                     kw(why.value, sep), name(ownOutlet, n), name(otherInlet, n)});
    }
    case K::FlowRange:
        if (why.value > why.limit)
            return fill(kFlowAbove[n], {name(ownFlow, n), flow(why.value, unit, sep),
                                        flow(why.value - why.limit, unit, sep), flow(why.limit, unit, sep)});
        return fill(kFlowBelow[n], {name(ownFlow, n), flow(why.limit, unit, sep)});
    }
    return {};
}

std::string explainReach(const rating::Case &c, Input vary, Output result, double target, const ReachRefusal &why,
                         int nyelv, const std::string &sep)
{
    const std::size_t n = language(nyelv);
    using K = ReachRefusal::Kind;
    const std::string input = name(nameOfInput(vary), n), output = name(nameOfOutput(result), n);
    switch (why.kind) {
    case K::None: return {};
    case K::BadCase:
        switch (why.field) {
        case CaseField::Type: {
            std::string types;
            for (int t = 0; t < rating::TipusCount; ++t) types += std::string(t ? ", " : "") + rating::TipusNevek[t];
            return fill(kBadType[n], {types});
        }
        case CaseField::Series: return fill(kWholeRange[n], {name(nSeries, n), "1", "150"});
        case CaseField::Parallel: return fill(kWholeRange[n], {name(nParallel, n), "1", "150"});
        case CaseField::JacketFlow:
        case CaseField::CoilFlow: {
            const bool coil = why.field == CaseField::CoilFlow;
            return fill(kRange[n], {name(coil ? nCoilFlow : nJacketFlow, n), end(rating::MinFlow, sep),
                                    end(rating::MaxFlow, sep) + " " + unitOf(coil ? c.CbMVsIndex : c.CbMVkIndex)});
        }
        case CaseField::JacketInlet:
        case CaseField::CoilInlet:
            return fill(kRange[n], {name(why.field == CaseField::CoilInlet ? nCoilInlet : nJacketInlet, n),
                                    end(rating::MinInlet, sep), end(rating::MaxInlet, sep) + " \u00B0C"});
        case CaseField::Fouling:
            return fill(kRange[n], {name(nFouling, n), end(rating::MinFouling, sep),
                                    end(rating::MaxFouling, sep) + " m2\u00B0C/W"});
        }
        return {};
    case K::BadTarget: return kBadTarget[n];
    case K::Unaffected:
        if (std::isnan(why.value)) return fill(kUnaffectedUnrated[n], {output, input});
        return fill(kUnaffected[n], {output, input, resultText(result, why.value, sep)});
    case K::NoRating: {
        std::string reason;
        switch (why.reason) {
        case ReachRefusal::Reason::ZeroFlow:
            reason = fill(kZeroFlow[n], {"", "", name(why.coilSide ? nCoilFlow : nJacketFlow, n)});
            break;
        case ReachRefusal::Reason::EqualInlets: reason = kEqualInletsReason[n]; break;
        case ReachRefusal::Reason::DropLimit:
            reason = fill(kDropLimit[n], {"", "", name(why.coilSide ? nCoilDrop : nJacketDrop, n)});
            break;
        case ReachRefusal::Reason::Other: reason = kOther[n]; break;
        }
        return fill(kNoRating[n], {input, reason});
    }
    case K::Unreachable: {
        const Grid g = gridOf(vary);
        const bool isFlow = vary == Input::JacketFlow || vary == Input::CoilFlow;
        const double lo = isFlow ? gridValue(vary, 1) : gridValue(vary, g.first), hi = gridValue(vary, g.last);
        std::string a, b;
        if (isFlow) {
            const int unit = vary == Input::CoilFlow ? c.CbMVsIndex : c.CbMVkIndex;
            a = end(lo, sep), b = end(hi, sep) + " " + unitOf(unit);
        } else if (vary == Input::Fouling) {
            a = end(lo, sep), b = end(hi, sep) + " m2\u00B0C/W";
        } else {
            a = end(lo, sep), b = end(hi, sep) + " \u00B0C";
        }
        return fill(kUnreachable[n], {input, a, b, output, resultText(result, target, sep),
                                      resultText(result, why.low, sep), resultText(result, why.high, sep)});
    }
    }
    return {};
}

} // namespace design
