#include "platform/pdfinfo.h"

#include <QDateTime>
#include <QRegularExpression>

namespace platform {

namespace {

// A text string of the PDF: UTF-16BE with its byte order mark, written in
// hexadecimal so that no character of the text needs escaping.
QByteArray pdfText(const QString &s)
{
    QByteArray out = "<FEFF";
    for (const QChar c : s) out += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return out + '>';
}

// The number after `key` in a dictionary's text, or -1.
long long numberAfter(const QByteArray &dict, const char *key)
{
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d{1,12})\\b").arg(QLatin1String(key)));
    const auto m = re.match(QString::fromLatin1(dict));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

// An indirect reference "n g R" after `key`: its object and generation.
bool referenceAfter(const QByteArray &dict, const char *key, long long &object, long long &generation)
{
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d{1,10})\\s+(\\d{1,5})\\s+R").arg(QLatin1String(key)));
    const auto m = re.match(QString::fromLatin1(dict));
    if (!m.hasMatch()) return false;
    object = m.captured(1).toLongLong();
    generation = m.captured(2).toLongLong();
    return true;
}

} // namespace

QByteArray withDocumentInfo(const QByteArray &pdf, const DocumentInfo &info, const QString &creator)
{
    if (info.isEmpty() || !pdf.startsWith("%PDF-")) return pdf;
    // The last trailer and the cross-reference table it follows.
    const qsizetype start = pdf.lastIndexOf("startxref");
    const qsizetype trailer = pdf.lastIndexOf("trailer", start);
    if (start < 0 || trailer < 0) return pdf;
    const qsizetype open = pdf.indexOf("<<", trailer), close = pdf.indexOf(">>", trailer);
    if (open < 0 || close < open || close > start) return pdf;
    const QByteArray dict = pdf.mid(open, close - open);
    bool ok = false;
    const long long previous = pdf.mid(start + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    const long long size = numberAfter(dict, "Size");
    long long root = 0, rootGeneration = 0, object = 0, generation = 0;
    if (!ok || previous <= 0 || previous >= start || size <= 0 || !referenceAfter(dict, "Root", root, rootGeneration))
        return pdf;
    // A new version of the file's information dictionary, or a new object.
    const bool replace = referenceAfter(dict, "Info", object, generation);
    if (!replace) object = size, generation = 0;

    QByteArray out = pdf;
    if (!out.endsWith('\n')) out += '\n';
    const qsizetype at = out.size();
    out += QByteArray::number(object) + ' ' + QByteArray::number(generation) + " obj\n<<\n";
    const std::pair<const char *, const QString *> texts[] = {
        {"Title", &info.title}, {"Author", &info.author}, {"Subject", &info.subject}, {"Creator", &creator}};
    for (const auto &[key, text] : texts)
        if (!text->isEmpty()) out += '/' + QByteArray(key) + ' ' + pdfText(*text) + '\n';
    out += "/Producer " + pdfText(QStringLiteral("Qt ") + QLatin1String(qVersion())) + '\n';
    out += "/CreationDate (D:" + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
           "Z)\n>>\nendobj\n";
    const qsizetype xref = out.size();
    // Each entry of the table is 20 bytes: ten digits, five, the kind, and
    // a two-byte line end.
    out += "xref\n" + QByteArray::number(object) + " 1\n" +
           QByteArray::number(at).rightJustified(10, '0') + ' ' + QByteArray::number(generation).rightJustified(5, '0') +
           " n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(replace ? size : size + 1) + "\n/Root " +
           QByteArray::number(root) + ' ' + QByteArray::number(rootGeneration) + " R\n/Info " +
           QByteArray::number(object) + ' ' + QByteArray::number(generation) + " R\n/Prev " +
           QByteArray::number(previous) + "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace platform
