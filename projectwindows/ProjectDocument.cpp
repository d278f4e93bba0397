#include "projectwindows/ProjectDocument.h"

#include "languages/languages.h"
#include "mainwindow/main.h"

#include <QFileInfo>

#include <algorithm>

namespace projects {

namespace {

const lang::Texts kCaseName = {"Változat %1", "Case %1", "Вариант %1", "Variant %1", "Fall %1", "Cazul %1", "Caso %1"};
const lang::Texts kUntitled = {"Névtelen", "Untitled", "Без имени", "Bez názvu", "Unbenannt", "Fără titlu",
                               "Senza titolo"};

} // namespace

ProjectDocument::ProjectDocument(TmainF *mainF, QObject *parent) : QObject(parent), mainF_(mainF)
{
    project::Case c;
    c.inputs = mainF_->inputs();
    c.name = newCaseName().toStdString();
    project_.cases.push_back(std::move(c));
    project_.current = 0;
    rating::Model state;
    outcomes_.push_back(project::rateCase(state, project_.cases[0].inputs));
    // A field left, a list set, an arrangement applied: the main window's
    // case is the current case.
    connect(mainF_, &TmainF::calculated, this, &ProjectDocument::followMainWindow);
}

void ProjectDocument::followMainWindow()
{
    if (opening_) return;
    takeMainWindowCase();
}

rating::Case ProjectDocument::mainWindowCase() const { return mainF_->inputs(); }

void ProjectDocument::takeMainWindowCase()
{
    const int i = project_.current;
    if (i < 0 || i >= caseCount()) return;
    const rating::Case c = mainWindowCase();
    if (project::sameInputs(project_.cases[static_cast<std::size_t>(i)].inputs, c)) return;
    project_.cases[static_cast<std::size_t>(i)].inputs = c;
    rateCase(i);
    edited(true);
}

void ProjectDocument::rateCase(int index)
{
    rating::Model state;
    outcomes_[static_cast<std::size_t>(index)] = project::rateCase(state, project_.cases[static_cast<std::size_t>(index)].inputs);
}

void ProjectDocument::edited(bool cases)
{
    setModified(true);
    if (cases) emit casesChanged();
    emit changed();
}

void ProjectDocument::setDetails(const project::Details &details)
{
    if (details == project_.details) return;
    const bool renamed = details.name != project_.details.name;
    project_.details = details;
    edited(false);
    if (renamed) emit fileNameChanged(); // the name shown in the title
}

int ProjectDocument::addCase(const rating::Case &inputs, const QString &name)
{
    if (caseCount() >= project::maxCases) return -1;
    project::Case c;
    c.inputs = inputs;
    c.name = (name.isEmpty() ? newCaseName() : name).toStdString();
    project_.cases.push_back(std::move(c));
    outcomes_.emplace_back();
    const int index = caseCount() - 1;
    rateCase(index);
    edited(true);
    return index;
}

int ProjectDocument::addMainWindowCase()
{
    const int index = addCase(mainF_->inputs());
    if (index < 0) return index;
    project_.current = index;
    emit currentChanged(index);
    emit changed();
    return index;
}

void ProjectDocument::updateCase(int index, const rating::Case &inputs)
{
    if (index < 0 || index >= caseCount()) return;
    if (index == project_.current) {
        // Through the main window, which then hands it back as its case.
        project_.cases[static_cast<std::size_t>(index)].inputs = inputs;
        rateCase(index);
        opening_ = true;
        mainF_->setInputs(inputs);
        opening_ = false;
        edited(true);
        return;
    }
    if (project::sameInputs(project_.cases[static_cast<std::size_t>(index)].inputs, inputs)) return;
    project_.cases[static_cast<std::size_t>(index)].inputs = inputs;
    rateCase(index);
    edited(true);
}

void ProjectDocument::renameCase(int index, const QString &name)
{
    if (index < 0 || index >= caseCount()) return;
    const std::string n = name.toStdString();
    if (project_.cases[static_cast<std::size_t>(index)].name == n) return;
    project_.cases[static_cast<std::size_t>(index)].name = n;
    edited(true);
}

int ProjectDocument::duplicateCase(int index)
{
    if (index < 0 || index >= caseCount() || caseCount() >= project::maxCases) return -1;
    const auto at = static_cast<std::size_t>(index);
    project::Case copy;
    copy.name = project_.cases[at].name;
    copy.inputs = project_.cases[at].inputs;
    project_.cases.insert(project_.cases.begin() + index + 1, std::move(copy));
    outcomes_.insert(outcomes_.begin() + index + 1, outcomes_[at]);
    if (project_.current > index) {
        ++project_.current;
        emit currentChanged(project_.current);
    }
    edited(true);
    return index + 1;
}

bool ProjectDocument::removeCase(int index)
{
    if (index < 0 || index >= caseCount() || caseCount() <= 1) return false;
    project_.cases.erase(project_.cases.begin() + index);
    outcomes_.erase(outcomes_.begin() + index);
    if (index < project_.current) {
        --project_.current;
        emit currentChanged(project_.current);
    } else if (index == project_.current) {
        // The main window goes on with the case that took the place.
        project_.current = std::min(index, caseCount() - 1);
        opening_ = true;
        mainF_->setInputs(project_.cases[static_cast<std::size_t>(project_.current)].inputs);
        opening_ = false;
        emit currentChanged(project_.current);
    }
    edited(true);
    return true;
}

void ProjectDocument::moveCase(int from, int to)
{
    if (from < 0 || from >= caseCount() || to < 0 || to >= caseCount() || from == to) return;
    auto rotate = [from, to](auto &v) {
        if (from < to) std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        else std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    };
    rotate(project_.cases);
    rotate(outcomes_);
    int &cur = project_.current;
    const int before = cur;
    if (cur == from) cur = to;
    else if (from < cur && cur <= to) --cur;
    else if (to <= cur && cur < from) ++cur;
    if (cur != before) emit currentChanged(cur);
    edited(true);
}

bool ProjectDocument::openCase(int index)
{
    if (index < 0 || index >= caseCount()) return false;
    opening_ = true;
    const bool done = mainF_->setInputs(project_.cases[static_cast<std::size_t>(index)].inputs);
    opening_ = false;
    if (!done) return false;
    if (project_.current != index) {
        project_.current = index;
        emit currentChanged(index);
        edited(false);
    }
    return true;
}

QString ProjectDocument::newCaseName() const
{
    const QString pattern = lang::text(kCaseName, mainF_->language());
    for (int n = caseCount() + 1;; ++n) {
        const std::string name = pattern.arg(n).toStdString();
        const bool taken = std::any_of(project_.cases.begin(), project_.cases.end(),
                                       [&name](const project::Case &c) { return c.name == name; });
        if (!taken) return QString::fromStdString(name);
    }
}

void ProjectDocument::replace(project::Project p, const QString &fileName)
{
    project_ = std::move(p);
    if (project_.cases.empty()) project_.cases.emplace_back();
    project_.current = std::clamp(project_.current, 0, caseCount() - 1);
    outcomes_ = project::rate(project_);
    fileName_ = fileName;
    opening_ = true;
    mainF_->setInputs(project_.cases[static_cast<std::size_t>(project_.current)].inputs);
    opening_ = false;
    emit replaced();
    setModified(false);
    emit fileNameChanged();
    emit currentChanged(project_.current);
    emit casesChanged();
    emit changed();
}

void ProjectDocument::setFileName(const QString &fileName)
{
    if (fileName == fileName_) return;
    fileName_ = fileName;
    emit fileNameChanged();
}

QString ProjectDocument::displayName() const
{
    if (!project_.details.name.empty()) return QString::fromStdString(project_.details.name);
    if (!fileName_.isEmpty()) return QFileInfo(fileName_).fileName();
    return untitledName(mainF_->language());
}

QString ProjectDocument::untitledName(int language) { return lang::text(kUntitled, language); }

project::Project ProjectDocument::newProject(int language)
{
    project::Project p;
    project::Case c;
    c.name = lang::text(kCaseName, language).arg(1).toStdString();
    p.cases.push_back(std::move(c));
    return p;
}

project::Project ProjectDocument::snapshot() const
{
    project::Project p = project_;
    const auto i = static_cast<std::size_t>(project_.current);
    if (i < p.cases.size()) p.cases[i].inputs = mainWindowCase();
    return p;
}

bool ProjectDocument::hasUnsavedChanges() const
{
    if (modified_) return true;
    const auto i = static_cast<std::size_t>(project_.current);
    return i < project_.cases.size() && !project::sameInputs(project_.cases[i].inputs, mainWindowCase());
}

void ProjectDocument::setModified(bool modified)
{
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

} // namespace projects
