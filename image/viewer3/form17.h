#pragma once
// Settings of the third image viewer Form40. Its slider HScroll1 is also the
// live slide speed of both plug-in viewers, so it is loaded hidden by their
// loads long before it is shown.
#include "form40.h"
#include "looksettings.h"

class Form17 : public viewer3::LookSettings<Form40> {
    Q_OBJECT
public:
    Form17();
};
