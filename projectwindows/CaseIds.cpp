#include "projectwindows/CaseIds.h"

#include <algorithm>

namespace projects {

CaseIds::CaseIds(ProjectDocument *document, QObject *parent) : QObject(parent), document_(document)
{
    renew();
    connect(document_, &ProjectDocument::casesChanged, this, &CaseIds::follow);
    connect(document_, &ProjectDocument::currentChanged, this, &CaseIds::updated);
    // A project opened, restored or new: its cases are others, whatever
    // their number, from its next change of the cases on.
    connect(document_, &ProjectDocument::replaced, this, [this] { replacing_ = true; });
}

CaseIds::Id CaseIds::at(int index) const
{
    return index >= 0 && std::size_t(index) < ids_.size() ? ids_[std::size_t(index)] : 0;
}

int CaseIds::indexOf(Id id) const
{
    const auto i = std::find(ids_.begin(), ids_.end(), id);
    return i == ids_.end() || id == 0 ? -1 : int(i - ids_.begin());
}

std::vector<int> CaseIds::indicesOf(const std::vector<Id> &ids) const
{
    std::vector<int> out;
    for (Id id : ids)
        if (const int i = indexOf(id); i >= 0) out.push_back(i);
    return out;
}

void CaseIds::renew()
{
    ids_.resize(std::size_t(document_->caseCount()));
    for (Id &id : ids_) id = next_++;
}

void CaseIds::follow()
{
    if (expecting_ && expected_.size() == std::size_t(document_->caseCount())) {
        ids_ = expected_;
        expecting_ = false;
    } else if (replacing_ || ids_.size() != std::size_t(document_->caseCount())) {
        expecting_ = false;
        replacing_ = false;
        renew();
        emit renewed();
    }
    emit updated();
}

template <class Edit> auto CaseIds::expecting(std::vector<Id> after, Edit &&edit)
{
    expected_ = std::move(after);
    expecting_ = true;
    const auto result = edit();
    expecting_ = false; // refused: nothing changed
    return result;
}

int CaseIds::add(const rating::Case &inputs, const QString &name)
{
    std::vector<Id> after = ids_;
    after.push_back(next_++);
    return expecting(std::move(after), [&] { return document_->addCase(inputs, name); });
}

int CaseIds::addMainWindowCase()
{
    std::vector<Id> after = ids_;
    after.push_back(next_++);
    return expecting(std::move(after), [&] { return document_->addMainWindowCase(); });
}

int CaseIds::duplicate(int index)
{
    if (index < 0 || std::size_t(index) >= ids_.size()) return -1;
    std::vector<Id> after = ids_;
    after.insert(after.begin() + index + 1, next_++);
    return expecting(std::move(after), [&] { return document_->duplicateCase(index); });
}

bool CaseIds::remove(int index)
{
    if (index < 0 || std::size_t(index) >= ids_.size()) return false;
    std::vector<Id> after = ids_;
    after.erase(after.begin() + index);
    return expecting(std::move(after), [&] { return document_->removeCase(index); });
}

void CaseIds::move(int from, int to)
{
    const int n = int(ids_.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    std::vector<Id> after = ids_;
    const Id moved = after[std::size_t(from)];
    after.erase(after.begin() + from);
    after.insert(after.begin() + to, moved);
    expecting(std::move(after), [&] {
        document_->moveCase(from, to);
        return 0;
    });
}

} // namespace projects
