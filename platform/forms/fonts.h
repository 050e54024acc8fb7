#pragma once
// Japanese desktop font names of the original layouts mapped onto installed
// fonts (fontconfig does not alias them), and the application's default font.
class QApplication;

namespace vx {
void installFonts(QApplication &app);
}
