// The fouling resistance in the main window. It has no field on the
// schematic: "Fouling resistance…" in the context menu opens a small dialog
// to set it, and a mark on a free part of the schematic shows it whenever
// the window rates with a value other than the default (so the report's
// picture of the window shows it too). The window at the default looks as
// it always did.
#pragma once

#include "widgets/numtext.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringView>

#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class TmainF;

namespace widgets {
class Label;
}

namespace mainwindow {

// ---- the value as text, on the field's grid of 1e-7 m2·K/W

// The count of 1e-7 m2·K/W a text stands for, worked out from its decimal
// digits (halves away from zero), so that foulingValue(count) is the value
// the text means and never a double rounded twice. The text reads as the
// numeric fields read theirs (either separator, an exponent); a negative
// or very large count is returned as it is for the caller's range check
// (beyond 10^15: 10^15). Nothing for an empty text or one that is no number.
std::optional<long long> readFoulingCount(QStringView text, const numfield::Separators &seps);
// count / 1e7 m2·K/W, one correctly rounded division: the double the
// value's shortest text reads back as.
double foulingValue(long long count);
// The count of the field's largest value, 0.01 m2·K/W.
inline constexpr long long MaxFoulingCount = 100000;
// A fouling resistance as the windows write it: the digits of its binary
// value rounded to seven decimals, trailing zeros dropped down to six
// ("0.000055", "0.0000555", "0.010000").
QString foulingText(double rf, const QString &sep);

// The quantity's name in language nyelv ("Fouling resistance").
QString foulingName(int nyelv);

// ---- the mark on the schematic

// Two labels right of the exchanger, on plain background of the picture
// in every language: the quantity's name and "Rf = 0.000100 m²·K/W".
// Hidden while the window rates with the default.
class FoulingMark : public QObject {
    Q_OBJECT
public:
    explicit FoulingMark(TmainF *mainF);
    static constexpr QPoint topLeft{512, 170};
    widgets::Label *caption() const { return caption_; }
    widgets::Label *value() const { return value_; }

private:
    void follow();
    TmainF *mainF_;
    widgets::Label *caption_, *value_;
};

// ---- the entry of the context menu and its dialog

// "Fouling resistance…": a dialog with the value's field (the regional
// decimal separator, 0 to 0.01 m2·K/W), "Default" to put the default back
// into it, OK to put the value into the main window (which recalculates)
// and Cancel. Modal over the main window; its controls are made when it
// first opens.
class FoulingDialog : public QDialog {
    Q_OBJECT
public:
    explicit FoulingDialog(TmainF *mainF);
    ~FoulingDialog() override;

    QAction *openAction() const { return openAction_; }
    // Shows the dialog with the main window's value in its field, selected.
    void openDialog();

    // The value the field holds now; nothing while its text is no value
    // of the range.
    std::optional<double> fieldValue() const;

    // ---- controls: null before the first opening
    QLineEdit *field = nullptr;
    QLabel *message = nullptr; // the range, or why the text is no value
    QPushButton *defaultButton = nullptr, *okButton = nullptr, *cancelButton = nullptr;

protected:
    void accept() override;

private:
    void build();
    void retranslate();
    void check();

    TmainF *mainF_;
    QAction *openAction_;
    QLabel *fieldLabel_ = nullptr;
};

} // namespace mainwindow
