// Entry module: reads the command line, creates the windows in order,
// connects them and runs the event loop until the main window is closed.
// A project named on the command line (the desktop passes the file opened
// with the program) opens once the window shows, after the offer to restore
// unsaved work that a crash left behind.
#include "widgets/fonts.h"
#include "platform/firstpaint.h"
#include "platform/system.h"
#include "app/windows.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr const char *kVersion = VENTRANO_VERSION;

// The options; the same for the answers without a display and for the run.
void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Rates counter-current coil-in-jacket water-to-water heat exchangers.\n"
        "FILE, a project (.ventrano), opens in the main window."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The project to open."),
                                 QStringLiteral("[FILE]"));
}

// A usage error: one line on standard error and the status scripts test.
int usage(const QString &message)
{
    std::fprintf(stderr, "Ventrano: %s\nTry 'Ventrano --help'.\n", message.toLocal8Bit().constData());
    return 2;
}

// The command line checked; an answer (help, version, a usage error) is an
// exit status, else the file to open (empty for none).
std::optional<int> check(QCommandLineParser &parser, const QStringList &arguments, QString &file)
{
    if (!parser.parse(arguments)) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("Ventrano %s\n", kVersion);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return usage(QStringLiteral("one project at a time, not %1").arg(files.size()));
    if (!files.isEmpty()) {
        file = files.first();
        // A desktop may pass a file:// address for the file.
        if (file.startsWith(QStringLiteral("file:"))) file = QUrl(file).toLocalFile();
        if (file.isEmpty()) return usage(QStringLiteral("'%1' names no local file").arg(files.first()));
    }
    return std::nullopt;
}

bool asksForAnswer(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        for (const char *o : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], o) == 0) return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // --help and --version answer without a display.
    if (asksForAnswer(argc, argv)) {
        QCoreApplication core(argc, argv);
        core.setApplicationName(QStringLiteral("Ventrano"));
        core.setApplicationVersion(QString::fromLatin1(kVersion));
        QCommandLineParser parser;
        describe(parser);
        QString file;
        return check(parser, core.arguments(), file).value_or(0);
    }
    // Without a display the toolkit would abort with a long message; say in
    // one line what is missing and how to get a display.
    if (!platform::haveDisplay()) {
        std::fprintf(stderr, "Ventrano needs a graphical display (DISPLAY is not set); "
                             "without one, run it under Xvfb: xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    // The layout is in pixels at 96 dpi, whatever the desktop says.
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Ventrano"));
    app.setApplicationVersion(QString::fromLatin1(kVersion));
    // The installed menu entry share/applications/ventrano.desktop.
    app.setDesktopFileName(QStringLiteral("ventrano"));
    QString file;
    {
        // The toolkit has taken its own options (-platform, -display, ...).
        QCommandLineParser parser;
        describe(parser);
        if (const std::optional<int> answer = check(parser, app.arguments(), file)) return *answer;
    }
    fonts::load();

    // Closing the main window ends the program (Windows connects it), not
    // the last window closed.
    app.setQuitOnLastWindowClosed(false);
    Windows windows;

    platform::reportFirstPaint(&windows.mainF);
    windows.mainF.show();
    QTimer::singleShot(0, &windows.files, [&windows, file] { windows.files.start(file); });
    return app.exec();
}
