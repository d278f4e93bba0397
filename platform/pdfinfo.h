// The document information of a PDF: the title, author and subject that a
// reader shows in its document properties and a search indexes. Qt's PDF
// writer sets the title and the creator only; the rest is added here.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

struct DocumentInfo {
    QString title, author, subject;
    bool isEmpty() const { return title.isEmpty() && author.isEmpty() && subject.isEmpty(); }
};

// The PDF with a new document information dictionary (the given texts, the
// creator, the producer and the time of writing) appended as an incremental
// update: every byte of the file stays where it was, and the update points
// back to the file's own cross-reference table. The PDF comes back as it was
// when its trailer cannot be read (a file no PDF writer of ours made) or
// info is empty.
QByteArray withDocumentInfo(const QByteArray &pdf, const DocumentInfo &info, const QString &creator);

} // namespace platform
