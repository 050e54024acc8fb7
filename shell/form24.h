#pragma once
// The start-up window: refuses a second copy, opens the main window of the
// stored launcher style and leaves. With a style it does not know it stays as
// a small empty window whose closing ends the program.
#include "platform/forms/form.h"

class Form24 : public vx::Form {
    Q_OBJECT
public:
    Form24();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;

private:
    bool handedOver_ = false;
};
