#include "artwork.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

namespace suite {

namespace {

QImage blank(QSize size, QImage::Format format)
{
    QImage img(size, format);
    img.fill(Qt::transparent);
    return img;
}

void render(QSvgRenderer &svg, QPainter &painter, const QRectF &target, const QString &what)
{
    if (!svg.isValid()) {
        qWarning("Picture %s is not a drawing this program can show", qPrintable(what));
        return;
    }
    svg.render(&painter, target);
}

} // namespace

QByteArray artworkData(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Picture %s is missing", qPrintable(path));
        return {};
    }
    return file.readAll();
}

void drawArtwork(QPainter &painter, const QString &path, const QRectF &target)
{
    QSvgRenderer svg(path);
    render(svg, painter, target, path);
}

QImage drawArtwork(const QString &path, QSize size, QImage::Format format)
{
    QImage img = blank(size, format);
    QPainter painter(&img);
    drawArtwork(painter, path, QRectF(QPointF(0, 0), size));
    return img;
}

QImage drawArtworkData(const QByteArray &svgText, QSize size, QImage::Format format)
{
    QImage img = blank(size, format);
    QPainter painter(&img);
    QSvgRenderer svg(svgText);
    render(svg, painter, QRectF(QPointF(0, 0), size), QStringLiteral("(drawing)"));
    return img;
}

} // namespace suite
