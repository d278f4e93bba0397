// Unsaved work kept for after a crash. While a project has changes that are
// not saved, its state goes to a recovery file of this program's own in the
// user's state folder ($XDG_STATE_HOME/ventrano, by default
// ~/.local/state/ventrano): never beside the project, never over it. The
// file is a project file with one more top-level member, "ventrano_recovery",
// that names the project's file (empty for an untitled project) and the time
// it was written. It is written whole from a thread of its own, so that the
// disk never holds the window, and removed once nothing is unsaved.
//
// Each running program names its file by its process and start, and holds a
// lock beside it (QLockFile) for as long as the file is its own: another
// program finds the file only once that lock is stale, the program that held
// it gone (crashed, killed), and then offers to restore it.
#pragma once

#include "project/project.h"

#include <QByteArray>
#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace projects {

// The folder of the recovery files.
QString recoveryFolder();

// The member of a recovery file that says what it recovers.
inline constexpr const char *recoveryKey = "ventrano_recovery";

// What a recovery file says of itself.
struct RecoveryNote {
    QString projectFile; // the project's file; empty for an untitled one
    QDateTime written;   // when it was written (local time)
};

// The recovery file's text for the project: the project's file text with
// the note as one more top-level member. Empty where the project cannot be
// written (project::write refuses it: an input outside its range, say).
QByteArray recoveryBytes(const project::Project &p, const RecoveryNote &note);

// A recovery file read back: the project as it was before the note was
// added, and the note (a file without one: untitled, written when the file
// was last changed).
struct Recovered {
    project::Project project;
    RecoveryNote note;
};
project::Result<Recovered> readRecovery(const QString &path);

// The recovery file of a program that is gone, locked for the caller.
struct Orphan {
    QString path;
    std::unique_ptr<QLockFile> lock;
    Recovered recovered;
};
// The recovery files whose programs are gone, newest first, each locked for
// the caller (dropping one releases its lock and leaves the file for a later
// start). A file that cannot be read is removed: there is nothing in it to
// restore.
std::vector<Orphan> findOrphans();
// Removes an orphan's file, then its lock.
void discardOrphan(Orphan orphan);

// This program's recovery file.
class Autosave : public QObject {
    Q_OBJECT
public:
    explicit Autosave(QObject *parent = nullptr);
    // Waits for the writer, removes the file and releases its lock: a
    // program that ends cleanly leaves nothing to recover.
    ~Autosave() override;
    Autosave(const Autosave &) = delete;
    Autosave &operator=(const Autosave &) = delete;

    // Hands the project to the writer and returns at once: on its own
    // thread the writer makes the file's text of the first of the projects
    // that can be written (recoveryBytes), and replaces the file whole with
    // it; the newest hand-over wins over one not yet written. So the window
    // spends a copy of the project, not its rating and text, let alone the
    // disk. The first call names the file and takes its lock.
    void store(std::vector<project::Project> choices, const RecoveryNote &note);
    // The same with the file's text made already.
    void store(QByteArray bytes);
    // The file goes: nothing is unsaved.
    void remove();
    // An orphan restored: its file becomes this program's own, so that the
    // restored work is on the disk all along.
    void adopt(Orphan orphan);

    // The file's name; empty until the first store or an adoption.
    QString path() const;
    // Returns once the writer has done what it was handed (tests, exit).
    void wait();

signals:
    // A write or the lock failed (reported on the window's thread).
    void failed(const QString &path, const QString &reason);

private:
    enum class Op { None, Write, Remove };
    void run();
    bool takeLock();
    void post(Op op, std::function<QByteArray()> make);

    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    Op pending_ = Op::None;
    std::function<QByteArray()> make_; // the text of a pending write
    QString path_;
    bool busy_ = false, stop_ = false;
    std::unique_ptr<QLockFile> lock_;
    std::thread thread_;
};

} // namespace projects
