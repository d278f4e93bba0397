// Language tables. The texts are written as they are shown, in UTF-8
// (this file is UTF-8; keep it so). Note the trailing blank of the Romanian
// LbBelhomS caption: it is part of the text.
#include "languages/languages.h"

#include <iterator>

namespace lang {

namespace {

constexpr Language kLanguages[] = {
    // 0
    {"Magyar", DefaultCharset, false, false,
     {
         /* LbVARDOTORLEX */      "Ellenáramúlag kapcsolt VARDO-TORLEX hőcserélő (víz-víz)",
         /* LbTipus */            "Tipus",
         /* LbKopeny */           "Köpeny oldal",
         /* LbSpiral */           "Spirál oldal",
         /* LbSoros */            "Soros ágak",
         /* LbParhuzamos */       "Párhuzamos",
         /* LbTerfaramK */        "Térfogatáram",
         /* LbTerfaramS */        "Térfogatáram",
         /* LbBelhomK */          "Belépő hőmérséklet",
         /* LbBelhomS */          "Belépő hőmérséklet",
         /* LbKilhomK */          "Kilépő hőmérséklet",
         /* LbKilhomS */          "Kilépő hőmérséklet",
         /* LbNyomasesesK */      "Nyomásesés",
         /* LbNyomasesesS */      "Nyomásesés",
         /* SzHoteljesitmeny */   "Hőteljesítmény",
         /* SzHocserelo */        "hőcserélő",
         /* SzBelhomK */          "Belépő hőmérséklet a köpeny oldalon",
         /* SzBelhomS */          "Belépő hőmérséklet a spirál oldalon",
         /* SzTerfaramK */        "Térfogatáram a köpeny oldalon",
         /* SzTerfaramS */        "Térfogatáram a spirál oldalon",
         /* LbTomegaram */        "Tömegáram",
         /* LbArseb */            "Áramlási sebesség",
         /* LbHoatad */           "Hőátadási tényező",
         /* SzHoatbocsT */        "Hőátbocsátási tényező",
         /* CbPwc */              "nyomtatás grafikonnal",
     }},
    // 1
    {"English", DefaultCharset, false, false,
     {
         /* LbVARDOTORLEX */      "VARDO-TORLEX heat exchanger in couter flow (water-water)",
         /* LbTipus */            "Type",
         /* LbKopeny */           "Shell side",
         /* LbSpiral */           "Spiral side",
         /* LbSoros */            "Serial",
         /* LbParhuzamos */       "Paralel",
         /* LbTerfaramK */        "Volume flow rate",
         /* LbTerfaramS */        "Volume flow rate",
         /* LbBelhomK */          "Inlet temperature",
         /* LbBelhomS */          "Inlet temperature",
         /* LbKilhomK */          "Outlet temperature",
         /* LbKilhomS */          "Outlet temperature",
         /* LbNyomasesesK */      "Pressure drop",
         /* LbNyomasesesS */      "Pressure drop",
         /* SzHoteljesitmeny */   "Total heat transfer",
         /* SzHocserelo */        "heat exchanger",
         /* SzBelhomK */          "Shell side inlet temperature",
         /* SzBelhomS */          "Spiral side inlet temperature",
         /* SzTerfaramK */        "Volume flow rate in shell side",
         /* SzTerfaramS */        "Volume flow rate in spiral side",
         /* LbTomegaram */        "Mass flow rate",
         /* LbArseb */            "Flow velocity",
         /* LbHoatad */           "Heat convection coefficient",
         /* SzHoatbocsT */        "Overall heat transfer coefficient",
         /* CbPwc */              "print with grafikon",
     }},
    // 2
    {"RUS", CyrillicCharset, true, true,
     {
         /* LbVARDOTORLEX */      "Рабочие параметры противоточно соединенных теплообменников типа VARDO-TORLEX (вода-вода)",
         /* LbTipus */            "тип",
         /* LbKopeny */           "кожухная сторона",
         /* LbSpiral */           "спиральная сторона",
         /* LbSoros */            "рядовой",
         /* LbParhuzamos */       "параллельный",
         /* LbTerfaramK */        "объемный поток",
         /* LbTerfaramS */        "объемный поток",
         /* LbBelhomK */          "температура на входе",
         /* LbBelhomS */          "температура на входе",
         /* LbKilhomK */          "температура на выходе",
         /* LbKilhomS */          "температура на выходе",
         /* LbNyomasesesK */      "перепад давлений",
         /* LbNyomasesesS */      "перепад давлений",
         /* SzHoteljesitmeny */   "тепловая мощность",
         /* SzHocserelo */        "теплообменника",
         /* SzBelhomK */          "температура на входе на кожухной стороне",
         /* SzBelhomS */          "температура на входе на спиральной стороне",
         /* SzTerfaramK */        "объемный поток на кожухной стороне",
         /* SzTerfaramS */        "объемный поток на спиральной стороне",
         /* LbTomegaram */        "массовый поток",
         /* LbArseb */            "скорость потока",
         /* LbHoatad */           "коэффициент теплопередачи",
         /* SzHoatbocsT */        "коэффициент теплопрозрачности",
         /* CbPwc */              "Печать с графиком",
     }},
    // 3
    {"Slovensko", DefaultCharset, true, false,
     {
         /* LbVARDOTORLEX */      "Prevádzkové parameter protiprúdovo radeného výmenníka VARDO-TORLEX (Voda-voda)",
         /* LbTipus */            "Typ",
         /* LbKopeny */           "Na strane plášťa",
         /* LbSpiral */           "Strana špirály",
         /* LbSoros */            "Sériový",
         /* LbParhuzamos */       "Paralelný",
         /* LbTerfaramK */        "Hmotnostný prietok",
         /* LbTerfaramS */        "Hmotnostný prietok",
         /* LbBelhomK */          "Vstupná teplota",
         /* LbBelhomS */          "Vstupná teplota",
         /* LbKilhomK */          "Výstupná teplota",
         /* LbKilhomS */          "Výstupná teplota",
         /* LbNyomasesesK */      "Tlakový spád",
         /* LbNyomasesesS */      "Tlakový spád",
         /* SzHoteljesitmeny */   "Tepelný výkon",
         /* SzHocserelo */        "výmenníka",
         /* SzBelhomK */          "Vstupná teplota na strane plášťa",
         /* SzBelhomS */          "Vstupná teplota na strane špirály",
         /* SzTerfaramK */        "Hmotnostný prietok na strane plášťa",
         /* SzTerfaramS */        "Hmotnostný prietok na strane špirály",
         /* LbTomegaram */        "Objemový prietok",
         /* LbArseb */            "Rýchlosť prúdenia",
         /* LbHoatad */           "Súčiniteľ odovzdania tepla",
         /* SzHoatbocsT */        "Súčiniteľ prestupu tepla",
         /* CbPwc */              "Tlač s diagramom (grafom)",
     }},
    // 4
    {"Deutsch", DefaultCharset, false, false,
     {
         /* LbVARDOTORLEX */      "VARDO-TORLEX wärmetauscher im gegenstrom (wasser-wasser)",
         /* LbTipus */            "Typ",
         /* LbKopeny */           "Mantel",
         /* LbSpiral */           "Spiralseite",
         /* LbSoros */            "Serienmäßig",
         /* LbParhuzamos */       "Paralel",
         /* LbTerfaramK */        "Durchflussmenge",
         /* LbTerfaramS */        "Durchflussmenge",
         /* LbBelhomK */          "Eintrittstemperatur",
         /* LbBelhomS */          "Eintrittstemperatur",
         /* LbKilhomK */          "Austrittstemperatur",
         /* LbKilhomS */          "Austrittstemperatur",
         /* LbNyomasesesK */      "Druckverlust",
         /* LbNyomasesesS */      "Druckverlust",
         /* SzHoteljesitmeny */   "Gesamte wärmetübertragung",
         /* SzHocserelo */        "Wärmetauscher",
         /* SzBelhomK */          "Mantelseite eintrittstemperatur",
         /* SzBelhomS */          "Spiralseite eintrittstemperatur",
         /* SzTerfaramK */        "Durchflussmenge mantelseite",
         /* SzTerfaramS */        "Durchflussmenge spiralseitig",
         /* LbTomegaram */        "Massendurchfluss",
         /* LbArseb */            "Strömungsgeschwindigkeit",
         /* LbHoatad */           "Wärmeübertragungskoeffizient",
         /* SzHoatbocsT */        "Gesamtwärmeübertragungskoeffizient",
         /* CbPwc */              "Zeichnungsdiagramm",
     }},
    // 5
    {"Romană", DefaultCharset, false, false,
     {
         /* LbVARDOTORLEX */      "Parametri de funcţionare la schimbătorul (apă-apă)",
         /* LbTipus */            "Tip",
         /* LbKopeny */           "Parte exterioară (mantaua)",
         /* LbSpiral */           "Partea interioară (spirala)",
         /* LbSoros */            "serie",
         /* LbParhuzamos */       "parallel",
         /* LbTerfaramK */        "Volum de apă",
         /* LbTerfaramS */        "Volum de apă",
         /* LbBelhomK */          "Temperatura de intrare",
         /* LbBelhomS */          "Temperatura de intrare ",
         /* LbKilhomK */          "Temperatura de ieşire",
         /* LbKilhomS */          "Temperatura de ieşire",
         /* LbNyomasesesK */      "Nivel de presiune",
         /* LbNyomasesesS */      "Nivel de presiune",
         /* SzHoteljesitmeny */   "Putere calorică",
         /* SzHocserelo */        "schimbătorului",
         /* SzBelhomK */          "Temperatura de intrare pe partea exterioară",
         /* SzBelhomS */          "Temperatura de intrare Pe partea interioară",
         /* SzTerfaramK */        "Volum de apă pe partea exterioară",
         /* SzTerfaramS */        "Volum de apă pe partea interioară",
         /* LbTomegaram */        "Suprafata de trecere",
         /* LbArseb */            "Debit de apă",
         /* LbHoatad */           "Caracteristica calorică predată",
         /* SzHoatbocsT */        "Caracteristica calorică redată",
         /* CbPwc */              "Imprimare grafică",
     }},
    // 6
    {"Italiano", DefaultCharset, false, false,
     {
         /* LbVARDOTORLEX */      "Scambiatore di calore VARDO-TORLEX in flusso inverso (acqua-acqua)",
         /* LbTipus */            "Tipo",
         /* LbKopeny */           "Lato a conchiglia",
         /* LbSpiral */           "Lato a spirale",
         /* LbSoros */            "Periodico",
         /* LbParhuzamos */       "Paralelo",
         /* LbTerfaramK */        "Ampiezza del tasso di flusso",
         /* LbTerfaramS */        "Ampiezza del tasso di flusso",
         /* LbBelhomK */          "Temperatura interna",
         /* LbBelhomS */          "Temperatura interna",
         /* LbKilhomK */          "Temperatura esterna",
         /* LbKilhomS */          "Temperatura esterna",
         /* LbNyomasesesK */      "Abbassamento di pressione",
         /* LbNyomasesesS */      "Abbassamento di pressione",
         /* SzHoteljesitmeny */   "Trasferimento totale di calore",
         /* SzHocserelo */        "scambiatore di calore",
         /* SzBelhomK */          "Lato a conchiglia temperatura interna",
         /* SzBelhomS */          "Lato a spirale temperatura interna",
         /* SzTerfaramK */        "Ampiezza del tasso di flusso nel lato a conchiglia",
         /* SzTerfaramS */        "Ampiezza del tasso di flusso nel lato a spirale",
         /* LbTomegaram */        "Ampiezza del tasso di massa",
         /* LbArseb */            "Velocit del flusso",
         /* LbHoatad */           "Coefficiente di convezione di calore",
         /* SzHoatbocsT */        "Coefficiente di trasferimento totale di calore",
         /* CbPwc */              "Stampare con un diagramma",
     }},
};

constexpr const char *kTargetNames[TargetCount] = {
    "LbVARDOTORLEX", "LbTipus",     "LbKopeny",         "LbSpiral",    "LbSoros",
    "LbParhuzamos",  "LbTerfaramK", "LbTerfaramS",      "LbBelhomK",   "LbBelhomS",
    "LbKilhomK",     "LbKilhomS",   "LbNyomasesesK",    "LbNyomasesesS",
    "SzHoteljesitmeny", "SzHocserelo", "SzBelhomK",     "SzBelhomS",   "SzTerfaramK",
    "SzTerfaramS",   "LbTomegaram", "LbArseb",          "LbHoatad",    "SzHoatbocsT",
    "CbPwc",
};

constexpr int kCount = int(std::size(kLanguages));
static_assert(kCount == 7);

} // namespace

int count()
{
    return kCount;
}

const Language *language(int nyelv)
{
    if (nyelv < 0 || nyelv >= kCount)
        return nullptr;
    return &kLanguages[nyelv];
}

const char *targetName(Target target)
{
    if (target < 0 || target >= TargetCount)
        return nullptr;
    return kTargetNames[target];
}

bool isPhrase(Target target)
{
    switch (target) {
    case SzHoteljesitmeny:
    case SzHocserelo:
    case SzBelhomK:
    case SzBelhomS:
    case SzTerfaramK:
    case SzTerfaramS:
    case SzHoatbocsT:
        return true;
    default:
        return false;
    }
}

} // namespace lang
