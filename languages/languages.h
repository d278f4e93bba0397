// The seven interface languages of the main window: for each language the
// 25 texts it writes (captions of main-window controls and phrase fields of
// the calculation state) and the font attributes it sets.
//
// Texts are UTF-8 C strings so that the Qt-free rating model can take the
// phrase fields directly; captions go through text() / QString::fromUtf8.
#pragma once

#include <QString>

#include <array>

namespace lang {

// The targets a language writes, in the order they are applied.
enum Target {
    LbVARDOTORLEX,
    LbTipus,
    LbKopeny,
    LbSpiral,
    LbSoros,
    LbParhuzamos,
    LbTerfaramK,
    LbTerfaramS,
    LbBelhomK,
    LbBelhomS,
    LbKilhomK,
    LbKilhomS,
    LbNyomasesesK,
    LbNyomasesesS,
    SzHoteljesitmeny,
    SzHocserelo,
    SzBelhomK,
    SzBelhomS,
    SzTerfaramK,
    SzTerfaramS,
    LbTomegaram,
    LbArseb,
    LbHoatad,
    SzHoatbocsT,
    CbPwc,
    TargetCount
};

// Font character sets: 1 is the system default, 204 the Cyrillic set.
enum Charset { DefaultCharset = 1, CyrillicCharset = 204 };

struct Language {
    const char *name;      // entry in the language list ComboBox1
    int charset;           // font character set of labels, check box, chart window
    bool titleSize7;       // sets the title font to 7 pt
    bool chartSize7;       // sets the chart window font to 7 pt
    const char *texts[TargetCount];
};

// Selected in ComboBox1 at every start: "English".
inline constexpr int DefaultLanguage = 1;

// Number of languages (7), in ComboBox1 order.
int count();

// The language at list position nyelv, or nullptr when nyelv is not 0..count()-1.
const Language *language(int nyelv);

// The control or field name of a target ("LbTipus", "SzHoatbocsT", ...);
// nullptr for TargetCount or any other value out of range.
const char *targetName(Target target);

// True for the seven phrase fields (Sz...), false for the 18 captions.
bool isPhrase(Target target);

// A text of a window or command beyond the 25 targets above: one per
// language, in the order of the language list (UTF-8).
using Texts = std::array<const char *, 7>;

// The text for language nyelv; English for a position outside the list.
inline QString text(const Texts &t, int nyelv)
{
    return QString::fromUtf8(t[nyelv >= 0 && nyelv < 7 ? std::size_t(nyelv) : std::size_t(DefaultLanguage)]);
}

// The text of a target as a QString.
inline QString text(const Language &l, Target target)
{
    return QString::fromUtf8(l.texts[target]);
}

} // namespace lang
