#pragma once
// Japanese for the texts Qt's own dialogs and menus would show in English.
#include <QString>

namespace vx {

// Installs the texts into the application (once; the program and the tests
// get them when the application object is made).
void installJapaneseQtTexts();

// What Qt shows for one of its English texts once the texts are installed.
QString japaneseQtText(const char *english);

} // namespace vx
