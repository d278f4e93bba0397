// Numeric input field with a calculator drop-down.
//
// The text rules live in plain functions (namespace numfield) so they can be
// tested and fuzzed without a widget; NumEdit wires them to a QLineEdit.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringView>
#include <optional>

class QToolButton;
class CalculatorPopup;

namespace numfield {

// Separators of one field. A null thousands separator means "none"; when it
// equals the decimal separator it is ignored.
struct Separators {
    QChar decimal = QLatin1Char('.');
    QChar thousands = QLatin1Char(',');
    bool isDecimal(QChar c) const;   // the decimal separator, or '.'/',' unless thousands
    bool isThousands(QChar c) const;
};

// Reads a text as a number: thousands separators are dropped, '.' and ','
// (unless one is the thousands separator) and the decimal separator itself
// count as the decimal point; "" and "-" read as 0; otherwise optional sign,
// digits with at most one decimal point (at least one digit) and an optional
// exponent (e or E, optional sign, digits). Anything else gives nullopt.
// A magnitude beyond the double range reads as +-infinity, a tiny one as 0;
// the result is never NaN.
std::optional<double> readNumber(QStringView text, const Separators &seps);

// Rounds to the given decimals, halves away from zero:
// trunc(x * 10^places + sign(x) * 0.50000001) / 10^places, in extended precision.
double roundToPlaces(double x, int places);

// Holds x to [minValue, maxValue]; NaN gives minValue; -0 becomes 0.
double clampToLimits(double x, double minValue, double maxValue);

struct CommitRules {
    double minValue = 0;
    double maxValue = 0;
    int decimalPlaces = 2;
    bool round = false;
};

// The value a number commits to: rounded when rules.round, then clamped.
// Always finite and within the limits.
double commitNumber(double x, const CommitRules &rules);
// The same for a text; nullopt when the text does not read as a number.
std::optional<double> commitText(QStringView text, const Separators &seps, const CommitRules &rules);

// Display patterns of the form [,]0[.0…#…]: "," groups the integer digits by
// thousands, each "0" after the point is a decimal always shown, each "#" an
// optional one (trailing zeros and a bare point are dropped).
struct FormatPattern {
    bool grouping = false;
    int minDecimals = 0;
    int maxDecimals = 0;
    static FormatPattern parse(QStringView pattern);
};

// Formats x with the pattern; the digits are those of the shortest decimal
// that reads back as x, rounded half away from zero. No "-0".
QString formatNumber(double x, const FormatPattern &pattern, const Separators &seps);

// The text of a value while the field has the focus: "0.##" (as many '#' as
// decimal places); empty for exactly 0 when zeroEmpty.
QString editText(double value, int decimalPlaces, bool zeroEmpty, const Separators &seps);

// A typed '.' or ',' becomes the decimal separator unless it is the
// thousands separator; any other character stays.
QString mapTyped(QStringView typed, const Separators &seps);

// The text with [selStart, selStart+selLength) replaced by insert.
QString replaceRange(QStringView text, int selStart, int selLength, QStringView insert);

// Whether a typed key may turn the text into candidate: it must read as a
// number, have at most decimalPlaces characters after the decimal separator
// and, in a field that takes no negative values (min >= 0 and max > 0), not
// be negative.
bool acceptsTyped(QStringView candidate, const Separators &seps, int decimalPlaces,
                  double minValue, double maxValue);

} // namespace numfield

class NumEdit : public QLineEdit {
    Q_OBJECT
public:
    struct Settings {
        double value = 0;
        double minValue = 0;
        double maxValue = 0;
        QString displayFormat = QStringLiteral(",0.##");
        int decimalPlaces = 2;
        bool decimalPlaceRound = false;
        bool formatOnEditing = false;
        bool beepOnError = true;
        bool zeroEmpty = true;
    };

    explicit NumEdit(QWidget *parent = nullptr);
    ~NumEdit() override;

    // Applies every setting at once (limits first, then the value).
    void setSettings(const Settings &s);
    Settings settings() const;

    // Commits the current text first (without reformatting it): text that is
    // no number gives MinValue. While the field shows its display text or the
    // calculator is open there is nothing to commit.
    double value();
    // The number value() would give now, without committing anything: a
    // reader that follows the field while it is edited leaves Value (and so
    // what Esc puts back) as it is.
    double currentValue() const;
    // The committed value, without reading the text.
    double storedValue() const { return m_value; }
    // Sets the value (clamped) and rewrites the text; sends no notification.
    void setValue(double v);

    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    void setMinValue(double v);   // raises MaxValue when needed
    void setMaxValue(double v);   // lowers MinValue when needed
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &pattern);
    int decimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(int places);   // 0..15
    bool decimalPlaceRound() const { return m_round; }
    void setDecimalPlaceRound(bool on) { m_round = on; }
    bool formatOnEditing() const { return m_formatOnEditing; }
    void setFormatOnEditing(bool on);
    bool beepOnError() const { return m_beepOnError; }
    void setBeepOnError(bool on) { m_beepOnError = on; }
    bool zeroEmpty() const { return m_zeroEmpty; }
    void setZeroEmpty(bool on);

    // Default: the user's regional separators.
    QChar decimalSeparator() const { return m_seps.decimal; }
    void setDecimalSeparator(QChar c);
    QChar thousandsSeparator() const { return m_seps.thousands; }
    void setThousandsSeparator(QChar c);   // QChar() for none

    // Calculator drop-down (the button, or Alt+Down).
    void openCalculator();
    bool isCalculatorOpen() const { return m_calcOpen; }
    CalculatorPopup *calculator() const { return m_popup; }
    QToolButton *dropDownButton() const { return m_button; }

    // Pastes as Ctrl+V does (the text is committed at once).
    void pasteText(const QString &clip);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of the text by the user (typing, deleting, pasting, Esc);
    // not for the field's own reformatting, nor while the calculator is open.
    void changed();
    // After the field is left, its text committed and rewritten.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    numfield::CommitRules rules() const;
    QString currentEditText() const;
    QString currentDisplayText() const;
    void setTextSilently(const QString &t);
    void refreshText();
    void updateAlignment();
    void refuse();
    bool textIsInvalid() const;
    void reportInvalidText();
    void closeCalculator(bool accept, double number);

    double m_value = 0;
    double m_min = 0;
    double m_max = 0;
    QString m_displayFormat;
    numfield::FormatPattern m_pattern;
    int m_decimalPlaces = 2;
    bool m_round = false;
    bool m_formatOnEditing = false;
    bool m_beepOnError = true;
    bool m_zeroEmpty = true;
    numfield::Separators m_seps;

    bool m_entered = false;        // has the focus (as far as editing goes)
    bool m_silent = false;         // own text change: no notification
    bool m_calcOpen = false;
    bool m_exiting = false;        // exited() is being sent
    bool m_invalidPending = false; // error box for an invalid leave queued

    QToolButton *m_button = nullptr;
    CalculatorPopup *m_popup = nullptr;
};
