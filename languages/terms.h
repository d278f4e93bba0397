#pragma once
// The names of the quantities that more than one window writes (the
// selection window, the cases window, the comparison, the design
// conditions), so that a term reads the same wherever it stands.
#include "languages/languages.h"

namespace lang::terms {

constexpr Texts VolumeFlow = {
    "Térfogatáram",  "Volume flow rate", "Объемный расход",     "Objemový prietok",
    "Volumenstrom", "Debit volumic",    "Portata volumetrica",
};
constexpr Texts InletTemperature = {
    "Belépő hőmérséklet",  "Inlet temperature",      "Температура на входе",    "Vstupná teplota",
    "Eintrittstemperatur", "Temperatura de intrare", "Temperatura di ingresso",
};
constexpr Texts OutletTemperature = {
    "Kilépő hőmérséklet",  "Outlet temperature",    "Температура на выходе", "Výstupná teplota",
    "Austrittstemperatur", "Temperatura de ieșire", "Temperatura di uscita",
};

// A table column's heading (lines split by '\n') and its tooltip.
struct ColumnTexts {
    Texts heading, tip;
};

constexpr ColumnTexts TypeColumn = {
    {"Típus", "Type", "Тип", "Typ", "Typ", "Tip", "Tipo"},
    {"A hőcserélő típusa", "Type of the exchanger", "Тип теплообменника", "Typ výmenníka",
     "Typ des Wärmeübertragers", "Tipul schimbătorului", "Tipo dello scambiatore"},
};
constexpr ColumnTexts SeriesColumn = {
    {"Soros", "Series", "Послед.", "V sérii", "Reihe", "Serie", "Serie"},
    {"Sorba kapcsolt egységek egy ágban", "Units in series in each branch", "Аппаратов последовательно в каждой ветви",
     "Jednotiek v sérii v každej vetve", "Einheiten in Reihe je Strang", "Unități în serie pe fiecare ramură",
     "Unità in serie per ramo"},
};
constexpr ColumnTexts ParallelColumn = {
    {"Párhuzamos", "Parallel", "Паралл.", "Paralelne", "Parallel", "Paralel", "Parallelo"},
    {"Párhuzamos ágak", "Branches in parallel", "Параллельных ветвей", "Paralelných vetiev", "Parallele Stränge",
     "Ramuri în paralel", "Rami in parallelo"},
};
constexpr ColumnTexts DutyColumn = {
    {"Teljesítmény\nkW", "Duty\nkW", "Мощность\nkW", "Výkon\nkW", "Leistung\nkW", "Putere\nkW", "Potenza\nkW"},
    {"Hőteljesítmény, kW", "Heat duty, kW", "Тепловая мощность, kW", "Tepelný výkon, kW", "Wärmeleistung, kW",
     "Putere termică, kW", "Potenza termica, kW"},
};
constexpr ColumnTexts OutletColumn = {
    {"Kilépő\n°C", "Outlet\n°C", "Выход\n°C", "Výstup\n°C", "Austritt\n°C", "Ieșire\n°C", "Uscita\n°C"},
    {"Kilépő hőmérséklet, °C", "Outlet temperature, °C", "Температура на выходе, °C", "Výstupná teplota, °C",
     "Austrittstemperatur, °C", "Temperatura de ieșire, °C", "Temperatura di uscita, °C"},
};
constexpr ColumnTexts DropColumn = {
    {"Nyomásesés\nkPa", "Pressure drop\nkPa", "Перепад\nkPa", "Tlak. spád\nkPa", "Druckverlust\nkPa",
     "Cădere pres.\nkPa", "Perdita\nkPa"},
    {"Nyomásesés, kPa", "Pressure drop, kPa", "Перепад давлений, kPa", "Tlakový spád, kPa", "Druckverlust, kPa",
     "Cădere de presiune, kPa", "Perdita di carico, kPa"},
};

} // namespace lang::terms
