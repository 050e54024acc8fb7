#pragma once
// Image list control: images numbered from 1 in the order added. Nothing is
// shown; windows take images from it for their buttons.
#include <QImage>
#include <QObject>

#include <vector>

namespace vx {

class Form;

class ImageList : public QObject {
    Q_OBJECT
public:
    ImageList(Form *form, const QString &name);
    int Count() const { return static_cast<int>(images_.size()); }
    // Adds as the new last entry.
    void Add(const QImage &image);
    void Clear() { images_.clear(); }
    // Entry 1..Count(); any other number raises 9.
    const QImage &Item(int number) const;

private:
    std::vector<QImage> images_;
};

} // namespace vx
