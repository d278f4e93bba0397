#include "widgets/fonts.h"

#include "platform/system.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace fonts {

namespace {

struct Faces {
    QString sans = QStringLiteral("DejaVu Sans Condensed");
    QString tahoma = QStringLiteral("DejaVu Sans Condensed");
    bool sansLoaded = false;
};

Faces &faces()
{
    static Faces f;
    return f;
}

QString addFont(const QString &dir, const QString &name)
{
    if (dir.isEmpty()) return {};
    const QString file = dir + name;
    if (!QFile::exists(file)) return {};
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

QFont make(const QString &family, int points, bool bold)
{
    QFont f(family);
    f.setPixelSize(pointsToPixels(points));
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

const char *const kPoints = "fontPoints";
const char *const kCharset = "fontCharset";

} // namespace

bool load()
{
    static const bool loaded = [] {
        const QString dir = QString::fromStdString(platform::windowFontDirectory());
        Faces &f = faces();
        // The bitmap face only where one layout pixel is one device pixel.
        const bool highDensity = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
                                 QGuiApplication::primaryScreen() &&
                                 QGuiApplication::primaryScreen()->devicePixelRatio() > 1;
        const QString sans = highDensity ? QString() : addFont(dir, QStringLiteral("ms_sans_serif.ttf"));
        if (!sans.isEmpty()) {
            f.sans = sans;
            f.sansLoaded = true;
        }
        const QString tahoma = addFont(dir, QStringLiteral("tahoma.ttf"));
        addFont(dir, QStringLiteral("tahomabd.ttf"));
        if (!tahoma.isEmpty()) f.tahoma = tahoma;
        return f.sansLoaded;
    }();
    return loaded;
}

int pointsToPixels(int points) { return (points * 96 + 36) / 72; }

// The loaded "MS Sans Serif" has no bold face and the font engine
// synthesises none for it; its bold is "Tahoma" Bold, the same design.
// That face draws bold only at small sizes (at 13 pixels its glyphs come out
// as light as the regular ones), so larger bold text takes the condensed
// fallback face, which has the same pixel heights.
static QFont boldFace(int points)
{
    if (pointsToPixels(points) <= 11 && faces().sansLoaded) return make(faces().tahoma, points, true);
    return make(QStringLiteral("DejaVu Sans Condensed"), points, true);
}

QFont sansSerif(int points, bool bold)
{
    load();
    return bold ? boldFace(points) : make(faces().sans, points, false);
}

QFont tahoma(int points, bool bold)
{
    load();
    return bold ? boldFace(points) : make(faces().tahoma, points, false);
}

int pointSize(const QWidget *w)
{
    const QVariant v = w->property(kPoints);
    return v.isValid() ? v.toInt() : 8;
}

void setPointSize(QWidget *w, int points)
{
    w->setProperty(kPoints, points);
    QFont f = w->font();
    f.setPixelSize(pointsToPixels(points));
    w->setFont(f);
}

int charset(const QWidget *w)
{
    const QVariant v = w->property(kCharset);
    return v.isValid() ? v.toInt() : 1;
}

void setCharset(QWidget *w, int cs) { w->setProperty(kCharset, cs); }

bool isBitmapFace(const QFont &f)
{
    return faces().sansLoaded && f.family() == faces().sans;
}

namespace {

// The faces that do not scale well: the bitmap face, and "Tahoma", whose
// bold draws as light as its regular above 11 pixels and whose advances,
// hinted for the screen, spread its letters at three times the size.
bool needsStandIn(const QFont &f)
{
    return isBitmapFace(f) || f.family() == QStringLiteral("Tahoma");
}

} // namespace

ScalableFaces::ScalableFaces(QWidget *root)
{
    if (!root) return;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        // Widgets that inherit their font follow their parent by themselves.
        if (w != root && !w->testAttribute(Qt::WA_SetFont)) continue;
        const QFont f = w->font();
        if (!needsStandIn(f)) continue;
        saved_.append({w, f});
        QFont stand = f;
        stand.setFamily(QStringLiteral("DejaVu Sans Condensed"));
        // Antialiased: drawn finer than the screen, or scaled in a preview,
        // the edges of the letters are better smooth. Without ligatures, as
        // on the screen: a PDF would carry "fi" or "ffi" as one character
        // that a search or pdftotext does not read as those letters.
        stand.setStyleStrategy(QFont::StyleStrategy((f.styleStrategy() & ~QFont::NoAntialias) | QFont::PreferNoShaping));
        w->setFont(stand);
    }
}

ScalableFaces::~ScalableFaces()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        if (it->widget) it->widget->setFont(it->font);
}

} // namespace fonts
