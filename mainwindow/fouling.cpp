#include "mainwindow/fouling.h"

#include "languages/languages.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "rating/fields.h"
#include "rating/model.h"
#include "widgets/NumEdit.h"
#include "widgets/controls.h"
#include "widgets/fonts.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace mainwindow {

namespace {

using lang::Texts;

// One per language, in the order of the language list.
constexpr Texts kName = {
    "Szennyeződési ellenállás", "Fouling resistance",       "Сопротивление загрязнения", "Odpor znečistenia",
    "Verschmutzungswiderstand", "Rezistența de depunere", "Resistenza di sporcamento",
};
constexpr Texts kEntry = {
    "Szennyeződési ellenállás…", "Fouling resistance…",       "Сопротивление загрязнения…", "Odpor znečistenia…",
    "Verschmutzungswiderstand…", "Rezistența de depunere…", "Resistenza di sporcamento…",
};
// %1 and %2: the ends of the range, %3: the default.
constexpr Texts kRange = {
    "%1 és %2 m²·K/W között; alapérték: %3 m²·K/W.",
    "From %1 to %2 m²·K/W; the default is %3 m²·K/W.",
    "От %1 до %2 m²·K/W; по умолчанию %3 m²·K/W.",
    "Od %1 do %2 m²·K/W; predvolená hodnota je %3 m²·K/W.",
    "Von %1 bis %2 m²·K/W; Standardwert %3 m²·K/W.",
    "De la %1 la %2 m²·K/W; valoarea implicită este %3 m²·K/W.",
    "Da %1 a %2 m²·K/W; il valore predefinito è %3 m²·K/W.",
};
// %1 and %2: the ends of the range.
constexpr Texts kBad = {
    "A szennyeződési ellenállás %1 és %2 m²·K/W közötti szám lehet.",
    "The fouling resistance must be a number from %1 to %2 m²·K/W.",
    "Сопротивление загрязнения должно быть числом от %1 до %2 m²·K/W.",
    "Odpor znečistenia musí byť číslo od %1 do %2 m²·K/W.",
    "Der Verschmutzungswiderstand muss eine Zahl von %1 bis %2 m²·K/W sein.",
    "Rezistența de depunere trebuie să fie un număr de la %1 la %2 m²·K/W.",
    "La resistenza di sporcamento deve essere un numero da %1 a %2 m²·K/W.",
};
constexpr Texts kDefault = {"Alapérték", "Default", "По умолчанию", "Predvolené", "Standard", "Implicit", "Predefinito"};
constexpr Texts kOk = {"OK", "OK", "OK", "OK", "OK", "OK", "OK"};
constexpr Texts kCancel = {"Mégse", "Cancel", "Отмена", "Zrušiť", "Abbrechen", "Anulează", "Annulla"};

const QColor kBadText(160, 0, 0);
const QColor kInvalid(255, 210, 210);

QString separator() { return QString(NumEdit::regionalSeparators().decimal); }

} // namespace

// ---------------------------------------------------------------- text

std::optional<long long> readFoulingCount(QStringView text, const numfield::Separators &seps)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || !numfield::readNumber(trimmed, seps)) return std::nullopt;
    // The fields drop a thousands separator wherever it stands (",-5" is -5,
    // "1e,5" is 1e5); without them the text follows the fields' grammar:
    // [+-] digits [. digits] [(e|E) [+-] digits].
    QString kept;
    kept.reserve(trimmed.size());
    for (const QChar c : trimmed)
        if (!seps.isThousands(c)) kept += c;
    const QStringView t = kept;
    bool negative = false, point = false;
    std::string digits;     // the mantissa's digits, leading zeros dropped
    long long scale = 0;    // value = digits * 10^scale
    long long exponent = 0; // the written exponent, held to +-10^6
    qsizetype i = 0;
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')) negative = t[i++] == QLatin1Char('-');
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (seps.isDecimal(c)) {
            point = true;
        } else if (c.isDigit()) {
            if (!(digits.empty() && c == QLatin1Char('0'))) digits.push_back(static_cast<char>(c.unicode()));
            if (point) --scale;
        } else {
            break; // e or E
        }
    }
    if (i < t.size()) {
        ++i;
        bool negativeExponent = false;
        if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')) negativeExponent = t[i++] == QLatin1Char('-');
        for (; i < t.size(); ++i)
            if (exponent < 1000000) exponent = exponent * 10 + (t[i].unicode() - '0');
        if (negativeExponent) exponent = -exponent;
    }
    if (digits.empty()) return 0;
    // The count: digits * 10^(scale + exponent + 7), halves away from zero.
    constexpr long long kLimit = 1000000000000000; // 10^15
    const long long shift = scale + exponent + 7;
    long long count = 0;
    if (shift >= 0) {
        if (static_cast<long long>(digits.size()) + shift > 15) return negative ? -kLimit : kLimit;
        for (char d : digits) count = count * 10 + (d - '0');
        for (long long k = 0; k < shift; ++k) count *= 10;
    } else {
        // Keep the digits left of the point; the first one dropped rounds.
        const long long keep = static_cast<long long>(digits.size()) + shift;
        if (keep > 15) return negative ? -kLimit : kLimit;
        for (long long k = 0; k < keep; ++k) count = count * 10 + (digits[static_cast<std::size_t>(k)] - '0');
        if (keep >= 0 && digits[static_cast<std::size_t>(keep)] >= '5') ++count;
    }
    return negative ? -count : count;
}

QString foulingName(int nyelv) { return lang::text(kName, nyelv); }

double foulingValue(long long count) { return static_cast<double>(count) / 1e7; }

QString foulingText(double rf, const QString &sep)
{
    const std::string s = sep.toStdString();
    QString t = QString::fromStdString(rating::FixedText(rf, 7, s));
    const qsizetype at = t.indexOf(sep);
    if (at >= 0 && t.size() - (at + sep.size()) == 7 && t.endsWith(QLatin1Char('0'))) t.chop(1);
    return t;
}

// ---------------------------------------------------------------- the mark

FoulingMark::FoulingMark(TmainF *mainF) : QObject(mainF), mainF_(mainF)
{
    using widgets::Label;
    caption_ = new Label(mainF->Panel1, "LbFouling", topLeft.x(), topLeft.y(), 100, 13, Label::AutoLeft);
    value_ = new Label(mainF->Panel1, "FoulingValue", topLeft.x(), topLeft.y() + 14, 100, 13, Label::AutoLeft);
    for (Label *l : {caption_, value_}) {
        l->setFont(fonts::sansSerif(8));
        // Above the picture, below the inputs (none lies here).
        l->stackUnder(mainF->CbTipus);
        l->hide();
    }
    connect(mainF, &TmainF::calculated, this, &FoulingMark::follow);
    connect(mainF, &TmainF::languageApplied, this, &FoulingMark::follow);
    follow();
}

void FoulingMark::follow()
{
    const double rf = mainF_->inputs().Rf;
    const int n = mainF_->language();
    const lang::Language *l = lang::language(n);
    caption_->setCaption(lang::text(kName, n));
    value_->setCaption(QStringLiteral("Rf = %1 m²·K/W").arg(foulingText(rf, separator())));
    for (widgets::Label *lb : {caption_, value_}) {
        fonts::setCharset(lb, l ? l->charset : lang::DefaultCharset);
        lb->setVisible(rf != rating::Rf);
    }
}

// ---------------------------------------------------------------- the dialog

FoulingDialog::FoulingDialog(TmainF *mainF) : QDialog(mainF), mainF_(mainF), openAction_(new QAction(mainF))
{
    setObjectName(QStringLiteral("foulingF"));
    openAction_->setObjectName(QStringLiteral("FoulingAction"));
    connect(openAction_, &QAction::triggered, this, &FoulingDialog::openDialog);
    mainF_->addContextAction(openAction_);
    connect(mainF_, &TmainF::languageApplied, this, &FoulingDialog::retranslate);
    retranslate();
}

FoulingDialog::~FoulingDialog() = default;

void FoulingDialog::build()
{
    setFont(fonts::sansSerif(8));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    fieldLabel_ = new QLabel(QStringLiteral("Rf"), this);
    field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("foulingEd"));
    field->setAccessibleName(QStringLiteral("foulingEd"));
    field->setAlignment(Qt::AlignRight);
    field->setMaxLength(40);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0.00000000")) + 16);
    fieldLabel_->setBuddy(field);
    row->addWidget(fieldLabel_);
    row->addWidget(field);
    row->addWidget(new QLabel(QStringLiteral("m²·K/W"), this));
    row->addStretch();
    layout->addLayout(row);

    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    // Room for two lines of the longest text, so that the dialog keeps its size.
    message->setMinimumWidth(300);
    message->setFixedHeight(message->fontMetrics().lineSpacing() * 2 + 4);
    layout->addWidget(message);

    auto *buttons = new QHBoxLayout;
    defaultButton = new QPushButton(this);
    defaultButton->setObjectName(QStringLiteral("defaultButton"));
    okButton = new QPushButton(this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(defaultButton);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    defaultButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    okButton->setDefault(true);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(field, &QLineEdit::textChanged, this, &FoulingDialog::check);
    connect(defaultButton, &QPushButton::clicked, this, [this] {
        field->setText(foulingText(rating::Rf, separator()));
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(field, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, defaultButton);
}

void FoulingDialog::retranslate()
{
    const int n = mainF_->language();
    openAction_->setText(lang::text(kEntry, n));
    if (!field) return;
    const lang::Language *l = lang::language(n);
    fonts::setCharset(this, l ? l->charset : lang::DefaultCharset);
    setWindowTitle(lang::text(kName, n));
    field->setToolTip(lang::text(kName, n));
    defaultButton->setText(lang::text(kDefault, n));
    okButton->setText(lang::text(kOk, n));
    cancelButton->setText(lang::text(kCancel, n));
    check();
}

std::optional<double> FoulingDialog::fieldValue() const
{
    if (!field) return std::nullopt;
    const std::optional<long long> count = readFoulingCount(field->text(), NumEdit::regionalSeparators());
    if (!count || *count < 0 || *count > MaxFoulingCount) return std::nullopt;
    return foulingValue(*count);
}

void FoulingDialog::check()
{
    const int n = mainF_->language();
    const QString sep = separator();
    const bool ok = fieldValue().has_value();
    const QString lo = QStringLiteral("0"), hi = QStringLiteral("0") + sep + QStringLiteral("01");
    message->setText(ok ? lang::text(kRange, n).arg(lo, hi, foulingText(rating::Rf, sep))
                        : lang::text(kBad, n).arg(lo, hi));
    QPalette p = message->palette();
    p.setColor(QPalette::WindowText, ok ? palette().color(QPalette::WindowText) : kBadText);
    message->setPalette(p);
    QPalette f = field->palette();
    f.setColor(QPalette::Base, ok ? style()->standardPalette().color(QPalette::Base) : kInvalid);
    field->setPalette(f);
    okButton->setEnabled(ok);
}

void FoulingDialog::openDialog()
{
    if (!field) {
        build();
        retranslate();
    }
    field->setText(foulingText(mainF_->inputs().Rf, separator()));
    QDialog::open(); // modal over the main window, without an event loop of its own
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void FoulingDialog::accept()
{
    const std::optional<double> v = fieldValue();
    if (!v) return; // OK is disabled; Enter in a field with no value does nothing
    rating::Case c = mainF_->inputs();
    c.Rf = *v;
    if (!mainF_->setInputs(c)) return; // the window is busy: stay open
    QDialog::accept();
}

} // namespace mainwindow
