// Renders an SVG icon to a square PNG of the given size (the launcher's
// bitmap icons are made from the one drawing at build time):
//   orvex-iconrender in.svg out.png size
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s in.svg out.png size\n", argv[0]);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  const int size = QByteArray(argv[3]).toInt();
  if (!svg.isValid() || size <= 0 || size > 4096) {
    std::fprintf(stderr, "%s: cannot render %s at %s\n", argv[0], argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg.render(&painter);
  painter.end();
  return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
