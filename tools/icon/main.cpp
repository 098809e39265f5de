// Writes the program's icon into a folder: kiryuza.svg and kiryuza-48.png, -128.png, -256.png.
//   kiryuza-icon FOLDER
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "icon.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "使い方: kiryuza-icon 出力フォルダ\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::vector<kiryuza::icon::Layer> layers = kiryuza::icon::layers();
    if (layers.empty()) {
        std::fprintf(stderr, "明朝体が見つかりません\n");
        return 1;
    }
    QFile svg(folder.filePath(QStringLiteral("kiryuza.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(kiryuza::icon::svg(layers).toUtf8()) < 0)
        return 1;
    for (int size : {48, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.scale(size / kiryuza::icon::kSize, size / kiryuza::icon::kSize);
        kiryuza::icon::paint(painter, layers);
        painter.end();
        if (!image.save(folder.filePath(QStringLiteral("kiryuza-%1.png").arg(size)))) return 1;
    }
    return 0;
}
