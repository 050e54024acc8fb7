#pragma once
// The basic controls. Changing from code what the user could change (a list's
// index, a box's text, a check box's value) runs the control's handler at once,
// before the next statement, as the windows rely on.
#include "checkbox.h"
#include "combobox.h"
#include "commandbutton.h"
#include "frame.h"
#include "label.h"
#include "listbox.h"
#include "mouse.h"
#include "optionbutton.h"
#include "picturebox.h"
#include "textbox.h"
#include "timer.h"
