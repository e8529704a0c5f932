// Build helper: renders the application's SVG icon as a square PNG of a
// given size through Qt's SVG image plugin, for the hicolor icon theme.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s icon.svg size out.png\n", argv[0]);
        return 2;
    }
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    if (!ok || size <= 0 || size > 1024) {
        std::fprintf(stderr, "%s: bad size %s\n", argv[0], argv[2]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
