// Writing a file whole onto names that are not plain files: named pipes,
// devices, sockets, folders and symbolic links to them or to regular files.
#include "platform/platform.h"
#include "tests/filesize.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

QByteArray local(const QString &path) { return QFile::encodeName(path); }

bool writeFile(const QString &path, const QByteArray &bytes, mode_t mode)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    f.close();
    return ::chmod(local(path).constData(), mode) == 0;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(cannot be read)");
}

bool link(const QString &target, const QString &name)
{
    return ::symlink(local(target).constData(), local(name).constData()) == 0;
}

// What lstat says of a name: its kind and mode, the file it is (a replaced
// file is another one), its size, and a link's target.
QString describe(const fs::path &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return QStringLiteral("missing");
    QString d = QStringLiteral("mode %1 inode %2 size %3")
                    .arg(st.st_mode, 0, 8)
                    .arg(qulonglong(st.st_ino))
                    .arg(qlonglong(st.st_size));
    std::error_code ec;
    if (S_ISLNK(st.st_mode)) d += " -> " + QString::fromStdString(fs::read_symlink(path, ec).string());
    return d;
}

// Every name under a folder, described.
QMap<QString, QString> snapshot(const QString &folder)
{
    QMap<QString, QString> names;
    std::error_code ec;
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(local(folder).toStdString(), ec))
        names.insert(QString::fromStdString(e.path().string()), describe(e.path()));
    return names;
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(local(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Names of every kind in one folder. Built afresh for each case.
class Fixture {
public:
    Fixture()
    {
        // The canonical path, as the messages name a link's end.
        root = QFileInfo(tmp.path()).canonicalFilePath();
        const auto at = [this](const char *name) { return root + '/' + QLatin1String(name); };
        ok = ::mkfifo(local(at("fifo")).constData(), 0644) == 0;
        ok = ok && QDir(root).mkpath("sub") && QDir(root).mkpath("other");
        ok = ok && writeFile(at("sub/inside"), "a file in the folder\n", 0644);
        ok = ok && writeFile(at("reg"), "old\n", 0640);
        makeSocket(at("sock"));
        // A device of our own where the system lets us make one, a null
        // device: nothing a fault could do to it harms the system's. Else
        // the system's, where we could not replace it anyway.
        if (::mknod(local(at("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) device = at("null");
        else if (::access("/dev", W_OK) != 0) device = QStringLiteral("/dev/null");
        ok = ok && link("sub", at("to-sub")) && link("fifo", at("to-fifo")) && link("sock", at("to-sock"));
        ok = ok && (device.isEmpty() || link(device, at("to-null")));
        ok = ok && link("to-fifo", at("chain")) && link("reg", at("to-reg")) && link(at("to-reg"), at("chain-reg"));
        ok = ok && link("new.txt", at("to-new")) && link("../reg", at("other/up"));
        ok = ok && link("loop-b", at("loop-a")) && link("loop-a", at("loop-b"));
        // A reader on the pipe, so that a writer opening it would not wait
        // for one; it sees whatever is written into the pipe.
        fifoReader = ::open(local(at("fifo")).constData(), O_RDONLY | O_NONBLOCK);
        ok = ok && fifoReader >= 0 && socketFd >= 0;
    }
    ~Fixture()
    {
        if (fifoReader >= 0) ::close(fifoReader);
        if (socketFd >= 0) ::close(socketFd);
    }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    // A name of a case: %D the folder, %N the device, %0 a NUL character.
    QString expand(QString text) const
    {
        return text.replace("%D", root).replace("%N", device).replace("%0", QString(QChar(0)));
    }

    QTemporaryDir tmp;
    QString root;
    QString device;
    int fifoReader = -1;
    int socketFd = -1;
    bool ok = false;

private:
    void makeSocket(const QString &path)
    {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = local(path);
        if (socketFd < 0 || std::size_t(name.size()) >= sizeof address.sun_path) return;
        std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
        if (::bind(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            ::close(socketFd);
            socketFd = -1;
        }
    }
};

const QByteArray kNew = "new content\n";

} // namespace

class TestWriteWhole : public QObject {
    Q_OBJECT
private slots:
    void refusesWhatIsNotARegularFile_data();
    void refusesWhatIsNotARegularFile();
    void writesThroughLinks_data();
    void writesThroughLinks();
    void failureThroughALinkKeepsTheOldFile_data();
    void failureThroughALinkKeepsTheOldFile();
};

void TestWriteWhole::refusesWhatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("a named pipe") << "%D/fifo" << "%D/fifo is a named pipe, not a regular file";
    QTest::newRow("a character device") << "%N" << "%N is a character device, not a regular file";
    QTest::newRow("a socket") << "%D/sock" << "%D/sock is a socket, not a regular file";
    QTest::newRow("a folder") << "%D/sub" << "%D/sub is a folder, not a regular file";
    QTest::newRow("a link to a folder") << "%D/to-sub" << "%D/to-sub leads to %D/sub, a folder, not a regular file";
    QTest::newRow("a link to a named pipe")
        << "%D/to-fifo" << "%D/to-fifo leads to %D/fifo, a named pipe, not a regular file";
    QTest::newRow("a link to a device")
        << "%D/to-null" << "%D/to-null leads to %N, a character device, not a regular file";
    QTest::newRow("a link to a socket") << "%D/to-sock" << "%D/to-sock leads to %D/sock, a socket, not a regular file";
    QTest::newRow("a chain of two links to a named pipe")
        << "%D/chain" << "%D/chain leads to %D/fifo, a named pipe, not a regular file";
    QTest::newRow("a loop of links") << "%D/loop-a" << QString::fromLocal8Bit(std::strerror(ELOOP));
    // Read up to the NUL it would be the link to the regular file.
    QTest::newRow("a NUL in the name") << "%D/to-reg%0x" << QString::fromLocal8Bit(std::strerror(EINVAL));
}

// Each is refused with why, and every name in the folder is the file it was
// (kind, inode, mode, size, a link's target): nothing replaced, nothing new
// beside it, nothing written into the pipe.
void TestWriteWhole::refusesWhatIsNotARegularFile()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    Fixture f;
    QVERIFY(f.ok);
    if (name.contains("%N") && f.device.isEmpty()) QSKIP("no device node that could safely be written over");
    const auto before = snapshot(f.root);
    const QString deviceBefore = describe(local(f.device).toStdString());

    const QString error = platform::writeWholeFile(f.expand(name), kNew);

    QCOMPARE(error, f.expand(message));
    QCOMPARE(snapshot(f.root), before);
    QCOMPARE(describe(local(f.device).toStdString()), deviceBefore);
    QCOMPARE(readFile(f.root + "/reg"), QByteArray("old\n"));
    char c;
    QCOMPARE(::read(f.fifoReader, &c, 1), ssize_t(0));
}

void TestWriteWhole::writesThroughLinks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");   // the file that takes the bytes
    QTest::addColumn<int>("mode");          // its mode afterwards; -1: a new file's
    QTest::newRow("a new name") << "new.csv" << "new.csv" << -1;
    QTest::newRow("a regular file keeps its mode") << "reg" << "reg" << 0640;
    QTest::newRow("a link to a regular file") << "to-reg" << "reg" << 0640;
    QTest::newRow("a chain of two links") << "chain-reg" << "reg" << 0640;
    QTest::newRow("a link up from another folder") << "other/up" << "reg" << 0640;
    QTest::newRow("a dangling link makes its target") << "to-new" << "new.txt" << -1;
}

// The bytes land in the file at the end of the links, which keeps its mode;
// every link is still the link it was, and nothing else is new or replaced.
void TestWriteWhole::writesThroughLinks()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(int, mode);
    Fixture f;
    QVERIFY(f.ok);
    const QString target = f.root + '/' + written;
    auto expected = snapshot(f.root);
    expected.remove(target);

    QCOMPARE(platform::writeWholeFile(f.root + '/' + name, kNew), QString());

    QCOMPARE(readFile(target), kNew);
    QVERIFY(!QFileInfo(target).isSymLink());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(int(modeOf(target)), mode >= 0 ? mode : int(0666 & ~mask));
    auto after = snapshot(f.root);
    QVERIFY(after.contains(target));
    after.remove(target);
    QCOMPARE(after, expected);
}

void TestWriteWhole::failureThroughALinkKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("no room left midway") << "full";
    QTest::newRow("a link into a folder that takes no file") << "proc";
    QTest::newRow("a link into a read-only folder") << "read-only";
}

// A write that fails at the end of a link says why; the link, the file it
// leads to and the folders are as they were, without a temporary file.
void TestWriteWhole::failureThroughALinkKeepsTheOldFile()
{
    QFETCH(QString, where);
    Fixture f;
    QVERIFY(f.ok);
    const QString locked = f.root + "/locked";
    // Writable again at the end, for the folder to be removed.
    struct Unlock {
        QString folder;
        ~Unlock() { ::chmod(local(folder).constData(), 0755); }
    } unlock{locked};
    QString name = f.root + "/to-reg";
    if (where == "proc") {
        name = f.root + "/to-proc";
        QVERIFY(link("/proc/ventrano-writewhole", name));
    }
    if (where == "read-only") {
        name = f.root + "/to-locked";
        QVERIFY(QDir(f.root).mkpath("locked") && writeFile(locked + "/kept", "old\n", 0644));
        QVERIFY(link("locked/kept", name));
        QCOMPARE(::chmod(local(locked).constData(), 0555), 0);
        if (::access(local(locked).constData(), W_OK) == 0) QSKIP("this user writes into a read-only folder");
    }
    const auto before = snapshot(f.root);
    QString error;
    if (where == "full") {
        const FileSizeLimit limit(4096);
        QVERIFY(limit.set());
        error = platform::writeWholeFile(name, QByteArray(64 * 1024, 'x'));
    } else {
        error = platform::writeWholeFile(name, kNew);
    }

    QVERIFY2(!error.isEmpty() && error != "Unknown error", qPrintable(error));
    QCOMPARE(snapshot(f.root), before);
    QCOMPARE(readFile(f.root + "/reg"), QByteArray("old\n"));
    QVERIFY(!QFileInfo::exists("/proc/ventrano-writewhole"));
}

QTEST_MAIN(TestWriteWhole)
#include "test_writewhole.moc"
