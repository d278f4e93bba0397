// Build step: renders the SVG pictures into files of raw pixels (the
// image's bytes, row after row) in the folder given, for the library to load
// at start instead of rendering them.
#include "assets/render.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

static bool write(const QImage &image, const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) &&
           f.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()) == image.sizeInBytes();
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = QDir().mkpath(out.path()) && write(assets::renderSchematic(), out.filePath(QStringLiteral("schematic.rgb32")));
    for (const QString &name : assets::buttonNames())
        for (int scale : {1, 2})
            ok = ok && write(assets::renderButton(name, scale), out.filePath(assets::buttonImageName(name, scale)));
    if (!ok) std::fprintf(stderr, "prerender: cannot write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
