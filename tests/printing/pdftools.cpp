#include "pdftools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace pdftools {

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString outputDir()
{
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/out");
    QDir().mkpath(dir);
    return dir;
}

Info info(const QString &pdf)
{
    Info out;
    const QString text = run(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf});
    const auto pages = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(text);
    if (pages.hasMatch()) out.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts(?: \\((\\w+)\\))?"),
                                         QRegularExpression::MultilineOption).match(text);
    if (size.hasMatch()) {
        out.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
        out.paper = size.captured(3);
    }
    const std::pair<const char *, QString *> fields[] = {{"Title", &out.title}, {"Author", &out.author}, {"Subject", &out.subject}};
    for (const auto &[key, value] : fields) {
        const auto m = QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(QLatin1String(key)),
                                          QRegularExpression::MultilineOption).match(text);
        if (m.hasMatch()) *value = m.captured(1);
    }
    return out;
}

QString text(const QString &pdf, int page, bool layout)
{
    QStringList args = {QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (layout) args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

QList<Font> fonts(const QString &pdf)
{
    QList<Font> out;
    const QStringList lines = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    // name type encoding emb sub uni object ID; the type may be two words
    static const QRegularExpression row(QStringLiteral("^(\\S+)\\s+(.+?)\\s+(\\S+)\\s+(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"));
    for (const QString &line : lines.mid(2)) {
        const auto m = row.match(line);
        if (!m.hasMatch()) continue;
        QString name = m.captured(1);
        if (name.size() > 7 && name[6] == QLatin1Char('+')) name = name.mid(7);
        out.append({name, m.captured(2), m.captured(4) == QLatin1String("yes")});
    }
    return out;
}

QList<Image> images(const QString &pdf)
{
    QList<Image> out;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() < 14) continue;
        out.append({f[0].toInt(), f[3].toInt(), f[4].toInt(), f[12].toDouble(), f[13].toDouble()});
    }
    return out;
}

QImage page(const QString &pdf, int number, int dpi, const QRect &area)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    QStringList args = {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                        QString::number(number), QStringLiteral("-l"), QString::number(number),
                        QStringLiteral("-singlefile")};
    if (!area.isNull())
        args << QStringLiteral("-x") << QString::number(area.x()) << QStringLiteral("-y") << QString::number(area.y())
             << QStringLiteral("-W") << QString::number(area.width()) << QStringLiteral("-H")
             << QString::number(area.height());
    run(QStringLiteral("pdftoppm"), args << pdf << base);
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

void pagesToPng(const QString &pdf, int dpi)
{
    const QFileInfo fi(pdf);
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), pdf,
                                     fi.dir().filePath(fi.completeBaseName())});
}

} // namespace pdftools
