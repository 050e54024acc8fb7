#include "form32.h"

#include "suite/settings.h"
#include "form14.h"
#include "form2.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "viewer.h"

namespace keys = viewer::keys::GraphicRondix;

Form32::Form32() : viewer::PictureWindow(QStringLiteral("Form32"), QStringLiteral("Graphic Rondix Viewer")) {}

void Form32::Form_Load()
{
    suite::applyPointer(*this);
    Move(suite::GetSingle(keys::Section, keys::ZQVFormLeft, keys::ZQVPositionDefault),
         suite::GetSingle(keys::Section, keys::ZQVFormTop, keys::ZQVPositionDefault));
    ShowCurrent();
}

void Form32::Form_Unload(int &cancel)
{
    (void)cancel;
    vx::ReleaseSparePictureMemory();
    if (vx::isLoaded<Form2>())
        vx::instance<Form2>().Image1.setVisible(true);
    suite::SaveSetting(keys::Section, keys::ZQVFormLeft, vx::numText(Left()));
    suite::SaveSetting(keys::Section, keys::ZQVFormTop, vx::numText(Top()));
}

vx::FileListBox &Form32::ownerFiles() { return vx::instance<Form2>().File1; }

QString Form32::ownerFolder() { return vx::instance<Form2>().Dir1.Path(); }

// The owner's list click has just decoded the same file for its own box.
vx::Picture Form32::ownerPicture(const QString &path)
{
    return viewer::sharedPicture(vx::instance<Form2>().Image1.Picture(), path);
}

double Form32::zoomSetting() { return viewer::zoomSetting(); }

double Form32::zoomRatio() { return viewer::zoomRatio(); }

int Form32::slideInterval() { return vx::instance<Form14>().HScroll1.Value(); }

void Form32::showPosition(int index, int count)
{
    vx::instance<Form2>().Label1.setCaption(viewer::positionText(index, count));
}
