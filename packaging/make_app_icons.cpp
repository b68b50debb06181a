// Scales the application icon drawn by make_about_pictures to the sizes of the hicolor theme.
// Usage: make_app_icons <icon.png> <output folder> <size>...
// Writes <output folder>/<size>x<size>.png for each size.
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QImage>
#include <QString>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <icon.png> <output folder> <size>...\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "bad icon size %s\n", argv[i]);
            return 2;
        }
        const QImage scaled = icon.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QString name = folder.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!scaled.save(name, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
