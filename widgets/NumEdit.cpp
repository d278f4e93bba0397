// The numeric field's widget: keys, focus, paste, the context menu and the
// calculator drop-down, over the text rules of widgets/numtext.h.
#include "widgets/NumEdit.h"

#include "widgets/Calculator.h"
#include "platform/platform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QToolButton>

#include <cmath>
#include <optional>

namespace {
constexpr int ButtonWidth = 15;
} // namespace

numfield::Separators NumEdit::regionalSeparators()
{
    numfield::Separators s;
    const QString d = platform::decimalSeparator();
    const QString t = platform::thousandsSeparator();
    s.decimal = d.isEmpty() ? QLatin1Char('.') : d.at(0);
    s.thousands = t.size() == 1 ? t.at(0) : QChar();
    return s;
}

NumEdit::NumEdit(QWidget *parent) : QLineEdit(parent), m_seps(regionalSeparators())
{
    setFrame(false);
    setDragEnabled(false);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDisplayFormat(QStringLiteral(",0.##"));

    m_button = new QToolButton(this);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setAutoRaise(true);
    m_button->setToolTip(tr("Calculator"));
    connect(m_button, &QToolButton::clicked, this, &NumEdit::openCalculator);
    setTextMargins(1, 0, ButtonWidth + 1, 0);

    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_silent && !m_calcOpen)
            emit changed();
    });
    refreshText();
}

NumEdit::~NumEdit() = default;

QSize NumEdit::sizeHint() const { return QSize(65, 19); }
QSize NumEdit::minimumSizeHint() const { return QSize(ButtonWidth + 8, 15); }

void NumEdit::setSettings(const Settings &s)
{
    if (!std::isnan(s.minValue) && !std::isnan(s.maxValue)) {
        m_min = qMin(s.minValue, s.maxValue);
        m_max = qMax(s.minValue, s.maxValue);
    }
    m_displayFormat = s.displayFormat;
    m_pattern = numfield::FormatPattern::parse(s.displayFormat);
    m_decimalPlaces = qBound(0, s.decimalPlaces, 15);
    m_round = s.decimalPlaceRound;
    m_formatOnEditing = s.formatOnEditing;
    m_beepOnError = s.beepOnError;
    m_zeroEmpty = s.zeroEmpty;
    setValue(s.value);
}

NumEdit::Settings NumEdit::settings() const
{
    Settings s;
    s.value = m_value;
    s.minValue = m_min;
    s.maxValue = m_max;
    s.displayFormat = m_displayFormat;
    s.decimalPlaces = m_decimalPlaces;
    s.decimalPlaceRound = m_round;
    s.formatOnEditing = m_formatOnEditing;
    s.beepOnError = m_beepOnError;
    s.zeroEmpty = m_zeroEmpty;
    return s;
}

numfield::CommitRules NumEdit::rules() const
{
    numfield::CommitRules r;
    r.minValue = m_min;
    r.maxValue = m_max;
    r.decimalPlaces = m_decimalPlaces;
    r.round = m_round;
    return r;
}

double NumEdit::value()
{
    if ((m_entered || m_exiting) && !m_calcOpen) {
        const std::optional<double> v = numfield::commitText(text(), m_seps, rules());
        m_value = v ? *v : m_min;
    }
    return m_value;
}

double NumEdit::currentValue() const
{
    if ((m_entered || m_exiting) && !m_calcOpen) {
        const std::optional<double> v = numfield::commitText(text(), m_seps, rules());
        return v ? *v : m_min;
    }
    return m_value;
}

void NumEdit::setValue(double v)
{
    m_value = numfield::clampToLimits(v, m_min, m_max);
    refreshText();
}

void NumEdit::setMinValue(double v)
{
    if (std::isnan(v))
        return;
    m_min = v;
    if (m_max < v)
        m_max = v;
    setValue(m_value);
}

void NumEdit::setMaxValue(double v)
{
    if (std::isnan(v))
        return;
    m_max = v;
    if (m_min > v)
        m_min = v;
    setValue(m_value);
}

void NumEdit::setDisplayFormat(const QString &pattern)
{
    m_displayFormat = pattern;
    m_pattern = numfield::FormatPattern::parse(pattern);
    refreshText();
}

void NumEdit::setDecimalPlaces(int places)
{
    m_decimalPlaces = qBound(0, places, 15);
    refreshText();
}

void NumEdit::setFormatOnEditing(bool on)
{
    m_formatOnEditing = on;
    updateAlignment();
}

void NumEdit::setZeroEmpty(bool on)
{
    m_zeroEmpty = on;
    refreshText();
}

void NumEdit::setDecimalSeparator(QChar c)
{
    if (c.isNull())
        return;
    m_seps.decimal = c;
    refreshText();
}

void NumEdit::setThousandsSeparator(QChar c)
{
    m_seps.thousands = c;
    refreshText();
}

QString NumEdit::currentEditText() const
{
    return numfield::editText(m_value, m_decimalPlaces, m_zeroEmpty, m_seps);
}

QString NumEdit::currentDisplayText() const
{
    return numfield::formatNumber(m_value, m_pattern, m_seps);
}

void NumEdit::setTextSilently(const QString &t)
{
    if (text() == t)
        return;
    const QScopedValueRollback<bool> guard(m_silent, true);
    setText(t);
}

void NumEdit::refreshText()
{
    if (m_calcOpen)
        return;
    setTextSilently(m_entered ? currentEditText() : currentDisplayText());
    updateAlignment();
}

void NumEdit::updateAlignment()
{
    const bool right = !m_entered || m_formatOnEditing;
    setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void NumEdit::refuse()
{
    if (m_beepOnError)
        platform::beep();
}

bool NumEdit::textIsInvalid() const
{
    return !numfield::readNumber(text(), m_seps).has_value();
}

void NumEdit::keyPressEvent(QKeyEvent *e)
{
    if (m_calcOpen) {
        if (m_popup)
            QCoreApplication::sendEvent(m_popup, e);
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier)) {
        openCalculator();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text());
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        const QString t = currentEditText();
        if (text() != t)
            setText(t);   // a change by the user's Esc: notified
        selectAll();
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();   // neither commits nor moves the focus
        return;
    }
    const QString typed = e->text();
    bool printable = !typed.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    for (const QChar c : typed)
        printable = printable && c.isPrint();
    if (!printable) {
        QLineEdit::keyPressEvent(e);   // editing and navigation keys pass untested
        return;
    }
    e->accept();
    if (isReadOnly())
        return;
    const QString mapped = numfield::mapTyped(typed, m_seps);
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    const QString candidate = numfield::replaceRange(text(), selStart, selLength, mapped);
    if (candidate.size() > maxLength()
        || !numfield::acceptsTyped(candidate, m_seps, m_decimalPlaces, m_min, m_max)) {
        refuse();
        return;
    }
    insert(mapped);
}

void NumEdit::pasteText(const QString &clip)
{
    if (m_calcOpen || isReadOnly())
        return;
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    const numfield::Paste p = numfield::pasteInto(text(), selStart, selLength, clip, maxLength());
    const std::optional<double> v = numfield::commitText(p.text, m_seps, rules());
    if (!v) {
        refuse();
        selectAll();
        return;
    }
    m_value = *v;
    if (text() != p.text) {
        setText(p.text);   // notified
        setCursorPosition(p.cursor);
    }
}

void NumEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (m_entered)
        return;   // back from a popup, a message box or another application
    m_entered = true;
    setTextSilently(currentEditText());
    updateAlignment();
    // Entered any way but by a click: the whole text is selected.
    if (e->reason() != Qt::MouseFocusReason)
        selectAll();
}

void NumEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    const Qt::FocusReason r = e->reason();
    if (r == Qt::PopupFocusReason || r == Qt::ActiveWindowFocusReason || !m_entered)
        return;
    if (m_calcOpen && m_popup)
        m_popup->cancel();
    const std::optional<double> v = numfield::commitText(text(), m_seps, rules());
    if (!v && !isVisible()) {
        // Hidden (its window closing): nothing to keep the focus for; the
        // value stays as it was.
        m_entered = false;
        refreshText();
        return;
    }
    if (!v) {
        // The field keeps the focus. Take it back before anyone else acts on
        // having it (the new focus widget gets no focus-in), and show the
        // message once this focus change is over.
        setFocus(Qt::OtherFocusReason);
        if (!m_invalidPending) {
            m_invalidPending = true;
            QMetaObject::invokeMethod(this, &NumEdit::reportInvalidText, Qt::QueuedConnection);
        }
        return;
    }
    m_entered = false;
    m_value = *v;
    const QString rewritten = currentEditText();
    setTextSilently(rewritten);
    {
        // Whoever reacts reads Value from the rewritten text.
        const QScopedValueRollback<bool> exiting(m_exiting, true);
        emit exited();
    }
    if (!m_entered && !m_calcOpen) {
        // The field holds what its text says, read or not.
        if (text() == rewritten)
            m_value = numfield::commitText(rewritten, m_seps, rules()).value_or(m_value);
        refreshText();
    }
}

bool NumEdit::focusNextPrevChild(bool next)
{
    if (m_entered && hasFocus() && textIsInvalid()) {
        m_invalidPending = true;
        reportInvalidText();
        return true;
    }
    return QLineEdit::focusNextPrevChild(next);
}

void NumEdit::reportInvalidText()
{
    m_invalidPending = false;
    if (!textIsInvalid())
        return;
    platform::showError(QStringLiteral("'%1' is not a valid floating point value").arg(text()));
    if (!hasFocus() && isVisible())
        setFocus(Qt::OtherFocusReason);
    selectAll();
}

void NumEdit::contextMenuEvent(QContextMenuEvent *e)
{
    QMenu *menu = createStandardContextMenu();
    // The standard Paste would insert unchecked text: route it through ours.
    // Qt names the action only in later versions; its caption is the one
    // QLineEdit gives it, shortcut text after a tab.
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction *a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste") || a->text().section(QLatin1Char('\t'), 0, 0) == pasteCaption) {
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            connect(a, &QAction::triggered, this, [this] { pasteText(QGuiApplication::clipboard()->text()); });
        }
    }
    if (m_calcOpen)
        menu->setEnabled(false);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void NumEdit::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton) {   // X11 selection paste
        e->accept();
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void NumEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton) {
        if (!m_calcOpen && QGuiApplication::clipboard()->supportsSelection())
            pasteText(QGuiApplication::clipboard()->text(QClipboard::Selection));
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void NumEdit::resizeEvent(QResizeEvent *e)
{
    QLineEdit::resizeEvent(e);
    m_button->setGeometry(width() - ButtonWidth - 1, 1, ButtonWidth, qMax(0, height() - 2));
}

void NumEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    // Flat look: a one-pixel border instead of the style's frame.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- calculator -------------------------------------------------------------

void NumEdit::openCalculator()
{
    if (m_calcOpen || !isEnabled() || !isVisible())
        return;
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
    if (!m_popup) {
        m_popup = new CalculatorPopup(this);
        connect(m_popup, &CalculatorPopup::displayChanged, this, [this](const QString &t) {
            if (m_calcOpen)
                setText(t);   // no notification while open
        });
        connect(m_popup, &CalculatorPopup::accepted, this, [this](double x) { closeCalculator(true, x); });
        connect(m_popup, &CalculatorPopup::cancelled, this, [this] { closeCalculator(false, 0); });
    }
    const std::optional<double> start = numfield::readNumber(text(), m_seps);
    const double x = start && std::isfinite(*start) ? *start : m_value;
    m_calcOpen = true;
    setReadOnly(true);
    m_popup->start(x, m_seps.decimal, m_beepOnError);
    setText(m_popup->displayText());
    m_popup->popupAt(this);
}

void NumEdit::closeCalculator(bool accept, double number)
{
    if (!m_calcOpen)
        return;
    if (accept)
        m_value = numfield::commitNumber(number, rules());
    setTextSilently(currentEditText());
    m_calcOpen = false;
    setReadOnly(false);
    updateAlignment();
    if (accept)
        selectAll();
}
