#include "widgets/Calculator.h"

#include "platform/platform.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>

#include <charconv>
#include <cmath>
#include <system_error>

// ---- engine -------------------------------------------------------------------

std::string CalcEngine::format(double x)
{
    if (x == 0 || !std::isfinite(x))
        return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, SignificantDigits);
    return std::string(buf, res.ptr);
}

double CalcEngine::number() const
{
    if (m_error)
        return 0;
    double x = 0;
    const char *first = m_entry.data();
    const char *last = first + m_entry.size();
    const auto res = std::from_chars(first, last, x, std::chars_format::general);
    if (res.ec != std::errc() || !std::isfinite(x))
        return 0;
    return x == 0 ? 0.0 : x;
}

void CalcEngine::clear()
{
    m_entry = "0";
    m_acc = 0;
    m_op = 0;
    m_fresh = true;
    m_error = false;
}

namespace {
// Whether the text of a number reads back as a finite double: 15 digits of a
// value next to the largest double round beyond it.
bool readsBack(const std::string &text)
{
    double x = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), x, std::chars_format::general);
    return res.ec == std::errc() && std::isfinite(x);
}
} // namespace

void CalcEngine::start(double x)
{
    clear();
    const std::string text = format(x);
    if (readsBack(text))
        m_entry = text;
}

CalcEngine::Result CalcEngine::fail()
{
    m_error = true;
    m_op = 0;
    m_fresh = true;
    return Result::Failed;
}

CalcEngine::Result CalcEngine::setResult(double x)
{
    const std::string text = format(x);
    if (!std::isfinite(x) || !readsBack(text))
        return fail();
    m_entry = text;
    m_fresh = true;
    return Result::Changed;
}

bool CalcEngine::apply(double a, char op, double b, double &out)
{
    switch (op) {
    case '+': out = a + b; break;
    case '-': out = a - b; break;
    case '*': out = a * b; break;
    case '/':
        if (b == 0)
            return false;
        out = a / b;
        break;
    default: out = b; break;
    }
    return std::isfinite(out);
}

CalcEngine::Result CalcEngine::key(char k)
{
    if (k >= 'a' && k <= 'z')
        k = static_cast<char>(k - 'a' + 'A');
    if (k == 'C') {
        clear();
        return Result::Changed;
    }
    if (m_error)
        return Result::Ignored;

    const auto typedChars = [this] {
        return static_cast<int>(m_entry.size()) - (!m_entry.empty() && m_entry[0] == '-' ? 1 : 0);
    };

    if (k >= '0' && k <= '9') {
        if (m_fresh) {
            m_entry.assign(1, k);
            m_fresh = false;
        } else if (m_entry == "0") {
            m_entry.assign(1, k);
        } else if (m_entry == "-0") {
            m_entry = std::string("-") + k;
        } else if (typedChars() >= MaxChars) {
            return Result::Refused;
        } else {
            m_entry.push_back(k);
        }
        return Result::Changed;
    }
    if (k == '.' || k == ',') {
        if (m_fresh) {
            m_entry = "0.";
            m_fresh = false;
            return Result::Changed;
        }
        if (m_entry.find('.') != std::string::npos || typedChars() >= MaxChars)
            return Result::Refused;
        m_entry.push_back('.');
        return Result::Changed;
    }
    if (k == '\b') {
        if (m_fresh)
            return Result::Ignored;
        m_entry.pop_back();
        if (m_entry.empty() || m_entry == "-" || m_entry == "-0")
            m_entry = "0";
        return Result::Changed;
    }
    if (k == '_') {
        if (m_fresh)
            return setResult(-number());
        if (m_entry == "0")
            return Result::Ignored;
        if (m_entry[0] == '-')
            m_entry.erase(0, 1);
        else
            m_entry.insert(0, 1, '-');
        return Result::Changed;
    }
    if (k == 'Q') {
        const double x = number();
        if (x < 0)
            return fail();
        return setResult(std::sqrt(x));
    }
    if (k == 'R') {
        const double x = number();
        if (x == 0)
            return fail();
        return setResult(1 / x);
    }
    if (k == '+' || k == '-' || k == '*' || k == '/') {
        if (m_op && !m_fresh) {
            double r = 0;
            if (!apply(m_acc, m_op, number(), r))
                return fail();
            setResult(r);
            m_acc = number();
        } else if (!m_op) {
            m_acc = number();
        }
        m_op = k;
        m_fresh = true;
        return Result::Changed;
    }
    if (k == '=' || k == '\r' || k == '\n' || k == '%') {
        double y = number();
        if (k == '%') {
            if (m_op == '*' || m_op == '/')
                y = y / 100;
            else if (m_op == '+' || m_op == '-')
                y = m_acc * y / 100;
        }
        double r = y;
        if (m_op && !apply(m_acc, m_op, y, r))
            return fail();
        if (setResult(r) == Result::Failed)
            return Result::Failed;
        m_acc = number();
        m_op = 0;
        return Result::Accept;
    }
    return Result::Ignored;
}

// ---- placement ----------------------------------------------------------------

QPoint calculatorPosition(const QRect &field, const QSize &popup, const QRect &screen)
{
    int x = field.right() - popup.width() + 1;
    int y = field.bottom() + 1;
    if (y + popup.height() - 1 > screen.bottom())
        y = field.top() - popup.height();
    if (x + popup.width() - 1 > screen.right())
        x = screen.right() - popup.width() + 1;
    if (x < screen.left())
        x = screen.left();
    if (y + popup.height() - 1 > screen.bottom())
        y = screen.bottom() - popup.height() + 1;
    if (y < screen.top())
        y = screen.top();
    return QPoint(x, y);
}

// ---- popup ----------------------------------------------------------------------

namespace {
constexpr int KeyWidth = 25;
constexpr int KeyHeight = 19;
} // namespace

CalculatorPopup::CalculatorPopup(QWidget *field) : QFrame(field, Qt::Popup | Qt::FramelessWindowHint), m_field(field)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);
    addKey(grid, '\b', tr("Back"), 0, 0, 3);
    addKey(grid, 'C', QStringLiteral("C"), 0, 3, 2);
    addKey(grid, '7', QStringLiteral("7"), 1, 0);
    addKey(grid, '8', QStringLiteral("8"), 1, 1);
    addKey(grid, '9', QStringLiteral("9"), 1, 2);
    addKey(grid, '/', QStringLiteral("/"), 1, 3);
    addKey(grid, 'Q', QStringLiteral("sqrt"), 1, 4);
    addKey(grid, '4', QStringLiteral("4"), 2, 0);
    addKey(grid, '5', QStringLiteral("5"), 2, 1);
    addKey(grid, '6', QStringLiteral("6"), 2, 2);
    addKey(grid, '*', QStringLiteral("*"), 2, 3);
    addKey(grid, '%', QStringLiteral("%"), 2, 4);
    addKey(grid, '1', QStringLiteral("1"), 3, 0);
    addKey(grid, '2', QStringLiteral("2"), 3, 1);
    addKey(grid, '3', QStringLiteral("3"), 3, 2);
    addKey(grid, '-', QStringLiteral("-"), 3, 3);
    addKey(grid, 'R', QStringLiteral("1/x"), 3, 4);
    addKey(grid, '0', QStringLiteral("0"), 4, 0);
    addKey(grid, '_', QStringLiteral("+/-"), 4, 1);
    addKey(grid, '.', QStringLiteral("."), 4, 2);
    addKey(grid, '+', QStringLiteral("+"), 4, 3);
    addKey(grid, '=', QStringLiteral("="), 4, 4);
    m_separatorButton = button('.');
}

void CalculatorPopup::addKey(QGridLayout *grid, char k, const QString &label, int row, int col, int colSpan)
{
    auto *b = new QToolButton(this);
    b->setText(label);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(KeyWidth * colSpan + grid->spacing() * (colSpan - 1), KeyHeight);
    b->setProperty("calcKey", QVariant::fromValue(int(static_cast<unsigned char>(k))));
    connect(b, &QToolButton::clicked, this, [this, k] { press(k); });
    grid->addWidget(b, row, col, 1, colSpan);
}

QToolButton *CalculatorPopup::button(char k) const
{
    const int want = static_cast<unsigned char>(k);
    for (QToolButton *b : findChildren<QToolButton *>())
        if (b->property("calcKey").toInt() == want)
            return b;
    return nullptr;
}

void CalculatorPopup::start(double x, QChar decimalSeparator, bool beepOnError)
{
    m_engine.start(x);
    m_separator = decimalSeparator;
    m_beepOnError = beepOnError;
    m_finished = false;
    if (m_separatorButton)
        m_separatorButton->setText(QString(decimalSeparator));
}

void CalculatorPopup::popupAt(QWidget *field)
{
    adjustSize();
    const QRect global(field->mapToGlobal(QPoint(0, 0)), field->size());
    QScreen *screen = field->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(global.topLeft() - QPoint(4096, 4096), QSize(8192, 8192));
    move(calculatorPosition(global, size(), area));
    show();
}

QString CalculatorPopup::displayText() const
{
    QString t = QString::fromStdString(m_engine.display());
    if (!m_engine.hasError())
        t.replace(QLatin1Char('.'), m_separator);
    return t;
}

void CalculatorPopup::press(char k)
{
    if (m_finished)
        return;
    const CalcEngine::Result r = m_engine.key(k);
    switch (r) {
    case CalcEngine::Result::Refused:
    case CalcEngine::Result::Failed:
        if (m_beepOnError)
            platform::beep();
        break;
    default:
        break;
    }
    emit displayChanged(displayText());
    if (r == CalcEngine::Result::Accept)
        finish(true);
}

void CalculatorPopup::cancel()
{
    if (!m_finished)
        finish(false);
}

void CalculatorPopup::finish(bool accept)
{
    m_finished = true;
    hide();
    if (accept)
        emit accepted(m_engine.number());
    else
        emit cancelled();
}

void CalculatorPopup::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    switch (e->key()) {
    case Qt::Key_Escape:
        cancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press('=');
        return;
    case Qt::Key_Backspace:
        press('\b');
        return;
    default:
        break;
    }
    const QString t = e->text();
    if (t.size() == 1 && t.at(0).unicode() < 128 && t.at(0).isPrint()) {
        const char c = static_cast<char>(t.at(0).unicode());
        if (t.at(0) == m_separator)
            press('.');
        else
            press(c);
    } else if (t.size() == 1 && t.at(0) == m_separator) {
        press('.');
    }
}

void CalculatorPopup::mousePressEvent(QMouseEvent *e)
{
    // A click on the field's own drop-down button closes the popup; do not
    // let that click reach the button again and reopen it.
    if (!rect().contains(e->position().toPoint()) && m_field) {
        const QPoint p = m_field->mapFromGlobal(e->globalPosition().toPoint());
        if (m_field->rect().contains(p))
            setAttribute(Qt::WA_NoMouseReplay);
    }
    QFrame::mousePressEvent(e);
}

void CalculatorPopup::hideEvent(QHideEvent *e)
{
    QFrame::hideEvent(e);
    if (!m_finished) {   // closed by a click outside
        m_finished = true;
        emit cancelled();
    }
}
