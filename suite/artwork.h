#pragma once
// The suite's own pictures: SVG files compiled into the tool libraries
// (resources/<tool>/*.svg), drawn at the size a window asks for.
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace suite {

// The SVG resource `path` (":/shell/star.svg") filling `size` pixels on a
// transparent ground. Pictures are decoration: a resource that is missing or
// not an SVG gives the empty ground and a warning, never a failed window.
QImage drawArtwork(const QString &path, QSize size, QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// The same from SVG text already read (a recoloured drawing).
QImage drawArtworkData(const QByteArray &svg, QSize size,
                       QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// Draws the resource into `target` of a painter that is drawing more.
void drawArtwork(QPainter &painter, const QString &path, const QRectF &target);

// The resource's SVG text ("" and a warning when it is missing).
QByteArray artworkData(const QString &path);

} // namespace suite
