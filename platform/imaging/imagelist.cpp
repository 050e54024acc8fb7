#include "imagelist.h"

#include "platform/core/errors.h"
#include "platform/forms/form.h"

namespace vx {

ImageList::ImageList(Form *form, const QString &name) : QObject(form)
{
    setObjectName(name);
}

void ImageList::Add(const QImage &image)
{
    images_.push_back(image);
}

const QImage &ImageList::Item(int number) const
{
    if (number < 1 || number > Count())
        vx::raise(err::Subscript);
    return images_[static_cast<size_t>(number - 1)];
}

} // namespace vx
