// The calculator drop-down of the numeric field: a small arithmetic engine
// without Qt (easy to test and fuzz) and the popup that shows its keys.
#pragma once

#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>

// A pocket-calculator engine: left-to-right binary operations, a running
// number of at most 15 typed characters (a minus sign not counted) and
// results rounded to 15 significant digits. The number is kept as text with
// '.' as the decimal point; display() and number() always agree.
class CalcEngine {
public:
    enum class Result {
        Changed,   // the key was taken
        Ignored,   // nothing to do (also every key but 'C' while in error)
        Refused,   // the key was rejected: beep
        Failed,    // the operation failed: the display shows "Error"
        Accept,    // '=', Enter or '%': the number is final
    };

    static constexpr int MaxChars = 15;
    static constexpr int SignificantDigits = 15;

    CalcEngine() { clear(); }

    // Starts over with x as the current number (0 when x is not finite).
    void start(double x);
    void clear();

    // Keys: '0'-'9', '.' (or ','), '+', '-', '*', '/', '=', '%', 'Q' square
    // root, 'R' reciprocal, '_' change sign, '\b' backspace, 'C' clear (lower
    // case accepted for the letters). Other keys are ignored.
    Result key(char k);

    // The shown text: the number, or "Error".
    std::string display() const { return m_error ? std::string("Error") : m_entry; }
    double number() const;
    bool hasError() const { return m_error; }
    char pendingOperator() const { return m_op; }

    // x in at most 15 significant digits, shortest form ("0.333333333333333",
    // "80.125", "1e+20"); -0 prints as "0".
    static std::string format(double x);

private:
    Result setResult(double x);
    Result fail();
    static bool apply(double a, char op, double b, double &out);

    std::string m_entry;   // current number
    double m_acc = 0;      // first operand
    char m_op = 0;         // pending operator or 0
    bool m_fresh = true;   // next digit starts a new number
    bool m_error = false;
};

// Where the popup goes: just below the field with the right edges aligned,
// above it when there is no room below, and moved onto the screen.
QPoint calculatorPosition(const QRect &fieldGlobal, const QSize &popup, const QRect &screen);

class QGridLayout;
class QToolButton;

class CalculatorPopup : public QFrame {
    Q_OBJECT
public:
    explicit CalculatorPopup(QWidget *field);

    void start(double x, QChar decimalSeparator, bool beepOnError);
    // Places the popup at the field (see calculatorPosition) and shows it.
    void popupAt(QWidget *field);

    // Handles one calculator key as if it was typed or its button clicked.
    void press(char k);
    // Closes without a result.
    void cancel();

    const CalcEngine &engine() const { return m_engine; }
    QString displayText() const;
    QToolButton *button(char k) const;

signals:
    void displayChanged(const QString &text);
    void accepted(double number);
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    void addKey(QGridLayout *grid, char k, const QString &label, int row, int col, int colSpan = 1);
    void finish(bool accept);

    CalcEngine m_engine;
    QChar m_separator = QLatin1Char('.');
    bool m_beepOnError = true;
    bool m_finished = true;
    QWidget *m_field;
    QToolButton *m_separatorButton = nullptr;
};
