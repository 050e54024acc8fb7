#pragma once
// Settings of the plug-in image viewer Form15. Its slider sets the viewer's
// running slide interval; a slide show starts with Form17's.
#include "form15.h"
#include "image/viewer3/looksettings.h"

class FormSLSet : public viewer3::LookSettings<Form15> {
    Q_OBJECT
public:
    FormSLSet();
};
