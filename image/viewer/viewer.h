#pragma once
// What the first image viewer Form2 and its picture window Form32 share: the
// live zoom ratio of Form14 and the display steps.
#include "platform/forms/controls.h"
#include "platform/imaging/imagebox.h"
#include "platform/imaging/picture.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace viewer {

// "Zoom" as stored: 0 shows pictures at their natural size.
double zoomSetting();
// Form14.Combo1's text as a number; raises 13 when it is not one.
double zoomRatio();
// A ratio combo's text as a number; raises 13 when it is not a positive one.
double ratioOf(const QString &text);

// Loads `path` into the box: at its natural size, or (with a ratio) at its
// natural size times the ratio, stretched. A picture that cannot be loaded or
// shown at that size raises and leaves the box as it was.
void showPicture(vx::ImageBox &box, const QString &path, std::optional<double> ratio);
// The same with a picture decoded already.
void showPicture(vx::ImageBox &box, const vx::Picture &picture, std::optional<double> ratio);

// The picture of `path`: `held` when it came from that file, unchanged since
// (one decode serves both windows), else the file loaded afresh.
vx::Picture sharedPicture(const vx::Picture &held, const QString &path);

// Enlarge and shrink: stretch on, both sides times `factor`. A size the box
// refuses raises 380 and leaves the box as it was.
void scaleBox(vx::ImageBox &box, double factor);

// Loads dropped files in turn (the last one stays). The first that is not a
// picture ends the drop with a message; false then.
bool dropPictures(vx::ImageBox &box, const QStringList &files);

// Slide show on/off: the timer takes `interval`; the button tells what a
// press will do next.
void toggleSlideShow(vx::Timer &timer, vx::CommandButton &button, int interval);

// "3/12": position + 1, "/", count.
QString positionText(int index, int count);

} // namespace viewer
