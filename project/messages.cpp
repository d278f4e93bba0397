#include "project/messages.h"

#include "rating/fields.h"
#include "rating/model.h"
#include "rating/sentence.h"
#include "textio/number.h"

#include <array>
#include <initializer_list>

namespace project {

namespace {

// One text per language, in the order of the language list. %1, %2, ...
// stand for the arguments of fill(). Keys and values appear as the file
// writes them (keys in double quotes, values as JSON); the file and case
// names in each language's own quotation marks.
using rating::fill;
using rating::Texts;

static_assert(maxFileBytes == 10'000'000, "the sentences say 10 MB");

// ---- where: %1 the file; %2 the case's number from 1; %3 its name

constexpr Texts kAtFile = {"„%1”", "'%1'", "«%1»", "„%1“", "„%1“", "„%1”", "“%1”"};
constexpr Texts kAtCase = {
    "„%1”, %2. eset", "'%1', case %2", "«%1», вариант %2", "„%1“, prípad %2",
    "„%1“, Fall %2",  "„%1”, cazul %2", "“%1”, caso %2",
};
constexpr Texts kAtNamedCase = {
    "„%1”, %2. eset („%3”)", "'%1', case %2 ('%3')", "«%1», вариант %2 («%3»)", "„%1“, prípad %2 („%3“)",
    "„%1“, Fall %2 („%3“)",  "„%1”, cazul %2 („%3”)", "“%1”, caso %2 (“%3”)",
};

// ---- the whole file: %1 the file

// %2: the system's reason.
constexpr Texts kUnreadable = {
    "A(z) „%1” fájl nem olvasható: %2.",
    "Cannot read '%1': %2.",
    "Не удается прочитать файл «%1»: %2.",
    "Súbor „%1“ sa nedá prečítať: %2.",
    "Die Datei „%1“ kann nicht gelesen werden: %2.",
    "Fișierul „%1” nu poate fi citit: %2.",
    "Impossibile leggere il file “%1”: %2.",
};

// %2: its size in bytes.
constexpr Texts kTooLarge = {
    "A(z) „%1” fájl túl nagy egy projektfájlhoz: %2 bájt, több mint 10 MB.",
    "'%1' is too large for a project file: %2 bytes, more than 10 MB.",
    "Файл «%1» слишком велик для файла проекта: %2 байт, больше 10 МБ.",
    "Súbor „%1“ je na projektový súbor príliš veľký: %2 bajtov, viac ako 10 MB.",
    "Die Datei „%1“ ist für eine Projektdatei zu groß: %2 Bytes, mehr als 10 MB.",
    "Fișierul „%1” este prea mare pentru un fișier de proiect: %2 octeți, mai mult de 10 MB.",
    "Il file “%1” è troppo grande per un file di progetto: %2 byte, più di 10 MB.",
};
constexpr Texts kTooLargeUnknown = {
    "A(z) „%1” fájl túl nagy egy projektfájlhoz: több mint 10 MB.",
    "'%1' is too large for a project file: more than 10 MB.",
    "Файл «%1» слишком велик для файла проекта: больше 10 МБ.",
    "Súbor „%1“ je na projektový súbor príliš veľký: viac ako 10 MB.",
    "Die Datei „%1“ ist für eine Projektdatei zu groß: mehr als 10 MB.",
    "Fișierul „%1” este prea mare pentru un fișier de proiect: mai mult de 10 MB.",
    "Il file “%1” è troppo grande per un file di progetto: più di 10 MB.",
};

// %2 line, %3 column, %4 the byte.
constexpr Texts kNotUtf8 = {
    "A(z) „%1” fájl nem projektfájl: nem UTF-8 kódolású szöveg (%2. sor, %3. oszlop: %4 bájt).",
    "'%1' is not a project file: it is not UTF-8 text (line %2, column %3: byte %4).",
    "Файл «%1» не является файлом проекта: это не текст в кодировке UTF-8 (строка %2, столбец %3: байт %4).",
    "Súbor „%1“ nie je projektový súbor: nie je to text v kódovaní UTF-8 (riadok %2, stĺpec %3: bajt %4).",
    "Die Datei „%1“ ist keine Projektdatei: Sie ist kein UTF-8-Text (Zeile %2, Spalte %3: Byte %4).",
    "Fișierul „%1” nu este un fișier de proiect: nu este text UTF-8 (linia %2, coloana %3: octetul %4).",
    "Il file “%1” non è un file di progetto: non è testo UTF-8 (riga %2, colonna %3: byte %4).",
};

// %2 line, %3 column, %4 what is wrong there (one of the kJson texts).
constexpr Texts kNotJson = {
    "A(z) „%1” fájl nem projektfájl: nem érvényes JSON a(z) %2. sor %3. oszlopában: %4.",
    "'%1' is not a project file: it is not valid JSON at line %2, column %3: %4.",
    "Файл «%1» не является файлом проекта: ошибка JSON в строке %2, столбце %3: %4.",
    "Súbor „%1“ nie je projektový súbor: neplatný JSON na riadku %2, v stĺpci %3: %4.",
    "Die Datei „%1“ ist keine Projektdatei: ungültiges JSON in Zeile %2, Spalte %3: %4.",
    "Fișierul „%1” nu este un fișier de proiect: JSON nevalid la linia %2, coloana %3: %4.",
    "Il file “%1” non è un file di progetto: JSON non valido alla riga %2, colonna %3: %4.",
};

// What is wrong in the JSON, by json::SyntaxError::Reason (after NotUtf8);
// %1: what is there.
constexpr Texts kJson[] = {
    { // Empty
        "a fájl üres", "the file is empty", "файл пуст", "súbor je prázdny", "die Datei ist leer",
        "fișierul este gol", "il file è vuoto",
    },
    { // End
        "a szöveg egy érték közepén ér véget", "the text ends in the middle of a value",
        "текст обрывается посреди значения", "text končí uprostred hodnoty", "der Text endet mitten in einem Wert",
        "textul se termină în mijlocul unei valori", "il testo termina a metà di un valore",
    },
    { // ExpectedValue
        "itt értéknek kell állnia, nem ennek: %1", "a value is due here, not %1",
        "здесь ожидается значение, а не %1", "tu sa očakáva hodnota, nie %1",
        "hier wird ein Wert erwartet, nicht %1", "aici se așteaptă o valoare, nu %1",
        "qui è atteso un valore, non %1",
    },
    { // ExpectedKey
        "itt idézőjelek közötti kulcsnak kell állnia, nem ennek: %1", "a key in double quotes is due here, not %1",
        "здесь ожидается ключ в двойных кавычках, а не %1", "tu sa očakáva kľúč v úvodzovkách, nie %1",
        "hier wird ein Schlüssel in doppelten Anführungszeichen erwartet, nicht %1",
        "aici se așteaptă o cheie între ghilimele duble, nu %1", "qui è attesa una chiave tra virgolette doppie, non %1",
    },
    { // ExpectedColon
        "a kulcs után ':' kell álljon, nem %1", "':' is due after the key, not %1",
        "после ключа ожидается ':', а не %1", "za kľúčom sa očakáva ':', nie %1",
        "nach dem Schlüssel wird ':' erwartet, nicht %1", "după cheie se așteaptă ':', nu %1",
        "dopo la chiave è atteso ':', non %1",
    },
    { // ExpectedCommaOrBracket
        "itt ',' vagy ']' kell álljon, nem %1", "',' or ']' is due here, not %1",
        "здесь ожидается ',' или ']', а не %1", "tu sa očakáva ',' alebo ']', nie %1",
        "hier wird ',' oder ']' erwartet, nicht %1", "aici se așteaptă ',' sau ']', nu %1",
        "qui è atteso ',' o ']', non %1",
    },
    { // ExpectedCommaOrBrace
        "itt ',' vagy '}' kell álljon, nem %1", "',' or '}' is due here, not %1",
        "здесь ожидается ',' или '}', а не %1", "tu sa očakáva ',' alebo '}', nie %1",
        "hier wird ',' oder '}' erwartet, nicht %1", "aici se așteaptă ',' sau '}', nu %1",
        "qui è atteso ',' o '}', non %1",
    },
    { // TrailingText
        "az érték vége után még folytatódik a szöveg: %1", "there is more after the end of the value: %1",
        "после конца значения есть ещё текст: %1", "za koncom hodnoty pokračuje text: %1",
        "nach dem Ende des Werts folgt weiterer Text: %1", "după sfârșitul valorii mai urmează text: %1",
        "dopo la fine del valore c'è altro testo: %1",
    },
    { // ControlCharacter
        "karakterláncban a vezérlőkaraktert (%1) escape-sorozattal kell írni",
        "a control character (%1) in a string must be written as an escape",
        "управляющий символ (%1) в строке должен быть записан escape-последовательностью",
        "riadiaci znak (%1) v reťazci musí byť zapísaný ako escape sekvencia",
        "ein Steuerzeichen (%1) in einer Zeichenkette muss als Escape-Sequenz geschrieben werden",
        "un caracter de control (%1) dintr-un șir trebuie scris ca secvență escape",
        "un carattere di controllo (%1) in una stringa va scritto come sequenza di escape",
    },
    { // BadEscape
        "%1 nem érvényes JSON escape-sorozat", "%1 is no escape JSON knows",
        "%1 не является допустимой escape-последовательностью JSON", "%1 nie je platná escape sekvencia JSON",
        "%1 ist keine gültige JSON-Escape-Sequenz", "%1 nu este o secvență escape JSON validă",
        "%1 non è una sequenza di escape JSON valida",
    },
    { // LoneSurrogate
        "%1 egy helyettesítő pár (surrogate) fele, a másik fele nélkül",
        "%1 is half of a surrogate pair without the other half", "%1 — половина суррогатной пары без второй половины",
        "%1 je polovica náhradného páru (surrogate) bez druhej polovice",
        "%1 ist die Hälfte eines Surrogatpaars ohne die andere Hälfte",
        "%1 este jumătate dintr-o pereche surogat, fără cealaltă jumătate",
        "%1 è metà di una coppia surrogata senza l'altra metà",
    },
    { // BadNumber
        "%1 nem a JSON által megengedett szám", "%1 is no number JSON allows", "%1 не является допустимым числом JSON",
        "%1 nie je číslo, ktoré JSON pripúšťa", "%1 ist keine in JSON zulässige Zahl",
        "%1 nu este un număr permis în JSON", "%1 non è un numero ammesso in JSON",
    },
    { // NumberRange
        "a(z) %1 szám túl nagy", "the number %1 is too large", "число %1 слишком велико", "číslo %1 je príliš veľké",
        "die Zahl %1 ist zu groß", "numărul %1 este prea mare", "il numero %1 è troppo grande",
    },
    { // TooDeep
        "az értékek 64 szintnél mélyebben egymásba ágyazottak", "values are nested more than 64 levels deep",
        "значения вложены глубже 64 уровней", "hodnoty sú vnorené hlbšie ako 64 úrovní",
        "Werte sind tiefer als 64 Ebenen verschachtelt", "valorile sunt imbricate pe mai mult de 64 de niveluri",
        "i valori sono annidati per più di 64 livelli",
    },
    { // DuplicateKey
        "a(z) %1 kulcs kétszer szerepel ugyanabban az objektumban", "the key %1 appears twice in one object",
        "ключ %1 встречается в одном объекте дважды", "kľúč %1 sa v jednom objekte vyskytuje dvakrát",
        "der Schlüssel %1 kommt in einem Objekt zweimal vor", "cheia %1 apare de două ori în același obiect",
        "la chiave %1 compare due volte nello stesso oggetto",
    },
};
static_assert(std::size(kJson) == static_cast<std::size_t>(json::SyntaxError::Reason::DuplicateKey),
              "a text for every reason after NotUtf8");
static_assert(json::Parser::maxDepth == 64, "the sentences say 64 levels");

constexpr Texts kNoFormat = {
    "A(z) „%1” fájl nem Ventrano-projekt: nincs benne \"format\": \"ventrano-project\".",
    "'%1' is not a Ventrano project: it has no \"format\": \"ventrano-project\".",
    "Файл «%1» не является проектом Ventrano: в нём нет \"format\": \"ventrano-project\".",
    "Súbor „%1“ nie je projekt Ventrano: chýba v ňom \"format\": \"ventrano-project\".",
    "Die Datei „%1“ ist kein Ventrano-Projekt: Ihr fehlt \"format\": \"ventrano-project\".",
    "Fișierul „%1” nu este un proiect Ventrano: nu conține \"format\": \"ventrano-project\".",
    "Il file “%1” non è un progetto Ventrano: non contiene \"format\": \"ventrano-project\".",
};

// %2: the file's format.
constexpr Texts kOtherFormat = {
    "A(z) „%1” fájl nem Ventrano-projekt: a \"format\" értéke %2, nem \"ventrano-project\".",
    "'%1' is not a Ventrano project: its \"format\" is %2, not \"ventrano-project\".",
    "Файл «%1» не является проектом Ventrano: \"format\" равно %2, а не \"ventrano-project\".",
    "Súbor „%1“ nie je projekt Ventrano: \"format\" je %2, nie \"ventrano-project\".",
    "Die Datei „%1“ ist kein Ventrano-Projekt: \"format\" ist %2, nicht \"ventrano-project\".",
    "Fișierul „%1” nu este un proiect Ventrano: \"format\" este %2, nu \"ventrano-project\".",
    "Il file “%1” non è un progetto Ventrano: \"format\" è %2, non \"ventrano-project\".",
};

// %2: the file's version; %3: the program's.
constexpr Texts kNewerVersion = {
    "A(z) „%1” fájl a projektfájl-formátum %2. változatában készült; ez a program legfeljebb a(z) %3. "
    "változatot olvassa: nyissa meg újabb Ventrano programmal.",
    "'%1' was saved in version %2 of the project file format; this program reads versions up to %3: open it "
    "with a newer Ventrano.",
    "Файл «%1» сохранён в версии %2 формата проекта; эта программа читает версии до %3: откройте его более "
    "новой версией Ventrano.",
    "Súbor „%1“ bol uložený vo verzii %2 formátu projektu; tento program číta verzie najviac do %3: otvorte ho "
    "novším programom Ventrano.",
    "Die Datei „%1“ wurde in Version %2 des Projektformats gespeichert; dieses Programm liest Versionen bis %3: "
    "Öffnen Sie sie mit einem neueren Ventrano.",
    "Fișierul „%1” a fost salvat în versiunea %2 a formatului de proiect; acest program citește versiuni până "
    "la %3: deschideți-l cu un Ventrano mai nou.",
    "Il file “%1” è stato salvato nella versione %2 del formato di progetto; questo programma legge versioni "
    "fino alla %3: apritelo con un Ventrano più recente.",
};

constexpr Texts kNoCases = {
    "A(z) „%1” fájlban nincs egy eset sem; egy projekthez legalább egy kell.",
    "'%1' holds no case; a project needs at least one.",
    "В файле «%1» нет ни одного варианта; в проекте должен быть хотя бы один.",
    "Súbor „%1“ neobsahuje žiadny prípad; projekt potrebuje aspoň jeden.",
    "Die Datei „%1“ enthält keinen Fall; ein Projekt braucht mindestens einen.",
    "Fișierul „%1” nu conține niciun caz; un proiect are nevoie de cel puțin unul.",
    "Il file “%1” non contiene alcun caso; un progetto ne richiede almeno uno.",
};

// %2: the cases in the file; %3: the most a project holds.
constexpr Texts kTooManyCases = {
    "A(z) „%1” fájlban %2 eset van; egy projektben legfeljebb %3 lehet.",
    "'%1' holds %2 cases; a project holds at most %3.",
    "В файле «%1» число вариантов — %2; в проекте их может быть не более %3.",
    "Súbor „%1“ obsahuje %2 prípadov; projekt môže mať najviac %3.",
    "Die Datei „%1“ enthält %2 Fälle; ein Projekt hat höchstens %3.",
    "Fișierul „%1” conține prea multe cazuri (%2); un proiect are cel mult %3.",
    "Il file “%1” contiene %2 casi; un progetto ne ha al massimo %3.",
};

constexpr Texts kTooLargeToSave = {
    "A(z) „%1” fájl nincs mentve: a projekt nagyobb lenne 10 MB-nál, ami a projektfájl felső határa.",
    "'%1' is not saved: the project would be larger than 10 MB, the most a project file may have.",
    "Файл «%1» не сохранён: проект превысил бы 10 МБ, наибольший размер файла проекта.",
    "Súbor „%1“ sa neuložil: projekt by bol väčší ako 10 MB, čo je najväčšia veľkosť projektového súboru.",
    "Die Datei „%1“ wurde nicht gespeichert: Das Projekt wäre größer als 10 MB, die Höchstgröße einer Projektdatei.",
    "Fișierul „%1” nu a fost salvat: proiectul ar depăși 10 MB, dimensiunea maximă a unui fișier de proiect.",
    "Il file “%1” non è stato salvato: il progetto supererebbe 10 MB, la dimensione massima di un file di progetto.",
};

// ---- a place in the file: %1 where (kAt...), %2 the key

constexpr Texts kMissing = {
    "%1: hiányzik a(z) \"%2\" kulcs.",
    "%1: the key \"%2\" is missing.",
    "%1: отсутствует ключ \"%2\".",
    "%1: chýba kľúč \"%2\".",
    "%1: der Schlüssel \"%2\" fehlt.",
    "%1: lipsește cheia \"%2\".",
    "%1: manca la chiave \"%2\".",
};

// %3: the type needed, %4: the type there (kTypes).
constexpr Texts kWrongType = {
    "%1: a(z) \"%2\" értéke %4, de %3 kell.",
    "%1: \"%2\" is %4; it must be %3.",
    "%1: значение \"%2\" имеет тип «%4», а требуется «%3».",
    "%1: \"%2\" je %4, ale musí to byť %3.",
    "%1: \"%2\" ist %4, muss aber %3 sein.",
    "%1: \"%2\" este %4, dar trebuie să fie %3.",
    "%1: \"%2\" è %4, ma deve essere %3.",
};
// The same of a case itself.
constexpr Texts kCaseWrongType = {
    "%1: az eset %4, de %3 kell.",
    "%1: the case is %4; it must be %3.",
    "%1: вариант имеет тип «%4», а требуется «%3».",
    "%1: prípad je %4, ale musí to byť %3.",
    "%1: der Fall ist %4, muss aber %3 sein.",
    "%1: cazul este %4, dar trebuie să fie %3.",
    "%1: il caso è %4, ma deve essere %3.",
};
// By json::Type.
constexpr Texts kTypes[] = {
    {"null", "null", "null", "null", "null", "null", "null"},
    {"logikai érték", "true or false", "логическое значение", "logická hodnota", "ein Wahrheitswert",
     "o valoare logică", "un valore logico"},
    {"szám", "a number", "число", "číslo", "eine Zahl", "un număr", "un numero"},
    {"szöveg", "text", "текст", "text", "ein Text", "un text", "un testo"},
    {"tömb", "an array", "массив", "pole", "ein Array", "o listă (array)", "un array"},
    {"objektum", "an object", "объект", "objekt", "ein Objekt", "un obiect", "un oggetto"},
};

// %3: the value; %4, %5: the range.
constexpr Texts kOutOfRange = {
    "%1: a(z) \"%2\" értéke %3, de %4 és %5 között kell lennie.",
    "%1: \"%2\" is %3; it must be from %4 to %5.",
    "%1: значение \"%2\" равно %3, а должно быть от %4 до %5.",
    "%1: \"%2\" je %3, ale musí byť od %4 do %5.",
    "%1: \"%2\" ist %3, muss aber zwischen %4 und %5 liegen.",
    "%1: \"%2\" este %3, dar trebuie să fie între %4 și %5.",
    "%1: \"%2\" è %3, ma deve essere compreso tra %4 e %5.",
};
constexpr Texts kNotWhole = {
    "%1: a(z) \"%2\" értéke %3, de %4 és %5 közötti egész számnak kell lennie.",
    "%1: \"%2\" is %3; it must be a whole number from %4 to %5.",
    "%1: значение \"%2\" равно %3, а должно быть целым числом от %4 до %5.",
    "%1: \"%2\" je %3, ale musí to byť celé číslo od %4 do %5.",
    "%1: \"%2\" ist %3, muss aber eine ganze Zahl von %4 bis %5 sein.",
    "%1: \"%2\" este %3, dar trebuie să fie un număr întreg de la %4 la %5.",
    "%1: \"%2\" è %3, ma deve essere un numero intero da %4 a %5.",
};

// %3: the value; %4: the names allowed.
constexpr Texts kUnknownName = {
    "%1: a(z) \"%2\" értéke %3, de ezek egyike kell legyen: %4.",
    "%1: \"%2\" is %3; it must be one of %4.",
    "%1: значение \"%2\" равно %3, а должно быть одним из: %4.",
    "%1: \"%2\" je %3, ale musí to byť jedno z: %4.",
    "%1: \"%2\" ist %3, muss aber eines von diesen sein: %4.",
    "%1: \"%2\" este %3, dar trebuie să fie unul dintre: %4.",
    "%1: \"%2\" è %3, ma deve essere uno tra: %4.",
};

// %2: the value; %3: the last case's index.
constexpr Texts kBadCurrent = {
    "%1: a \"current\" értéke %2, ami egyik esetet sem jelöli; 0 és %3 közötti egész számnak kell lennie.",
    "%1: \"current\" is %2, which names no case; it must be a whole number from 0 to %3.",
    "%1: значение \"current\" равно %2 и не указывает ни на один вариант; оно должно быть целым числом от 0 до %3.",
    "%1: \"current\" je %2, čo neoznačuje žiadny prípad; musí to byť celé číslo od 0 do %3.",
    "%1: \"current\" ist %2 und bezeichnet keinen Fall; es muss eine ganze Zahl von 0 bis %3 sein.",
    "%1: \"current\" este %2, care nu indică niciun caz; trebuie să fie un număr întreg de la 0 la %3.",
    "%1: \"current\" è %2, che non indica nessun caso; deve essere un numero intero da 0 a %3.",
};

// %2: the value.
constexpr Texts kBadVersion = {
    "%1: a \"version\" értéke %2, de pozitív egész számnak kell lennie.",
    "%1: \"version\" is %2; it must be a positive whole number.",
    "%1: значение \"version\" равно %2, а должно быть целым положительным числом.",
    "%1: \"version\" je %2, ale musí to byť kladné celé číslo.",
    "%1: \"version\" ist %2, muss aber eine positive ganze Zahl sein.",
    "%1: \"version\" este %2, dar trebuie să fie un număr întreg pozitiv.",
    "%1: \"version\" è %2, ma deve essere un numero intero positivo.",
};

// A name for a sentence: control characters as \xHH, not cut.
std::string plain(const std::string &s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7f) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

// A number as the file writes it, with the decimal separator of the sentence.
std::string withSeparator(std::string s, const std::string &sep)
{
    if (s.empty() || !(s[0] == '-' || (s[0] >= '0' && s[0] <= '9'))) return s; // not a number
    const auto dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, sep);
    return s;
}

std::string numberWith(double x, const std::string &sep) { return withSeparator(textio::numberText(x), sep); }

// A case's name for a sentence: control characters as \xHH, cut after 40
// characters.
std::string caseName(const std::string &s)
{
    const std::string q = textio::quoted(s); // in single quotes
    return q.substr(1, q.size() - 2);
}

std::string typeName(json::Type t, std::size_t n) { return kTypes[static_cast<std::size_t>(t)][n]; }

} // namespace

std::string sentence(const Error &e, int nyelv, const std::string &sep)
{
    const std::size_t n = rating::languageIndex(nyelv);
    const std::string file = plain(e.fileName);
    const std::string where =
        e.caseIndex < 0 ? fill(kAtFile[n], {file})
        : e.caseNamed   ? fill(kAtNamedCase[n], {file, std::to_string(e.caseIndex + 1),
                                                 caseName(e.caseName)})
                        : fill(kAtCase[n], {file, std::to_string(e.caseIndex + 1)});
    using K = Error::Kind;
    switch (e.kind) {
    case K::Unreadable: return fill(kUnreadable[n], {file, e.detail});
    case K::TooLarge:
        return e.count >= 0 ? fill(kTooLarge[n], {file, std::to_string(e.count)}) : fill(kTooLargeUnknown[n], {file});
    case K::NotUtf8: return fill(kNotUtf8[n], {file, std::to_string(e.line), std::to_string(e.column), e.found});
    case K::NotJson: {
        const auto r = static_cast<std::size_t>(e.jsonReason);
        const std::string what =
            r >= 1 && r <= std::size(kJson) ? fill(kJson[r - 1][n], {textio::quoted(e.found)}) : std::string();
        return fill(kNotJson[n], {file, std::to_string(e.line), std::to_string(e.column), what});
    }
    case K::NotProject: return e.value.empty() ? fill(kNoFormat[n], {file}) : fill(kOtherFormat[n], {file, e.value});
    case K::NewerVersion:
        return fill(kNewerVersion[n], {file, withSeparator(e.value, sep), std::to_string(formatVersion)});
    case K::BadVersion: return fill(kBadVersion[n], {where, withSeparator(e.value, sep)});
    case K::Missing: return fill(kMissing[n], {where, e.key});
    case K::WrongType:
        return e.key.empty() ? fill(kCaseWrongType[n], {where, e.key, typeName(e.expected, n), typeName(e.got, n)})
                             : fill(kWrongType[n], {where, e.key, typeName(e.expected, n), typeName(e.got, n)});
    case K::OutOfRange:
        return fill(e.whole ? kNotWhole[n] : kOutOfRange[n],
                    {where, e.key, withSeparator(e.value, sep), numberWith(e.lo, sep), numberWith(e.hi, sep)});
    case K::UnknownName: {
        std::string names;
        auto add = [&](const char *name) { names += (names.empty() ? "\"" : ", \"") + std::string(name) + "\""; };
        if (e.key == "type")
            for (const char *t : rating::TipusNevek) add(t);
        else
            for (int u : {0, 1}) add(rating::flowUnitName(u));
        return fill(kUnknownName[n], {where, e.key, e.value, names});
    }
    case K::NoCases: return fill(kNoCases[n], {file});
    case K::TooManyCases: return fill(kTooManyCases[n], {file, std::to_string(e.count), std::to_string(maxCases)});
    case K::BadCurrent:
        return fill(kBadCurrent[n], {where, withSeparator(e.value, sep), std::to_string(e.count - 1)});
    case K::TooLargeToSave: return fill(kTooLargeToSave[n], {file});
    }
    return {};
}

} // namespace project
