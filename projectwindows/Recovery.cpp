#include "projectwindows/Recovery.h"

#include "platform/platform.h"
#include "project/json.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <string_view>
#include <utility>

namespace projects {

namespace {

constexpr const char *kPrefix = "recovery-";
constexpr const char *kSuffix = ".ventrano";

std::string memberPrefix() { return std::string("\"") + recoveryKey + "\":"; }

// The note's member as compact JSON: "ventrano_recovery":{"file":...,"written":...}
std::string noteMember(const RecoveryNote &note)
{
    std::string m = memberPrefix() + "{\"file\":";
    project::json::appendString(m, note.projectFile.toStdString());
    m += ",\"written\":";
    project::json::appendString(m, note.written.toOffsetFromUtc(note.written.offsetFromUtc()).toString(Qt::ISODate).toStdString());
    m += '}';
    return m;
}

// Takes the note's member out of the top object's layout: what is left is
// the project as it was.
bool takeNote(project::Layout &layout, RecoveryNote &note)
{
    const std::string prefix = memberPrefix();
    for (auto e = layout.entries.begin(); e != layout.entries.end(); ++e) {
        if (e->known >= 0) continue;
        const std::string_view member = std::string_view(layout.others).substr(e->begin, e->end - e->begin);
        if (member.substr(0, prefix.size()) != prefix) continue;
        const std::string value(member.substr(prefix.size()));
        // Its text goes too, the other members' after it moving up.
        const std::uint32_t begin = e->begin, length = e->end - e->begin;
        layout.others.erase(begin, length);
        layout.entries.erase(e);
        for (project::Layout::Entry &other : layout.entries)
            if (other.known < 0 && other.begin >= begin) {
                other.begin -= length;
                other.end -= length;
            }
        try {
            project::json::Parser p(value);
            if (p.peek() != project::json::Type::Object) return false;
            p.beginObject();
            std::string key;
            while (p.nextKey(key)) {
                if (key == "file" && p.peek() == project::json::Type::String)
                    note.projectFile = QString::fromStdString(p.string());
                else if (key == "written" && p.peek() == project::json::Type::String)
                    note.written = QDateTime::fromString(QString::fromStdString(p.string()), Qt::ISODate).toLocalTime();
                else
                    p.skip();
            }
            p.finish();
        } catch (const project::json::SyntaxError &) {
            return false;
        }
        return true;
    }
    return false;
}

// A name of this process, this moment and this file of the process's.
QString newFileName()
{
    static std::atomic<int> serial{0};
    return QStringLiteral("%1%2-%3-%4%5")
        .arg(QLatin1String(kPrefix))
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(++serial)
        .arg(QLatin1String(kSuffix));
}

// The folder, made where it is missing: the user's alone, as the work in it.
bool makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir()) return true;
    if (!QDir().mkpath(folder)) return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

} // namespace

QString recoveryFolder()
{
    // The XDG base directory rule: a relative path is no state home.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/ventrano"));
}

QByteArray recoveryBytes(const project::Project &p, const RecoveryNote &note)
{
    project::Project copy = p;
    project::Layout &layout = copy.layout;
    const std::string member = noteMember(note);
    const auto begin = static_cast<std::uint32_t>(layout.others.size());
    layout.others += member;
    layout.entries.push_back({-1, begin, static_cast<std::uint32_t>(layout.others.size())});
    project::Result<std::string> text = project::write(copy);
    if (!text.ok()) return {};
    return QByteArray::fromStdString(text.value());
}

project::Result<Recovered> readRecovery(const QString &path)
{
    project::Result<project::Project> read = project::readFile(QFile::encodeName(path).toStdString());
    if (!read.ok()) return read.error();
    Recovered r;
    r.project = std::move(read.value());
    if (!takeNote(r.project.layout, r.note)) r.note = {};
    if (!r.note.written.isValid()) r.note.written = QFileInfo(path).lastModified();
    return r;
}

std::vector<Orphan> findOrphans()
{
    std::vector<Orphan> found;
    const QDir folder(recoveryFolder());
    const QStringList names = folder.entryList({QLatin1String(kPrefix) + QLatin1Char('*') + QLatin1String(kSuffix)},
                                               QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        Orphan o;
        o.path = folder.filePath(name);
        o.lock = std::make_unique<QLockFile>(o.path + QStringLiteral(".lock"));
        // Stale only when the program that holds it is gone, however long it
        // has run.
        o.lock->setStaleLockTime(0);
        if (!o.lock->tryLock(0)) continue; // a running program's
        project::Result<Recovered> r = readRecovery(o.path);
        if (!r.ok()) {
            QFile::remove(o.path);
            continue;
        }
        o.recovered = std::move(r.value());
        found.push_back(std::move(o));
    }
    std::stable_sort(found.begin(), found.end(), [](const Orphan &a, const Orphan &b) {
        return a.recovered.note.written > b.recovered.note.written;
    });
    return found;
}

void discardOrphan(Orphan orphan)
{
    QFile::remove(orphan.path);
    orphan.lock.reset();
}

// ---------------------------------------------------------------- Autosave

Autosave::Autosave(QObject *parent) : QObject(parent), thread_([this] { run(); }) {}

Autosave::~Autosave()
{
    remove();
    {
        std::lock_guard<std::mutex> l(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    lock_.reset(); // the file is gone: now its lock
}

QString Autosave::path() const
{
    std::lock_guard<std::mutex> l(mutex_);
    return path_;
}

bool Autosave::takeLock()
{
    if (lock_) return true;
    const QString folder = recoveryFolder();
    QString reason;
    if (makeFolder(folder)) {
        const QString path = QDir(folder).filePath(newFileName());
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            std::lock_guard<std::mutex> l(mutex_);
            path_ = path;
            return true;
        }
        reason = lock->error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                             : QStringLiteral("the lock file cannot be made");
    } else {
        reason = QStringLiteral("the folder cannot be made");
    }
    emit failed(folder, reason);
    return false;
}

void Autosave::store(std::vector<project::Project> choices, const RecoveryNote &note)
{
    if (!takeLock()) return;
    post(Op::Write, [choices = std::move(choices), note] {
        for (const project::Project &p : choices) {
            QByteArray bytes = recoveryBytes(p, note);
            if (!bytes.isEmpty()) return bytes;
        }
        return QByteArray();
    });
}

void Autosave::store(QByteArray bytes)
{
    if (!takeLock()) return;
    post(Op::Write, [bytes = std::move(bytes)] { return bytes; });
}

void Autosave::remove()
{
    if (path().isEmpty()) return;
    post(Op::Remove, {});
}

void Autosave::adopt(Orphan orphan)
{
    wait();
    if (!path().isEmpty()) QFile::remove(path());
    lock_ = std::move(orphan.lock);
    std::lock_guard<std::mutex> l(mutex_);
    path_ = orphan.path;
}

void Autosave::wait()
{
    std::unique_lock<std::mutex> l(mutex_);
    idle_.wait(l, [this] { return pending_ == Op::None && !busy_; });
}

void Autosave::post(Op op, std::function<QByteArray()> make)
{
    std::function<QByteArray()> dropped;
    {
        std::lock_guard<std::mutex> l(mutex_);
        // Only the newest counts: a text not yet written gives way to a
        // newer one, or to the removal.
        pending_ = op;
        dropped = std::exchange(make_, std::move(make));
    }
    wake_.notify_one();
    // what it held is freed here, outside the lock
}

void Autosave::run()
{
    std::unique_lock<std::mutex> l(mutex_);
    for (;;) {
        wake_.wait(l, [this] { return stop_ || pending_ != Op::None; });
        if (pending_ == Op::None) break; // stopped, nothing left to do
        const Op op = pending_;
        const std::function<QByteArray()> make = std::move(make_);
        const QString path = path_;
        pending_ = Op::None;
        make_ = nullptr;
        busy_ = true;
        l.unlock();
        QString why;
        if (op == Op::Write) {
            // A project no file may hold leaves the last text kept.
            const QByteArray bytes = make();
            if (!bytes.isEmpty()) why = platform::writeWholeFile(path, bytes);
        } else if (QFileInfo::exists(path) && !QFile::remove(path)) {
            why = QStringLiteral("cannot be removed");
        }
        if (!why.isEmpty())
            QMetaObject::invokeMethod(this, [this, path, why] { emit failed(path, why); }, Qt::QueuedConnection);
        l.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

} // namespace projects
