// Identities for the cases of the open project, so that a selection or a
// comparison keeps to its cases while others are added, moved or removed
// around them. The project's windows change the list of cases through
// here; a change made elsewhere that alters the number of cases, or a
// project put in the place of the open one, gives every case a new
// identity (what was chosen is then forgotten, never taken for another
// case).
#pragma once

#include "projectwindows/ProjectDocument.h"

#include <QObject>

#include <cstdint>
#include <vector>

namespace projects {

class CaseIds : public QObject {
    Q_OBJECT
public:
    using Id = std::uint64_t;

    explicit CaseIds(ProjectDocument *document, QObject *parent = nullptr);

    ProjectDocument *document() const { return document_; }
    const std::vector<Id> &ids() const { return ids_; }
    Id at(int index) const;      // 0 for an index that names no case
    int indexOf(Id id) const;    // -1 for a case no longer there
    // The positions of the cases still there, in the order given.
    std::vector<int> indicesOf(const std::vector<Id> &ids) const;

    // ---- the document's edits, each keeping every other case's identity
    // The new case's index, or -1 when the project is full.
    int add(const rating::Case &inputs, const QString &name = QString());
    int addMainWindowCase();
    int duplicate(int index);
    bool remove(int index);
    void move(int from, int to);

signals:
    // The cases, their order, their contents or the current case changed
    // (the identities are up to date when it comes).
    void updated();
    // Every case has a new identity.
    void renewed();

private:
    void follow();
    void renew();
    template <class Edit> auto expecting(std::vector<Id> after, Edit &&edit);

    ProjectDocument *document_;
    std::vector<Id> ids_;
    Id next_ = 1;
    std::vector<Id> expected_; // the identities after an edit under way
    bool expecting_ = false;
    bool replacing_ = false;   // another project was put in place: its cases are new ones
};

} // namespace projects
