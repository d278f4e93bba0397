#include "mainwindow/main.h"

#include "assets/assets.h"
#include "languages/languages.h"
#include "mainwindow/fouling.h"
#include "mainwindow/resultscopy.h"
#include "platform/platform.h"
#include "rating/fields.h"
#include "widgets/LevelBar.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <cmath>

using widgets::Label;

namespace {

const QColor kBackground(206, 255, 255);
const QColor kPanel(128, 255, 255);
const QColor kNavy(0, 0, 128);
const QColor kGrid(128, 128, 128);


void setBackground(QWidget *w, const QColor &c)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), c); // Button for a check box, Window for the rest
    w->setPalette(p);
}

void setTextColor(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

QComboBox *pickList(QWidget *parent, const char *name, int x, int y, int w, const QStringList &items,
                    int selected)
{
    auto *cb = new QComboBox(parent);
    cb->setObjectName(QString::fromLatin1(name));
    cb->addItems(items);
    cb->setCurrentIndex(selected);
    cb->setEditable(false);
    cb->setGeometry(x, y, w, 21);
    cb->setFont(fonts::sansSerif(8));
    cb->setAccessibleName(QString::fromLatin1(name));
    return cb;
}

QToolButton *pictureButton(QWidget *parent, const char *name, int x, int y, const QIcon &icon,
                           const QString &accessible)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, 23, 22);
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    return b;
}

LevelBar *levelBar(QWidget *parent, const char *name, int x, int y, int w, int h, Qt::Orientation o,
                   const QColor &c)
{
    auto *bar = new LevelBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(x, y, w, h);
    bar->setOrientation(o);
    bar->setMinimum(0);
    bar->setMaximum(150);
    bar->setBarColorFrom(c);
    bar->setBarColorTo(c);
    bar->setPosition(50);
    return bar;
}

struct FieldSetup {
    double value, min, max;
    const char *format;
    bool round, formatOnEditing, beep;
};

NumEdit *numField(QWidget *parent, const char *name, int x, int y, int w, const FieldSetup &s)
{
    auto *e = new NumEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(QString::fromLatin1(name));
    e->setGeometry(x, y, w, 19);
    e->setFont(fonts::sansSerif(8));
    e->setMinValue(s.min);
    e->setMaxValue(s.max);
    e->setDisplayFormat(QString::fromLatin1(s.format));
    e->setDecimalPlaces(2);
    e->setDecimalPlaceRound(s.round);
    e->setFormatOnEditing(s.formatOnEditing);
    e->setBeepOnError(s.beep);
    e->setValue(s.value);
    return e;
}

} // namespace

// ---------------------------------------------------------------- TmainF

TmainF::TmainF(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mainF"));
    setWindowTitle(programTitle());
    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(701, 571);
    setBackground(this, kBackground);
    setFont(fonts::sansSerif(8));
    build();
    new mainwindow::ResultsCopy(this); // "Copy results" in the context menu
    new mainwindow::FoulingMark(this);  // a fouling other than the default, on the schematic
    if (const QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    handle([this] { FormCreate(); });
}

TmainF::~TmainF()
{
    busy_ = true; // no handler runs on a window being torn down
}

void TmainF::build()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 701, 488);
    setBackground(Panel1, kPanel);

    Image1 = new widgets::PictureBox(Panel1);
    Image1->setGeometry(0, 0, 701, 485);

    auto label = [this](const char *name, int l, int t, int w, int h, Label::Anchor a,
                        const QFont &f = fonts::sansSerif(8), Qt::Alignment al = Qt::AlignLeft) {
        auto *lb = new Label(Panel1, name, l, t, w, h, a, al);
        lb->setFont(f);
        labels_.append(lb);
        return lb;
    };
    const QFont normal = fonts::sansSerif(8);
    const QFont bold = fonts::sansSerif(8, true);
    const QFont big = fonts::sansSerif(10, true);

    // Labels, buttons and bars over the picture, in the order of the layout.
    LbTipus = label("LbTipus", 344, 28, 40, 16, Label::AutoLeft, big);
    LbSoros = label("LbSoros", 304, 84, 54, 13, Label::AutoLeft);
    LbParhuzamos = label("LbParhuzamos", 368, 84, 58, 13, Label::AutoLeft);
    Label9 = label("Label9", 132, 36, 15, 16, Label::AutoLeft, fonts::tahoma(10, true));
    JvXPProgressBar1 = levelBar(Panel1, "JvXPProgressBar1", 150, 36, 10, 80, Qt::Vertical, Qt::red);
    LbKilhomK = label("LbKilhomK", 168, 60, 60, 13, Label::AutoLeft, bold);
    LbTKK = label("LbTKK", 168, 76, 39, 13, Label::AutoLeft, bold);
    SpeedButton3 = pictureButton(Panel1, "SpeedButton3", 448, 44, assets::chartIcon(), QStringLiteral("Chart of the coil-side flow"));
    LbTerfaramS = label("LbTerfaramS", 480, 56, 61, 13, Label::AutoLeft);
    Label4 = label("Label4", 572, 36, 14, 16, Label::AutoLeft, fonts::tahoma(10));
    JvXPProgressBar2 = levelBar(Panel1, "JvXPProgressBar2", 588, 36, 10, 80, Qt::Vertical, Qt::blue);
    SpeedButton4 = pictureButton(Panel1, "SpeedButton4", 610, 36, assets::chartIcon(), QStringLiteral("Chart of the coil-side inlet temperature"));
    LbBelhomS = label("LbBelhomS", 608, 64, 54, 13, Label::AutoLeft);
    LbNyomasesesK = label("LbNyomasesesK", 177, 252, 93, 13, Label::AutoRight, bold);
    DPK = label("DPK", 244, 268, 26, 13, Label::AutoRight, bold);
    LbNyomasesesS = label("LbNyomasesesS", 520, 252, 93, 13, Label::AutoLeft, bold);
    DPS = label("DPS", 520, 268, 26, 13, Label::AutoLeft, bold);
    Label5 = label("Label5", 132, 300, 14, 16, Label::AutoLeft, fonts::tahoma(10));
    JvXPProgressBar3 = levelBar(Panel1, "JvXPProgressBar3", 147, 298, 10, 80, Qt::Vertical, Qt::blue);
    LbBelhomK = label("LbBelhomK", 160, 304, 54, 13, Label::AutoLeft);
    SpeedButton1 = pictureButton(Panel1, "SpeedButton1", 120, 324, assets::chartIcon(), QStringLiteral("Chart of the jacket-side inlet temperature"));
    Label7 = label("Label7", 444, 388, 15, 16, Label::AutoLeft, fonts::tahoma(10, true));
    LbKilhomS = label("LbKilhomS", 475, 388, 60, 13, Label::AutoLeft, bold);
    JvXPProgressBar4 = levelBar(Panel1, "JvXPProgressBar4", 398, 405, 80, 10, Qt::Horizontal, Qt::red);
    LbTerfaramK = label("LbTerfaramK", 168, 408, 61, 13, Label::AutoLeft);
    LbTSK = label("LbTSK", 472, 420, 47, 16, Label::AutoLeft, big);
    SpeedButton2 = pictureButton(Panel1, "SpeedButton2", 112, 424, assets::chartIcon(), QStringLiteral("Chart of the jacket-side flow"));
    QLabel = label("QLabel", 0, 471, 697, 17, Label::Fixed, big, Qt::AlignHCenter);
    SpeedButton6 = pictureButton(Panel1, "SpeedButton6", SpeedButton6Rect.x(), SpeedButton6Rect.y(),
                                 assets::selectionIcon(), QStringLiteral("Select type and arrangement"));
    for (Label *l : {Label9, Label4, Label5, Label7}) l->setCaption(QStringLiteral("°C"));

    // The result table below the picture lies on the window itself.
    auto tableLabel = [this](const char *name, int l, int t, int w, Label::Anchor a) {
        auto *lb = new Label(this, name, l, t, w, 13, a, Qt::AlignHCenter);
        labels_.append(lb);
        return lb;
    };
    LbKopeny = tableLabel("LbKopeny", 9, 489, 61, Label::AutoLeft);
    LbSpiral = tableLabel("LbSpiral", 641, 489, 51, Label::AutoRight);
    LbTomegaramK = tableLabel("LbTomegaramK", 8, 504, 75, Label::AutoLeft);
    LbTomegaram = tableLabel("LbTomegaram", 136, 504, 417, Label::Fixed);
    LbTomegaramS = tableLabel("LbTomegaramS", 616, 504, 75, Label::AutoRight);
    LbArsebK = tableLabel("LbArsebK", 8, 519, 46, Label::AutoLeft);
    LbArseb = tableLabel("LbArseb", 136, 519, 417, Label::Fixed);
    LbArsebS = tableLabel("LbArsebS", 645, 519, 46, Label::AutoRight);
    LbHoatadK = tableLabel("LbHoatadK", 8, 535, 54, Label::AutoLeft);
    LbHoatad = tableLabel("LbHoatad", 136, 535, 417, Label::Fixed);
    LbHoatadS = tableLabel("LbHoatadS", 637, 535, 54, Label::AutoRight);
    LbHoatbocsT = tableLabel("LbHoatbocsT", 168, 549, 361, Label::Fixed);

    // Inputs on the picture.
    CbTipus = pickList(Panel1, "CbTipus", 320, 52, 97,
                       {QStringLiteral("VT/R-0"), QStringLiteral("VT/R-1"), QStringLiteral("VT/R-2"),
                        QStringLiteral("VT/R-3"), QStringLiteral("VR/T-4")},
                       0);
    SorosEd = numField(Panel1, "SorosEd", 304, 100, 49, {1, 0, 150, ",0.###", false, false, true});
    ParhEd = numField(Panel1, "ParhEd", 368, 100, 49, {1, 0, 150, ",0.###", false, false, true});
    MVsEd = numField(Panel1, "MVsEd", 448, 76, 65, {1, 0, 150, ",0.###", false, false, true});
    const QStringList units = {QStringLiteral("l/min"), QStringLiteral("m3/h")};
    CbMVs = pickList(Panel1, "CbMVs", 512, 76, 65, units, 1);
    tsbEd = numField(Panel1, "tsbEd", 608, 84, 65, {20, -5, 150, ",0.##", false, false, true});
    CbMVk = pickList(Panel1, "CbMVk", 208, 424, 65, units, 1);
    MVkEd = numField(Panel1, "MVkEd", 144, 424, 65, {7, 0, 150, "0.###", false, false, true});
    tkbEd = numField(Panel1, "tkbEd", 160, 324, 65, {80, -5, 150, "0.##", true, true, false});

    // Title bar over the top of the picture.
    Panel4 = new QWidget(Panel1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(0, 0, 701, 25);
    setBackground(Panel4, kNavy);
    LbVARDOTORLEX = new Label(Panel4, "LbVARDOTORLEX", 240, 4, 461, 23, Label::Fixed, Qt::AlignHCenter);
    setBackground(LbVARDOTORLEX, kNavy);
    LbVARDOTORLEX->setFont(fonts::sansSerif(7, true));
    fonts::setPointSize(LbVARDOTORLEX, 7);
    setTextColor(LbVARDOTORLEX, Qt::white);
    labels_.prepend(LbVARDOTORLEX);
    SpeedButton5 = pictureButton(Panel4, "SpeedButton5", 1, 1, assets::printerIcon(), QStringLiteral("Print the report"));
    ComboBox1 = new widgets::CloseUpComboBox(Panel4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(QStringLiteral("Language"));
    for (int i = 0; i < lang::count(); ++i) ComboBox1->addItem(QString::fromUtf8(lang::language(i)->name));
    ComboBox1->setCurrentIndex(lang::DefaultLanguage);
    ComboBox1->setGeometry(32, 0, 73, 21);
    ComboBox1->setFont(fonts::sansSerif(8));
    setTextColor(ComboBox1, Qt::black);
    CbPwc = new QCheckBox(Panel4);
    CbPwc->setObjectName(QStringLiteral("CbPwc"));
    CbPwc->setGeometry(112, 4, 161, 17);
    CbPwc->setFont(fonts::sansSerif(8));
    // Opaque on the title bar: the title runs on under the check box's right
    // end and appears only to its right.
    setBackground(CbPwc, kNavy);
    setTextColor(CbPwc, Qt::white);
    {
        // The caption is white; the tick in the white box stays dark.
        QPalette p = CbPwc->palette();
        p.setColor(QPalette::Text, Qt::black);
        CbPwc->setPalette(p);
    }
    CbPwc->raise();

    for (Label *l : labels_) {
        const bool black = l == DPK || l == DPS || l == LbTKK || l == LbTSK || l == QLabel ||
                           l == LbNyomasesesK || l == LbNyomasesesS;
        if (l != LbVARDOTORLEX) setTextColor(l, black ? Qt::black : palette().color(QPalette::WindowText));
    }

    // Stacking: picture at the bottom, then labels, buttons and bars, then
    // lists, fields and the title bar.
    Image1->lower();
    for (QWidget *w : std::initializer_list<QWidget *>{CbTipus, SorosEd, ParhEd, MVsEd, CbMVs, tsbEd, CbMVk, MVkEd, tkbEd, Panel4})
        w->raise();

    // Keyboard order.
    inputs_ = {CbTipus, SorosEd, ParhEd, MVsEd, CbMVs, tsbEd, CbMVk, MVkEd, tkbEd};
    const QList<QWidget *> order = {CbTipus, SorosEd, ParhEd, MVsEd, CbMVs, tsbEd,
                                    CbMVk,   MVkEd,   tkbEd,  ComboBox1, CbPwc};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    for (QWidget *w : order) w->setFocusPolicy(Qt::StrongFocus);

    // The context menu shows the window's actions (the picture, the labels
    // and the panels pass a right click on to the window). It pops up
    // without an event loop of its own, as the fields' menus do, so that
    // nothing waits on it while it is open.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (actions().isEmpty()) return;
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addActions(actions());
        emit contextMenuOpening(menu, childAt(pos));
        menu->popup(mapToGlobal(pos));
    });

    // Events.
    connect(Image1, &widgets::PictureBox::clicked, this, [this] { handle([this] { Image1Click(); }); });
    for (QComboBox *cb : {CbTipus, CbMVs, CbMVk}) {
        connect(cb, &QComboBox::activated, this, [this] { handle([this] { CbTipusChange(); }); });
        connect(cb, &QComboBox::currentIndexChanged, this, &TmainF::inputsEdited);
        cb->installEventFilter(this);
    }
    ComboBox1->installEventFilter(this);
    for (NumEdit *e : {SorosEd, ParhEd, MVsEd, tsbEd, MVkEd, tkbEd}) {
        connect(e, &NumEdit::changed, this, [this] { handle([this] { CbTipusChange(); }); });
        connect(e, &NumEdit::exited, this, [this] { handle([this] { Image1Click(); }); });
        connect(e, &QLineEdit::textChanged, this, &TmainF::inputsEdited);
    }
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton2Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton3Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton4Click(); }); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton5Click(); }); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton6Click(); }); });
    connect(ComboBox1, &widgets::CloseUpComboBox::closeUp, this, [this] { handle([this] { ComboBox1CloseUp(); }); });
}

template <class F> void TmainF::handle(F &&f)
{
    if (busy_) return;
    busy_ = true;
    try {
        f();
    } catch (const rating::ArithmeticError &e) {
        busy_ = false;
        platform::showError(QString::fromUtf8(e.what()));
        return;
    }
    busy_ = false;
}

bool TmainF::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel turns only the pick list that has the keyboard focus; over
    // any other it does nothing, so a passing pointer changes no entry.
    if (event->type() == QEvent::Wheel) {
        if (auto *list = qobject_cast<QComboBox *>(watched); list && !list->hasFocus()) return true;
    }
    // Leaving one of the input lists recalculates; a list opening its popup,
    // or the window losing activation, is no leaving. An opening list takes
    // the focus twice: once for the popup, then for the entries in it. A
    // list that never had the focus is not left either: a field left with
    // text that is no number takes the focus back from the list clicked
    // before the list is told it has it.
    if (event->type() == QEvent::FocusIn && watched != ComboBox1) focusedList_ = watched;
    if (event->type() == QEvent::FocusOut && watched != ComboBox1) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const auto *list = qobject_cast<QComboBox *>(watched);
        const bool intoOwnList = list && list->view()->isVisible();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !intoOwnList &&
            watched == focusedList_) {
            focusedList_ = nullptr;
            handle([this] { Image1Click(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TmainF::FormCreate()
{
    model.Nyelv = ComboBox1->currentIndex();
    NyelvStrings();
    CbTipusChange();
    Image1Click();
}

void TmainF::CbTipusChange()
{
    resultsCurrent_ = false;
    model.Tipus = CbTipus->currentIndex();
    // The marks go into the model's texts, so that a run that fails its
    // checks leaves them on screen.
    model.DPK = model.DPS = model.QLabel = model.LbTKK = model.LbTSK = "***";
    model.LbTomegaramK = model.LbArsebK = model.LbHoatadK = model.LbTomegaramS = model.LbArsebS =
        model.LbHoatadS = model.LbHoatbocsT = " ";
    showResults();
}

void TmainF::Image1Click()
{
    model.tkb = tkbEd->value();
    model.MVk = MVkEd->value();
    model.tsb = tsbEd->value();
    model.MVs = MVsEd->value();
    model.Soros = static_cast<std::int32_t>(std::trunc(SorosEd->value()));
    model.Parh = static_cast<std::int32_t>(std::trunc(ParhEd->value()));
    model.CbMVkIndex = CbMVk->currentIndex();
    model.CbMVsIndex = CbMVs->currentIndex();
    model.Rf = Rf_;
    model.DecimalSeparator = platform::decimalSeparator().toStdString();
    resultsCurrent_ = false;
    try {
        model.Szamitas();
    } catch (...) {
        showResults(); // the texts the run had already written
        emit calculated();
        throw;
    }
    resultsCurrent_ = !model.Hiba;
    showResults();
    indicatorUpdate();
    emit calculated();
}

void TmainF::showResults()
{
    const std::pair<Label *, const std::string *> rows[] = {
        {DPK, &model.DPK},           {DPS, &model.DPS},           {QLabel, &model.QLabel},
        {LbTKK, &model.LbTKK},       {LbTSK, &model.LbTSK},       {LbTomegaramK, &model.LbTomegaramK},
        {LbArsebK, &model.LbArsebK}, {LbHoatadK, &model.LbHoatadK}, {LbTomegaramS, &model.LbTomegaramS},
        {LbArsebS, &model.LbArsebS}, {LbHoatadS, &model.LbHoatadS}, {LbHoatbocsT, &model.LbHoatbocsT},
    };
    for (const auto &[label, text] : rows) {
        const QString t = QString::fromStdString(*text);
        if (label->text() != t) label->setCaption(t);
    }
}

QColor TmainF::indicatorColor(double t) { return t > 37.0 ? QColor(Qt::red) : QColor(Qt::blue); }

void TmainF::indicatorUpdate()
{
    const QColor c2 = indicatorColor(model.tsb);
    JvXPProgressBar2->setBarColorFrom(c2);
    NYIL(2, c2);
    const QColor c3 = indicatorColor(model.tkb);
    JvXPProgressBar3->setBarColorFrom(c3);
    NYIL(3, c3);
    const QColor c4 = indicatorColor(model.tsk);
    JvXPProgressBar4->setBarColorFrom(c4);
    NYIL(4, c4);
    const QColor c1 = indicatorColor(model.tkk);
    JvXPProgressBar1->setBarColorFrom(c1);
    NYIL(1, c1);
    for (LevelBar *b : {JvXPProgressBar1, JvXPProgressBar2, JvXPProgressBar3, JvXPProgressBar4})
        b->setBarColorTo(b->barColorFrom());
    // Positions truncated toward zero; the bar clamps them to 0..150.
    auto position = [](double t) {
        if (!(t > -1e9 && t < 1e9)) return t > 0 ? 1000000000 : -1000000000;
        return static_cast<int>(std::trunc(t));
    };
    JvXPProgressBar1->setPosition(position(model.tkk));
    JvXPProgressBar2->setPosition(position(model.tsb));
    JvXPProgressBar3->setPosition(position(model.tkb));
    JvXPProgressBar4->setPosition(position(model.tsk));
}

void TmainF::NYIL(int i, const QColor &c)
{
    platform::Canvas &cv = Image1->canvas();
    cv.setPenColor(c);
    cv.setBrushColor(cv.penColor());
    Image1->paintArrow(i); // nothing outside 1..4
}

void TmainF::chartButton(int fajta)
{
    emit chartWindowRequested();
    Image1Click();
    emit chartRequested(fajta);
}

void TmainF::SpeedButton1Click() { chartButton(3); }
void TmainF::SpeedButton2Click() { chartButton(1); }
void TmainF::SpeedButton3Click() { chartButton(2); }
void TmainF::SpeedButton4Click() { chartButton(4); }

void TmainF::SpeedButton5Click()
{
    model.NyomLap = 0;
    emit reportRequested();
}

void TmainF::SpeedButton6Click() { emit selectionRequested(); }

void TmainF::applyArrangement(int tipus, int soros, int parh)
{
    rating::Case c = inputs();
    c.Tipus = tipus;
    c.Soros = soros;
    c.Parh = parh;
    setInputs(c);
}

// ---------------------------------------------------------------- the face

rating::Case TmainF::inputs() const
{
    // As the run reads them: the counts truncated toward zero.
    auto count = [](const NumEdit *e) { return static_cast<int>(std::trunc(e->currentValue())); };
    rating::Case c;
    c.Tipus = CbTipus->currentIndex();
    c.Soros = count(SorosEd);
    c.Parh = count(ParhEd);
    c.MVk = MVkEd->currentValue();
    c.CbMVkIndex = CbMVk->currentIndex();
    c.tkb = tkbEd->currentValue();
    c.MVs = MVsEd->currentValue();
    c.CbMVsIndex = CbMVs->currentIndex();
    c.tsb = tsbEd->currentValue();
    c.Rf = Rf_;
    return c;
}

bool TmainF::setInputs(const rating::Case &c)
{
    bool done = false;
    handle([&] {
        if (c.Tipus >= 0 && c.Tipus < CbTipus->count()) CbTipus->setCurrentIndex(c.Tipus);
        if (c.CbMVkIndex >= 0 && c.CbMVkIndex < CbMVk->count()) CbMVk->setCurrentIndex(c.CbMVkIndex);
        if (c.CbMVsIndex >= 0 && c.CbMVsIndex < CbMVs->count()) CbMVs->setCurrentIndex(c.CbMVsIndex);
        SorosEd->setValue(c.Soros);
        ParhEd->setValue(c.Parh);
        MVkEd->setValue(c.MVk);
        tkbEd->setValue(c.tkb);
        MVsEd->setValue(c.MVs);
        tsbEd->setValue(c.tsb);
        // The fouling has no field: held to its range here, as a field
        // holds its value to its limits.
        const double rf = std::isnan(c.Rf) ? rating::Rf : std::clamp(c.Rf, rating::MinFouling, rating::MaxFouling);
        const bool foulingChanged = rf != Rf_;
        Rf_ = rf + 0.0; // no -0
        if (foulingChanged) emit inputsEdited();
        CbTipusChange();
        Image1Click();
        done = true;
    });
    return done;
}

TmainF::InputTexts TmainF::inputTexts() const
{
    // A field's value as the field shows it without the focus.
    auto shown = [](const NumEdit *e) {
        return numfield::formatNumber(e->currentValue(), numfield::FormatPattern::parse(e->displayFormat()),
                                      {e->decimalSeparator(), e->thousandsSeparator()});
    };
    InputTexts t;
    t.type = CbTipus->currentText();
    t.series = QString::number(inputs().Soros);
    t.parallel = QString::number(inputs().Parh);
    t.jacketFlow = shown(MVkEd);
    t.jacketUnit = CbMVk->currentText();
    t.jacketInlet = shown(tkbEd);
    t.coilFlow = shown(MVsEd);
    t.coilUnit = CbMVs->currentText();
    t.coilInlet = shown(tsbEd);
    return t;
}

TmainF::ResultTexts TmainF::resultTexts() const
{
    return {DPK->text(),          DPS->text(),      QLabel->text(),   LbTKK->text(),
            LbTSK->text(),        LbTomegaramK->text(), LbArsebK->text(), LbHoatadK->text(),
            LbTomegaramS->text(), LbArsebS->text(), LbHoatadS->text(), LbHoatbocsT->text()};
}

QString TmainF::caption(lang::Target t) const
{
    const lang::Language *l = lang::language(model.Nyelv);
    if (!l) l = lang::language(lang::DefaultLanguage);
    return lang::text(*l, t);
}

bool TmainF::printWithCharts() const { return CbPwc->isChecked(); }

void TmainF::setSelectionButtonText(const QString &tip, const QString &name)
{
    SpeedButton6->setToolTip(tip);
    SpeedButton6->setAccessibleName(name);
}

void TmainF::NyelvStrings()
{
    const lang::Language *l = lang::language(model.Nyelv);
    if (!l) return;
    const int cs = l->charset;
    for (Label *lb : labels_) fonts::setCharset(lb, cs);

    Label *captions[lang::TargetCount] = {};
    captions[lang::LbVARDOTORLEX] = LbVARDOTORLEX;
    captions[lang::LbTipus] = LbTipus;
    captions[lang::LbKopeny] = LbKopeny;
    captions[lang::LbSpiral] = LbSpiral;
    captions[lang::LbSoros] = LbSoros;
    captions[lang::LbParhuzamos] = LbParhuzamos;
    captions[lang::LbTerfaramK] = LbTerfaramK;
    captions[lang::LbTerfaramS] = LbTerfaramS;
    captions[lang::LbBelhomK] = LbBelhomK;
    captions[lang::LbBelhomS] = LbBelhomS;
    captions[lang::LbKilhomK] = LbKilhomK;
    captions[lang::LbKilhomS] = LbKilhomS;
    captions[lang::LbNyomasesesK] = LbNyomasesesK;
    captions[lang::LbNyomasesesS] = LbNyomasesesS;
    captions[lang::LbTomegaram] = LbTomegaram;
    captions[lang::LbArseb] = LbArseb;
    captions[lang::LbHoatad] = LbHoatad;
    std::string *phrases[lang::TargetCount] = {};
    phrases[lang::SzHoteljesitmeny] = &model.SzHoteljesitmeny;
    phrases[lang::SzHocserelo] = &model.SzHocserelo;
    phrases[lang::SzBelhomK] = &model.SzBelhomK;
    phrases[lang::SzBelhomS] = &model.SzBelhomS;
    phrases[lang::SzTerfaramK] = &model.SzTerfaramK;
    phrases[lang::SzTerfaramS] = &model.SzTerfaramS;
    phrases[lang::SzHoatbocsT] = &model.SzHoatbocsT;

    for (int t = 0; t < lang::TargetCount; ++t) {
        const auto target = static_cast<lang::Target>(t);
        if (captions[t]) captions[t]->setCaption(lang::text(*l, target));
        else if (phrases[t]) *phrases[t] = l->texts[t];
        else if (target == lang::CbPwc) {
            CbPwc->setText(lang::text(*l, target));
            CbPwc->setAccessibleName(CbPwc->text());
            fonts::setCharset(CbPwc, cs);
        }
        if (target == lang::LbVARDOTORLEX && l->titleSize7) fonts::setPointSize(LbVARDOTORLEX, 7);
    }

    // The chart window follows the language when it exists.
    if (chartWindow_) {
        fonts::setCharset(chartWindow_, cs);
        if (l->chartSize7) fonts::setPointSize(chartWindow_, 7);
    }
    emit languageApplied();
}

void TmainF::addContextAction(QAction *action)
{
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
}

bool TmainF::recalculate()
{
    bool done = false;
    handle([this, &done] {
        Image1Click();
        done = true;
    });
    return done;
}

void TmainF::ComboBox1CloseUp() { FormCreate(); }

QString TmainF::programTitle() { return QStringLiteral("Hőcserélő méretezés"); }

void TmainF::setProjectTitle(const QString &name)
{
    // One line, and a "[*]" of the name's own shown as it is: a pair of
    // them stands for one, the last odd one for the mark.
    QString shown;
    shown.reserve(name.size());
    for (QChar c : name) shown += c.category() == QChar::Other_Control ? QChar(QLatin1Char(' ')) : c;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown + QStringLiteral("[*] \u2013 ") + programTitle());
}

void TmainF::addButtonAction(QAction *action, QMenu *menu)
{
    QPoint at = ActionButtonsOrigin;
    if (!actionButtons_.isEmpty()) at = actionButtons_.last()->geometry().topRight() + QPoint(1, 0);
    auto *b = new QToolButton(Panel1);
    b->setObjectName(action->objectName() + QStringLiteral("Button"));
    b->setDefaultAction(action);
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    int w = 23;
    if (menu) {
        b->setMenu(menu);
        b->setPopupMode(QToolButton::MenuButtonPopup);
        w = std::max(w, b->sizeHint().width());
    }
    if (at.x() + w > ActionButtonsRight) at = QPoint(ActionButtonsOrigin.x(), at.y() + 23);
    b->setGeometry(at.x(), at.y(), w, 22);
    // Its name for a screen reader is the command's, in the language of
    // the moment.
    auto named = [b, action] {
        b->setAccessibleName(action->text().remove(QLatin1Char('&')).remove(QChar(0x2026)));
    };
    named();
    connect(action, &QAction::changed, b, named);
    b->show();
    actionButtons_.append(b);
}

void TmainF::closeEvent(QCloseEvent *e)
{
    // A second close while the guard asks (the window manager's button
    // again) waits for the answer to the first.
    if (closing_) {
        e->ignore();
        return;
    }
    if (closeGuard_) {
        closing_ = true;
        const bool go = closeGuard_();
        closing_ = false;
        if (!go) {
            e->ignore();
            return;
        }
    }
    QWidget::closeEvent(e);
    emit closed();
}

namespace {

// The one local file a drag carries, or nothing: several files, a folder,
// a web address or text are no file to open.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir()) return {};
    return path;
}

} // namespace

void TmainF::dragEnterEvent(QDragEnterEvent *e)
{
    if (droppedFile(e->mimeData()).isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
}

void TmainF::dropEvent(QDropEvent *e)
{
    const QString path = droppedFile(e->mimeData());
    if (path.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    QTimer::singleShot(0, this, [this, path] { emit fileDropped(path); });
}

void TmainF::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    platform::Canvas::Scope scope(canvas_, painter);
    const int W = 700, H = 488;
    canvas_.setPenColor(kGrid);
    canvas_.setPenWidth(1);
    canvas_.polyline({{0, H + 75},  {150, H + 75}, {150, H},    {W - 150, H}, {W - 150, H + 75}, {0, H + 75},
                      {0, H},       {W, H},        {W, H + 15}, {0, H + 15},  {W, H + 15},       {W, H + 30},
                      {0, H + 30},  {W, H + 30},   {W, H + 45}, {0, H + 45},  {W, H + 45},       {W, H + 60},
                      {0, H + 60},  {W, H + 60},   {W, H + 75}, {0, H + 75},  {W, H + 75}});
}
