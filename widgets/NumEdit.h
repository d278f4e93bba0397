// Numeric input field with a calculator drop-down.
//
// The text rules live in plain functions (widgets/numtext.h) so they can
// be tested and fuzzed without a widget; NumEdit wires them to a QLineEdit.
#pragma once

#include "widgets/numtext.h"

#include <QLineEdit>
#include <QString>

class QToolButton;
class CalculatorPopup;

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

    // Default: the user's regional separators, as every new field takes them.
    static numfield::Separators regionalSeparators();
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
