#include "form33.h"

#include "form18.h"
#include "frmfullscreen.h"
#include "frmsum.h"
#include "image/viewer/viewer.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "suite/settings.h"

namespace keys = browser::keys;

Form33::Form33() : viewer::PictureWindow(QStringLiteral("Form33"), QStringLiteral("Graphic Rondix Ⅱ Viewer")) {}

void Form33::Form_Load()
{
    suite::applyPointer(*this);
    Move(suite::GetSingle(keys::Section, keys::ZQV2FormLeft, keys::PositionDefault),
         suite::GetSingle(keys::Section, keys::ZQV2FormTop, keys::PositionDefault));
    ShowCurrent();
}

void Form33::Form_Unload(int &cancel)
{
    (void)cancel;
    vx::ReleaseSparePictureMemory();
    suite::SaveSetting(keys::Section, keys::ZQV2FormLeft, vx::numText(Left()));
    suite::SaveSetting(keys::Section, keys::ZQV2FormTop, vx::numText(Top()));
}

vx::FileListBox &Form33::ownerFiles() { return vx::instance<frmSum>().File; }

QString Form33::ownerFolder() { return vx::instance<frmSum>().Dir.Path(); }

// The full-screen window may have just decoded the same file.
vx::Picture Form33::ownerPicture(const QString &path)
{
    if (vx::isLoaded<frmFullScreen>())
        return viewer::sharedPicture(vx::instance<frmFullScreen>().Picture1.Picture(), path);
    return vx::LoadPicture(path);
}

double Form33::zoomSetting() { return suite::GetDouble(keys::Section, keys::Zoom, keys::ZoomDefault); }

double Form33::zoomRatio() { return viewer::ratioOf(vx::instance<Form18>().Combo1.Text()); }

int Form33::slideInterval() { return vx::instance<Form18>().HScroll1.Value(); }
