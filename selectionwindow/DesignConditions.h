// The selection window's design conditions: outlet temperatures that take
// the place of the required duty or of a flow (which are then derived from
// the energy balance), the fouling resistance of every arrangement listed
// and the design margin on the duty. Every field may stay empty: the window
// then selects as it always did, for the duty typed and the main window's
// flows and fouling.
#pragma once

#include "design/balance.h"
#include "rating/case.h"

#include <QGroupBox>
#include <QList>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace selectionwindow {

class DesignConditions : public QGroupBox {
    Q_OBJECT
public:
    explicit DesignConditions(QWidget *parent);

    // ---- controls
    QLineEdit *shellOutletEd = nullptr, *spiralOutletEd = nullptr; // °C; empty: not given
    // What the outlets given take the place of: as many ticked as outlets given.
    QCheckBox *dutyBox = nullptr, *shellFlowBox = nullptr, *spiralFlowBox = nullptr;
    QLineEdit *foulingEd = nullptr; // m2·K/W; empty: the main window's
    QLineEdit *marginEd = nullptr;  // per cent of the required duty; empty: 0
    QLabel *derived = nullptr;      // what the balance derived, or how to use the conditions

    // The controls in keyboard order.
    QList<QWidget *> focusOrder() const;

    // What the fields ask for, given the main window's installation and the
    // duty typed in the window (NaN: none).
    struct Reading {
        bool used = false;             // an outlet is given: the duty and flows come from the balance
        int outlets = 0, ticked = 0;   // outlets given, quantities ticked to take their place
        design::Conditions conditions; // the main window's inlets and units, the given three
        double Rf = 0;                 // the fouling resistance (NaN: no value of the field)
        double marginPercent = 0;      // the design margin (NaN: no value of the field)
        bool badShellOutlet = false, badSpiralOutlet = false, badFouling = false, badMargin = false;
        // The balance can be asked: as many ticked as outlets given.
        bool countsAgree() const { return outlets == ticked; }
    };
    Reading read(const rating::Case &mainWindow, double dutyKW) const;

    // The texts of language n; mainFouling is the main window's fouling,
    // which an empty fouling field stands for. The side names are the main
    // window's.
    void retranslate(int n, double mainFouling, const QString &shellSide, const QString &spiralSide);
    // Shows the reading: the fields with no value marked, and what the
    // balance derived (b, when the conditions are used and it gave values).
    void showReading(const Reading &r, const design::BalanceResult *b, int n);

    // The sentence when the ticks do not match the outlets given.
    static QString countSentence(const Reading &r, int n);

private:
    QLabel *outletLabel_ = nullptr, *shellLabel_ = nullptr, *spiralLabel_ = nullptr, *replaceLabel_ = nullptr,
           *foulingLabel_ = nullptr, *marginLabel_ = nullptr;
};

} // namespace selectionwindow
