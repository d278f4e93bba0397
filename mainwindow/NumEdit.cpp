#include "mainwindow/NumEdit.h"

#include "mainwindow/Calculator.h"
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

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace numfield {

bool Separators::isThousands(QChar c) const
{
    return !thousands.isNull() && thousands != decimal && c == thousands;
}

bool Separators::isDecimal(QChar c) const
{
    if (isThousands(c))
        return false;
    return c == decimal || c == QLatin1Char('.') || c == QLatin1Char(',');
}

namespace {

// Scans canonical ASCII text (sign, digits, '.', exponent) and tells where a
// too-large or too-small magnitude lies: the decimal exponent of its leading
// digit, saturated. Only called when the conversion reports out of range.
bool magnitudeIsLarge(const std::string &s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        ++i;
    std::int64_t intDigits = 0;
    std::int64_t lead = 0;   // decimal exponent of the first nonzero digit
    bool found = false;
    bool inFraction = false;
    std::int64_t fracIndex = 0;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        const char c = s[i];
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!inFraction) {
            if (found || c != '0') {
                if (!found) {
                    found = true;
                    intDigits = 0;
                }
                ++intDigits;
            }
        } else {
            ++fracIndex;
            if (!found && c != '0') {
                found = true;
                lead = -fracIndex;
            }
        }
    }
    if (!found)
        return false;
    if (intDigits > 0)
        lead = intDigits - 1;
    std::int64_t exp = 0;
    bool negExp = false;
    if (i < s.size()) {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            negExp = s[i++] == '-';
        for (; i < s.size(); ++i) {
            if (exp < 1000000000)
                exp = exp * 10 + (s[i] - '0');
        }
    }
    if (negExp)
        exp = -exp;
    return lead + exp > 0;
}

} // namespace

std::optional<double> readNumber(QStringView text, const Separators &seps)
{
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (seps.isThousands(c))
            continue;
        if (seps.isDecimal(c))
            s.push_back('.');
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            s.push_back(static_cast<char>(c.unicode()));
        else if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('e') || c == QLatin1Char('E'))
            s.push_back(static_cast<char>(c.unicode()));
        else
            return std::nullopt;
    }
    if (s.empty() || s == "-")
        return 0.0;

    // Grammar: [+-] digits* [. digits*] [(e|E) [+-] digits+], >= 1 mantissa digit.
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    std::size_t mantissaDigits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9')
            ++mantissaDigits;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < s.size()) {
        if (s[i] != 'e' && s[i] != 'E')
            return std::nullopt;
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0 || i != s.size())
            return std::nullopt;
    }

    const char *first = s.data();
    const char *last = s.data() + s.size();
    const bool negative = *first == '-';
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        value = magnitudeIsLarge(s) ? HUGE_VAL : 0.0;
        if (negative)
            value = -value;
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    if (std::isnan(value))
        return std::nullopt;
    return value;
}

double roundToPlaces(double x, int places)
{
    if (!std::isfinite(x))
        return x;
    places = qBound(0, places, 15);
    long double scale = 1.0L;
    for (int i = 0; i < places; ++i)
        scale *= 10.0L;
    const long double s = x > 0 ? 1.0L : (x < 0 ? -1.0L : 0.0L);
    const long double r = std::trunc(static_cast<long double>(x) * scale + s * 0.50000001L) / scale;
    return static_cast<double>(r);
}

double clampToLimits(double x, double minValue, double maxValue)
{
    if (std::isnan(x) || x < minValue)
        x = minValue;
    else if (x > maxValue)
        x = maxValue;
    return x == 0 ? 0.0 : x;
}

double commitNumber(double x, const CommitRules &rules)
{
    if (rules.round)
        x = roundToPlaces(x, rules.decimalPlaces);
    return clampToLimits(x, rules.minValue, rules.maxValue);
}

std::optional<double> commitText(QStringView text, const Separators &seps, const CommitRules &rules)
{
    const std::optional<double> x = readNumber(text, seps);
    if (!x)
        return std::nullopt;
    return commitNumber(*x, rules);
}

FormatPattern FormatPattern::parse(QStringView pattern)
{
    FormatPattern p;
    bool afterPoint = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (!afterPoint) {
            if (c == QLatin1Char(','))
                p.grouping = true;
        } else if (c == QLatin1Char('0')) {
            ++p.minDecimals;
            ++p.maxDecimals;
        } else if (c == QLatin1Char('#')) {
            ++p.maxDecimals;
        }
    }
    p.maxDecimals = qMin(p.maxDecimals, 30);
    p.minDecimals = qMin(p.minDecimals, p.maxDecimals);
    return p;
}

QString formatNumber(double x, const FormatPattern &pattern, const Separators &seps)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // Shortest round-trip digits and the exponent of the first one.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    const std::string sci(buf, res.ptr);
    const std::size_t e = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    const int exp10 = std::stoi(sci.substr(e + 1));
    const int pointPos = exp10 + 1;   // digits before the decimal point

    std::string intPart;
    std::string fracPart;
    if (pointPos <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-pointPos), '0') + digits;
    } else if (static_cast<std::size_t>(pointPos) >= digits.size()) {
        intPart = digits + std::string(static_cast<std::size_t>(pointPos) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<std::size_t>(pointPos));
        fracPart = digits.substr(static_cast<std::size_t>(pointPos));
    }

    const std::size_t maxDec = static_cast<std::size_t>(pattern.maxDecimals);
    if (fracPart.size() > maxDec) {
        const bool up = fracPart[maxDec] >= '5';
        fracPart.resize(maxDec);
        if (up) {
            std::string all = intPart + fracPart;
            int i = static_cast<int>(all.size()) - 1;
            while (i >= 0 && all[static_cast<std::size_t>(i)] == '9')
                all[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                all.insert(all.begin(), '1');
            else
                ++all[static_cast<std::size_t>(i)];
            intPart = all.substr(0, all.size() - maxDec);
            fracPart = all.substr(all.size() - maxDec);
        }
    }
    while (fracPart.size() > static_cast<std::size_t>(pattern.minDecimals) && fracPart.back() == '0')
        fracPart.pop_back();
    if (fracPart.size() < static_cast<std::size_t>(pattern.minDecimals))
        fracPart.append(static_cast<std::size_t>(pattern.minDecimals) - fracPart.size(), '0');
    const std::size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string("0") : intPart.substr(nz);

    const bool allZero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
    QString out;
    if (x < 0 && !allZero)
        out += QLatin1Char('-');
    const bool group = pattern.grouping && !seps.thousands.isNull() && seps.thousands != seps.decimal;
    for (std::size_t i = 0; i < intPart.size(); ++i) {
        if (group && i > 0 && (intPart.size() - i) % 3 == 0)
            out += seps.thousands;
        out += QLatin1Char(intPart[i]);
    }
    if (!fracPart.empty()) {
        out += seps.decimal;
        out += QString::fromLatin1(fracPart.data(), static_cast<qsizetype>(fracPart.size()));
    }
    return out;
}

QString editText(double value, int decimalPlaces, bool zeroEmpty, const Separators &seps)
{
    if (zeroEmpty && value == 0)
        return QString();
    FormatPattern p;
    p.maxDecimals = qBound(0, decimalPlaces, 30);
    return formatNumber(value, p, seps);
}

QString mapTyped(QStringView typed, const Separators &seps)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar c : typed) {
        if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !seps.isThousands(c))
            out += seps.decimal;
        else
            out += c;
    }
    return out;
}

QString replaceRange(QStringView text, int selStart, int selLength, QStringView insert)
{
    const qsizetype n = text.size();
    const qsizetype start = qBound<qsizetype>(0, qsizetype(selStart), n);
    const qsizetype end = qBound<qsizetype>(start, qsizetype(selStart) + qMax(0, selLength), n);
    QString out;
    out.reserve(n - (end - start) + insert.size());
    out += text.left(start);
    out += insert;
    out += text.mid(end);
    return out;
}

bool acceptsTyped(QStringView candidate, const Separators &seps, int decimalPlaces,
                  double minValue, double maxValue)
{
    const std::optional<double> x = readNumber(candidate, seps);
    if (!x)
        return false;
    for (qsizetype i = 0; i < candidate.size(); ++i) {
        if (seps.isDecimal(candidate[i])) {
            if (candidate.size() - i - 1 > decimalPlaces)
                return false;
            break;
        }
    }
    if (minValue >= 0 && maxValue > 0 && *x < 0)
        return false;
    return true;
}

} // namespace numfield

// ---------------------------------------------------------------------------

namespace {
constexpr int ButtonWidth = 15;

numfield::Separators regionalSeparators()
{
    numfield::Separators s;
    const QString d = platform::decimalSeparator();
    const QString t = platform::thousandsSeparator();
    s.decimal = d.isEmpty() ? QLatin1Char('.') : d.at(0);
    s.thousands = t.size() == 1 ? t.at(0) : QChar();
    return s;
}
} // namespace

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
    const QString pasted = clip.trimmed();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    const QString candidate = numfield::replaceRange(text(), selStart, selLength, pasted).left(maxLength());
    const std::optional<double> v = numfield::commitText(candidate, m_seps, rules());
    if (!v) {
        refuse();
        selectAll();
        return;
    }
    m_value = *v;
    if (text() != candidate) {
        setText(candidate);   // notified
        setCursorPosition(int(qMin<qsizetype>(selStart + pasted.size(), candidate.size())));
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
